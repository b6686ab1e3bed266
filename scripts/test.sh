#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: twice on Linux, in the CI
# build (warnings as errors) and again under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, which catch what a passing test can still hide; then
# the Windows program, cross-built, with its own tests and the end-to-end repair run
# under Wine against the real server.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
for preset in ci asan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done

bash scripts/build-windows.sh
ctest --preset windows -j "$(nproc)"
ctest --preset wine -j "$(nproc)"
