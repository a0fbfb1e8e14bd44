// A window that end-to-end tests aim input at (built as InputTarget.exe). It
// logs what it receives, one line each, appended to the log file (UTF-8):
//
//   <ms> ready <title> in <current folder>
//   <ms> down L|R <x> <y>      button pressed (screen point), also "up", "dblclk"
//   <ms> char <hex>            WM_CHAR: one UTF-16 unit
//   <ms> keydown <vk> ext|-    WM_KEYDOWN / WM_SYSKEYDOWN; "keyup" likewise
//   <ms> place <l> <t> <w> <h> normal|min|max   the window rectangle after a change
//   <ms> close                 the close request (the window stays)
//
// <ms> is the performance counter in milliseconds (the same clock in every
// process). Points and rectangles are those of a program without DPI awareness.
//
//   InputTarget.exe [--log=PATH] [--title=TEXT] [--rect=L,T,W,H] [--show=normal|min|max]
//                   [--copy=TEXT]
//
// Without --log the log is target-log.txt beside the program (a target that a
// job starts).
// --copy: Ctrl+C puts TEXT on the clipboard (CF_TEXT, Shift-JIS), as a program
// whose text a job copies.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tools/standins/standin.h"

namespace {

std::wstring logPath;
std::wstring copyText;

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Log(const std::string& line) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%.3f ", NowMs());
  standin::AppendToFile(logPath, stamp + line + "\n");
}

void LogButton(HWND window, const char* what, const char* button, LPARAM lParam) {
  POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(window, &p);
  Log(std::string(what) + " " + button + " " + std::to_string(p.x) + " " + std::to_string(p.y));
}

void LogKey(const char* what, WPARAM vk, LPARAM lParam) {
  char text[48];
  std::snprintf(text, sizeof text, "%s 0x%02X %s", what, static_cast<unsigned>(vk),
                (lParam & (1 << 24)) != 0 ? "ext" : "-");
  Log(text);
}

void LogPlace(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const char* state = IsIconic(window) ? "min" : IsZoomed(window) ? "max" : "normal";
  Log("place " + std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
      " " + std::to_string(r.bottom - r.top) + " " + state);
}

void CopyOnRequest(HWND window) {
  const int n = WideCharToMultiByte(932, 0, copyText.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(932, 0, copyText.c_str(), -1, &bytes[0], n, nullptr, nullptr);
  standin::PutClipboardText(window, bytes);
  Log("copied");
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: LogButton(window, "down", "L", lParam); return 0;
    case WM_LBUTTONUP: LogButton(window, "up", "L", lParam); return 0;
    case WM_LBUTTONDBLCLK: LogButton(window, "dblclk", "L", lParam); return 0;
    case WM_RBUTTONDOWN: LogButton(window, "down", "R", lParam); return 0;
    case WM_RBUTTONUP: LogButton(window, "up", "R", lParam); return 0;
    case WM_RBUTTONDBLCLK: LogButton(window, "dblclk", "R", lParam); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      LogKey("keydown", wParam, lParam);
      if (wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0 && !copyText.empty()) CopyOnRequest(window);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      LogKey("keyup", wParam, lParam);
      return 0;
    case WM_CHAR: {
      char text[16];
      std::snprintf(text, sizeof text, "char %04X", static_cast<unsigned>(wParam & 0xFFFF));
      Log(text);
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      LogPlace(window);
      break;
    case WM_CLOSE:
      Log("close");
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool TakeOption(const std::wstring& argument, const wchar_t* name, std::wstring& value) {
  const std::wstring prefix = std::wstring(L"--") + name + L"=";
  if (argument.compare(0, prefix.size(), prefix) != 0) return false;
  value = argument.substr(prefix.size());
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  standin::UseDpiUnawareCoordinates();
  std::wstring title = L"Input target", rect = L"100,100,400,300", show = L"normal";
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    const std::wstring a = argv[i];
    TakeOption(a, L"log", logPath) || TakeOption(a, L"title", title) || TakeOption(a, L"rect", rect) ||
        TakeOption(a, L"show", show) || TakeOption(a, L"copy", copyText);
  }
  if (argv) LocalFree(argv);
  if (logPath.empty()) logPath = standin::ModuleFolder() + L"target-log.txt";
  int left = 100, top = 100, width = 400, height = 300;
  swscanf(rect.c_str(), L"%d,%d,%d,%d", &left, &top, &width, &height);

  WNDCLASSW cls = {};
  cls.style = CS_DBLCLKS;
  cls.lpfnWndProc = Proc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"TavolexInputTarget";
  RegisterClassW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, left, top, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show == L"min" ? SW_SHOWMINIMIZED : show == L"max" ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  SetForegroundWindow(window);
  UpdateWindow(window);
  wchar_t folder[MAX_PATH * 4] = {};
  GetCurrentDirectoryW(sizeof folder / sizeof folder[0], folder);
  Log("ready " + standin::ToUtf8(title) + " in " + standin::ToUtf8(folder));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
