// Jobs in the main dialog: the job list 1082 and switching with it, deleting
// with button 1029.
#include <string>

#include "companions/repeat.h"
#include "companions/screen.h"
#include "editor/features.h"
#include "editor/line_assembly.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/main_dialog.h"
#include "editor/messages.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/files.h"
#include "jobstore/jobs.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "resources/control_ids.h"

namespace editor {

namespace {

// Selects the entry whose text is JobName; none when there is no such entry.
void SelectCurrentJob(plat::Window dialog) {
  int count = plat::ComboCount(dialog, res::kJobCombo);
  for (int i = 0; i < count; ++i) {
    if (plat::ComboItemText(dialog, res::kJobCombo, i) == jobstore::JobName) {
      plat::ComboSetSelection(dialog, res::kJobCombo, i);
      return;
    }
  }
  plat::ComboSetSelection(dialog, res::kJobCombo, -1);
}

void PutSelectionBack(plat::Window dialog) { SelectCurrentJob(dialog); }

// The job's lines, its repeat rules and the editor as a freshly opened job
// has them.
void LoadSwitchedJob(plat::Window dialog) {
  // No row of the new job is edited: the set-up below empties fields, and
  // their change events would otherwise rebuild the line at the former job's
  // edited row from the emptied fields.
  CurrentRow = -1;
  UpdatingControls = true;
  ClearEditorFields(dialog);
  const jobstore::Unscramble unscrambled = jobstore::LoadCurrentJob();
  FillOperationList(dialog);
  RepeatRulesAtStart(dialog);
  UpdatingControls = false;

  RefreshRepeatMarkers(dialog);
  AutosizeColumns(dialog);
  plat::SetButtonCheck(dialog, res::kCheckAllButton, 1);
  EnableEditorFields(dialog, false);
  SetupEditorForAction(dialog, 0);
  companions::MovePickerWindow(ScreenWidth / 2, ScreenHeight / 2);
  companions::ResetClipboard();
  ForgetHistory();
  ShortcutJobChanged(dialog);
  ClearJobModified(dialog);  // also plays the status animation again
  TellUnscrambleProblem(dialog, unscrambled);
}

// Selection change of the job list: saves the current job and opens the
// chosen one. A failed save keeps the current job with its lines.
void SwitchJob(plat::Window dialog) {
  int selected = plat::ComboGetSelection(dialog, res::kJobCombo);
  std::string chosen = selected >= 0 ? plat::ComboItemText(dialog, res::kJobCombo, selected) : std::string();
  if (chosen.empty() || chosen == jobstore::JobName) return;

  if (!SaveRepeatRulesOrTell(dialog)) {
    PutSelectionBack(dialog);
    return;
  }
  if (plat::ShowMessageBox(dialog, "処理作業の操作定義を切り替えます。\n\n作業中の操作定義は保存されます。",
                           kAppCaption, plat::kMbYesNo) != plat::kIdYes) {
    PutSelectionBack(dialog);
    return;
  }
  if (!jobstore::SaveAndDropCurrentJob()) {
    TellLinesNotSaved(dialog);
    PutSelectionBack(dialog);
    return;
  }
  jobstore::DeleteTestRunFiles();  // the job left behind keeps no run's files
  jobstore::EnterJob(chosen.c_str());
  LoadSwitchedJob(dialog);
}

// Button 1029: removes the current job's folder and ends the editor without
// saving anything.
void DeleteJob(plat::Window dialog) {
  if (plat::ShowMessageBox(dialog, "処理作業の内容が完全に失われます。\n\nよろしいですか？", kAppCaption,
                           plat::kMbYesNo) != plat::kIdYes) {
    return;
  }
  std::string folder = jobstore::JobFolderOf(jobstore::JobName);
  if (!jobstore::DeleteFolderTree(folder.c_str()) && plat::PathExists(folder.c_str())) {
    std::string message = "処理作業のフォルダーを完全には削除できませんでした。\n\n" + folder;
    plat::ShowMessageBox(dialog, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
  }
  plat::EndModalDialog(dialog, plat::kIdCancel);
}

}  // namespace

void JobListAtStart(plat::Window dialog) {
  plat::ComboReset(dialog, res::kJobCombo);
  for (const std::string& job : jobstore::ListJobs()) plat::ComboAdd(dialog, res::kJobCombo, job.c_str());
  plat::ComboSetSelection(dialog, res::kJobCombo, 0);
  SelectCurrentJob(dialog);
}

bool JobCommand(plat::Window dialog, int controlId, int code) {
  if (controlId == res::kJobCombo && code == plat::kCbnSelChange) {
    SwitchJob(dialog);
    return true;
  }
  if (controlId == res::kDeleteJobButton && code == plat::kBnClicked) {
    DeleteJob(dialog);
    return true;
  }
  return false;
}

}  // namespace editor
