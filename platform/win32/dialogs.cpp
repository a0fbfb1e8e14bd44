// Modal dialogs and their message dispatch, message boxes, the dialog window
// itself (system menu, icon, placement), timers and top-level windows.
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <commctrl.h>
#include <commdlg.h>

namespace plat {
namespace {

using win32::ToWide;

// The icons given to dialogs with SetDialogIcon, drawn while a dialog is minimised.
std::map<HWND, HICON>& DialogIcons() {
  static std::map<HWND, HICON> icons;
  return icons;
}

// One solid brush per colour asked for by WM_CTLCOLOR*, kept for the whole
// process: colour requests come with every repaint and must not create GDI objects.
HBRUSH SolidBrushFor(Color color) {
  static std::map<Color, HBRUSH> brushes;
  auto it = brushes.find(color);
  if (it != brushes.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes.emplace(color, brush);
  return brush;
}

bool IsListView(HWND control) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  return lstrcmpiW(cls, WC_LISTVIEWW) == 0;
}

CtlColorKind KindOf(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX: return CtlColorKind::MessageBox;
    case WM_CTLCOLOREDIT: return CtlColorKind::Edit;
    case WM_CTLCOLORLISTBOX: return CtlColorKind::ListBox;
    case WM_CTLCOLORBTN: return CtlColorKind::Button;
    case WM_CTLCOLORDLG: return CtlColorKind::Dialog;
    case WM_CTLCOLORSCROLLBAR: return CtlColorKind::ScrollBar;
    default: return CtlColorKind::Static;
  }
}

int ControlIdOf(WPARAM wParam) {
  int id = LOWORD(wParam);
  return id == 0xFFFF ? -1 : id;
}

// Answers a message whose result travels in DWLP_MSGRESULT.
INT_PTR Answer(HWND dialog, LONG_PTR result) {
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

// Answers a notification. Left to the default handling, a notification's
// result is 0; under Wine every change of DWLP_MSGRESULT is a round trip to
// the window server, and painting the list alternates 0 and another answer
// for each row.
INT_PTR AnswerNotify(HWND dialog, LONG_PTR result) { return result == 0 ? FALSE : Answer(dialog, result); }

INT_PTR OnNotify(HWND dialog, DialogHandler& handler, const NMHDR* header) {
  Notification n;
  n.controlId = static_cast<int>(header->idFrom);
  n.code = static_cast<int>(header->code);
  const bool fromList = IsListView(header->hwndFrom);
  if (fromList && header->hwndFrom == win32::SilencedList &&
      (header->code == LVN_ITEMCHANGED || header->code == LVN_ITEMCHANGING)) {
    return AnswerNotify(dialog, 0);  // changes allowed, the handler not told
  }
  if (fromList && header->code == LVN_GETDISPINFOW) {
    // Column 0 of a numbered row: its 1-based position.
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
    if (info->item.iSubItem == 0 && (info->item.mask & LVIF_TEXT) && info->item.pszText &&
        info->item.cchTextMax > 0) {
      std::wstring number = std::to_wstring(info->item.iItem + 1);
      lstrcpynW(info->item.pszText, number.c_str(), info->item.cchTextMax);
    }
    return AnswerNotify(dialog, 0);
  }
  if (fromList && header->code == LVN_ITEMCHANGED) {
    const auto* lv = reinterpret_cast<const NMLISTVIEW*>(header);
    n.item = lv->iItem;
    n.subItem = lv->iSubItem;
    n.oldState = lv->uOldState;
    n.newState = lv->uNewState;
    n.changedMask = lv->uChanged;
  } else if (fromList && header->code == NM_CLICK) {
    const auto* ia = reinterpret_cast<const NMITEMACTIVATE*>(header);
    n.item = ia->iItem;
    n.subItem = ia->iSubItem;
    n.oldState = ia->uOldState;
    n.newState = ia->uNewState;
    n.changedMask = ia->uChanged;
  } else if (header->code == NM_CUSTOMDRAW) {
    if (fromList) {
      auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header));
      n.drawStage = cd->nmcd.dwDrawStage;
      n.item = static_cast<int>(cd->nmcd.dwItemSpec);
      n.subItem = cd->iSubItem;
      n.textColor = reinterpret_cast<Color*>(&cd->clrText);
      n.backColor = reinterpret_cast<Color*>(&cd->clrTextBk);
    } else {
      n.drawStage = reinterpret_cast<const NMCUSTOMDRAW*>(header)->dwDrawStage;
    }
  }
  return AnswerNotify(dialog, handler.OnNotify(W(dialog), n));
}

// While minimised the dialog shows its icon in the middle of its client area.
bool PaintMinimised(HWND dialog) {
  auto it = DialogIcons().find(dialog);
  if (!IsIconic(dialog) || it == DialogIcons().end()) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  SendMessageW(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(dialog, &client);
  int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, it->second);
  EndPaint(dialog, &ps);
  return true;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* handler = reinterpret_cast<DialogHandler*>(lParam);
    return handler->OnInitDialog(W(dialog)) ? TRUE : FALSE;
  }
  if (message == WM_NCDESTROY) {
    DialogIcons().erase(dialog);
    return FALSE;
  }
  auto* handler = reinterpret_cast<DialogHandler*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!handler) return FALSE;  // messages before WM_INITDIALOG

  switch (message) {
    case WM_COMMAND:
      handler->OnCommand(W(dialog), ControlIdOf(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      return OnNotify(dialog, *handler, reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      handler->OnTimer(W(dialog), static_cast<int>(wParam));
      return TRUE;
    case WM_SYSCOMMAND:
      if (handler->OnSysCommand(W(dialog), static_cast<unsigned>(wParam))) return Answer(dialog, 0);
      return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      int id = control == dialog ? 0 : GetDlgCtrlID(control);
      CtlColorAnswer a = handler->OnCtlColor(W(dialog), KindOf(message), id);
      if (!a.handled) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, a.textColor);
      SetBkMode(dc, TRANSPARENT);
      // Controls that paint text opaquely whatever the mode (list-box items)
      // then use the brush's colour too.
      SetBkColor(dc, a.brushColor);
      return reinterpret_cast<INT_PTR>(SolidBrushFor(a.brushColor));  // returned directly, not in DWLP_MSGRESULT
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      DrawItem item;
      item.controlId = static_cast<int>(dis->CtlID);
      item.rect = {dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
      item.focused = (dis->itemState & ODS_FOCUS) != 0;
      item.selected = (dis->itemState & ODS_SELECTED) != 0;
      item.disabled = (dis->itemState & ODS_DISABLED) != 0;
      item.context = reinterpret_cast<std::uintptr_t>(dis->hDC);
      if (handler->OnDrawItem(W(dialog), item)) return Answer(dialog, TRUE);
      return FALSE;
    }
    case WM_PAINT:
      return PaintMinimised(dialog) ? TRUE : FALSE;
    case WM_QUERYDRAGICON: {
      auto it = DialogIcons().find(dialog);
      if (it == DialogIcons().end()) return FALSE;
      return reinterpret_cast<INT_PTR>(it->second);  // returned directly
    }
    default:
      return FALSE;
  }
}

void InitCommonControlsOnce() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  done = true;
}

}  // namespace

int RunModalDialog(int templateId, DialogHandler& handler, Window owner) {
  InitCommonControlsOnce();
  INT_PTR r = DialogBoxParamW(win32::ModuleInstance(), MAKEINTRESOURCEW(templateId), H(owner), DialogProc,
                              reinterpret_cast<LPARAM>(&handler));
  return static_cast<int>(r);
}

void EndModalDialog(Window dialog, int result) { EndDialog(H(dialog), result); }

void PrepareSolidBrushes(const std::vector<Color>& colors) {
  for (Color color : colors) SolidBrushFor(color);
}

int ShowMessageBox(Window owner, const char* text, const char* caption, unsigned type) {
  return MessageBoxW(H(owner), ToWide(text).c_str(), ToWide(caption).c_str(), type);
}

Window FocusWindow() { return W(GetFocus()); }

// GetKeyState, not GetAsyncKeyState: the state as of the message that led to
// the call, kept per thread, so key presses elsewhere leave no trace here.
bool KeyDownForCurrentMessage(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

std::string LoadResourceString(int stringId) {
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW gives a pointer into the resource itself.
  int length = LoadStringW(win32::ModuleInstance(), static_cast<UINT>(stringId), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return {};
  return win32::ToSjis(text, length);
}

bool HasSystemMenu(Window dialog) {
  return (GetWindowLongPtrW(H(dialog), GWL_STYLE) & WS_SYSMENU) != 0 && GetSystemMenu(H(dialog), FALSE) != nullptr;
}

void AppendSystemMenuItem(Window dialog, unsigned commandId, const char* text, bool separatorBefore) {
  HMENU menu = GetSystemMenu(H(dialog), FALSE);
  if (!menu) return;
  if (separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, commandId, ToWide(text).c_str());
}

void EnableSystemMenuItem(Window dialog, unsigned commandId, bool enable) {
  HMENU menu = GetSystemMenu(H(dialog), FALSE);
  if (menu) EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void SetDialogIcon(Window dialog, int iconResourceId) {
  HINSTANCE inst = win32::ModuleInstance();
  auto big = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  auto smallIcon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_SHARED));
  if (!big) return;
  if (!smallIcon) smallIcon = big;
  DialogIcons()[H(dialog)] = big;
  SendMessageW(H(dialog), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(H(dialog), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

// Screen positions and sizes of top-level windows are in the coordinates of
// jobs and companions (see UnawareCoordinates); client pixels of the dialog's
// controls are not.
Rect DesktopRect() { return WindowRect(W(GetDesktopWindow())); }

Rect WindowRect(Window window) {
  win32::UnawareCoordinates unaware;
  RECT r = {};
  GetWindowRect(H(window), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void PlaceWindow(Window window, int x, int y, bool topmost) {
  win32::UnawareCoordinates unaware;
  SetWindowPos(H(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool IsTopmost(Window window) { return (GetWindowLongPtrW(H(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void ShowWindowCmd(Window window, int showCommand) { ShowWindow(H(window), showCommand); }

bool IsWindowVisible(Window window) { return ::IsWindowVisible(H(window)) != FALSE; }

void StartTimer(Window dialog, int timerId, unsigned milliseconds) {
  SetTimer(H(dialog), static_cast<UINT_PTR>(timerId), milliseconds, nullptr);
}

void StopTimer(Window dialog, int timerId) { KillTimer(H(dialog), static_cast<UINT_PTR>(timerId)); }

std::vector<TopLevelWindow> TopLevelWindows() {
  std::vector<HWND> handles;
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));
  std::vector<TopLevelWindow> out;
  out.reserve(handles.size());
  for (HWND h : handles) {
    TopLevelWindow t;
    t.window = W(h);
    t.visible = ::IsWindowVisible(h) != FALSE;
    t.owned = GetWindow(h, GW_OWNER) != nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    t.processId = pid;
    t.title = win32::WindowText(h, 512);
    out.push_back(std::move(t));
  }
  return out;
}

bool SetWindowBounds(Window window, int x, int y, int width, int height, bool top) {
  win32::UnawareCoordinates unaware;
  return SetWindowPos(H(window), HWND_TOP, x, y, width, height, SWP_SHOWWINDOW | (top ? 0 : SWP_NOZORDER)) != FALSE;
}

OpenFileChoice ChooseFileToOpen(Window owner, const char* filterName, const char* pattern,
                                unsigned flags) {
  // "name\0pattern\0\0"
  std::wstring filter = ToWide(filterName);
  filter.push_back(L'\0');
  filter += ToWide(pattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = H(owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = flags;
  OpenFileChoice choice;
  // comdlg32 is loaded when the dialog is first asked for, not with the
  // program: under Wine it and the libraries it brings add about 13 ms to
  // every start. Only from the system folder.
  using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
  static const auto getOpenFileName = reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetOpenFileNameW")));
  if (getOpenFileName == nullptr || !getOpenFileName(&ofn)) return choice;
  choice.chosen = true;
  choice.path = win32::ToSjis(file, -1, &choice.exact);
  return choice;
}

}  // namespace plat
