// What a user does to a dialog, with the notifications that the real action
// raises. A user reaches only a dialog that is open, shown, not ended and not
// disabled by a nested modal dialog, and only controls that are enabled and
// visible.
#include "platform/headless/internal.h"
#include "text/sjis.h"

namespace headless {
namespace {

using detail::Control;
using detail::Dialog;

constexpr unsigned kScClose = 0xF060;

Dialog* Reachable(plat::Window dialog) {
  Dialog* d = detail::FindDialog(dialog);
  if (d == nullptr || d->ended || d->disabledBy > 0) return nullptr;
  const detail::TopWindow* top = detail::FindTop(dialog);
  return top != nullptr && top->visible ? d : nullptr;
}

Control* Usable(Dialog& d, int controlId, res::ControlClass cls) {
  Control* c = detail::FindControl(d, controlId);
  if (c == nullptr || c->cls != cls || !c->enabled || !c->visible) return nullptr;
  return c;
}

void TakeFocus(Dialog& d, const Control& c) { d.focus = static_cast<int>(&c - d.controls.data()); }

// The dialog manager's WM_COMMAND for Enter, Escape and the close box: none
// when the button with that id exists and is disabled.
void DialogCommand(Dialog& d, int id) {
  Control* button = detail::FindControl(d, id);
  if (button != nullptr && !button->enabled) return;  // a beep
  detail::SendCommand(d, id, plat::kBnClicked);
}

}  // namespace

void Click(plat::Window dialog, int controlId) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::Button) : nullptr;
  if (c == nullptr || c->IsButtonType(res::kBsGroupBox)) return;
  detail::InputKeys none({});
  TakeFocus(*d, *c);
  if (c->IsButtonType(res::kBsAutoCheckBox)) c->check = c->check == 0 ? 1 : 0;
  detail::SendCommand(*d, controlId, plat::kBnClicked);
}

void CloseBox(plat::Window dialog) {
  detail::InputKeys none({});
  if (Dialog* d = Reachable(dialog)) DialogCommand(*d, plat::kIdCancel);
}

void PressEnter(plat::Window dialog) {
  Dialog* d = Reachable(dialog);
  if (d == nullptr) return;
  detail::InputKeys enter({plat::kVkReturn});
  // A focused push button takes Enter itself; otherwise the default button.
  const Control* focused = d->focus >= 0 ? &d->controls[static_cast<std::size_t>(d->focus)] : nullptr;
  if (focused != nullptr &&
      (focused->IsButtonType(res::kBsPushButton) || focused->IsButtonType(res::kBsDefPushButton))) {
    detail::SendCommand(*d, focused->id, plat::kBnClicked);
    return;
  }
  int id = plat::kIdOk;
  for (const Control& c : d->controls) {
    if (c.IsButtonType(res::kBsDefPushButton)) {
      id = c.id;
      break;
    }
  }
  DialogCommand(*d, id);
}

void PressEscape(plat::Window dialog) {
  Dialog* d = Reachable(dialog);
  if (d == nullptr) return;
  detail::InputKeys escape({plat::kVkEscape});
  DialogCommand(*d, plat::kIdCancel);
}

void PressSpace(plat::Window dialog) {
  Dialog* d = Reachable(dialog);
  if (d == nullptr || d->focus < 0) return;
  Control& c = d->controls[static_cast<std::size_t>(d->focus)];
  if (c.cls != res::ControlClass::Button || !c.enabled || !c.visible) return;
  if (!c.IsButtonType(res::kBsPushButton) && !c.IsButtonType(res::kBsDefPushButton) &&
      !c.IsButtonType(res::kBsOwnerDraw)) {
    return;
  }
  // The button acts when Space is released: no key is down for its command.
  detail::InputKeys none({});
  detail::SendCommand(*d, c.id, plat::kBnClicked);
}

void Type(plat::Window dialog, int controlId, const std::string& text) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::Edit) : nullptr;
  if (c == nullptr || c->readOnly) return;
  TakeFocus(*d, *c);
  std::string typed = text;
  if (c->textLimit > 0) {
    // EM_LIMITTEXT counts characters; a two-byte character is one.
    std::size_t end = 0;
    for (int chars = 0; end < typed.size() && chars < c->textLimit; ++chars) {
      end += text::IsLeadByte(static_cast<unsigned char>(typed[end])) ? 2 : 1;
    }
    typed = typed.substr(0, end);
  }
  c->text = typed;
  detail::SendCommand(*d, controlId, plat::kEnChange);
}

void ChooseComboItem(plat::Window dialog, int controlId, int index) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::ComboBox) : nullptr;
  if (c == nullptr || index < 0 || static_cast<std::size_t>(index) >= c->items.size()) return;
  TakeFocus(*d, *c);
  c->selection = index;
  detail::SendCommand(*d, controlId, plat::kCbnSelChange);
}

void DropDownCombo(plat::Window dialog, int controlId) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::ComboBox) : nullptr;
  if (c == nullptr) return;
  TakeFocus(*d, *c);
  detail::SendCommand(*d, controlId, plat::kCbnDropDown);
}

void ClickListRow(plat::Window dialog, int controlId, int row) {
  detail::ClickListRowWith(dialog, controlId, row, plat::kNmClick);
}

void detail::ClickListRowWith(plat::Window dialog, int controlId, int row, int code) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::ListView) : nullptr;
  if (c == nullptr) return;
  TakeFocus(*d, *c);
  if (row >= 0 && static_cast<std::size_t>(row) < c->rows.size()) {
    plat::ListSelectRow(dialog, controlId, row);
  } else {
    // A click below the rows: the selection goes away.
    row = -1;
    for (std::size_t i = 0; i < c->rows.size(); ++i) {
      detail::ChangeRowState(*d, *c, static_cast<int>(i), plat::kLvisSelected, 0);
    }
  }
  plat::Notification n;
  n.controlId = controlId;
  n.code = code;
  n.item = row;
  detail::SendNotify(*d, n);
}

void ToggleListCheck(plat::Window dialog, int controlId, int row) {
  Dialog* d = Reachable(dialog);
  Control* c = d != nullptr ? Usable(*d, controlId, res::ControlClass::ListView) : nullptr;
  if (c == nullptr || (c->listExStyle & plat::kLvsExCheckBoxes) == 0) return;
  if (row < 0 || static_cast<std::size_t>(row) >= c->rows.size()) return;
  plat::ListSetChecked(dialog, controlId, row, !plat::ListIsChecked(dialog, controlId, row));
}

void SystemCommand(plat::Window dialog, unsigned command) {
  Dialog* d = Reachable(dialog);
  detail::InputKeys none({});
  // A greyed item cannot be chosen.
  if (d == nullptr || d->systemMenuGreyed.count(command) > 0 || d->handler->OnSysCommand(dialog, command)) return;
  // The default handling: SC_CLOSE closes as the close box does.
  if ((command & 0xFFF0) == kScClose) DialogCommand(*d, plat::kIdCancel);
}

CellColors PaintListCell(plat::Window dialog, int controlId, int row, int column) {
  CellColors colors;
  Dialog* d = detail::FindDialog(dialog);
  Control* c = d != nullptr ? detail::FindControl(*d, controlId) : nullptr;
  if (c == nullptr || c->cls != res::ControlClass::ListView) return colors;
  plat::Notification n;
  n.controlId = controlId;
  n.code = plat::kNmCustomDraw;
  n.textColor = &colors.text;
  n.backColor = &colors.back;
  n.drawStage = plat::kCddsPrepaint;
  if ((detail::SendNotify(*d, n) & plat::kCdrfNotifyItemDraw) == 0) return colors;
  n.drawStage = plat::kCddsItemPrepaint;
  n.item = row;
  if ((detail::SendNotify(*d, n) & plat::kCdrfNotifySubItemDraw) == 0) return colors;
  n.drawStage = plat::kCddsItemPrepaint | plat::kCddsSubItem;
  n.subItem = column;
  detail::SendNotify(*d, n);
  colors.subItemStageReached = true;
  return colors;
}

}  // namespace headless
