// Test control of the headless platform: an in-memory file system, process
// table, clipboard and window system that the tests prepare, drive and read.
//
// Paths are Shift-JIS with backslashes, compared without regard to the case
// of ASCII letters (never folding the second byte of a two-byte character).
// Drives ("C:") and network shares ("\\srv\pub") are roots that exist only
// when a test adds them; Reset() leaves drive C: alone.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace headless {

// Back to a fresh machine: drive C: only, no files, no processes, no windows,
// empty clipboard, no queued answers, no faults, module path
// "C:\Tools\Tavolex.exe", time 0, no mutexes.
void Reset();

// ---------------------------------------------------------------- files
void AddDrive(char letter);
void AddShare(const std::string& serverAndShare);  // "\\srv\pub"
// MakeFolder and PutFile throw std::invalid_argument when the path has no
// drive or share, or a file or folder is in the way.
void MakeFolder(const std::string& path);          // creates missing parents too
void PutFile(const std::string& path, const std::string& bytes);  // creates missing parents too
// A junction (to a folder) or symbolic link (to a file) at path, pointing to
// target, which must exist. Paths through it reach the target; ListFolder
// reports it as a reparse point; RemoveFolder / DeleteFileAt remove the link.
void MakeLink(const std::string& path, const std::string& target);
bool HasFile(const std::string& path);
bool HasFolder(const std::string& path);
std::string FileBytes(const std::string& path);  // empty when missing
std::vector<std::string> FolderNames(const std::string& folder);  // direct entries, files and folders, in creation order
// Every write of a file's content (PutFile included) gives it a later
// FileWriteTime than any before; this sets one, to make two times equal.
void SetWriteTime(const std::string& path, std::uint64_t time);
// "" makes ModuleFileName() fail. With exact false the path stands for one
// that Shift-JIS cannot spell: `path` is its text with '?' for such characters.
void SetModulePath(const std::string& path, bool exact = true);

// Fault injection. Each applies to the path given (case-insensitive), until Reset().
void FailCreate(const std::string& path);  // OpenFile(WriteTruncate, Append) and CreateFolder fail
void FailOpen(const std::string& path);    // OpenFile(Read) fails
// Writes to a file opened at this path accept `bytes` bytes in all, then fail
// (the count starts anew at each OpenFile). A write that does not fit writes
// the part that fits and returns its length; -1 when nothing fits.
void FailWriteAfter(const std::string& path, std::size_t bytes);
// The whole disk holds at most this many more bytes of file content; writes
// beyond fail (partially). A negative value removes the limit.
void SetDiskFree(long long bytes);
void FailDelete(const std::string& path);   // DeleteFileAt and RemoveFolder fail
void FailReplace(const std::string& path);  // ReplaceFileWith(target=path, ...) fails, target unchanged
// ReplaceFileWith(target=path, ...) of an existing target ends as Windows can
// leave it: the old file has the backup name and could not be moved back, the
// replacement keeps its name (TargetMoved).
void StrandReplace(const std::string& path);
// Number of files currently open (a leak check for the tests).
int OpenFileCount();

// ---------------------------------------------------------------- processes
struct ProcessRecord {
  std::uint32_t id = 0;
  plat::ProcessStart start;
  std::string program;  // the file that was started
  bool running = false;
  bool startedByProgram = false;  // by plat::StartProcess
  bool terminated = false;        // ended by TerminateStartedProcess
  unsigned exitCode = 0;          // set it before the process ends (EndProcess)
  bool endReported = false;       // plat::StartedProcessEnded told the end
};
// Programs that StartProcess may start: the application name, or without one
// the command line's program found as CreateProcess finds it (a quoted first
// token; an unquoted line is cut at each blank in turn, ".exe" added to a name
// without an extension, and the first existing file is started). A hook runs
// when such a process starts (for example to put something on the clipboard).
void OnProcessStart(const std::function<void(ProcessRecord&)>& hook);
// A process that the program did not start (another program), running.
std::uint32_t AddForeignProcess();
void EndProcess(std::uint32_t id);  // the process ends by itself
const ProcessRecord* FindProcess(std::uint32_t id);
std::vector<ProcessRecord> Processes();  // in start order
// The next process id that will be handed out (ids are reused when a test asks).
void SetNextProcessId(std::uint32_t id);
// A second instance: the named mutex already exists.
void HoldMutex(const std::string& name);
bool MutexHeld(const std::string& name);
// The program ends: the mutexes it acquired are gone.
void ReleaseOwnedMutexes();
// WaitForStartedProcess calls this hook for a started process that still
// runs (the hook may end it, with the record's exitCode as its exit code);
// the wait returns at once either way, with that exit code. Every wait is
// recorded.
void OnProcessWait(const std::function<void(ProcessRecord&)>& hook);
std::vector<std::uint32_t> ProcessWaits();  // ids given to WaitForStartedProcess, in order
// The id of the program's own process (the owner of its dialogs).
std::uint32_t OwnProcessId();

// ---------------------------------------------------------------- clipboard
void SetClipboard(const std::string& text);  // CF_TEXT as another program would put it
std::string Clipboard();                     // what the clipboard holds as text
void ClearClipboard();
std::vector<std::string> ClipboardWrites();  // texts the program wrote, in order
// Another program keeps the clipboard open: while held, the program's reads
// find no text and its writes fail.
void HoldClipboard(bool held);
// Counts every change of the clipboard, as GetClipboardSequenceNumber does.
std::uint32_t ClipboardSequence();
// Whether the last text the program put on the clipboard came with CF_TEXT
// of its own (plat::WriteClipboardTextBoth).
bool ClipboardHasOwnAnsiText();

// ---------------------------------------------------------------- desktop shortcuts
// The user's desktop folder, "C:\Users\user\Desktop" after Reset() (which
// makes no folder); "" when the system names none. A shortcut is a file there.
void SetDesktopFolder(const std::string& folder);
// The shortcuts plat::CreateDesktopShortcut made, by path, as last saved.
std::map<std::string, plat::ShortcutSpec> Shortcuts();

// ---------------------------------------------------------------- open-file dialog
struct OpenFileRecord {
  plat::Window owner = 0;
  std::string filterName, pattern;
  unsigned flags = 0;
};
// The user's answer to the next open-file dialog; a dialog without a queued
// answer is cancelled.
void QueueOpenFileAnswer(const plat::OpenFileChoice& answer);
std::vector<OpenFileRecord> OpenFileDialogs();

// ---------------------------------------------------------------- keyboard
// The key state belongs to the input being handled, as GetKeyState's does:
// PressEnter and PressEscape hold their key down while the command they raise
// is handled and release it afterwards; a click, Space, the close box or a
// system command sees no key down, whatever was pressed before.

// ---------------------------------------------------------------- message boxes
struct MessageBoxRecord {
  plat::Window owner = 0;
  std::string text;
  std::string caption;
  unsigned type = 0;
  int answer = 0;
};
// Answers for the next message boxes, in order. A box with no queued answer
// gets IDOK for kMbOk and IDNO for kMbYesNo, and is recorded as unanswered.
void QueueMessageBoxAnswer(int answer);
std::vector<MessageBoxRecord> MessageBoxes();
// Called with each box while it is shown, before its answer returns: what the
// disk holds while the user reads it.
void OnMessageBox(const std::function<void(const MessageBoxRecord&)>& watcher);
int UnansweredMessageBoxes();

// ---------------------------------------------------------------- dialogs
// A driver plays the user while a modal dialog runs: it is called once, right
// after WM_INITDIALOG, with the dialog; it clicks, types and advances time
// through the functions below. When the driver returns without the dialog
// having ended, the dialog ends with IDCANCEL as if closed by the system, and
// this is recorded (DialogsLeftOpen()).
void OnDialog(int templateId, const std::function<void(plat::Window)>& driver);
int DialogsLeftOpen();
// Dialogs created so far (template ids, in order) and the one open now.
std::vector<int> DialogsShown();
plat::Window OpenDialog(int templateId);  // 0 when none is open
// EndModalDialog was called for the dialog (its loop returns once the driver does).
bool DialogEnded(plat::Window dialog);

// User actions. Each raises the notifications the real control would.
void Click(plat::Window dialog, int controlId);   // a button: BN_CLICKED (an auto check box toggles first)
void CloseBox(plat::Window dialog);               // the close box: WM_COMMAND IDCANCEL
void PressEnter(plat::Window dialog);             // Enter held down: WM_COMMAND with the default button id
void PressEscape(plat::Window dialog);            // Escape held down: WM_COMMAND IDCANCEL
void PressSpace(plat::Window dialog);             // the focused push button: BN_CLICKED, no key held for it
void Type(plat::Window dialog, int controlId, const std::string& text);  // replaces an edit's text: EN_CHANGE
void ChooseComboItem(plat::Window dialog, int controlId, int index);    // CBN_SELCHANGE
void DropDownCombo(plat::Window dialog, int controlId);                 // CBN_DROPDOWN
void ClickListRow(plat::Window dialog, int controlId, int row);         // select: LVN_ITEMCHANGED, then NM_CLICK
void ToggleListCheck(plat::Window dialog, int controlId, int row);      // LVN_ITEMCHANGED
void SystemCommand(plat::Window dialog, unsigned command);              // WM_SYSCOMMAND; nothing for a greyed item
// Advances the clock; due timers fire in order of their due time (WM_TIMER).
void AdvanceTime(unsigned milliseconds);
std::uint64_t Now();

// Read-back of a control's state, beyond what platform.h offers.
struct ListColumn {
  std::string title;
  int width = 0;
  int align = 0;
};
std::vector<ListColumn> ListColumns(plat::Window dialog, int controlId);
int TextLimit(plat::Window dialog, int controlId);  // 0 when none was set
plat::Rect ControlPixelRect(plat::Window dialog, int controlId);
// Z-order of the dialog's controls, top first.
std::vector<int> ZOrder(plat::Window dialog);
struct AnimationState {
  bool open = false;
  int resourceId = 0;
  bool playing = false;
  int from = 0, to = 0, repeat = 0;
  int stopCount = 0;
};
AnimationState Animation(plat::Window dialog, int controlId);
bool TimerRunning(plat::Window dialog, int timerId);
unsigned TimerPeriod(plat::Window dialog, int timerId);
std::vector<std::string> SystemMenuItems(plat::Window dialog);  // texts; "" for a separator
bool SystemMenuItemGreyed(plat::Window dialog, unsigned command);
int DialogIcon(plat::Window dialog);
int FocusedControl(plat::Window dialog);
// Desktop size and the outer size of dialogs created from now on.
void SetDesktopSize(int width, int height);
void SetDialogOuterSize(int templateId, int width, int height);

// Calls of the program on a control that leave no other trace.
struct ControlCalls {
  int redraws = 0;                    // plat::Redraw
  int selectAllCount = 0;             // plat::SelectAllText
  int caretToEndCount = 0;            // plat::PutCaretAtEnd
  std::vector<int> ensureVisibleRows;  // plat::ListEnsureVisible, in order
  std::map<int, int> rowRedraws;      // plat::ListRedrawRow: row -> count
  int reservedRows = 0;               // the last plat::ListReserveRows
  bool redrawOff = false;             // plat::ListSetRedraw(false) is in force
};
ControlCalls Calls(plat::Window dialog, int controlId);

// Other programs' top-level windows, placed at the top of the non-topmost
// windows. Windows of a process go away when the process ends.
plat::Window AddTopLevelWindow(std::uint32_t processId, const std::string& title, bool visible,
                               bool owned);
void RemoveTopLevelWindow(plat::Window window);
int LastShowCommand(plat::Window window);  // the last plat::ShowWindowCmd; -1 for none

// Painting. The Draw* functions of platform.h record their calls here.
struct DrawCall {
  std::string kind;  // "FillRect", "CenteredText", "Edge", "FocusRect"
  int controlId = 0;
  plat::Rect rect;
  plat::Color color = 0;
  std::string text;
  bool sunken = false;
};
std::vector<DrawCall> DrawCalls();
void ClearDrawCalls();
// Paints an owner-drawn control now (WM_DRAWITEM); the handler's answer.
bool PaintOwnerDrawn(plat::Window dialog, int controlId);
// Paints one list cell with NM_CUSTOMDRAW as comctl32 asks for it: prepaint,
// item prepaint (when asked for), subitem prepaint (when asked for).
struct CellColors {
  bool subItemStageReached = false;
  plat::Color text = 0x000000;  // the defaults before the handler changes them
  plat::Color back = 0xFFFFFF;
};
CellColors PaintListCell(plat::Window dialog, int controlId, int row, int column);
// WM_CTLCOLOR* for a control (or the dialog itself with controlId 0).
plat::CtlColorAnswer QueryCtlColor(plat::Window dialog, plat::CtlColorKind kind, int controlId);
// Colours given to plat::PrepareSolidBrushes, and the number of handled
// colour answers whose brush had not been prepared (a brush made while painting).
std::vector<plat::Color> PreparedBrushes();
int UnpreparedBrushAnswers();

// ---------------------------------------------------------------- list keys and menus
// A key pressed while the dialog's focused control has the focus, with the
// modifiers (plat::kKeyCtrl ...) held: a list that reports its keys
// (plat::ReportListKeys) tells the dialog (plat::kListKeyDown); any other
// control does nothing here. The answer of the dialog's handler, 0 when none.
long PressKey(plat::Window dialog, int virtualKey, unsigned modifiers = 0);
// A right click on a list row, or on the empty part of the list below the
// last row: the list takes the focus, the row is selected as a left click
// selects it (below the rows, the selection goes away), then NM_RCLICK.
void RightClickListRow(plat::Window dialog, int controlId, int row);
// Popup menus (plat::ShowListMenu): the user's choices for the next menus,
// in order; a menu with no queued choice is dismissed (0).
struct MenuRecord {
  std::vector<plat::MenuEntry> entries;
  int row = -1;  // -1: at the pointer
  int answer = 0;
};
void QueueMenuChoice(int id);
std::vector<MenuRecord> Menus();

}  // namespace headless
