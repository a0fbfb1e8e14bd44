#!/usr/bin/env bash
# Builds the Windows programs and runs the start-up benchmark under Wine, on a
# private virtual display (tools/wine/run-under-wine.sh). Not part of ctest.
#
#   tools/bench/run-startup-bench.sh [--runs N] [--no-picker] [--baseline OTHER.exe] [ROWS...]
#
# --baseline takes a Unix path (another build of Tavolex.exe to compare with).
set -eu
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--baseline" ] && [ $# -gt 1 ]; then
    path="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
    args+=("--baseline" "Z:${path//\//\\}")
    shift 2
  else
    args+=("$1")
    shift
  fi
done
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target tavolex_startup_bench >/dev/null
exec bash tools/wine/run-under-wine.sh --build-dir build/windows --timeout 3600 -- \
  build/windows/tavolex_startup_bench.exe "${args[@]}"
