// Editor state shared by the main dialog's parts, process-wide.
#pragma once

#include "operations/records.h"
#include "platform/platform.h"

namespace editor {

constexpr int kRedrawQueueSize = 99;

extern int CurrentRow;          // the edited row, -1 for none
extern bool JobModified;        // unsaved changes since the job was loaded
extern bool UpdatingControls;   // the program itself is writing rows or fields
extern int RedrawQueue[kRedrawQueueSize];
extern int ScreenWidth, ScreenHeight;
extern ops::InputMode inputMode;
extern bool rowCommandBusy;  // New, Insert or Delete runs: field changes rebuild no line
extern bool loadingFields;   // the selected row is being loaded into the fields  // where the input data of the arranged action comes from

// JobModified and the status animation move together: a change stops the
// animation, a fresh job plays it again.
void MarkJobModified(plat::Window dialog);
void ClearJobModified(plat::Window dialog);

// Back to the state before the dialog started (for the tests).
void ResetEditorState();

}  // namespace editor
