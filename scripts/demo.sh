#!/usr/bin/env bash
# The repair shown end to end: a throwaway MariaDB server laid out as ValtuMySQL/
# beside the built programs, its table unique_no damaged, then repaired: in the
# window where a display exists, else by the command-line program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev

bin=build/dev/bin
server() { bash scripts/throwaway-server.sh "$@"; }
sql() { server sql "$bin" velkarin --table -e "$1" || true; }
step() { printf '\n== %s\n' "$*"; }

server stop "$bin"  # what an interrupted earlier demo may have left
port=$(server start "$bin" | tail -n 1)
trap 'server stop "$bin"' EXIT

server damage "$bin"
step "unique_no is broken: its definition file is gone while InnoDB still holds it"
sql "SELECT * FROM unique_no"
sql "CREATE TABLE unique_no (id varchar(32) NOT NULL) ENGINE=InnoDB"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  step "repair: in the window, type $port into the port field (端口), press 修复, then close the window"
  "$bin/Project1"
else
  step "repair (no display, so from the command line): $bin/unique-no-repair --port $port"
  "$bin/unique-no-repair" --port "$port"
fi

step "after the repair"
sql "SHOW CREATE TABLE unique_no\G"
sql "SELECT AUTO_INCREMENT AS next_unique_no FROM information_schema.TABLES
     WHERE TABLE_SCHEMA = 'velkarin' AND TABLE_NAME = 'unique_no'"
