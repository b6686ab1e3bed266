#!/usr/bin/env bash
# Builds the 64-bit Windows unique-no-repair.exe here, cross-compiled with mingw-w64,
# with Connector/C linked in: one file, no DLL beside it. It lands in
# build/windows/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
connector=$(bash scripts/build-connector-windows.sh)
cmake --preset windows -DUNR_CONNECTOR_PREFIX="$connector"
cmake --build --preset windows
echo "build-windows: built $(pwd)/build/windows/bin/unique-no-repair.exe"
