#!/usr/bin/env bash
# Throwaway MariaDB server for tests, the demo and the benchmark.
#   throwaway-server.sh start DIR   init + start; prints the TCP port as the last stdout line
#   throwaway-server.sh stop DIR    stop it and remove DIR/ValtuMySQL and DIR/.server
#   throwaway-server.sh sql DIR [client args...]   run stdin SQL as root over the socket
#   throwaway-server.sh damage DIR  lose velkarin.unique_no's .frm while InnoDB keeps the table
#   throwaway-server.sh restart DIR stop it (if running) and start it again on the same port and data
#   throwaway-server.sh kill DIR    SIGKILL it, as a crash would; restart brings it back
#   throwaway-server.sh pause DIR   SIGSTOP it: connections stay open but nothing answers
#   throwaway-server.sh resume DIR  SIGCONT it
# Everything lives under DIR; nothing on the system is touched.
set -euo pipefail

# The account the application's installer sets up on its server.
PASSWORD=9746
# mariadbd lives in /usr/sbin, which non-root users often lack in PATH.
PATH="$PATH:/usr/sbin:/sbin"

die() { echo "throwaway-server: $*" >&2; exit 1; }
log() { echo "throwaway-server: $*" >&2; }

[ $# -ge 2 ] || die "usage: $0 start|stop|restart|kill|pause|resume|sql|damage DIR [client args...]"
cmd=$1
[ -d "$2" ] || { [ "$cmd" = stop ] && exit 0; die "$2 is not a directory"; }
dir=$(cd "$2" && pwd -P)
shift 2
data=$dir/ValtuMySQL/data
run=$dir/.server
sock=$run/mariadbd.sock
pidfile=$run/mariadbd.pid
errlog=$run/error.log

client() { mariadb --no-defaults --socket="$sock" --user=root --password="$PASSWORD" "$@"; }

# PID of our server, only if that process really serves our datadir
# (guards against a stale pid file pointing at a recycled pid).
server_pid() {
  local pid
  pid=$(cat "$pidfile" 2>/dev/null) || return 1
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | grep -qxF -- "--datadir=$data" || return 1
  echo "$pid"
}

# The one-letter state of process $1 (R, S, T, Z...); fails when there is none.
proc_state() {
  local st
  st=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  st=${st##*) }
  echo "${st%% *}"
}

# A dead server can linger as a zombie until init reaps it (often >1 s here);
# count that as gone.
alive() {
  local st
  st=$(proc_state "$1") || return 1
  [ "$st" != Z ]
}

# $1: pid to stop; empty means nothing is running.
stop_server() {
  local pid=$1 i
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  # A paused server acts on SIGTERM only once it runs again.
  kill -CONT "$pid" 2>/dev/null || true
  for ((i = 0; i < 300; i++)); do
    alive "$pid" || return 0
    sleep 0.1
  done
  log "server $pid ignored SIGTERM for 30 s, killing it"
  kill -KILL "$pid" 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do alive "$pid" || return 0; sleep 0.1; done
}

# Small and never synced to disk on purpose: the data is thrown away anyway. The log
# still reaches the system at each commit, so a killed server (the tests kill one)
# comes back with everything it had committed.
server_opts=(
  --no-defaults --datadir="$data" --tmpdir="$run" --skip-name-resolve
  --innodb-buffer-pool-size=32M --innodb-log-file-size=16M --innodb-log-buffer-size=4M
  --innodb-flush-log-at-trx-commit=2 --skip-innodb-doublewrite --innodb-flush-method=nosync
  --innodb-use-native-aio=0 --skip-log-bin --sync-binlog=0
  --max-connections=100 --table-open-cache=400 --key-buffer-size=1M
)
# mariadbd refuses to run as root unless told to.
if [ "$EUID" -eq 0 ]; then server_opts+=(--user=root); fi

# Runs mariadbd on port $1 over the data in $data, sets pid to its process and
# waits until it answers. Fails when the server ends while starting ($errlog says why).
launch() {
  local deadline=$((SECONDS + 60))
  : >"$errlog"
  mariadbd "${server_opts[@]}" --bind-address=127.0.0.1 --port="$1" --socket="$sock" \
    --pid-file="$pidfile" --log-error="$errlog" </dev/null >"$run/console.log" 2>&1 &
  pid=$!
  until mariadb-admin --no-defaults --socket="$sock" --user=root --connect-timeout=2 ping >/dev/null 2>&1; do
    alive "$pid" || return 1
    if ((SECONDS >= deadline)); then
      tail -n 30 "$errlog" >&2; die "server did not answer within 60 s"
    fi
    sleep 0.1
  done
  alive "$pid"
}

start() {
  [ ! -e "$dir/ValtuMySQL" ] || die "$dir/ValtuMySQL already exists; refusing to start"
  if ! command -v mariadbd >/dev/null || ! command -v mariadb-install-db >/dev/null; then
    die "mariadbd or mariadb-install-db not found: install mariadb-server-core (apt-get install mariadb-server-core, or run scripts/install-deps.sh)"
  fi
  command -v mariadb >/dev/null || die "mariadb client not found: install mariadb-client (or run scripts/install-deps.sh)"
  # Unix socket paths are limited to 107 bytes.
  [ ${#sock} -le 107 ] || die "socket path $sock too long; use a shorter DIR (e.g. mktemp -d under /tmp)"

  mkdir -p "$data" "$run"
  # From here on a failed start leaves nothing behind.
  local port tries pid=
  trap 'stop_server "$pid"; rm -rf "$dir/ValtuMySQL" "$run"' EXIT

  log "initialising $data"
  mariadb-install-db "${server_opts[@]}" --auth-root-authentication-method=normal \
    --skip-test-db >"$run/install.log" 2>&1 || { cat "$run/install.log" >&2; die "mariadb-install-db failed"; }

  for ((tries = 1; ; tries++)); do
    ((tries <= 20)) || die "no free port found"
    port=$((20000 + RANDOM % 40000))
    # Skip ports something already listens on; a bind race is caught below.
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
    launch "$port" && break
    if grep -q 'Address already in use' "$errlog" && ((tries < 5)); then
      log "port $port taken, retrying with another"; continue
    fi
    tail -n 30 "$errlog" >&2; cat "$run/console.log" >&2; die "server failed to start"
  done

  # Root keeps socket auth as a fallback; TCP needs the password. Drop the
  # other root accounts install-db makes (hostname, ::1).
  local extra
  extra=$(mariadb --no-defaults --socket="$sock" --user=root -N -B -e \
    "SELECT CONCAT('DROP USER root@''', host, ''';') FROM mysql.user
     WHERE user='root' AND host NOT IN ('localhost','127.0.0.1')")
  mariadb --no-defaults --socket="$sock" --user=root <<SQL
$extra
ALTER USER root@localhost IDENTIFIED VIA mysql_native_password USING PASSWORD('$PASSWORD') OR unix_socket;
CREATE USER IF NOT EXISTS root@'127.0.0.1';
ALTER USER root@'127.0.0.1' IDENTIFIED BY '$PASSWORD';
GRANT ALL PRIVILEGES ON *.* TO root@localhost WITH GRANT OPTION;
GRANT ALL PRIVILEGES ON *.* TO root@'127.0.0.1' WITH GRANT OPTION;
CREATE DATABASE velkarin;
CREATE TABLE velkarin.brda (
  id varchar(32) NOT NULL,
  no bigint NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB;
SQL

  trap - EXIT
  echo "$port" >"$run/port"
  log "server pid $pid listening on 127.0.0.1:$port, socket $sock"
  echo "$port"
}

# The damage the repair exists for: the definition file is gone, so SELECT says the
# table does not exist, while InnoDB still holds it, so CREATE TABLE says it exists.
damage() {
  client velkarin <<'SQL'
CREATE TABLE IF NOT EXISTS unique_no (
  id varchar(32) NOT NULL,
  unique_no bigint NOT NULL AUTO_INCREMENT PRIMARY KEY
) ENGINE=InnoDB;
INSERT INTO unique_no (id) VALUES ('issued before the damage');
FLUSH TABLES;
SQL
  rm -f "$data/velkarin/unique_no.frm"
  client velkarin <<<'FLUSH TABLES;'
}

# The same server again, as after a reboot: same port, same data.
restart() {
  local port pid=
  port=$(cat "$run/port" 2>/dev/null) || die "no server was started in $dir"
  stop_server "$(server_pid)"
  trap 'stop_server "$pid"' EXIT
  launch "$port" || { tail -n 30 "$errlog" >&2; die "server failed to start again on port $port"; }
  trap - EXIT
  log "server pid $pid listening again on 127.0.0.1:$port"
}

running_pid() { server_pid || die "no server is running in $dir"; }

# Sends signal $1 and waits, at most 5 s, until the server's state satisfies $2.
signal_and_wait() {
  local pid i
  pid=$(running_pid)
  kill "-$1" "$pid"
  for ((i = 0; i < 100; i++)); do
    "$2" "$pid" && return 0
    sleep 0.05
  done
  die "server $pid did not react to SIG$1 within 5 s"
}
gone() { ! alive "$1"; }
stopped() { [ "$(proc_state "$1")" = T ]; }
running() { local st; st=$(proc_state "$1") && [ "$st" != T ]; }

case $cmd in
  start) start ;;
  stop) stop_server "$(server_pid)"; rm -rf "$dir/ValtuMySQL" "$run" ;;
  restart) restart ;;
  kill) signal_and_wait KILL gone ;;
  pause) signal_and_wait STOP stopped ;;
  resume) signal_and_wait CONT running ;;
  sql) client "$@" ;;
  damage) damage ;;
  *) die "unknown command '$cmd' (want start, stop, restart, kill, pause, resume, sql or damage)" ;;
esac
