#!/usr/bin/env bash
# Installs the Debian 12 packages that the build and the tests need, when missing.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest          # native build and unit tests
  mingw-w64 g++-mingw-w64-x86-64-posix            # the Windows cross build
  wine wine64 xvfb xauth x11-utils locales        # running Tavolex.exe on a virtual display
  xdotool                                         # the user's hand in the recorder's end-to-end test
  imagemagick fonts-ipafont-gothic                # screenshots, Japanese dialog fonts
  clang libclang-rt-14-dev                        # fuzz targets (libFuzzer, sanitizers)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
