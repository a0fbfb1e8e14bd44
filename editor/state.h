// Editor state shared by the main dialog's parts, process-wide.
#pragma once

#include "operations/records.h"
#include "platform/platform.h"

namespace editor {

constexpr int kRedrawQueueSize = 99;

extern int CurrentRow;    // the edited row, -1 for none
extern bool JobModified;  // unsaved changes since the job was loaded
extern int RedrawQueue[kRedrawQueueSize];
extern int ScreenWidth, ScreenHeight;
extern ops::InputMode inputMode;  // where the input data of the arranged action comes from

// The program itself is writing rows or fields: the one guard against the
// notifications its own writes raise. While set, EN_CHANGE and CBN_SELCHANGE
// of the editor fields rebuild no line (UpdateRowFromEditor), and EN_CHANGE
// of the repeat rules' fields redraws no marks (RefreshRepeatMarkers) and
// counts as no typed change. It is set while a job's lines and rules are
// loaded, while the selected row is loaded into the fields (their
// notifications would otherwise rebuild the former row's line from
// half-loaded fields), while a default is written back into a field, while a
// row command selects its row, and while the program renumbers, restores or
// (for a job without lines) switches off the repeat rules. LVN_ITEMCHANGED is not
// stopped: a selected row is always loaded, and the program's own list writes
// leave no row selected while they notify (or do not notify at all).
extern bool UpdatingControls;

// Sets UpdatingControls while it lives and then gives it its former value.
class ProgramWrites {
 public:
  ProgramWrites() : was_(UpdatingControls) { UpdatingControls = true; }
  ~ProgramWrites() { UpdatingControls = was_; }
  ProgramWrites(const ProgramWrites&) = delete;
  ProgramWrites& operator=(const ProgramWrites&) = delete;

 private:
  bool was_;
};

// JobModified and the status animation move together: a change stops the
// animation, a fresh job plays it again.
void MarkJobModified(plat::Window dialog);
void ClearJobModified(plat::Window dialog);

// Back to the state before the dialog started (for the tests).
void ResetEditorState();

}  // namespace editor
