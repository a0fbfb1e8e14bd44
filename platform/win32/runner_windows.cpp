// The runner's windows: its status window, opening programs and documents
// as Explorer does, placing another program's window, and the questions
// about other windows that the runner asks before it acts.
#include <algorithm>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <shellapi.h>

namespace plat {
namespace {

constexpr wchar_t kStatusClass[] = L"TavolexTestRunStatus";
constexpr COLORREF kStatusBack = RGB(255, 250, 205);
constexpr COLORREF kStatusText = RGB(0, 0, 0);
constexpr int kPadding = 8;
constexpr int kMargin = 12;

HWND statusWindow = nullptr;
HFONT statusFont = nullptr;
std::wstring statusText;

LRESULT CALLBACK StatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      HBRUSH back = CreateSolidBrush(kStatusBack);
      FillRect(dc, &r, back);
      DeleteObject(back);
      HGDIOBJ old = SelectObject(dc, statusFont);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, kStatusText);
      DrawTextW(dc, statusText.c_str(), static_cast<int>(statusText.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool CreateStatusWindow() {
  WNDCLASSW cls = {};
  cls.lpfnWndProc = StatusProc;
  cls.hInstance = win32::ModuleInstance();
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = kStatusClass;
  RegisterClassW(&cls);
  // Topmost, off the taskbar, never activated, and with WS_EX_TRANSPARENT on
  // a layered window the system passes clicks to the window below.
  statusWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED |
                                     WS_EX_TRANSPARENT,
                                 kStatusClass, L"", WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr,
                                 win32::ModuleInstance(), nullptr);
  if (statusWindow == nullptr) return false;
  SetLayeredWindowAttributes(statusWindow, 0, 235, LWA_ALPHA);
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  statusFont = CreateFontIndirectW(&metrics.lfMessageFont);
  return true;
}

}  // namespace

void ShowStatusText(const char* text) {
  win32::UnawareCoordinates unaware;
  if (statusWindow == nullptr && !CreateStatusWindow()) return;
  statusText = win32::ToWide(text);
  // Sized to the text, in the lower right corner of the work area.
  HDC dc = GetDC(statusWindow);
  HGDIOBJ old = SelectObject(dc, statusFont);
  SIZE size = {};
  GetTextExtentPoint32W(dc, statusText.c_str(), static_cast<int>(statusText.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(statusWindow, dc);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = size.cx + 2 * kPadding + 2;
  const int height = size.cy + 2 * kPadding + 2;
  SetWindowPos(statusWindow, HWND_TOPMOST, work.right - width - kMargin, work.bottom - height - kMargin, width,
               height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(statusWindow, nullptr, TRUE);
  UpdateWindow(statusWindow);
}

void CloseStatus() {
  if (statusWindow != nullptr) DestroyWindow(statusWindow);
  statusWindow = nullptr;
  if (statusFont != nullptr) DeleteObject(statusFont);
  statusFont = nullptr;
}

bool OpenAsExplorerDoes(const char* path, const char* workingFolder) {
  const std::wstring file = win32::ToWide(path);
  const std::wstring folder = win32::ToWide(workingFolder);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // No error box of the shell's own: the runner tells the user itself.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_DOENVSUBST | SEE_MASK_NOASYNC;
  info.lpFile = file.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) return false;
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  return true;
}

bool ArrangeTopLevelWindow(Window window, int x, int y, int width, int height) {
  HWND h = H(window);
  if (IsIconic(h) || IsZoomed(h)) ShowWindow(h, SW_RESTORE);
  return SetWindowBounds(window, x, y, width, height, true);
}

Window TopLevelWindowAt(int x, int y) {
  win32::UnawareCoordinates unaware;
  // WindowFromPoint passes over hidden windows and over layered windows with
  // WS_EX_TRANSPARENT (the status window), as a click does.
  HWND w = WindowFromPoint(POINT{x, y});
  if (w != nullptr) w = GetAncestor(w, GA_ROOT);
  if (w == nullptr || w == GetDesktopWindow()) return kNoWindow;
  return W(w);
}

Window ForegroundWindow() { return W(GetForegroundWindow()); }

std::uint32_t WindowProcessId(Window window) {
  DWORD processId = 0;
  if (window == kNoWindow || GetWindowThreadProcessId(H(window), &processId) == 0) return 0;
  return processId;
}

bool WindowExists(Window window) { return window != kNoWindow && IsWindow(H(window)) != FALSE; }

std::string WindowTitle(Window window) {
  return WindowExists(window) ? win32::WindowText(H(window), 512) : std::string();
}

}  // namespace plat
