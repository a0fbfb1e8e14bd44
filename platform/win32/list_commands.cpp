// Edit commands of a list: its keys reach the dialog's handler, and its
// right-click menu.
#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <commctrl.h>

namespace plat {
namespace {

HWND H(Window w) { return reinterpret_cast<HWND>(w); }

constexpr UINT_PTR kListKeysSubclass = 0x7F01;

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
LRESULT CALLBACK ListKeysProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR swallowChar) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      SetWindowSubclass(list, ListKeysProc, id, 0);
      HWND dialog = GetParent(list);
      auto* handler = reinterpret_cast<DialogHandler*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (!handler) break;
      ListKeyNotification n;
      n.controlId = GetDlgCtrlID(list);
      n.code = kListKeyDown;
      n.key = static_cast<int>(wParam);
      n.modifiers = HeldModifiers();
      if (handler->OnNotify(reinterpret_cast<Window>(dialog), n) == 0) break;
      // The character TranslateMessage made of the key (Ctrl+C gives 0x03)
      // must not reach the list's incremental search either.
      SetWindowSubclass(list, ListKeysProc, id, 1);
      // DefWindowProc still sees an Alt combination: it tells a tap of Alt
      // alone, which opens the system menu, from Alt held with another key.
      if (message == WM_SYSKEYDOWN && wParam != VK_F10) break;
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      if (swallowChar) {
        SetWindowSubclass(list, ListKeysProc, id, 0);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, ListKeysProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void ReportListKeys(Window dialog, int controlId) {
  HWND list = GetDlgItem(H(dialog), controlId);
  if (list) SetWindowSubclass(list, ListKeysProc, kListKeysSubclass, 0);
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
