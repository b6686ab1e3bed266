#!/usr/bin/env bash
# Installs the Debian 12 packages the project is built, tested and shown with, when
# any is missing. Only the server's programs are installed (mariadb-server-core),
# not the system service: the tests and the demo start their own throwaway server.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libmariadb-dev libcli11-dev libgtest-dev
  mariadb-server-core mariadb-client
  qt6-base-dev xvfb xauth xdotool openbox fonts-noto-cjk imagemagick
)

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
