// The pickers' part of the platform besides the marker window: top-level
// windows with their programs, exact edit texts and the window finder of the
// title picker.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <commctrl.h>
#include <tlhelp32.h>

namespace plat {
namespace {

// The file name of a process's program; empty when the system does not tell.
std::string ProgramNameOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  std::vector<wchar_t> path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  std::string name;
  if (QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
    std::wstring full(path.data(), size);
    std::size_t slash = full.find_last_of(L"\\/");
    name = win32::ToSjis(full.c_str() + (slash == std::wstring::npos ? 0 : slash + 1));
  }
  CloseHandle(process);
  return name;
}

// --- The window finder

struct Finder {
  HWND dialog = nullptr;
  int controlId = 0;
  bool dragging = false;
  HWND pointed = nullptr;  // the top-level window last reported
};

std::map<HWND, Finder>& Finders() {  // by the control's window
  static std::map<HWND, Finder> finders;
  return finders;
}

// The top-level window under the pointer; none over the finder's own dialog.
HWND TopLevelUnderPointer(HWND dialog) {
  POINT p;
  if (!GetCursorPos(&p)) return nullptr;
  HWND w = WindowFromPoint(p);
  if (w) w = GetAncestor(w, GA_ROOT);
  if (w == dialog || w == GetDesktopWindow()) return nullptr;
  return w;
}

void Report(HWND control, Finder& f, bool always) {
  HWND w = TopLevelUnderPointer(f.dialog);
  if (!always && w == f.pointed) return;
  f.pointed = w;
  SendMessageW(f.dialog, WM_COMMAND, MAKEWPARAM(f.controlId, kFinderPointed), reinterpret_cast<LPARAM>(control));
}

// A crosshair in a circle; only the empty circle while it is dragged away.
void PaintFinder(HWND control, const Finder& f) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control, &ps);
  RECT r;
  GetClientRect(control, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const int radius = static_cast<int>(std::max<LONG>(4, std::min(r.right - r.left, r.bottom - r.top) / 2 - 3));
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Ellipse(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
  if (!f.dragging) {
    MoveToEx(dc, cx - radius - 2, cy, nullptr);
    LineTo(dc, cx + radius + 3, cy);
    MoveToEx(dc, cx, cy - radius - 2, nullptr);
    LineTo(dc, cx, cy + radius + 3);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  EndPaint(control, &ps);
}

LRESULT CALLBACK FinderProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  auto it = Finders().find(control);
  if (it == Finders().end()) return DefSubclassProc(control, message, wParam, lParam);
  Finder& f = it->second;
  switch (message) {
    case WM_NCHITTEST:
      return HTCLIENT;  // a static lets clicks through otherwise
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, f.dragging ? IDC_CROSS : IDC_HAND));
      return TRUE;
    case WM_LBUTTONDOWN:
      f.dragging = true;
      f.pointed = nullptr;
      SetCapture(control);
      SetCursor(LoadCursorW(nullptr, IDC_CROSS));
      InvalidateRect(control, nullptr, TRUE);
      return 0;
    case WM_MOUSEMOVE:
      if (f.dragging) {
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        Report(control, f, false);
      }
      return 0;
    case WM_LBUTTONUP:
      if (f.dragging) {
        Report(control, f, true);
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      f.dragging = false;
      InvalidateRect(control, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      PaintFinder(control, f);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, FinderProc, 0);
      Finders().erase(it);
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

std::vector<ProgramWindow> ProgramWindows() {
  std::map<std::uint32_t, std::string> programs;
  std::vector<ProgramWindow> out;
  for (const TopLevelWindow& t : TopLevelWindows()) {
    ProgramWindow w;
    static_cast<TopLevelWindow&>(w) = t;
    if (w.visible && !w.title.empty()) {
      auto it = programs.find(w.processId);
      if (it == programs.end()) it = programs.emplace(w.processId, ProgramNameOf(w.processId)).first;
      w.programName = it->second;
    }
    out.push_back(std::move(w));
  }
  return out;
}

std::uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

std::uint32_t ParentProcessId() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  const DWORD own = GetCurrentProcessId();
  DWORD parent = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == own) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

std::string GetControlTextExact(Window dialog, int controlId, std::size_t bufferSize, bool* exact) {
  return win32::WindowText(GetDlgItem(H(dialog), controlId), bufferSize, exact);
}

bool CopyWindowTitleToControl(Window source, Window dialog, int controlId) {
  if (!IsWindow(H(source))) return false;
  SetDlgItemTextW(H(dialog), controlId, win32::WideWindowText(H(source)).c_str());
  return true;
}

void MakeWindowFinder(Window dialog, int controlId) {
  HWND control = GetDlgItem(H(dialog), controlId);
  if (!control || Finders().count(control)) return;
  Finder f;
  f.dialog = H(dialog);
  f.controlId = controlId;
  Finders()[control] = f;
  SetWindowSubclass(control, FinderProc, 0, 0);
  InvalidateRect(control, nullptr, TRUE);
}

Window FinderTarget(Window dialog, int controlId) {
  auto it = Finders().find(GetDlgItem(H(dialog), controlId));
  return it == Finders().end() ? kNoWindow : W(it->second.pointed);
}

}  // namespace plat
