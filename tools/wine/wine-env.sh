# shellcheck shell=bash
# Wine settings for running the Windows build: source this file.
#
#   TAVOLEX_BUILD_DIR    build tree that holds the Wine prefix (default: build/windows
#                        of this checkout)
#   TAVOLEX_WINE_LOCALE  the locale Wine gives Windows programs (default ja_JP.UTF-8:
#                        a Japanese Windows with ANSI code page 932)
#   TAVOLEX_WINE_DPI     the display's DPI in the prefix (default 96; 144 is a display
#                        scaled to 150 %)
#
# After sourcing, WINEPREFIX, WINEARCH, WINEDEBUG and WINEDLLOVERRIDES are exported,
# TAVOLEX_WINE and TAVOLEX_WINESERVER name the two programs, and
# tavolex_wine_prepare_prefix creates the prefix once (serialised with a lock, safe to
# call from several shells at a time) and chooses the locale; tavolex_wine runs a
# Windows program in the prefix with that locale.

_tavolex_wine_env_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
_tavolex_source_dir="$(cd "$_tavolex_wine_env_dir/../.." && pwd)"

: "${TAVOLEX_BUILD_DIR:=$_tavolex_source_dir/build/windows}"
mkdir -p "$TAVOLEX_BUILD_DIR"
TAVOLEX_BUILD_DIR="$(cd "$TAVOLEX_BUILD_DIR" && pwd)"
export TAVOLEX_BUILD_DIR

export WINEPREFIX="$TAVOLEX_BUILD_DIR/wineprefix"
export WINEARCH=win64
# Quiet, and no request to install Mono or Gecko: the program needs neither.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# CI may run without a home folder; Wine wants one for the prefix's user folders.
if [ -z "${HOME:-}" ] || [ ! -d "$HOME" ]; then
  export HOME="$TAVOLEX_BUILD_DIR/wine-home"
  mkdir -p "$HOME"
fi

# Debian's wine64 package installs the 64-bit loader under /usr/lib/wine; /usr/bin/wine
# finds it there. Prefer an explicit wine64 when one is on the PATH.
if command -v wine64 >/dev/null 2>&1; then
  TAVOLEX_WINE="$(command -v wine64)"
elif command -v wine >/dev/null 2>&1; then
  TAVOLEX_WINE="$(command -v wine)"
else
  TAVOLEX_WINE=""
fi
if command -v wineserver >/dev/null 2>&1; then
  TAVOLEX_WINESERVER="$(command -v wineserver)"
elif [ -x /usr/lib/wine/wineserver64 ]; then
  TAVOLEX_WINESERVER=/usr/lib/wine/wineserver64
else
  TAVOLEX_WINESERVER=""
fi
export TAVOLEX_WINE TAVOLEX_WINESERVER

: "${TAVOLEX_WINE_LOCALE:=ja_JP.UTF-8}"

# Bump when the prefix set-up below changes: older prefixes are then set up again.
: "${TAVOLEX_WINE_DPI:=96}"
TAVOLEX_PREFIX_STAMP_VERSION="4 $TAVOLEX_WINE_LOCALE${TAVOLEX_WINE_DPI#96}"

# Wine takes the Windows code page from the locale's name but converts Unix file
# names with the code set that glibc actually loaded; both must be right, so the
# locale must exist. When the system lacks it, it is compiled into the build tree
# (localedef, package locales) and found through LOCPATH. Without it the locale falls
# back to C.UTF-8 (code page 1252).
_tavolex_locale_available() {
  local want norm
  norm="$(printf '%s' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')"
  for want in $(locale -a 2>/dev/null); do
    [ "$(printf '%s' "$want" | tr '[:upper:]' '[:lower:]')" = "$norm" ] && return 0
  done
  return 1
}

_tavolex_choose_locale() {
  local dir="$TAVOLEX_BUILD_DIR/wine-locale"
  local name="$TAVOLEX_WINE_LOCALE"
  if _tavolex_locale_available "$name"; then
    TAVOLEX_WINE_LC="$name"
    return 0
  fi
  if [ ! -f "$dir/$name/LC_CTYPE" ]; then
    local lang="${name%%.*}" codeset="${name#*.}"
    [ "$codeset" = "$name" ] && codeset=UTF-8
    mkdir -p "$dir"
    localedef -i "$lang" -f "$codeset" "$dir/$name" >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/$name/LC_CTYPE" ]; then
    export LOCPATH="$dir"
    TAVOLEX_WINE_LC="$name"
  else
    echo "wine-env: locale $name not available; using C.UTF-8 (code page 1252)" >&2
    TAVOLEX_WINE_LC=C.UTF-8
  fi
}

# The dialog fonts of a Japanese Windows, all mapped to the IPA Gothic font
# (fonts-ipafont-gothic) so that Japanese text renders.
# The proportional faces go to IPAPGothic, whose widths are close to theirs;
# the fixed-pitch ones to IPAGothic.
_tavolex_font_replacements=(
  "MS UI Gothic=IPAPGothic"
  "MS Shell Dlg=IPAPGothic"
  "MS Shell Dlg 2=IPAPGothic"
  "MS PGothic=IPAPGothic"
  "ＭＳ Ｐゴシック=IPAPGothic"
  "ＭＳ ＵＩ Gothic=IPAPGothic"
  "MS Gothic=IPAGothic"
  "ＭＳ ゴシック=IPAGothic"
)

# Writes the prefix's settings as a registry file: the font replacements, and windows
# that Wine draws whole (caption and frame included) instead of leaving the frame to a
# window manager, which a bare Xvfb server does not have. The file is UTF-16LE with a
# BOM, so the full-width names reach the registry whatever the Unix locale is.
_tavolex_write_settings_reg() {
  local out="$1" name
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for name in "${_tavolex_font_replacements[@]}"; do
      printf '"%s"="%s"\r\n' "${name%%=*}" "${name#*=}"
    done
    printf '\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    printf '"Managed"="N"\r\n'
    printf '\r\n'
    if [ "$TAVOLEX_WINE_DPI" != 96 ]; then
      printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
      printf '"LogPixels"=dword:%08x\r\n\r\n' "$TAVOLEX_WINE_DPI"
      printf '[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n'
      printf '"LogPixels"=dword:%08x\r\n\r\n' "$TAVOLEX_WINE_DPI"
    fi
  } | iconv -f UTF-8 -t UTF-16LE >"$out.body" || return 1
  { printf '\xff\xfe'; cat "$out.body"; } >"$out"
  rm -f "$out.body"
}

# Creates and sets up the prefix when it is missing or was set up by an older version
# of this file. Returns non-zero when Wine is missing or the set-up failed.
tavolex_wine_prepare_prefix() {
  if [ -z "$TAVOLEX_WINE" ] || [ -z "$TAVOLEX_WINESERVER" ]; then
    echo "wine-env: wine or wineserver not found" >&2
    return 1
  fi
  local stamp="$WINEPREFIX/.tavolex-prefix-ready"
  local lock="$TAVOLEX_BUILD_DIR/wineprefix.lock"
  exec 9>"$lock"
  flock -w 600 9 || { echo "wine-env: timed out waiting for $lock" >&2; exec 9>&-; return 1; }
  _tavolex_choose_locale
  (
    if [ -f "$stamp" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$TAVOLEX_PREFIX_STAMP_VERSION" ]; then
      exit 0
    fi
    echo "wine-env: setting up the Wine prefix $WINEPREFIX (first run, this takes a while)" >&2
    mkdir -p "$WINEPREFIX"
    tavolex_wine wineboot -u </dev/null >/dev/null 2>&1 || {
      echo "wine-env: wineboot failed" >&2; exit 1; }
    "$TAVOLEX_WINESERVER" -w
    local reg="$TAVOLEX_BUILD_DIR/wine-settings.reg"
    _tavolex_write_settings_reg "$reg" || { echo "wine-env: cannot write $reg" >&2; exit 1; }
    tavolex_wine regedit /S "$(_tavolex_windows_path "$reg")" </dev/null >/dev/null 2>&1 || {
      echo "wine-env: importing $reg failed" >&2; exit 1; }
    "$TAVOLEX_WINESERVER" -w
    if ! grep -q '"MS UI Gothic"="IPAPGothic"' "$WINEPREFIX/user.reg" 2>/dev/null ||
       ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      echo "wine-env: the settings did not reach the registry" >&2
      exit 1
    fi
    echo "$TAVOLEX_PREFIX_STAMP_VERSION" >"$stamp"
  )
  local rc=$?
  exec 9>&-
  return $rc
}

# Runs wine with the chosen locale. Only the child gets LC_ALL: the shell itself may
# not find a locale that was compiled into the build tree.
tavolex_wine() {
  env LC_ALL="${TAVOLEX_WINE_LC:-C.UTF-8}" "$TAVOLEX_WINE" "$@"
}

# The Windows path of a Unix path, through the prefix's Z: drive (the root folder).
_tavolex_windows_path() {
  local p
  p="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  printf 'Z:%s' "${p//\//\\}"
}
