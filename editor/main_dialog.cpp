#include "editor/main_dialog.h"

#include <string>

#include "companions/contract.h"
#include "companions/screen.h"
#include "editor/colors.h"
#include "editor/exit_commands.h"
#include "editor/features.h"
#include "editor/line_assembly.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "operations/records.h"
#include "resources/control_ids.h"
#include "resources/templates.h"

namespace editor {

namespace {

// System-menu command of the about box.
constexpr unsigned kAboutCommand = 16;

// Which handler a control's command goes to. Handlers of later features are
// added here as they are built.
struct CommandRoute {
  int controlId;
  int code;
  void (*handler)(plat::Window dialog);
};

void RepeatRangeChanged(plat::Window dialog) {
  RepeatFieldChanged(dialog);
  RefreshRepeatMarkers(dialog);
}

const CommandRoute kCommandRoutes[] = {
    {res::kSaveAndExitButton, plat::kBnClicked, SaveAndExit},
    {res::kCancelButton, plat::kBnClicked, CancelEditing},
    {res::kRepeatRules[0].from, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[0].to, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[1].from, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[1].to, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[2].from, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[2].to, plat::kEnChange, RepeatRangeChanged},
    {res::kRepeatRules[0].count, plat::kEnChange, RepeatFieldChanged},
    {res::kRepeatRules[1].count, plat::kEnChange, RepeatFieldChanged},
    {res::kRepeatRules[2].count, plat::kEnChange, RepeatFieldChanged},
};

constexpr int kEditorFields[] = {res::kNameEdit, res::kXEdit, res::kYEdit, res::kActionCombo,
                                 res::kInputCombo, res::kInputEdit, res::kStopSecondsEdit};

constexpr unsigned kListExtendedStyle = plat::kLvsExGridLines | plat::kLvsExCheckBoxes |
                                        plat::kLvsExFullRowSelect | plat::kLvsExOneClickActivate |
                                        plat::kLvsExTwoClickActivate | plat::kLvsExDoubleBuffer |
                                        plat::kLvsExHeaderInAllViews;

// The one line an empty job starts with, shown as row 0.
void AddDefaultLine(plat::Window dialog) {
  jobstore::AppendLine(ops::kDefaultOperationLine);
  AddOperationRow(dialog, 0);
  AutosizeColumns(dialog);
}

class CAboutDlg : public plat::DialogHandler {
 public:
  bool OnInitDialog(plat::Window) override { return true; }
  void OnCommand(plat::Window dialog, int controlId, int code) override {
    if ((controlId == plat::kIdOk || controlId == plat::kIdCancel) && code == plat::kBnClicked) {
      plat::EndModalDialog(dialog, controlId);
    }
  }
};

}  // namespace

int CTavolexDlg::DoModal() { return plat::RunModalDialog(res::kMainDialog, *this, plat::kNoWindow); }

bool CTavolexDlg::OnInitDialog(plat::Window dialog) {
  window_ = dialog;
  if (plat::HasSystemMenu(dialog)) {
    ShortcutMenuAtStart(dialog);
    std::string about = plat::LoadResourceString(res::kAboutMenuString);
    if (!about.empty()) plat::AppendSystemMenuItem(dialog, kAboutCommand, about.c_str(), false);
  }
  plat::SetDialogIcon(dialog, res::kIcon);
  for (int& slot : RedrawQueue) slot = -1;
  JobListAtStart(dialog);

  plat::ListAddExtendedStyle(dialog, res::kOperationList, kListExtendedStyle);
  InsertListColumns(dialog);
  plat::ComboReset(dialog, res::kActionCombo);
  for (const char* name : ops::kActionNames) plat::ComboAdd(dialog, res::kActionCombo, name);
  plat::ComboSetSelection(dialog, res::kActionCombo, 0);

  FillOperationList(dialog);
  UpdatingControls = true;
  ClearEditorFields(dialog);
  RepeatRulesAtStart(dialog);
  UpdatingControls = false;
  RefreshRepeatMarkers(dialog);
  if (jobstore::LineCount() > 0) AutosizeColumns(dialog);

  plat::SetButtonCheck(dialog, res::kCheckAllButton, 1);
  EnableEditorFields(dialog, false);
  // The click actions' arrangement: coordinates and an empty stop-seconds
  // field shown, the input and window fields hidden, no input mode.
  SetupEditorForAction(dialog, ops::MouseClick);

  plat::LimitText(dialog, res::kNameEdit, 512);
  plat::LimitText(dialog, res::kInputEdit, 512);
  for (const res::RepeatRuleControls& rule : res::kRepeatRules) {
    for (int id : {rule.from, rule.to, rule.count}) plat::LimitText(dialog, id, 4);
  }
  for (int id : res::kWindowEdits) plat::LimitText(dialog, id, 4);

  companions::PickerProcessId = companions::StartPicker();
  AcquisitionAtStart(dialog);  // timer 999, "0,0" on the clipboard, timer 888

  plat::Rect desktop = plat::DesktopRect();
  ScreenWidth = desktop.right;
  ScreenHeight = desktop.bottom;
  Placement where = MainWindowPlacement(desktop, plat::WindowRect(dialog));
  plat::PlaceWindow(dialog, where.x, where.y, true);

  RunButton.TextColor = plat::Rgb(255, 255, 255);
  RunButton.FaceColor = plat::Rgb(100, 100, 100);
  plat::Redraw(dialog, res::kRunButton);

  if (jobstore::LineCount() == 0) AddDefaultLine(dialog);

  EditCommandsAtStart(dialog);
  plat::AnimationOpen(dialog, res::kStatusAnimationControl, res::kStatusAnimation);
  ClearJobModified(dialog);
  plat::SetFocusTo(dialog, res::kJobCombo);
  return true;
}

void CTavolexDlg::OnCommand(plat::Window dialog, int controlId, int code) {
  for (const CommandRoute& route : kCommandRoutes) {
    if (route.controlId == controlId && route.code == code) {
      route.handler(dialog);
      return;
    }
  }
  if (OperationEditorCommand(dialog, controlId, code)) return;
  if (RepeatAndRunCommand(dialog, controlId, code)) return;
  if (AcquisitionCommand(dialog, controlId, code)) return;
  if (JobCommand(dialog, controlId, code)) return;
  ColorsCommand(dialog, controlId, code);
}

long CTavolexDlg::OnNotify(plat::Window dialog, const plat::Notification& n) {
  long result = 0;
  if (!EditCommandsNotify(dialog, n, &result)) OperationListNotify(dialog, n, &result);
  return result;
}

// Every timer is one-shot: it is stopped here, and its owner starts it again
// where it must go on.
void CTavolexDlg::OnTimer(plat::Window dialog, int timerId) {
  plat::StopTimer(dialog, timerId);
  if (OperationEditorTimer(dialog, timerId)) return;
  if (RepeatAndRunTimer(dialog, timerId)) return;
  if (RecordingTimer(dialog, timerId)) return;
  if (AcquisitionTimer(dialog, timerId)) return;
  ColorsTimer(dialog, timerId);
}

plat::CtlColorAnswer CTavolexDlg::OnCtlColor(plat::Window dialog, plat::CtlColorKind kind,
                                             int controlId) {
  return MainDialogColors(dialog, kind, controlId);
}

bool CTavolexDlg::OnSysCommand(plat::Window dialog, unsigned command) {
  if (ShortcutSysCommand(dialog, command)) return true;
  if ((command & 0xFFF0u) != kAboutCommand) return false;
  CAboutDlg about;
  plat::RunModalDialog(res::kAboutDialog, about, dialog);
  return true;
}

bool CTavolexDlg::OnDrawItem(plat::Window dialog, const plat::DrawItem& item) {
  if (item.controlId != res::kRunButton) return false;
  RunButton.DrawItem(item, plat::GetControlText(dialog, item.controlId).c_str());
  return true;
}

void EnableEditorFields(plat::Window dialog, bool enable) {
  for (int id : kEditorFields) plat::EnableControl(dialog, id, enable);
}

void ClearEditorFields(plat::Window dialog) {
  plat::SetControlText(dialog, res::kRowNumberEdit, "");
  plat::SetControlText(dialog, res::kNameEdit, "");
  plat::SetControlText(dialog, res::kXEdit, "");
  plat::SetControlText(dialog, res::kYEdit, "");
  plat::ComboSetSelection(dialog, res::kActionCombo, 0);
  plat::ComboSetSelection(dialog, res::kInputCombo, 0);
  plat::SetControlText(dialog, res::kInputEdit, "");
  plat::SetControlText(dialog, res::kStopSecondsEdit, "4");
}

Placement MainWindowPlacement(const plat::Rect& desktop, const plat::Rect& dialog) {
  return {5, desktop.bottom - dialog.bottom - 50};
}

}  // namespace editor
