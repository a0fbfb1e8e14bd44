// Coordinate picker stand-in (built as Pickmark.exe) for the end-to-end tests.
//
// Shows a small top-level window whose title contains "座標取得", as the editor
// expects of the picker. Every 100 ms it looks for picker-say.txt beside itself: when
// present, its bytes (Shift-JIS) go onto the clipboard as CF_TEXT and the file is
// deleted. Every move of its window is appended to picker-log.txt as an "x,y" line, and
// each start appends its command line (UTF-8) to picker-start.txt. It ends when it is
// terminated, closed, or after ten minutes.
#include <windows.h>

#include <string>

#include "tools/standins/standin.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr DWORD kLifetimeMs = 600000;

std::wstring g_folder;
bool g_shown = false;  // moves before the first show are the creation's, not the editor's
DWORD g_startTick = 0;

void SayFromFile(HWND window) {
  const std::wstring say = g_folder + L"picker-say.txt";
  std::string bytes;
  if (!standin::ReadWholeFile(say, bytes)) return;
  if (standin::PutClipboardText(window, bytes)) DeleteFileW(say.c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (g_shown && !(pos->flags & SWP_NOMOVE)) {
        standin::AppendToFile(g_folder + L"picker-log.txt",
                              std::to_string(pos->x) + "," + std::to_string(pos->y) + "\n");
      }
      break;
    }
    case WM_TIMER:
      if (wparam == kPollTimer) {
        SayFromFile(window);
        if (GetTickCount() - g_startTick > kLifetimeMs) DestroyWindow(window);
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
  g_folder = standin::ModuleFolder();
  g_startTick = GetTickCount();
  standin::AppendToFile(g_folder + L"picker-start.txt",
                        standin::ToUtf8(GetCommandLineW()) + "\n");

  WNDCLASSW cls = {};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"TavolexE2ePickerStandIn";
  RegisterClassW(&cls);

  // Top right of the screen, clear of the editor, which sits at the bottom left.
  const int x = GetSystemMetrics(SM_CXSCREEN) - 220;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"座標取得 (e2e stand-in)",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU, x, 20, 200, 80, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  g_shown = true;
  SetTimer(window, kPollTimer, 100, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
