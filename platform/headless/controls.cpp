// Controls of the headless dialogs: what the program's own calls do, and the
// notifications they raise, as the real controls raise them:
// - setting an edit's text raises EN_CHANGE (also when the text is the same);
// - setting other texts, combo-box entries and check boxes raises nothing; a
//   drop-down list takes no text at all (its entries are chosen by index);
// - a list-view row whose state (selection, focus, check box) really changes
//   raises LVN_ITEMCHANGED, and so does a new column-0 text (LVIF_TEXT,
//   states 0); inserting an unselected row and deleting all rows raise
//   nothing the editor reads.
#include <algorithm>

#include "platform/headless/internal.h"

namespace headless {
namespace detail {

void NotifyItemChanged(Dialog& dialog, const Control& list, int row, unsigned oldState,
                       unsigned newState, unsigned changedMask) {
  plat::Notification n;
  n.controlId = list.id;
  n.code = plat::kLvnItemChanged;
  n.item = row;
  n.oldState = oldState;
  n.newState = newState;
  n.changedMask = changedMask;
  SendNotify(dialog, n);
}

void ChangeRowState(Dialog& dialog, Control& list, int row, unsigned mask, unsigned value) {
  if (row < 0 || static_cast<std::size_t>(row) >= list.rows.size()) return;
  unsigned& state = list.rows[static_cast<std::size_t>(row)].state;
  unsigned oldState = state;
  unsigned newState = (oldState & ~mask) | (value & mask);
  if (newState == oldState) return;
  state = newState;
  NotifyItemChanged(dialog, list, row, oldState, newState, plat::kLvifState);
}

std::string CellText(const Control& list, std::size_t row, std::size_t column) {
  const ListRow& r = list.rows[row];
  if (column == 0 && r.numbered) return std::to_string(row + 1);
  return column < r.cells.size() ? r.cells[column] : std::string();
}

}  // namespace detail

namespace {

using detail::Control;
using detail::Dialog;

constexpr unsigned kUncheckedImage = 0x1000;
constexpr unsigned kCheckedImage = 0x2000;
constexpr unsigned kSelectedFocused = plat::kLvisSelected | plat::kLvisFocused;

// A control of an open dialog, of the given class.
Control* Find(plat::Window dialog, int controlId, res::ControlClass cls) {
  Control* c = detail::FindControl(dialog, controlId);
  return c != nullptr && c->cls == cls ? c : nullptr;
}

// A control of any dialog created since Reset (for read-back by the tests).
Control* FindForTest(plat::Window dialog, int controlId) {
  Dialog* d = detail::FindAnyDialog(dialog);
  return d != nullptr ? detail::FindControl(*d, controlId) : nullptr;
}

bool ValidRow(const Control& list, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < list.rows.size();
}

void Autosize(Control& list, std::size_t column) {
  std::size_t widest = list.columns[column].title.size();
  for (std::size_t row = 0; row < list.rows.size(); ++row) {
    widest = std::max(widest, detail::CellText(list, row, column).size());
  }
  list.columns[column].width = static_cast<int>(widest) * 7 + 12;
}

}  // namespace

std::vector<ListColumn> ListColumns(plat::Window dialog, int controlId) {
  Control* c = FindForTest(dialog, controlId);
  return c != nullptr ? c->columns : std::vector<ListColumn>();
}

int TextLimit(plat::Window dialog, int controlId) {
  Control* c = FindForTest(dialog, controlId);
  return c != nullptr ? c->textLimit : 0;
}

plat::Rect ControlPixelRect(plat::Window dialog, int controlId) {
  Control* c = FindForTest(dialog, controlId);
  return c != nullptr ? c->rect : plat::Rect{};
}

AnimationState Animation(plat::Window dialog, int controlId) {
  Control* c = FindForTest(dialog, controlId);
  return c != nullptr ? c->animation : AnimationState{};
}

ControlCalls Calls(plat::Window dialog, int controlId) {
  Control* c = FindForTest(dialog, controlId);
  return c != nullptr ? c->calls : ControlCalls{};
}

}  // namespace headless

namespace plat {

using headless::detail::Control;
using headless::detail::Dialog;
using headless::detail::FindControl;
using headless::detail::FindDialog;
using Cls = res::ControlClass;

Window ControlWindow(Window dialog, int controlId) {
  Control* c = FindControl(dialog, controlId);
  return c != nullptr ? c->window : 0;
}

void SetControlText(Window dialog, int controlId, const char* text) {
  Dialog* d = FindDialog(dialog);
  Control* c = d != nullptr ? FindControl(*d, controlId) : nullptr;
  if (c == nullptr) return;
  std::string value = text != nullptr ? text : "";
  // A drop-down list has no text of its own: WM_SETTEXT answers CB_ERR and
  // changes nothing.
  if (c->cls == Cls::ComboBox) return;
  c->text = value;
  if (c->cls == Cls::Edit) headless::detail::SendCommand(*d, controlId, kEnChange);
}

std::string GetControlText(Window dialog, int controlId, std::size_t bufferSize) {
  Control* c = FindControl(dialog, controlId);
  if (c == nullptr) return std::string();
  std::string text = c->text;
  if (c->cls == Cls::ComboBox) {
    text = c->selection >= 0 ? c->items[static_cast<std::size_t>(c->selection)] : "";
  }
  return headless::detail::CutToBuffer(text, bufferSize);
}

void EnableControl(Window dialog, int controlId, bool enable) {
  if (Control* c = FindControl(dialog, controlId)) c->enabled = enable;
}

bool IsControlEnabled(Window dialog, int controlId) {
  Control* c = FindControl(dialog, controlId);
  return c != nullptr && c->enabled;
}

void ShowControl(Window dialog, int controlId, bool show) {
  if (Control* c = FindControl(dialog, controlId)) c->visible = show;
}

// The control's own visibility (WS_VISIBLE), whether or not the dialog shows.
bool IsControlVisible(Window dialog, int controlId) {
  Control* c = FindControl(dialog, controlId);
  return c != nullptr && c->visible;
}

void SetEditReadOnly(Window dialog, int controlId, bool readOnly) {
  if (Control* c = headless::Find(dialog, controlId, Cls::Edit)) c->readOnly = readOnly;
}

bool IsEditReadOnly(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::Edit);
  return c != nullptr && c->readOnly;
}

void LimitText(Window dialog, int controlId, int maxChars) {
  if (Control* c = headless::Find(dialog, controlId, Cls::Edit)) c->textLimit = maxChars;
}

void SelectAllText(Window dialog, int controlId) {
  if (Control* c = headless::Find(dialog, controlId, Cls::Edit)) ++c->calls.selectAllCount;
}

void PutCaretAtEnd(Window dialog, int controlId) {
  if (Control* c = headless::Find(dialog, controlId, Cls::Edit)) ++c->calls.caretToEndCount;
}

void SetFocusTo(Window dialog, int controlId) {
  Dialog* d = FindDialog(dialog);
  Control* c = d != nullptr ? FindControl(*d, controlId) : nullptr;
  if (c != nullptr) d->focus = static_cast<int>(c - d->controls.data());
}

void MoveControlToTop(Window dialog, int controlId, int x, int y, int width, int height) {
  Dialog* d = FindDialog(dialog);
  Control* c = d != nullptr ? FindControl(*d, controlId) : nullptr;
  if (c == nullptr) return;
  c->rect = {x, y, x + width, y + height};
  c->visible = true;
  int index = static_cast<int>(c - d->controls.data());
  d->zorder.erase(std::find(d->zorder.begin(), d->zorder.end(), index));
  d->zorder.insert(d->zorder.begin(), index);
}

Rect ControlRect(Window dialog, int controlId) {
  Control* c = FindControl(dialog, controlId);
  return c != nullptr ? c->rect : Rect{};
}

Rect DialogUnitsToPixels(Window, const Rect& units) {
  using headless::detail::ToPixelsX;
  using headless::detail::ToPixelsY;
  return {ToPixelsX(units.left), ToPixelsY(units.top), ToPixelsX(units.right), ToPixelsY(units.bottom)};
}

void Redraw(Window dialog, int controlId) {
  Control* c = FindControl(dialog, controlId);
  if (c == nullptr) return;
  ++c->calls.redraws;
  // Updating now paints at once; an owner-drawn button asks its dialog to
  // draw it, but only while it can be seen.
  if (c->IsButtonType(res::kBsOwnerDraw) && IsWindowVisible(c->window)) {
    headless::PaintOwnerDrawn(dialog, controlId);
  }
}

// --- Buttons

void SetButtonCheck(Window dialog, int controlId, int state) {
  if (Control* c = headless::Find(dialog, controlId, Cls::Button)) c->check = state;
}

int GetButtonCheck(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::Button);
  return c != nullptr ? c->check : 0;
}

// --- Combo boxes

void ComboReset(Window dialog, int controlId) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ComboBox)) {
    c->items.clear();
    c->selection = -1;
  }
}

int ComboAdd(Window dialog, int controlId, const char* text) {
  Control* c = headless::Find(dialog, controlId, Cls::ComboBox);
  if (c == nullptr || text == nullptr) return -1;
  std::size_t index = c->items.size();
  if ((c->style & res::kCbsSort) != 0) {
    // A stand-in for the locale's order: ASCII letters without case, then bytes.
    std::string key = headless::detail::FoldCase(text);
    index = 0;
    while (index < c->items.size() && headless::detail::FoldCase(c->items[index]) <= key) ++index;
  }
  c->items.insert(c->items.begin() + static_cast<std::ptrdiff_t>(index), text);
  if (c->selection >= static_cast<int>(index)) ++c->selection;  // the selected entry stays selected
  return static_cast<int>(index);
}

void ComboSetSelection(Window dialog, int controlId, int index) {
  Control* c = headless::Find(dialog, controlId, Cls::ComboBox);
  if (c == nullptr) return;
  bool valid = index >= 0 && static_cast<std::size_t>(index) < c->items.size();
  c->selection = valid ? index : -1;
}

// The twin has no dropped-down list to paint.
void RedrawDroppedList(Window dialog, int controlId) { (void)dialog, (void)controlId; }

int ComboGetSelection(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ComboBox);
  return c != nullptr ? c->selection : -1;
}

int ComboCount(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ComboBox);
  return c != nullptr ? static_cast<int>(c->items.size()) : 0;
}

std::string ComboItemText(Window dialog, int controlId, int index) {
  Control* c = headless::Find(dialog, controlId, Cls::ComboBox);
  if (c == nullptr || index < 0 || static_cast<std::size_t>(index) >= c->items.size()) return "";
  return c->items[static_cast<std::size_t>(index)];
}

// --- List view

void ListAddExtendedStyle(Window dialog, int controlId, unsigned exStyle) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return;
  bool addsCheckBoxes = (exStyle & kLvsExCheckBoxes) != 0 && (c->listExStyle & kLvsExCheckBoxes) == 0;
  c->listExStyle |= exStyle;
  if (!addsCheckBoxes) return;
  // Rows that exist get an unchecked check box.
  for (std::size_t row = 0; row < c->rows.size(); ++row) {
    if ((c->rows[row].state & kLvisStateImageMask) == 0) {
      headless::detail::ChangeRowState(*d, *c, static_cast<int>(row), kLvisStateImageMask,
                                       headless::kUncheckedImage);
    }
  }
}

unsigned ListExtendedStyle(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  return c != nullptr ? c->listExStyle : 0;
}

void ListInsertColumn(Window dialog, int controlId, int column, const char* title, int width,
                      int align) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || column < 0) return;
  std::size_t index = std::min(static_cast<std::size_t>(column), c->columns.size());
  headless::ListColumn col;
  col.title = title != nullptr ? title : "";
  col.width = width;
  col.align = align;
  c->columns.insert(c->columns.begin() + static_cast<std::ptrdiff_t>(index), col);
  for (headless::detail::ListRow& row : c->rows) {
    if (index > 0 && index < row.cells.size()) {
      row.cells.insert(row.cells.begin() + static_cast<std::ptrdiff_t>(index), "");
    }
  }
  if (width < 0) headless::Autosize(*c, index);
}

int ListColumnCount(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  return c != nullptr ? static_cast<int>(c->columns.size()) : 0;
}

int ListColumnWidth(Window dialog, int controlId, int column) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || column < 0 || static_cast<std::size_t>(column) >= c->columns.size()) return 0;
  return c->columns[static_cast<std::size_t>(column)].width;
}

void ListSetColumnWidth(Window dialog, int controlId, int column, int width) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || column < 0 || static_cast<std::size_t>(column) >= c->columns.size()) return;
  // kColumnAutosize (and LVSCW_AUTOSIZE_USEHEADER, -2): 7 pixels per byte of
  // the widest of the title and the cells, plus 12; a stand-in for measuring.
  if (width < 0) {
    headless::Autosize(*c, static_cast<std::size_t>(column));
  } else {
    c->columns[static_cast<std::size_t>(column)].width = width;
  }
}

void ListFitColumnToTexts(Window dialog, int controlId, int column, const std::vector<std::string>& texts) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || column < 0 || static_cast<std::size_t>(column) >= c->columns.size()) return;
  // As kColumnAutosize measures the cells.
  std::size_t widest = c->columns[static_cast<std::size_t>(column)].title.size();
  for (const std::string& text : texts) widest = std::max(widest, text.size());
  c->columns[static_cast<std::size_t>(column)].width = static_cast<int>(widest) * 7 + 12;
}

int ListInsertRow(Window dialog, int controlId, int row, const char* column0Text) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || row < 0) return -1;
  int index = static_cast<int>(std::min(static_cast<std::size_t>(row), c->rows.size()));
  headless::detail::ListRow newRow;
  newRow.cells.push_back(column0Text != nullptr ? column0Text : "");
  // comctl32 gives a new row of a check-box list its unchecked state image
  // without a notification.
  if ((c->listExStyle & kLvsExCheckBoxes) != 0) newRow.state = headless::kUncheckedImage;
  c->rows.insert(c->rows.begin() + index, newRow);
  return index;
}

int ListInsertNumberedRow(Window dialog, int controlId, int row, bool checked) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || row < 0) return -1;
  int index = static_cast<int>(std::min(static_cast<std::size_t>(row), c->rows.size()));
  headless::detail::ListRow newRow;
  newRow.cells.push_back("");
  newRow.numbered = true;
  if ((c->listExStyle & kLvsExCheckBoxes) != 0) {
    newRow.state = checked ? headless::kCheckedImage : headless::kUncheckedImage;
  }
  c->rows.insert(c->rows.begin() + index, newRow);
  return index;
}

void ListDeleteRow(Window dialog, int controlId, int row) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || !headless::ValidRow(*c, row)) return;
  // The row gives up its selection and focus first, as comctl32 does.
  headless::detail::ChangeRowState(*d, *c, row, headless::kSelectedFocused, 0);
  if (headless::ValidRow(*c, row)) c->rows.erase(c->rows.begin() + row);
}

void ListSetCheckedAll(Window dialog, int controlId, bool checked) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return;
  // Row by row, as LVM_SETITEMSTATE on item -1 does (the size is read anew:
  // a notification may change the list).
  for (std::size_t row = 0; row < c->rows.size(); ++row) {
    headless::detail::ChangeRowState(*d, *c, static_cast<int>(row), kLvisStateImageMask,
                                     checked ? headless::kCheckedImage : headless::kUncheckedImage);
  }
}

void ListSetCheckedAllSilently(Window dialog, int controlId, bool checked) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return;
  for (headless::detail::ListRow& row : c->rows) {
    row.state = (row.state & ~kLvisStateImageMask) | (checked ? headless::kCheckedImage : headless::kUncheckedImage);
  }
}

void ListClearSelection(Window dialog, int controlId) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return;
  for (std::size_t row = 0; row < c->rows.size(); ++row) {
    headless::detail::ChangeRowState(*d, *c, static_cast<int>(row), headless::kSelectedFocused, 0);
  }
}

void ListReserveRows(Window dialog, int controlId, int count) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ListView)) c->calls.reservedRows = count;
}

void ListSetRedraw(Window dialog, int controlId, bool redraw) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ListView)) c->calls.redrawOff = !redraw;
}

void ListSetCell(Window dialog, int controlId, int row, int column, const char* text) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || !headless::ValidRow(*c, row) || column < 0) return;
  if (column > 0 && static_cast<std::size_t>(column) >= c->columns.size()) return;
  headless::detail::ListRow& r = c->rows[static_cast<std::size_t>(row)];
  std::string value = text != nullptr ? text : "";
  if (column == 0) {
    // The item text: a new one is notified (a numbered row's number never
    // counts as the same text).
    if (!r.numbered && r.cells[0] == value) return;
    r.numbered = false;
    r.cells[0] = value;
    Dialog* d = FindDialog(dialog);
    headless::detail::NotifyItemChanged(*d, *c, row, 0, 0, kLvifText);
    return;
  }
  if (r.cells.size() <= static_cast<std::size_t>(column)) r.cells.resize(static_cast<std::size_t>(column) + 1);
  r.cells[static_cast<std::size_t>(column)] = value;
}

std::string ListGetCell(Window dialog, int controlId, int row, int column, std::size_t bufferSize) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || !headless::ValidRow(*c, row) || column < 0) return std::string();
  std::string text = headless::detail::CellText(*c, static_cast<std::size_t>(row), static_cast<std::size_t>(column));
  return headless::detail::CutToBuffer(text, bufferSize);
}

void ListDeleteAllRows(Window dialog, int controlId) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ListView)) c->rows.clear();
}

int ListRowCount(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  return c != nullptr ? static_cast<int>(c->rows.size()) : 0;
}

void ListSetChecked(Window dialog, int controlId, int row, bool checked) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return;
  headless::detail::ChangeRowState(*d, *c, row, kLvisStateImageMask,
                                   checked ? headless::kCheckedImage : headless::kUncheckedImage);
}

bool ListIsChecked(Window dialog, int controlId, int row) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || !headless::ValidRow(*c, row)) return false;
  return (c->rows[static_cast<std::size_t>(row)].state & kLvisStateImageMask) == headless::kCheckedImage;
}

int ListFirstSelected(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr) return -1;
  for (std::size_t row = 0; row < c->rows.size(); ++row) {
    if ((c->rows[row].state & kLvisSelected) != 0) return static_cast<int>(row);
  }
  return -1;
}

void ListSelectRow(Window dialog, int controlId, int row) {
  Dialog* d = FindDialog(dialog);
  Control* c = headless::Find(dialog, controlId, Cls::ListView);
  if (c == nullptr || !headless::ValidRow(*c, row)) return;
  // Single selection, in comctl32's order: every other selected row loses its
  // selection; the row is then selected (not yet notified); the focused row
  // loses the focus; the row's own change comes last. Each notification may
  // change the list, so rows are checked anew.
  unsigned before = c->rows[static_cast<std::size_t>(row)].state;
  if ((before & headless::kSelectedFocused) == headless::kSelectedFocused) return;
  for (std::size_t other = 0; other < c->rows.size(); ++other) {
    if (static_cast<int>(other) != row && (c->rows[other].state & kLvisSelected) != 0) {
      headless::detail::ChangeRowState(*d, *c, static_cast<int>(other), kLvisSelected, 0);
    }
  }
  if (!headless::ValidRow(*c, row)) return;
  c->rows[static_cast<std::size_t>(row)].state |= kLvisSelected;
  for (std::size_t other = 0; other < c->rows.size(); ++other) {
    if (static_cast<int>(other) != row && (c->rows[other].state & kLvisFocused) != 0) {
      headless::detail::ChangeRowState(*d, *c, static_cast<int>(other), kLvisFocused, 0);
    }
  }
  if (!headless::ValidRow(*c, row)) return;
  unsigned& state = c->rows[static_cast<std::size_t>(row)].state;
  state |= headless::kSelectedFocused;
  headless::detail::NotifyItemChanged(*d, *c, row, before, state, kLvifState);
}

void ListEnsureVisible(Window dialog, int controlId, int row) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ListView)) {
    c->calls.ensureVisibleRows.push_back(row);
  }
}

void ListRedrawRow(Window dialog, int controlId, int row) {
  if (Control* c = headless::Find(dialog, controlId, Cls::ListView)) ++c->calls.rowRedraws[row];
}

// --- Animation

bool AnimationOpen(Window dialog, int controlId, int resourceId) {
  Control* c = headless::Find(dialog, controlId, Cls::Animation);
  if (c == nullptr) return false;
  c->animation.open = true;
  c->animation.resourceId = resourceId;
  c->animation.playing = false;
  return true;
}

void AnimationPlay(Window dialog, int controlId, int from, int to, int repeat) {
  Control* c = headless::Find(dialog, controlId, Cls::Animation);
  if (c == nullptr || !c->animation.open) return;
  c->animation.playing = true;
  c->animation.from = from;
  c->animation.to = to;
  c->animation.repeat = repeat;
}

void AnimationStop(Window dialog, int controlId) {
  Control* c = headless::Find(dialog, controlId, Cls::Animation);
  if (c == nullptr) return;
  ++c->animation.stopCount;
  c->animation.playing = false;
}

}  // namespace plat
