#!/usr/bin/env bash
# Installs what is missing, builds the four programs and opens the editor on a demo
# job under Wine: on the current X display when there is one, otherwise on a
# virtual display, leaving a screenshot behind and closing the editor again.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

bash tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target Tavolex Runvane Pickmark Titlescan

demo="$root/build/windows/demo"
job="デモ作業"
mkdir -p "$demo/$job"
# The editor with its companions beside it, as the unpacked zip has them.
cp -f build/windows/{Tavolex,Runvane,Pickmark,Titlescan}.exe "$demo/"
# A small job, written in Shift-JIS as the editor stores it.
if [ ! -e "$demo/$job/KeyRecord.def" ] && [ ! -e "$demo/$job/KeyRecord.def.psw" ]; then
  printf '%s\r\n' \
    "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2" \
    "メモ帳を起動,,,アプリケーションを実行する,notepad.exe,,,,,8" \
    "メモ帳を配置,,,アプリケーションの表示設定,メモ帳,100,20,640,480,2" \
    "本文をクリック,320,240,マウスでクリックする,,,,,,4" \
    "挨拶を入力,320,240,文字を入力する,こんにちは,,,,,4" \
    "少し待つ,,,指定秒間は停止する,3,,,,," \
    "保存する,,,ショートカットを入力する,Ctrl+S (保存),,,,,4" |
    iconv -f UTF-8 -t CP932 >"$demo/$job/KeyRecord.def"
fi

source tools/wine/wine-env.sh
if [ -n "${DISPLAY:-}" ]; then
  tavolex_wine_prepare_prefix
  echo "Opening the editor on the job $job (close it to end)."
  tavolex_wine "$demo/Tavolex.exe" "$job"
  exit 0
fi

shot="$demo/screenshot.png"
rm -f "$shot"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source tools/wine/wine-env.sh
  tavolex_wine_prepare_prefix
  tavolex_wine "$1" "$2" </dev/null >/dev/null 2>&1 &
  sleep 10  # the prefix is ready, so the editor is up by then
  import -window root "$3"
  "$TAVOLEX_WINESERVER" -k
' demo "$demo/Tavolex.exe" "$job" "$shot"
echo "No display: the editor ran on a virtual display. Screenshot: $shot"
