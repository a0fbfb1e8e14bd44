// Window-title picker stand-in (built as Titlescan.exe) for the end-to-end tests.
//
// Shows a small window and runs its message loop (so that the editor's wait for input
// idle returns), then after 300 ms puts the bytes of title-text.txt beside itself
// (Shift-JIS; an empty text when the file is missing) on the clipboard as CF_TEXT,
// appends its command line (UTF-8) to titlescan-log.txt and ends.
#include <windows.h>

#include <string>

#include "tools/standins/standin.h"

namespace {

constexpr UINT_PTR kAnswerTimer = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kAnswerTimer) {
        KillTimer(window, kAnswerTimer);
        const std::wstring folder = standin::ModuleFolder();
        std::string text;
        if (!standin::ReadWholeFile(folder + L"title-text.txt", text)) text.clear();
        standin::PutClipboardText(window, text);
        standin::AppendToFile(folder + L"titlescan-log.txt",
                              standin::ToUtf8(GetCommandLineW()) + "\n");
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  standin::UseDpiUnawareCoordinates();
  WNDCLASSW cls = {};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"TavolexE2eTitleStandIn";
  RegisterClassW(&cls);

  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"タイトル取得 (e2e stand-in)",
                                WS_POPUP | WS_CAPTION, GetSystemMetrics(SM_CXSCREEN) - 220, 120,
                                200, 60, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetTimer(window, kAnswerTimer, 300, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
