#include "editor/undo.h"

#include <algorithm>
#include <utility>

#include "companions/repeat.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/main_dialog.h"
#include "editor/row_commands.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "resources/control_ids.h"

namespace editor {

History JobHistory;

namespace {

// A repeat rule's check box or typed field changed the job since it was
// loaded or saved.
bool changedOutsideHistory = false;

// The rules renumbered by `shift` as part of the step in progress. The
// program's own writes into the rules' fields are no typed change.
template <typename Shift>
void RenumberRules(plat::Window dialog, Shift shift) {
  const companions::RepeatRuleSet before = companions::ReadRepeatRules(dialog);
  {
    ProgramWrites writes;
    shift();
  }
  const companions::RepeatRuleSet after = companions::ReadRepeatRules(dialog);
  if (!companions::SameRules(before, after)) JobHistory.AddRules(before, after);
}

void SwapLines(int row) {
  const std::string upper = jobstore::LineAt(row);
  jobstore::ReplaceLineAt(row, jobstore::LineAt(row + 1));
  jobstore::ReplaceLineAt(row + 1, upper.c_str());
}

bool Fits(const LineChange& change, bool forward) {
  const int count = jobstore::LineCount();
  const int n = static_cast<int>(change.lines.size());
  const bool inserts = (change.kind == LineChange::Insert) == forward;
  switch (change.kind) {
    case LineChange::Replace:
      return change.row >= 0 && change.row < count;
    case LineChange::SwapWithNext:
      return change.row >= 0 && change.row + 1 < count;
    default:
      return change.row >= 0 && (inserts ? change.row <= count : change.row + n <= count);
  }
}

// One change done (forward) or taken back, with the list's rows.
void Apply(plat::Window dialog, const LineChange& change, bool forward) {
  const int n = static_cast<int>(change.lines.size());
  switch (change.kind) {
    case LineChange::Replace:
      jobstore::ReplaceLineAt(change.row, change.lines[forward ? 1 : 0].c_str());
      RewriteOperationRow(dialog, change.row);
      return;
    case LineChange::SwapWithNext: {
      SwapLines(change.row);
      RewriteOperationRow(dialog, change.row);
      RewriteOperationRow(dialog, change.row + 1);
      // A tick belongs to its operation and moves with it.
      const bool upper = plat::ListIsChecked(dialog, res::kOperationList, change.row);
      const bool lower = plat::ListIsChecked(dialog, res::kOperationList, change.row + 1);
      plat::ListSetChecked(dialog, res::kOperationList, change.row, lower);
      plat::ListSetChecked(dialog, res::kOperationList, change.row + 1, upper);
      return;
    }
    case LineChange::Insert:
    case LineChange::Remove:
      break;
  }
  if ((change.kind == LineChange::Insert) == forward) {
    for (int i = 0; i < n; ++i) jobstore::InsertLineAt(change.row + i, change.lines[static_cast<std::size_t>(i)].c_str());
    RefillAfterInsert(dialog, change.row, n);
  } else {
    for (int i = 0; i < n; ++i) jobstore::RemoveLineAt(change.row);
    RefillAfterDelete(dialog, change.row, n);
  }
}

// The rules as the step leaves them. When they are still as the step found
// them, exactly as it left them; when the user has changed them since, they
// are renumbered as a row command would for the rows inserted or removed.
void ApplyRules(plat::Window dialog, const HistoryStep& step, bool forward) {
  const companions::RepeatRuleSet& from = forward ? step.rules->before : step.rules->after;
  const companions::RepeatRuleSet& to = forward ? step.rules->after : step.rules->before;
  ProgramWrites writes;
  if (companions::SameRules(companions::ReadRepeatRules(dialog), from)) {
    companions::WriteRepeatRules(dialog, to);
  } else {
    for (const LineChange& change : step.changes) {
      const int n = static_cast<int>(change.lines.size());
      if (change.kind != LineChange::Insert && change.kind != LineChange::Remove) continue;
      if ((change.kind == LineChange::Insert) == forward) {
        companions::ShiftRangesAfterInsert(dialog, change.row + 1, n);
      } else {
        companions::ShiftRangesAfterDelete(dialog, change.row + 1, n);
      }
    }
  }
}

// Does a step again (forward) or takes it back. A step that no longer fits
// the lines (the history and the lines went apart) stops there, and the
// history starts afresh with the job counted as changed.
void ApplyStep(plat::Window dialog, const HistoryStep& step, bool forward) {
  plat::ListClearSelection(dialog, res::kOperationList);
  bool apart = false;
  const std::size_t count = step.changes.size();
  for (std::size_t i = 0; i < count && !apart; ++i) {
    const LineChange& change = step.changes[forward ? i : count - 1 - i];
    apart = !Fits(change, forward);
    if (!apart) Apply(dialog, change, forward);
  }
  if (step.rules && !apart) ApplyRules(dialog, step, forward);
  AutosizeColumns(dialog);

  const int lines = jobstore::LineCount();
  int row = forward ? step.rowAfter : step.rowBefore;
  if (row < 0 && !step.changes.empty()) row = step.changes.front().row;
  if (apart) {
    JobHistory.Clear();  // `step` is gone from here on
    changedOutsideHistory = true;
  }
  CurrentRow = lines == 0 ? -1 : std::clamp(row, 0, lines - 1);
  EnableEditorFields(dialog, CurrentRow >= 0);
  FinishRowCommand(dialog, CurrentRow >= 0 ? ScrollTargetAfter(CurrentRow) : -1, FocusAfter::List);
  SyncJobModified(dialog);
}

}  // namespace

HistoryStepScope::HistoryStepScope(plat::Window dialog) : dialog_(dialog), revision_(JobHistory.Revision()) {
  JobHistory.Begin(CurrentRow);
}

HistoryStepScope::~HistoryStepScope() {
  JobHistory.End(CurrentRow);
  if (!JobHistory.InStep() && JobHistory.Revision() != revision_) SyncJobModified(dialog_);
}

void RecordLineEdit(plat::Window dialog, int row, int field, const std::string& before, const std::string& after) {
  const unsigned long revision = JobHistory.Revision();
  JobHistory.Typed(row, field, before, after);
  if (!JobHistory.InStep() && JobHistory.Revision() != revision) SyncJobModified(dialog);
}

void RecordRowsInserted(int row, const std::vector<std::string>& lines) {
  JobHistory.Add({LineChange::Insert, row, lines});
}

void RecordRowsRemoved(int row, const std::vector<std::string>& lines) {
  JobHistory.Add({LineChange::Remove, row, lines});
}

void SwapRowWithNext(plat::Window dialog, int row) {
  const LineChange swap{LineChange::SwapWithNext, row, {}};
  if (!Fits(swap, true)) return;
  plat::ListClearSelection(dialog, res::kOperationList);
  Apply(dialog, swap, true);
  JobHistory.Add(swap);
}

void EndTypingRun() { JobHistory.EndRun(); }

void RenumberRulesAfterInsert(plat::Window dialog, int n, int count) {
  RenumberRules(dialog, [&] { companions::ShiftRangesAfterInsert(dialog, n, count); });
}

void RenumberRulesAfterDelete(plat::Window dialog, int n, int count) {
  RenumberRules(dialog, [&] { companions::ShiftRangesAfterDelete(dialog, n, count); });
}

void NoteChangeOutsideHistory(plat::Window dialog) {
  changedOutsideHistory = true;
  MarkJobModified(dialog);
}

void SyncJobModified(plat::Window dialog) {
  const bool modified = changedOutsideHistory || !JobHistory.Unchanged();
  if (modified == JobModified) return;
  if (modified) {
    MarkJobModified(dialog);
  } else {
    ClearJobModified(dialog);
  }
}

void ForgetHistory() {
  JobHistory.Clear();
  changedOutsideHistory = false;
}

void UndoLastChange(plat::Window dialog) {
  if (const HistoryStep* step = JobHistory.TakeUndo()) ApplyStep(dialog, *step, false);
}

void RedoLastChange(plat::Window dialog) {
  if (const HistoryStep* step = JobHistory.TakeRedo()) ApplyStep(dialog, *step, true);
}

}  // namespace editor
