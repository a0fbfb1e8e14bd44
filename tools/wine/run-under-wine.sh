#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, on a virtual X display.
#
#   run-under-wine.sh [options] [--] PROGRAM.exe [ARGUMENTS...]
#
#   --build-dir DIR   build tree holding the Wine prefix (default: build/windows)
#   --display         use the current DISPLAY instead of a private Xvfb server
#   --screens DIR     after the run, turn every DIR/*.bmp into a PNG (ImageMagick)
#   --timeout SEC     end the program (and everything in the prefix) after SEC seconds
#
#   TAVOLEX_WINE_LOCALE  the locale Wine gives the program (default ja_JP.UTF-8: a
#                        Japanese Windows, ANSI code page 932; see wine-env.sh)
#   TAVOLEX_WINE_DPI     the display's DPI (default 96; see wine-env.sh)
#   TAVOLEX_XVFB_SCREEN  the virtual display's size (default 1280x1024x24)
#
# The prefix (DIR/wineprefix) is created on first use. Runs in the same prefix are
# serialised: the program's named objects (its single-instance mutex) live in the
# prefix's wineserver, so two runs side by side would see each other. Whatever the
# program leaves running is ended when it returns, and the wineserver is not left
# behind. The exit status is the program's.
set -u

script_path="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")"
original_args=("$@")

use_display=0
screens_dir=""
run_timeout=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) export TAVOLEX_BUILD_DIR="$2"; shift 2 ;;
    --display) use_display=1; shift ;;
    --screens) screens_dir="$2"; shift 2 ;;
    --timeout) run_timeout="$2"; shift 2 ;;
    --) shift; break ;;
    -*) echo "run-under-wine: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
if [ $# -lt 1 ]; then
  echo "usage: run-under-wine.sh [--build-dir DIR] [--display] [--screens DIR] [--timeout SEC] [--] PROGRAM [ARGS...]" >&2
  exit 2
fi

# shellcheck source=tools/wine/wine-env.sh
source "$(dirname "$script_path")/wine-env.sh"

# Outside the virtual display: start one and come back in.
if [ "$use_display" = 0 ] && [ -z "${TAVOLEX_IN_XVFB:-}" ]; then
  if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "run-under-wine: xvfb-run not found (package xvfb)" >&2
    exit 2
  fi
  TAVOLEX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 ${TAVOLEX_XVFB_SCREEN:-1280x1024x24} -nolisten tcp" \
    bash "$script_path" "${original_args[@]}" </dev/null
fi
if [ "$use_display" = 1 ] && [ -z "${DISPLAY:-}" ]; then
  echo "run-under-wine: --display given but DISPLAY is not set" >&2
  exit 2
fi

tavolex_wine_prepare_prefix || exit 2

program="$1"
shift

end_prefix() {
  "$TAVOLEX_WINESERVER" -k >/dev/null 2>&1
  "$TAVOLEX_WINESERVER" -w >/dev/null 2>&1
}

rc=0
{
  if ! flock -w 1800 8; then
    echo "run-under-wine: another run holds $TAVOLEX_BUILD_DIR/wine-run.lock" >&2
    exit 2
  fi
  trap 'end_prefix; exit 143' TERM INT HUP
  if [ "$run_timeout" -gt 0 ]; then
    timeout --kill-after=10 "$run_timeout" env LC_ALL="$TAVOLEX_WINE_LC" "$TAVOLEX_WINE" "$program" "$@" </dev/null
  else
    tavolex_wine "$program" "$@" </dev/null
  fi
  rc=$?
  trap - TERM INT HUP
  end_prefix
} 8>"$TAVOLEX_BUILD_DIR/wine-run.lock"

if [ -n "$screens_dir" ] && [ -d "$screens_dir" ]; then
  shopt -s nullglob
  for bmp in "$screens_dir"/*.bmp; do
    if convert "$bmp" "${bmp%.bmp}.png"; then
      rm -f "$bmp"
      echo "run-under-wine: screenshot ${bmp%.bmp}.png"
    else
      echo "run-under-wine: could not convert $bmp" >&2
    fi
  done
fi

exit "$rc"
