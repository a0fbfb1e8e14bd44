// Undo and redo in the main dialog: the job's history, what the commands
// that change the operations record in it, and taking changes back.
//
// Every change of the lines goes through the history: field edits
// (UpdateRowFromEditor), New, Insert, Delete, cut, paste and moves, and the
// renumbering of the repeat rules they do. Back at the state the job was
// loaded in, the job counts as unchanged again, unless something outside the
// history changed it since (a repeat rule's check box or typed field): then
// it stays changed until the next job is loaded.
#pragma once

#include <string>
#include <vector>

#include "editor/history.h"
#include "platform/platform.h"

namespace editor {

extern History JobHistory;

// Everything a command changes while an object of this class lives is one
// step; when it recorded one, JobModified follows the history at its end.
class HistoryStepScope {
 public:
  explicit HistoryStepScope(plat::Window dialog);
  ~HistoryStepScope();
  HistoryStepScope(const HistoryStepScope&) = delete;
  HistoryStepScope& operator=(const HistoryStepScope&) = delete;

 private:
  plat::Window dialog_;
  unsigned long revision_;
};

// Line `row` was rebuilt after field `field` changed (a typed run, or part
// of the step in progress).
void RecordLineEdit(plat::Window dialog, int row, int field, const std::string& before,
                    const std::string& after);
void RecordRowsInserted(int row, const std::vector<std::string>& lines);
void RecordRowsRemoved(int row, const std::vector<std::string>& lines);
// Exchanges rows `row` and `row` + 1 (lines, cells and ticks), as part of
// the step in progress; nothing when there is no row `row` + 1.
void SwapRowWithNext(plat::Window dialog, int row);
// Ends a run of typing: another row is loaded into the fields.
void EndTypingRun();

// Renumbers the repeat rules after `count` rows were inserted (or deleted)
// at row n (1-based), as part of the step in progress.
void RenumberRulesAfterInsert(plat::Window dialog, int n, int count);
void RenumberRulesAfterDelete(plat::Window dialog, int n, int count);

// A change of the job that the history does not hold: a repeat rule's
// check box or a typed repeat field.
void NoteChangeOutsideHistory(plat::Window dialog);
// JobModified as the history and the changes outside it say. Only a change
// of the history clears it: a change marked elsewhere is never forgotten.
void SyncJobModified(plat::Window dialog);
// A fresh history: the job was loaded or saved. JobModified is the caller's.
void ForgetHistory();

// Takes back the last change, or does again the last one taken back: the
// lines, the rows and the repeat rules; the row the change was made in
// becomes the edited row. Nothing happens when there is nothing to take.
void UndoLastChange(plat::Window dialog);
void RedoLastChange(plat::Window dialog);

}  // namespace editor
