// Edit commands of a list: its keys reach the dialog's handler, and its
// right-click menu.
#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <commctrl.h>

#include <map>

namespace plat {
namespace {

// A list that reports its keys: its own window procedure, and whether the
// character of the key the dialog just took is still to come.
struct ReportingList {
  WNDPROC original = nullptr;
  bool swallowChar = false;
};

// Subclassed by replacing the window procedure: the comctl32 subclass chain
// looks its data up in the window's properties on every message, which
// under Wine is a round trip to the window server (filling a list of 5,000
// rows took seconds).
std::map<HWND, ReportingList>& ReportingLists() {
  static std::map<HWND, ReportingList> lists;
  return lists;
}

unsigned HeldModifiers() {
  unsigned held = 0;
  if (GetKeyState(VK_CONTROL) & 0x8000) held |= kKeyCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) held |= kKeyAlt;
  if (GetKeyState(VK_SHIFT) & 0x8000) held |= kKeyShift;
  return held;
}

// The list's WM_KEYDOWN and WM_SYSKEYDOWN go to the dialog's handler first
// (the dialogs keep their handler in DWLP_USER). A list view passes
// WM_SYSKEYDOWN straight to DefWindowProc, so Alt combinations would never
// reach the dialog otherwise.
LRESULT CALLBACK ListKeysProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = ReportingLists().find(list);
  if (it == ReportingLists().end()) return DefWindowProcW(list, message, wParam, lParam);
  ReportingList& reporting = it->second;
  const WNDPROC original = reporting.original;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      reporting.swallowChar = false;
      HWND dialog = GetParent(list);
      auto* handler = reinterpret_cast<DialogHandler*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (!handler) break;
      ListKeyNotification n;
      n.controlId = GetDlgCtrlID(list);
      n.code = kListKeyDown;
      n.key = static_cast<int>(wParam);
      n.modifiers = HeldModifiers();
      if (handler->OnNotify(W(dialog), n) == 0) break;
      // The character TranslateMessage made of the key (Ctrl+C gives 0x03)
      // must not reach the list's incremental search either. The handler
      // may have changed the table: look the list up again.
      it = ReportingLists().find(list);
      if (it != ReportingLists().end()) it->second.swallowChar = true;
      // DefWindowProc still sees an Alt combination: it tells a tap of Alt
      // alone, which opens the system menu, from Alt held with another key.
      if (message == WM_SYSKEYDOWN && wParam != VK_F10) break;
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      if (reporting.swallowChar) {
        reporting.swallowChar = false;
        return 0;
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      ReportingLists().erase(it);
      break;
    default:
      break;
  }
  return CallWindowProcW(original, list, message, wParam, lParam);
}

}  // namespace

void ReportListKeys(Window dialog, int controlId) {
  HWND list = GetDlgItem(H(dialog), controlId);
  if (!list || ReportingLists().count(list) > 0) return;
  // In the table first: the new procedure may get a message at once.
  ReportingLists()[list].original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
  if (!SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListKeysProc))) ReportingLists().erase(list);
}

int ShowListMenu(Window dialog, int listId, int row, const std::vector<MenuEntry>& entries) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (const MenuEntry& entry : entries) {
    if (entry.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING | (entry.enabled ? 0u : MF_GRAYED), static_cast<UINT_PTR>(entry.id),
                  win32::ToWide(entry.text.c_str()).c_str());
    }
  }
  POINT at = {};
  HWND list = GetDlgItem(H(dialog), listId);
  if (row >= 0 && list) {
    // Below the row's first cell, kept inside the list.
    RECT cell = {};
    cell.left = LVIR_LABEL;
    RECT client = {};
    GetClientRect(list, &client);
    if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell))) {
      at = {cell.left, cell.bottom};
    }
    if (!PtInRect(&client, at)) at = {client.left, client.top};
    ClientToScreen(list, &at);
  } else {
    GetCursorPos(&at);
  }
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, H(dialog), nullptr));
  DestroyMenu(menu);
  return chosen;
}

}  // namespace plat
