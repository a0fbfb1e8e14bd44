#include "editor/row_commands.h"

#include <algorithm>

#include "editor/fields.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/main_dialog.h"
#include "editor/messages.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "operations/records.h"
#include "resources/control_ids.h"

namespace editor {

int EditedRowOrTell(plat::Window dialog, const char* message) {
  if (CurrentRow >= 0 && CurrentRow < jobstore::LineCount()) return CurrentRow;
  plat::ShowMessageBox(dialog, message, kCheckCaption, plat::kMbOk);
  return -1;
}

void FinishRowCommand(plat::Window dialog, int scrollTarget, FocusAfter focus) {
  if (scrollTarget >= 0) plat::ListEnsureVisible(dialog, res::kOperationList, scrollTarget);
  if (CurrentRow >= 0) {
    // The refills leave no row selected, so selecting the row raises
    // LVN_ITEMCHANGED, whose handler loads it into the fields.
    UpdatingControls = true;
    plat::ListSelectRow(dialog, res::kOperationList, CurrentRow);
    UpdatingControls = false;
  }
  RefreshRepeatMarkers(dialog);
  if (focus == FocusAfter::List) {
    plat::SetFocusTo(dialog, res::kOperationList);
  } else if (CurrentRow >= 0) {
    plat::SetFocusTo(dialog, res::kStopSecondsEdit);
    plat::SelectAllText(dialog, res::kStopSecondsEdit);
  }
}

int ScrollTargetAfter(int row) { return std::min(row + 6, jobstore::LineCount() - 1); }

void InsertLines(plat::Window dialog, int row, const std::vector<std::string>& lines) {
  const int count = jobstore::LineCount();
  const int n = static_cast<int>(lines.size());
  if (row < 0 || row > count || n == 0) return;
  for (int i = 0; i < n; ++i) jobstore::InsertLineAt(row + i, lines[static_cast<std::size_t>(i)].c_str());
  RecordRowsInserted(row, lines);
  RefillAfterInsert(dialog, row, n);
  AutosizeColumns(dialog);
  if (row < count) RenumberRulesAfterInsert(dialog, row + 1, n);
}

void NewOperation(plat::Window dialog) {
  HistoryStepScope step(dialog);
  jobstore::AppendLine(ops::kBlankOperationLine);
  RecordRowsInserted(jobstore::LineCount() - 1, {ops::kBlankOperationLine});
  RefillAfterAppend(dialog);
  AutosizeColumns(dialog);
  CurrentRow = jobstore::LineCount() - 1;
  FinishRowCommand(dialog, CurrentRow, FocusAfter::StopSeconds);
}

void InsertOperation(plat::Window dialog) {
  const int row = EditedRowOrTell(
      dialog, "指定行の前に挿入することができません。\n\n指定行をクリックして選択してください。");
  if (row < 0) return;
  HistoryStepScope step(dialog);
  InsertLines(dialog, row, {ops::kBlankOperationLine});
  // The refill may have moved the selection; the new row is the edited one.
  CurrentRow = row;
  FinishRowCommand(dialog, ScrollTargetAfter(row), FocusAfter::StopSeconds);
}

void DeleteOperation(plat::Window dialog, FocusAfter focus) {
  const int row = EditedRowOrTell(
      dialog, "削除する行が選択されていません。\n\n削除する行をクリックして選択してください。");
  if (row < 0) return;
  HistoryStepScope step(dialog);
  RecordRowsRemoved(row, {jobstore::LineAt(row)});
  jobstore::RemoveLineAt(row);
  RefillAfterDelete(dialog, row);
  AutosizeColumns(dialog);
  RenumberRulesAfterDelete(dialog, row + 1, 1);
  const int count = jobstore::LineCount();
  // The row above takes over; after the first row the new first row. An
  // empty list has no edited row, so Insert and Delete ask for one again.
  CurrentRow = count == 0 ? -1 : std::max(row - 1, 0);
  if (count == 0) EnableEditorFields(dialog, false);
  FinishRowCommand(dialog, count == 0 ? -1 : ScrollTargetAfter(CurrentRow), focus);
}

void ToggleAllChecks(plat::Window dialog) {
  const bool tick = plat::GetButtonCheck(dialog, res::kCheckAllButton) == 1;
  plat::SetControlText(dialog, res::kCheckAllButton,
                       tick ? "すべてのチェックをOFFにします" : "すべてのチェックをONにします");
  // The ticks are not told to the dialog: each would reload the selected row,
  // which is loaded once at the end instead. The list is painted once, after
  // the last tick: painting each changed row as it changes costs far more
  // than the ticks (a second for 10,000 rows under Wine).
  const int rows = plat::ListRowCount(dialog, res::kOperationList);
  plat::ListSetRedraw(dialog, res::kOperationList, false);
  plat::ListSetCheckedAllSilently(dialog, res::kOperationList, tick);
  plat::ListSetRedraw(dialog, res::kOperationList, true);
  if (rows > 0) OnOperationSelected(dialog);
}

}  // namespace editor
