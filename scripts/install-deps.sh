#!/usr/bin/env bash
# Installs the Debian 12 packages the project is built, tested and shown with, when
# any is missing:
#   install-deps.sh            the Linux programs, their tests and the demo
#   install-deps.sh windows    and the cross build for Windows with its tests under Wine
# Only the server's programs are installed (mariadb-server-core), not the system
# service: the tests and the demo start their own throwaway server.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libmariadb-dev libcli11-dev libgtest-dev
  mariadb-server-core mariadb-client
  qt6-base-dev xvfb xauth xdotool openbox fonts-noto-cjk imagemagick
)
case ${1:-} in
  "") ;;
  # dpkg-dev unpacks the source Connector/C is built from.
  windows) packages+=(g++-mingw-w64-x86-64-posix dpkg-dev wine wine64) ;;
  *) echo "install-deps: unknown group '$1' (windows)" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
