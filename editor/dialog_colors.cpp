// The main dialog's colours: its colour requests, and the action list's
// highlight pass over its entries after the list dropped down (timer 1234).
#include <string>

#include "editor/colors.h"
#include "editor/features.h"
#include "resources/control_ids.h"

namespace editor {

namespace {

constexpr int kActionListTimer = 1234;
constexpr unsigned kActionListTimerMs = 100;
constexpr int kActionListPassEnd = 10;  // entries 0 to 10

}  // namespace

bool ColorsCommand(plat::Window dialog, int controlId, int code) {
  if (controlId != res::kActionCombo || code != plat::kCbnDropDown) return false;
  plat::StartTimer(dialog, kActionListTimer, kActionListTimerMs);
  return true;
}

// 100 ms after the action list dropped down, its highlight passes over the
// entries 0 to 10 and comes back to the selected one. Selecting by program
// raises no selection change, so the operation editor does not react. The
// list, painted during the pass in the colour of each entry passed, is then
// painted again in the colour of the action shown.
bool ColorsTimer(plat::Window dialog, int timerId) {
  if (timerId != kActionListTimer) return false;
  int selected = plat::ComboGetSelection(dialog, res::kActionCombo);
  for (int i = 0; i <= kActionListPassEnd; ++i) plat::ComboSetSelection(dialog, res::kActionCombo, i);
  plat::ComboSetSelection(dialog, res::kActionCombo, selected);
  plat::RedrawDroppedList(dialog, res::kActionCombo);
  return true;
}

plat::CtlColorAnswer MainDialogColors(plat::Window dialog, plat::CtlColorKind kind, int controlId) {
  if (kind != plat::CtlColorKind::ListBox) return MainDialogColor(kind, controlId, nullptr);
  std::string action = plat::GetControlText(dialog, res::kActionCombo, 32);
  return MainDialogColor(kind, controlId, action.c_str());
}

}  // namespace editor
