#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# unit and scenario tests (headless), the end-to-end tests of Tavolex.exe
# under Wine, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=2
status=0

echo "== native build: unit and scenario tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs" || status=1

echo "== Windows build: Tavolex.exe, end-to-end tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows || status=1

echo "== fuzz targets"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz || status=1

exit $status
