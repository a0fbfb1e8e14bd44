// The main dialog's features. Each feature answers the commands,
// notifications and timers it owns (true when it handled them) and adds its
// own steps to the dialog's start. The main dialog asks them in turn, so a
// feature is wired by filling in its own file.
#pragma once

#include "companions/repeat.h"
#include "platform/platform.h"

namespace editor {

// --- The operation editor: list selection and colours, fields, row commands
bool OperationEditorCommand(plat::Window dialog, int controlId, int code);
// NM_CLICK, LVN_ITEMCHANGED and NM_CUSTOMDRAW of the operation list.
bool OperationListNotify(plat::Window dialog, const plat::Notification& n, long* result);
bool OperationEditorTimer(plat::Window dialog, int timerId);  // 666

// --- The operation list's edit commands: undo, redo, cut, copy, paste,
// moves and delete, by keys and the right-click menu
void EditCommandsAtStart(plat::Window dialog);  // the list reports its keys; a fresh history
// NM_RCLICK and the keys of the operation list.
bool EditCommandsNotify(plat::Window dialog, const plat::Notification& n, long* result);

// --- Recording the user's input as rows (the list's menu and Ctrl+R)
// Hides the editor and starts the runner's recording; timer 778 takes the
// recorded rows when it has ended.
void StartRecording(plat::Window dialog);
bool RecordingTimer(plat::Window dialog, int timerId);  // 778

// --- Repeat rules and the test run
void RepeatRulesAtStart(plat::Window dialog);  // load the rules and apply the three check boxes
bool RepeatAndRunCommand(plat::Window dialog, int controlId, int code);
bool RepeatAndRunTimer(plat::Window dialog, int timerId);  // 777
// Back from a run of the runner: the editor and the coordinate picker's
// window; the picker's answers count again once the clipboard changes.
void ShowEditorAfterRun(plat::Window dialog);
// EN_CHANGE of a repeat rule's field: one the user typed changes the job
// outside the history.
void RepeatFieldChanged(plat::Window dialog);
// Validates and writes the repeat rules; on failure tells the user why and
// answers false (the caller then abandons its save, switch or run).
bool SaveRepeatRulesOrTell(plat::Window dialog);
// The two halves of it, for a caller that puts things right before it tells:
// the write without a word, and the message for its result (false unless
// Saved; `path` is the file that was to be written).
companions::RepeatSave SaveRepeatRules(plat::Window dialog);
bool TellUnlessRulesSaved(plat::Window dialog, companions::RepeatSave saved, const char* path);

// --- Screen acquisition: the coordinate picker, titles, paths, rectangles
void AcquisitionAtStart(plat::Window dialog);  // timers 999 and 888
bool AcquisitionCommand(plat::Window dialog, int controlId, int code);
bool AcquisitionTimer(plat::Window dialog, int timerId);  // 888, 999

// --- Jobs
// Fills the job list 1082 (sorted) with the jobs beside the program and
// selects the current job; none when it is not among them.
void JobListAtStart(plat::Window dialog);
bool JobCommand(plat::Window dialog, int controlId, int code);

// --- The job's desktop shortcut, from the system menu
void ShortcutMenuAtStart(plat::Window dialog);  // a separator and the entry, greyed for the draft job
void ShortcutJobChanged(plat::Window dialog);   // the entry greyed or not for the job now open
bool ShortcutSysCommand(plat::Window dialog, unsigned command);

// --- The dialog's colours
bool ColorsCommand(plat::Window dialog, int controlId, int code);  // 1080 dropped down
bool ColorsTimer(plat::Window dialog, int timerId);                // 1234
plat::CtlColorAnswer MainDialogColors(plat::Window dialog, plat::CtlColorKind kind, int controlId);

}  // namespace editor
