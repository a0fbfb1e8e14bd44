// Dialog controls addressed by id: edits, buttons, combo boxes, the report
// list view, the animation control, and the drawing toolkit of owner-drawn
// buttons.
#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <commctrl.h>

namespace plat {
namespace {

using win32::ToWide;

// GetDlgItem asks the window server for the dialog's children on every call
// (under Wine a round trip each), which made long lists slow to fill. The
// control of the last few lookups is remembered and checked before reuse:
// still a window, still the dialog's child with that id.
HWND Item(Window dialog, int controlId) {
  struct Entry {
    HWND dialog = nullptr;
    int id = 0;
    HWND control = nullptr;
  };
  static Entry cache[16];
  HWND d = H(dialog);
  Entry& e = cache[static_cast<unsigned>(controlId) % 16];
  if (e.dialog == d && e.id == controlId && e.control != nullptr && IsWindow(e.control) &&
      GetParent(e.control) == d && GetDlgCtrlID(e.control) == controlId) {
    return e.control;
  }
  HWND control = GetDlgItem(d, controlId);
  e = {d, controlId, control};
  return control;
}

LRESULT Send(Window dialog, int controlId, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  HWND control = Item(dialog, controlId);
  return control != nullptr ? SendMessageW(control, message, wParam, lParam) : 0;
}

LONG_PTR StyleOf(Window dialog, int controlId) { return GetWindowLongPtrW(Item(dialog, controlId), GWL_STYLE); }

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

HDC Dc(const DrawItem& item) { return reinterpret_cast<HDC>(item.context); }

}  // namespace

Window ControlWindow(Window dialog, int controlId) { return W(Item(dialog, controlId)); }

void SetControlText(Window dialog, int controlId, const char* text) {
  SetWindowTextW(Item(dialog, controlId), ToWide(text).c_str());
}

std::string GetControlText(Window dialog, int controlId, std::size_t bufferSize) {
  return win32::WindowText(Item(dialog, controlId), bufferSize);
}

void EnableControl(Window dialog, int controlId, bool enable) { EnableWindow(Item(dialog, controlId), enable); }

bool IsControlEnabled(Window dialog, int controlId) { return IsWindowEnabled(Item(dialog, controlId)) != FALSE; }

void ShowControl(Window dialog, int controlId, bool show) {
  ShowWindow(Item(dialog, controlId), show ? SW_SHOW : SW_HIDE);
}

// The control's own visibility, whether or not the dialog is shown.
bool IsControlVisible(Window dialog, int controlId) {
  HWND h = Item(dialog, controlId);
  return h && (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetEditReadOnly(Window dialog, int controlId, bool readOnly) { Send(dialog, controlId, EM_SETREADONLY, readOnly); }

bool IsEditReadOnly(Window dialog, int controlId) { return (StyleOf(dialog, controlId) & ES_READONLY) != 0; }

void LimitText(Window dialog, int controlId, int maxChars) {
  Send(dialog, controlId, EM_LIMITTEXT, static_cast<WPARAM>(maxChars));
}

void SelectAllText(Window dialog, int controlId) {
  Send(dialog, controlId, EM_SETSEL, 0, -1);
  Send(dialog, controlId, EM_SCROLLCARET);
}

void PutCaretAtEnd(Window dialog, int controlId) {
  const LRESULT length = Send(dialog, controlId, WM_GETTEXTLENGTH);
  Send(dialog, controlId, EM_SETSEL, static_cast<WPARAM>(length), length);
  Send(dialog, controlId, EM_SCROLLCARET);
}

void SetFocusTo(Window dialog, int controlId) { SetFocus(Item(dialog, controlId)); }

void MoveControlToTop(Window dialog, int controlId, int x, int y, int width, int height) {
  SetWindowPos(Item(dialog, controlId), HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
}

Rect ControlRect(Window dialog, int controlId) {
  RECT r = {};
  HWND h = Item(dialog, controlId);
  if (!h) return {};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, H(dialog), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

Rect DialogUnitsToPixels(Window dialog, const Rect& units) {
  RECT r = {units.left, units.top, units.right, units.bottom};
  MapDialogRect(H(dialog), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void Redraw(Window dialog, int controlId) {
  RedrawWindow(Item(dialog, controlId), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- buttons

void SetButtonCheck(Window dialog, int controlId, int state) {
  Send(dialog, controlId, BM_SETCHECK, static_cast<WPARAM>(state));
}

int GetButtonCheck(Window dialog, int controlId) { return static_cast<int>(Send(dialog, controlId, BM_GETCHECK)); }

// ---------------------------------------------------------------- combo boxes

void ComboReset(Window dialog, int controlId) { Send(dialog, controlId, CB_RESETCONTENT); }

int ComboAdd(Window dialog, int controlId, const char* text) {
  std::wstring w = ToWide(text);
  return static_cast<int>(Send(dialog, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str())));
}

void ComboSetSelection(Window dialog, int controlId, int index) {
  Send(dialog, controlId, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int ComboGetSelection(Window dialog, int controlId) { return static_cast<int>(Send(dialog, controlId, CB_GETCURSEL)); }

int ComboCount(Window dialog, int controlId) { return static_cast<int>(Send(dialog, controlId, CB_GETCOUNT)); }

void RedrawDroppedList(Window dialog, int controlId) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Item(dialog, controlId), &info) || !info.hwndList || !IsWindowVisible(info.hwndList)) return;
  RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

std::string ComboItemText(Window dialog, int controlId, int index) {
  LRESULT length = Send(dialog, controlId, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR || length <= 0) return {};
  std::vector<wchar_t> buf(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = Send(dialog, controlId, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  if (got == CB_ERR) return {};
  return win32::ToSjis(buf.data(), static_cast<int>(got));
}

// ---------------------------------------------------------------- list view

void ListAddExtendedStyle(Window dialog, int controlId, unsigned exStyle) {
  // The mask limits the change to the given bits; the others stay as they are.
  Send(dialog, controlId, LVM_SETEXTENDEDLISTVIEWSTYLE, exStyle, exStyle);
}

unsigned ListExtendedStyle(Window dialog, int controlId) {
  return static_cast<unsigned>(Send(dialog, controlId, LVM_GETEXTENDEDLISTVIEWSTYLE));
}

void ListInsertColumn(Window dialog, int controlId, int column, const char* title, int width, int align) {
  std::wstring w = ToWide(title);
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = align;
  // The width is for 100 %: the dialog is aware of each monitor's DPI, and a
  // list view, unlike the dialog's own layout, does not scale its columns.
  col.cx = MulDiv(width, static_cast<int>(win32::DpiOf(Item(dialog, controlId))), 96);
  col.pszText = &w[0];
  col.iSubItem = column;
  Send(dialog, controlId, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

int ListColumnCount(Window dialog, int controlId) {
  auto header = reinterpret_cast<HWND>(Send(dialog, controlId, LVM_GETHEADER));
  if (!header) return 0;
  return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

int ListColumnWidth(Window dialog, int controlId, int column) {
  return static_cast<int>(Send(dialog, controlId, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

namespace {

// What LVSCW_AUTOSIZE adds to the widest text of a column (margins, and the
// check box in column 0), found once per font and style on a hidden list
// with one row: the widths it gives less the text's own width.
struct AutosizePadding {
  HFONT font = nullptr;
  DWORD exStyle = 0;
  int first = 0, other = 0;  // column 0, the other columns
  bool known = false;
};

int TextWidth(HDC dc, const wchar_t* text, int length) {
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, length, &size);
  return size.cx;
}

const AutosizePadding& PaddingFor(HWND list) {
  static AutosizePadding padding;
  auto font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  auto exStyle = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  if (padding.known && padding.font == font && padding.exStyle == exStyle) return padding;
  HWND probe = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, GetParent(list), nullptr,
                               win32::ModuleInstance(), nullptr);
  padding = {font, exStyle, 0, 0, false};
  if (probe == nullptr) return padding;
  SendMessageW(probe, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(probe, LVM_SETEXTENDEDLISTVIEWSTYLE, exStyle, exStyle);
  wchar_t sample[] = L"M";
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW col = {};
    col.mask = LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = 10;
    col.iSubItem = c;
    SendMessageW(probe, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.pszText = sample;
  SendMessageW(probe, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.iSubItem = 1;
  SendMessageW(probe, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
  HDC dc = GetDC(probe);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  int sampleWidth = TextWidth(dc, sample, 1);
  SelectObject(dc, old);
  ReleaseDC(probe, dc);
  for (int c = 0; c < 2; ++c) {
    SendMessageW(probe, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(LVSCW_AUTOSIZE, 0));
    int width = static_cast<int>(SendMessageW(probe, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    (c == 0 ? padding.first : padding.other) = width - sampleWidth;
  }
  DestroyWindow(probe);
  padding.known = true;
  return padding;
}

// LVSCW_AUTOSIZE measures each cell with a display context of its own, which
// under Wine costs a round trip to the window server per row. For more than
// a few rows, the same measure with one context: the widest text plus the
// list's own padding (found once, on a probe list, which costs more than a
// few rows do). Texts that repeat (the action names) are measured once.
constexpr int kFewRows = 32;

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void AutosizeNatively(HWND list, int column) {
  SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(LVSCW_AUTOSIZE, 0));
}

// Sets the column to the widest of the texts that `eachText` hands to the
// measure it is given, plus the padding; false when the padding is unknown.
template <typename EachText>
bool SetFittedWidth(HWND list, int column, EachText eachText) {
  const AutosizePadding& padding = PaddingFor(list);
  if (!padding.known) return false;
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, padding.font != nullptr ? padding.font : GetStockObject(DEFAULT_GUI_FONT));
  int widest = 0;
  std::unordered_map<std::wstring, int> measured;
  eachText([&](const wchar_t* text, int length) {
    if (length <= 0) return;
    auto known = measured.emplace(std::wstring(text, static_cast<std::size_t>(length)), 0);
    if (known.second) known.first->second = TextWidth(dc, text, length);
    widest = std::max(widest, known.first->second);
  });
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  int fitted = widest + (column == 0 ? padding.first : padding.other);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(fitted, 0));
  return true;
}

}  // namespace

void ListSetColumnWidth(Window dialog, int controlId, int column, int width) {
  HWND list = Item(dialog, controlId);
  if (width != kColumnAutosize || list == nullptr) {
    Send(dialog, controlId, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
    return;
  }
  const int rows = RowCount(list);
  if (rows <= kFewRows) return AutosizeNatively(list, column);
  bool fitted = SetFittedWidth(list, column, [&](const auto& measure) {
    std::vector<wchar_t> text(1024);
    for (int row = 0; row < rows; ++row) {
      LVITEMW item = {};
      item.iSubItem = column;
      item.pszText = text.data();
      item.cchTextMax = static_cast<int>(text.size());
      measure(text.data(), static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                         reinterpret_cast<LPARAM>(&item))));
    }
  });
  if (!fitted) AutosizeNatively(list, column);
}

void ListFitColumnToTexts(Window dialog, int controlId, int column, const std::vector<std::string>& texts) {
  HWND list = Item(dialog, controlId);
  if (list == nullptr) return;
  if (RowCount(list) <= kFewRows) return AutosizeNatively(list, column);
  bool fitted = SetFittedWidth(list, column, [&](const auto& measure) {
    for (const std::string& text : texts) {
      std::wstring wide = ToWide(text.c_str());
      measure(wide.c_str(), static_cast<int>(wide.size()));
    }
  });
  if (!fitted) AutosizeNatively(list, column);
}

int ListInsertRow(Window dialog, int controlId, int row, const char* column0Text) {
  std::wstring w = ToWide(column0Text);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = &w[0];
  return static_cast<int>(Send(dialog, controlId, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListSetCell(Window dialog, int controlId, int row, int column, const char* text) {
  // Filling a long list writes many short cells: converted on the stack.
  wchar_t buffer[256] = L"";
  std::wstring longer;
  const wchar_t* wide = buffer;
  if (text != nullptr && *text != '\0' &&
      MultiByteToWideChar(win32::kShiftJis, 0, text, -1, buffer, static_cast<int>(std::size(buffer))) <= 0) {
    longer = ToWide(text);
    wide = longer.c_str();
  }
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(wide);
  Send(dialog, controlId, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListGetCell(Window dialog, int controlId, int row, int column, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  // LVM_GETITEMTEXT gives no length: grow the buffer until the text fits.
  std::vector<wchar_t> buf(256);
  int got = 0;
  for (;;) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    got = static_cast<int>(
        Send(dialog, controlId, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (got < static_cast<int>(buf.size()) - 1 || buf.size() >= (1u << 20)) break;
    buf.assign(buf.size() * 2, L'\0');
  }
  std::string text = win32::ToSjis(buf.data(), got);
  win32::CutToBytes(text, bufferSize - 1);
  return text;
}

void ListDeleteAllRows(Window dialog, int controlId) { Send(dialog, controlId, LVM_DELETEALLITEMS); }

int ListRowCount(Window dialog, int controlId) { return static_cast<int>(Send(dialog, controlId, LVM_GETITEMCOUNT)); }

void ListSetChecked(Window dialog, int controlId, int row, bool checked) {
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  Send(dialog, controlId, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool ListIsChecked(Window dialog, int controlId, int row) {
  auto state = static_cast<UINT>(
      Send(dialog, controlId, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

int ListFirstSelected(Window dialog, int controlId) {
  return static_cast<int>(Send(dialog, controlId, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListSelectRow(Window dialog, int controlId, int row) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(dialog, controlId, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListEnsureVisible(Window dialog, int controlId, int row) {
  Send(dialog, controlId, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ListRedrawRow(Window dialog, int controlId, int row) {
  Send(dialog, controlId, LVM_UPDATE, static_cast<WPARAM>(row));
}

int ListInsertNumberedRow(Window dialog, int controlId, int row, bool checked) {
  // Column 0 is a callback text: the dialog answers LVN_GETDISPINFO with the
  // row's position (dialogs.cpp).
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = LPSTR_TEXTCALLBACKW;
  int index = static_cast<int>(Send(dialog, controlId, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (!checked || index < 0) return index;
  // comctl32 (Wine's at least) makes every new row of a check-box list
  // unchecked, whatever state the insertion names: the tick follows at once,
  // without asking the row first. The dialog is not told.
  LVITEMW tick = {};
  tick.stateMask = LVIS_STATEIMAGEMASK;
  tick.state = INDEXTOSTATEIMAGEMASK(2);
  HWND previous = win32::SilencedList;
  win32::SilencedList = Item(dialog, controlId);
  Send(dialog, controlId, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tick));
  win32::SilencedList = previous;
  return index;
}

void ListDeleteRow(Window dialog, int controlId, int row) {
  Send(dialog, controlId, LVM_DELETEITEM, static_cast<WPARAM>(row));
}

// What LVM_SETITEMSTATE on item -1 does, row by row, but asking each row
// first: under Wine setting an unchanged state costs several times more.
void ListSetCheckedAll(Window dialog, int controlId, bool checked) {
  HWND list = Item(dialog, controlId);
  if (list == nullptr) return;
  const UINT wanted = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  for (int row = 0; row < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++row) {
    auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    if (state == wanted) continue;
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = wanted;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

void ListSetCheckedAllSilently(Window dialog, int controlId, bool checked) {
  HWND previous = win32::SilencedList;
  win32::SilencedList = Item(dialog, controlId);
  ListSetCheckedAll(dialog, controlId, checked);
  win32::SilencedList = previous;
}

// What LVM_SETITEMSTATE on item -1 does, but only on the rows that have a
// selection or the focus (Wine would visit every row).
void ListClearSelection(Window dialog, int controlId) {
  HWND list = Item(dialog, controlId);
  if (list == nullptr) return;
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    rows.push_back(row);
  }
  int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused >= 0) rows.push_back(focused);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int row : rows) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

void ListReserveRows(Window dialog, int controlId, int count) {
  Send(dialog, controlId, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL);
}

void ListSetRedraw(Window dialog, int controlId, bool redraw) {
  Send(dialog, controlId, WM_SETREDRAW, redraw ? TRUE : FALSE);
  if (redraw) {
    RedrawWindow(Item(dialog, controlId), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// ---------------------------------------------------------------- animation

bool AnimationOpen(Window dialog, int controlId, int resourceId) {
  return Send(dialog, controlId, ACM_OPENW, reinterpret_cast<WPARAM>(win32::ModuleInstance()),
              reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(resourceId))) != FALSE;
}

void AnimationPlay(Window dialog, int controlId, int from, int to, int repeat) {
  Send(dialog, controlId, ACM_PLAY, static_cast<WPARAM>(static_cast<UINT>(repeat)),
       MAKELPARAM(static_cast<WORD>(from), static_cast<WORD>(to)));
}

void AnimationStop(Window dialog, int controlId) { Send(dialog, controlId, ACM_STOP); }

// ---------------------------------------------------------------- drawing

void DrawFillRect(const DrawItem& item, const Rect& r, Color color) {
  RECT rc = ToRECT(r);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(Dc(item), &rc, brush);
  DeleteObject(brush);
}

void DrawCenteredText(const DrawItem& item, const Rect& r, const char* text, Color color) {
  RECT rc = ToRECT(r);
  HDC dc = Dc(item);
  COLORREF old = SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, ToWide(text).c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetTextColor(dc, old);
}

void DrawEdge(const DrawItem& item, const Rect& r, bool sunken) {
  RECT rc = ToRECT(r);
  ::DrawEdge(Dc(item), &rc, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

void DrawFocusRect(const DrawItem& item, const Rect& r) {
  RECT rc = ToRECT(r);
  ::DrawFocusRect(Dc(item), &rc);
}

}  // namespace plat
