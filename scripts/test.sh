#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the CI build
# (warnings as errors), and again under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, which catch what a passing test can still hide.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
for preset in ci asan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done
