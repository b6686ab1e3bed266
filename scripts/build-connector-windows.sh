#!/usr/bin/env bash
# Builds MariaDB Connector/C for 64-bit Windows with mingw-w64, from Debian's own
# source package `mariadb` (its libmariadb/ folder), and prints the folder it is
# installed in.
# Only the client library, without TLS, every plugin it keeps linked in: the program
# links it statically and needs no DLL. The result is cached outside the source tree,
# one folder per source version and target; a cached build needs no network.
# Everything but that folder's name goes to stderr.
set -euo pipefail

triple=x86_64-w64-mingw32
project=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/unique-no-repair/connector-c

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

source_versions() {
  { apt-cache showsrc mariadb 2>/dev/null || true; } | sed -n 's/^Version: //p' | sort -urV
}

# apt-get source needs deb-src entries; where there are none, they are added as
# copies of the machine's own deb entries.
add_source_entries() {
  echo "build-connector-windows: adding deb-src entries for the machine's deb entries" >&2
  local file one_line="" stanzas=""
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && one_line+=$(sed -n 's/^deb\s/deb-src /p' "$file")$'\n'
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && stanzas+=$(sed 's/^Types:.*/Types: deb-src/' "$file")$'\n\n'
  done
  local list=/etc/apt/sources.list.d/unique-no-repair-source
  [ -z "${one_line//$'\n'/}" ] || printf '%s' "$one_line" | "${sudo[@]}" tee "$list.list" >/dev/null
  [ -z "${stanzas//$'\n'/}" ] || printf '%s' "$stanzas" | "${sudo[@]}" tee "$list.sources" >/dev/null
  "${sudo[@]}" apt-get update -q >&2
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fetches the source of `version` into $work/<version>; fails when it cannot be had.
fetch() {
  mkdir -p "$work/$1"
  (cd "$work/$1" && apt-get source -q --download-only "mariadb=$1") >&2
}

# Builds the fetched `version` into `prefix`; any failure ends the script.
build() {
  local version=$1 prefix=$2 source=$work/$1/source build=$work/$1/build
  dpkg-source -x "$work/$version"/mariadb_*.dsc "$source" >&2
  # The dialog plugin would ask for a password on the console, so it is left out; a
  # clear-text password has no place on a connection without TLS.
  cmake -S "$source/libmariadb" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$project/cmake/toolchains/$triple.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix.partial" \
    -DWITH_SSL=OFF -DWITH_CURL=OFF -DWITH_UNIT_TESTS=OFF \
    -DCLIENT_PLUGIN_CLIENT_ED25519=STATIC -DCLIENT_PLUGIN_CACHING_SHA2_PASSWORD=STATIC \
    -DCLIENT_PLUGIN_PVIO_SHMEM=STATIC \
    -DCLIENT_PLUGIN_DIALOG=OFF -DCLIENT_PLUGIN_MYSQL_CLEAR_PASSWORD=OFF \
    -DCLIENT_PLUGIN_SHA256_PASSWORD=OFF -DCLIENT_PLUGIN_AUTH_GSSAPI_CLIENT=OFF >&2
  cmake --build "$build" >&2
  rm -rf "$prefix.partial"
  cmake --install "$build" >&2
  # Only the static library is ever linked.
  rm -f "$prefix.partial"/lib/mariadb/*.dll "$prefix.partial"/lib/mariadb/*.dll.a
  rm -rf "$prefix"
  mv "$prefix.partial" "$prefix"
}

versions=$(source_versions)
if [ -z "$versions" ]; then
  add_source_entries
  versions=$(source_versions)
fi
[ -n "$versions" ] || { echo "build-connector-windows: apt knows no source of mariadb" >&2; exit 1; }

cached() { [ -f "$1/lib/mariadb/libmariadbclient.a" ]; }
prefix_of() { echo "$cache/${1#*:}-$triple"; }

# The newest build in the cache; else the newest version whose source can be had (a
# mirror may lack some).
for version in $versions; do
  if cached "$(prefix_of "$version")"; then
    prefix_of "$version"
    exit 0
  fi
done
for version in $versions; do
  if ! fetch "$version"; then
    echo "build-connector-windows: the source of mariadb $version could not be fetched" >&2
    continue
  fi
  echo "build-connector-windows: building Connector/C from mariadb $version for $triple" >&2
  build "$version" "$(prefix_of "$version")"
  prefix_of "$version"
  exit 0
done
echo "build-connector-windows: no source of mariadb could be fetched (tried:" $versions")" >&2
exit 1
