// The one interface between the editor and the operating system.
//
// Every text that crosses this interface is a NUL-terminated Shift-JIS (code
// page 932) byte string. The Windows implementation converts to and from
// UTF-16 at its boundary and calls the W functions; the headless
// implementation keeps an in-memory window system, clipboard, process table
// and file system for the tests.
//
// Numeric constants (notification codes, styles, message-box flags) carry the
// values of the Windows API so that both implementations and the editor agree
// without including windows.h above this layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// ---------------------------------------------------------------------------
// Windows and messages

using Window = std::uintptr_t;  // an opaque window handle; 0 is none
constexpr Window kNoWindow = 0;

// Message-box types and results.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
// For a program that has no window of its own in front.
constexpr unsigned kMbSetForeground = 0x10000;
constexpr unsigned kMbTopmost = 0x40000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Command notification codes (WM_COMMAND).
constexpr int kBnClicked = 0;
constexpr int kEnChange = 0x300;
constexpr int kCbnSelChange = 1;
constexpr int kCbnDropDown = 7;

// WM_NOTIFY codes.
constexpr int kNmClick = -2;
constexpr int kNmDblClk = -3;  // of a list view
// The list was clicked with the right button. A row under the pointer has
// been selected first, as a left click selects it.
constexpr int kNmRClick = -5;
constexpr int kNmCustomDraw = -12;
constexpr int kLvnItemChanged = -101;

// List-view item states (LVIS_*), custom-draw stages and answers (CDDS_*, CDRF_*).
constexpr unsigned kLvisSelected = 0x2;
constexpr unsigned kLvisFocused = 0x1;
constexpr unsigned kLvisStateImageMask = 0xF000;
constexpr unsigned kLvifText = 0x1;   // changedMask of LVN_ITEMCHANGED
constexpr unsigned kLvifState = 0x8;
constexpr unsigned kCddsPrepaint = 0x1;
constexpr unsigned kCddsItem = 0x10000;
constexpr unsigned kCddsSubItem = 0x20000;
constexpr unsigned kCddsItemPrepaint = kCddsItem | kCddsPrepaint;
constexpr long kCdrfDoDefault = 0x0;
constexpr long kCdrfNotifyItemDraw = 0x20;
constexpr long kCdrfNotifySubItemDraw = 0x20;

// Extended list-view styles (LVS_EX_*).
constexpr unsigned kLvsExGridLines = 0x1;
constexpr unsigned kLvsExCheckBoxes = 0x4;
constexpr unsigned kLvsExFullRowSelect = 0x20;
constexpr unsigned kLvsExOneClickActivate = 0x40;
constexpr unsigned kLvsExTwoClickActivate = 0x80;
constexpr unsigned kLvsExDoubleBuffer = 0x10000;
constexpr unsigned kLvsExHeaderInAllViews = 0x2000000;

// Column alignment (LVCFMT_*) and the automatic column width (LVSCW_AUTOSIZE).
constexpr int kAlignLeft = 0;
constexpr int kAlignCenter = 2;
constexpr int kColumnAutosize = -1;

// Show commands (SW_*).
constexpr int kSwHide = 0;
constexpr int kSwShow = 5;
constexpr int kSwRestore = 9;

// Virtual keys.
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;
constexpr int kVkDelete = 0x2E;
constexpr int kVkApps = 0x5D;  // the context-menu key
constexpr int kVkF10 = 0x79;

// Colours are 0x00BBGGRR, as COLORREF.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r & 0xFF) | (static_cast<Color>(g & 0xFF) << 8) |
         (static_cast<Color>(b & 0xFF) << 16);
}

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// A WM_NOTIFY notification from a control, reduced to what the editor reads.
struct Notification {
  int controlId = 0;
  int code = 0;
  // LVN_ITEMCHANGED and NM_CLICK: the row (-1 for none) and the state change.
  int item = -1;
  int subItem = 0;
  unsigned oldState = 0;
  unsigned newState = 0;
  unsigned changedMask = 0;  // LVIF_* of the change (LVIF_STATE = 0x8)
  // NM_CUSTOMDRAW: the stage and the colours the handler may change.
  unsigned drawStage = 0;
  Color* textColor = nullptr;
  Color* backColor = nullptr;
};

// What WM_CTLCOLOR* asks: which kind of control is painted.
enum class CtlColorKind { Edit, ListBox, Dialog, Static, Button, ScrollBar, MessageBox };

struct CtlColorAnswer {
  bool handled = false;  // false: the default handling of the dialog
  Color textColor = 0;
  Color brushColor = 0;  // the implementation keeps one solid brush per colour
};

// Creates the solid brushes of these colours now, once for the process, so
// that colour requests during painting only look them up.
void PrepareSolidBrushes(const std::vector<Color>& colors);

// WM_DRAWITEM of an owner-drawn button, with a small drawing toolkit.
struct DrawItem {
  int controlId = 0;
  Rect rect;
  bool focused = false;   // ODS_FOCUS
  bool selected = false;  // ODS_SELECTED
  bool disabled = false;  // ODS_DISABLED
  std::uintptr_t context = 0;  // the implementation's drawing context
};

// The receiver of a modal dialog's messages. Every handler runs on the one
// user-interface thread. Control notifications raised by the program's own
// writes (see the control operations below) arrive here synchronously.
class DialogHandler {
 public:
  virtual ~DialogHandler() = default;
  // WM_INITDIALOG: the controls exist. The result is returned to the system.
  virtual bool OnInitDialog(Window dialog) = 0;
  // WM_COMMAND from a control; the close box and Escape arrive as id 2, Enter
  // as the default button's id, both with kBnClicked.
  virtual void OnCommand(Window dialog, int controlId, int code) {
    (void)dialog, (void)controlId, (void)code;
  }
  // WM_NOTIFY; the result is the notification's answer.
  virtual long OnNotify(Window dialog, const Notification& n) {
    (void)dialog, (void)n;
    return 0;
  }
  virtual void OnTimer(Window dialog, int timerId) { (void)dialog, (void)timerId; }
  // WM_SYSCOMMAND; return true when handled, false for the default handling.
  virtual bool OnSysCommand(Window dialog, unsigned command) {
    (void)dialog, (void)command;
    return false;
  }
  virtual CtlColorAnswer OnCtlColor(Window dialog, CtlColorKind kind, int controlId) {
    (void)dialog, (void)kind, (void)controlId;
    return {};
  }
  // WM_DRAWITEM for an owner-drawn control; return true when drawn.
  virtual bool OnDrawItem(Window dialog, const DrawItem& item) {
    (void)dialog, (void)item;
    return false;
  }
};

// Runs dialog template `templateId` modally and returns the value given to
// EndModalDialog, or -1 when the dialog could not be created.
int RunModalDialog(int templateId, DialogHandler& handler, Window owner);
void EndModalDialog(Window dialog, int result);

int ShowMessageBox(Window owner, const char* text, const char* caption, unsigned type);
Window FocusWindow();  // the window that has the keyboard focus, or 0

// Whether the key was down for the input message being handled (the thread's
// key state, GetKeyState): a command that Enter or Escape raised in a dialog
// sees its key down; a click, Space on a button or the close box sees it up,
// whatever was pressed before in another window or another program.
bool KeyDownForCurrentMessage(int virtualKey);

// --- The dialog window itself
std::string LoadResourceString(int stringId);  // empty when missing
bool HasSystemMenu(Window dialog);
// A separator (unless `separatorBefore` is false), then the item.
void AppendSystemMenuItem(Window dialog, unsigned commandId, const char* text, bool separatorBefore = true);
// Greys a system-menu item, or makes it choosable again.
void EnableSystemMenuItem(Window dialog, unsigned commandId, bool enable);
void SetDialogIcon(Window dialog, int iconResourceId);  // big and small icon; also drawn while minimised
Rect DesktopRect();
Rect WindowRect(Window window);  // screen coordinates
// Moves a window (size unchanged) and makes it topmost or not; shows it.
void PlaceWindow(Window window, int x, int y, bool topmost);
bool IsTopmost(Window window);
void ShowWindowCmd(Window window, int showCommand);
bool IsWindowVisible(Window window);

// --- Timers of a dialog (WM_TIMER)
void StartTimer(Window dialog, int timerId, unsigned milliseconds);
void StopTimer(Window dialog, int timerId);

// --- Controls, addressed by dialog and control id
// Writing an edit's text raises EN_CHANGE; selecting a combo-box entry or
// setting a check box raises nothing; changing a list-view row's state
// (selection, check box) raises LVN_ITEMCHANGED. Writing the text of a
// drop-down list (all combo boxes here) changes nothing: choose by index.
// Moving the single selection of a list from row a to row b raises three
// LVN_ITEMCHANGED: a loses the selection, a loses the focus (b already counts
// as selected), b gains both.
Window ControlWindow(Window dialog, int controlId);
void SetControlText(Window dialog, int controlId, const char* text);
// At most bufferSize - 1 bytes of the text, never a half character.
std::string GetControlText(Window dialog, int controlId, std::size_t bufferSize = 512);
void EnableControl(Window dialog, int controlId, bool enable);
bool IsControlEnabled(Window dialog, int controlId);
void ShowControl(Window dialog, int controlId, bool show);
bool IsControlVisible(Window dialog, int controlId);
void SetEditReadOnly(Window dialog, int controlId, bool readOnly);
bool IsEditReadOnly(Window dialog, int controlId);
void LimitText(Window dialog, int controlId, int maxChars);  // EM_LIMITTEXT
void SelectAllText(Window dialog, int controlId);          // EM_SETSEL 0,-1 and scroll the caret into view
void PutCaretAtEnd(Window dialog, int controlId);          // EM_SETSEL len,len and scroll the caret into view
void SetFocusTo(Window dialog, int controlId);
// Moves a control in client pixels, puts it at the top of the z-order, shows it.
void MoveControlToTop(Window dialog, int controlId, int x, int y, int width, int height);
Rect ControlRect(Window dialog, int controlId);  // client pixels
// Dialog units of the dialog's font to client pixels (MapDialogRect).
Rect DialogUnitsToPixels(Window dialog, const Rect& units);
void Redraw(Window dialog, int controlId);       // invalidate, erase, update now

// Buttons
void SetButtonCheck(Window dialog, int controlId, int state);  // BM_SETCHECK
int GetButtonCheck(Window dialog, int controlId);

// Combo boxes
void ComboReset(Window dialog, int controlId);
int ComboAdd(Window dialog, int controlId, const char* text);  // index of the new entry (sorted lists sort)
void ComboSetSelection(Window dialog, int controlId, int index);
int ComboGetSelection(Window dialog, int controlId);
int ComboCount(Window dialog, int controlId);
std::string ComboItemText(Window dialog, int controlId, int index);
// Repaints the whole dropped-down list of a combo box now, background and
// entries; nothing when it is not dropped down.
void RedrawDroppedList(Window dialog, int controlId);

// List view (report view)
void ListAddExtendedStyle(Window dialog, int controlId, unsigned exStyle);
unsigned ListExtendedStyle(Window dialog, int controlId);
// `width` in pixels at 100 %, scaled to the list's DPI.
void ListInsertColumn(Window dialog, int controlId, int column, const char* title, int width, int align);
int ListColumnCount(Window dialog, int controlId);
int ListColumnWidth(Window dialog, int controlId, int column);
void ListSetColumnWidth(Window dialog, int controlId, int column, int width);  // kColumnAutosize fits the texts
// The width kColumnAutosize gives the column when its cells hold these texts
// (each text once is enough), found without reading every cell back: for
// long lists whose owner has the texts at hand.
void ListFitColumnToTexts(Window dialog, int controlId, int column, const std::vector<std::string>& texts);
int ListInsertRow(Window dialog, int controlId, int row, const char* column0Text);
void ListSetCell(Window dialog, int controlId, int row, int column, const char* text);
std::string ListGetCell(Window dialog, int controlId, int row, int column, std::size_t bufferSize = 512);
void ListDeleteAllRows(Window dialog, int controlId);
int ListRowCount(Window dialog, int controlId);
void ListSetChecked(Window dialog, int controlId, int row, bool checked);
bool ListIsChecked(Window dialog, int controlId, int row);
int ListFirstSelected(Window dialog, int controlId);  // -1 for none
void ListSelectRow(Window dialog, int controlId, int row);  // selected and focused
void ListEnsureVisible(Window dialog, int controlId, int row);
void ListRedrawRow(Window dialog, int controlId, int row);  // LVM_UPDATE
// For long lists. A numbered row's column 0 always shows its 1-based position:
// the list asks for the number when it needs it, so inserting or deleting a
// row renumbers the rows below it without a write. The new row is unchecked,
// or ticked already when `checked` is true. Inserting an unselected row raises
// nothing; writing column 0 (a new text) raises LVN_ITEMCHANGED with LVIF_TEXT
// and states 0; other cells raise nothing.
int ListInsertNumberedRow(Window dialog, int controlId, int row, bool checked = false);
// Deletes one row; a selected or focused row first loses both (LVN_ITEMCHANGED).
void ListDeleteRow(Window dialog, int controlId, int row);
// Ticks or unticks every row (LVM_SETITEMSTATE on item -1): LVN_ITEMCHANGED
// for each row whose check box really changes, in row order.
void ListSetCheckedAll(Window dialog, int controlId, bool checked);
// The same without telling the dialog, whose handler would otherwise run once
// a row: the caller does once what the notifications would have done.
void ListSetCheckedAllSilently(Window dialog, int controlId, bool checked);
// Every row loses selection and focus: LVN_ITEMCHANGED for each row that had
// either, in row order.
void ListClearSelection(Window dialog, int controlId);
// Room for this many rows before they are inserted (LVM_SETITEMCOUNT).
void ListReserveRows(Window dialog, int controlId, int count);
// WM_SETREDRAW: while off the list paints nothing; turning it on repaints it.
void ListSetRedraw(Window dialog, int controlId, bool redraw);

// Animation control
bool AnimationOpen(Window dialog, int controlId, int resourceId);
void AnimationPlay(Window dialog, int controlId, int from, int to, int repeat);
void AnimationStop(Window dialog, int controlId);

// Drawing inside OnDrawItem
void DrawFillRect(const DrawItem& item, const Rect& r, Color color);
void DrawCenteredText(const DrawItem& item, const Rect& r, const char* text, Color color);
void DrawEdge(const DrawItem& item, const Rect& r, bool sunken);
void DrawFocusRect(const DrawItem& item, const Rect& r);

// Top-level windows, in the window system's top-to-bottom order.
struct TopLevelWindow {
  Window window = 0;
  bool visible = false;
  bool owned = false;
  std::uint32_t processId = 0;
  std::string title;  // Shift-JIS, at most 511 bytes
};
std::vector<TopLevelWindow> TopLevelWindows();
// False when the system refused to move the window.
bool SetWindowBounds(Window window, int x, int y, int width, int height, bool top);

// ---------------------------------------------------------------------------
// Clipboard

// The clipboard's text as Shift-JIS, at most maxBytes - 1 bytes; empty when
// there is none. CF_TEXT is taken as it stands when a program put it there;
// CF_UNICODETEXT is converted (never to a look-alike) when that is what was put.
std::string ReadClipboardText(std::size_t maxBytes);

// One reading of the clipboard's text, with what tells one text from another.
struct ClipboardReading {
  std::string text;            // as ReadClipboardText gives it
  bool cut = false;            // the text was longer than maxBytes - 1 bytes
  std::uint32_t sequence = 0;  // the clipboard's sequence number; 0 when unknown
};
// Opens the clipboard with a short bounded retry while another program holds
// it; an empty reading when it stays held.
ClipboardReading ReadClipboard(std::size_t maxBytes);
// Puts the text on the clipboard as CF_UNICODETEXT (the system offers CF_TEXT too).
bool WriteClipboardText(const char* text);
// Puts the text on the clipboard in both text formats: CF_TEXT with exactly
// these Shift-JIS bytes (the system would otherwise make it in the code page
// of the keyboard's language) and CF_UNICODETEXT. False when the clipboard
// stayed held by another program or memory ran out.
bool WriteClipboardTextBoth(const char* text);

// ---------------------------------------------------------------------------
// Shortcuts on the desktop

// A shortcut (.lnk) that starts a program.
struct ShortcutSpec {
  std::string name;           // the file's name without ".lnk"
  std::string target;         // the program's full path
  std::string arguments;
  std::string workingFolder;
  std::string iconFile;       // its first icon is the shortcut's
};
struct ShortcutOutcome {
  enum Result {
    Created,      // made, or one of that name replaced
    NoDesktop,    // the system names no desktop folder
    NoShellLink,  // the shell's shortcut object could not be made
    NotSaved,     // the file could not be written
  };
  Result result = NotSaved;
  std::string path;         // the shortcut's full path ('?' for what Shift-JIS cannot spell); empty when unknown
  std::uint32_t error = 0;  // the system's error code (HRESULT) of the failing step
};
// Creates the shortcut on the user's desktop (the shell's IShellLinkW, saved
// with IPersistFile), replacing one of that name.
ShortcutOutcome CreateDesktopShortcut(const ShortcutSpec& shortcut);

// ---------------------------------------------------------------------------
// The open-file dialog

// Flags of the open-file dialog (OFN_*).
constexpr unsigned kOfnHideReadOnly = 0x4;
constexpr unsigned kOfnCreatePrompt = 0x2000;
constexpr unsigned kOfnExplorer = 0x80000;
constexpr unsigned kOfnEnableSizing = 0x800000;

struct OpenFileChoice {
  bool chosen = false;      // false: cancelled (or the dialog failed)
  std::string path;         // the chosen full path, Shift-JIS
  bool exact = true;        // false: the path has a character code page 932 cannot write
};
// Shows the open-file dialog with one filter entry (its name and pattern), no
// default extension and no initial file name.
OpenFileChoice ChooseFileToOpen(Window owner, const char* filterName, const char* pattern,
                                unsigned flags);

// ---------------------------------------------------------------------------
// Processes

// The program's command-line arguments, without its own name, in Shift-JIS.
// A character that code page 932 cannot represent becomes '?'. The headless
// platform has none: the tests hand their arguments to the program directly.
std::vector<std::string> CommandLineArguments();

// Full path of the running program; empty when the system cannot give it. A
// character that code page 932 cannot represent becomes '?': with `exact`
// given, it is set to false and the text is returned (to be shown to the
// user); without it, such a path is returned empty.
std::string ModuleFileName(bool* exact = nullptr);
[[noreturn]] void ExitProcess(int exitCode);
// Creates the named mutex, owned; true when this process is the first owner.
// The mutex is kept until the process ends.
bool AcquireSingleInstance(const char* name);

struct ProcessStart {
  std::string commandLine;
  bool inheritHandles = true;
  unsigned creationFlags = 0;    // NORMAL_PRIORITY_CLASS 0x20, CREATE_NO_WINDOW 0x8000000
  bool useShowWindow = false;    // STARTF_USESHOWWINDOW
  int showWindow = 0;
  // The program's full path (CreateProcess's application name): exactly this
  // file is started. Empty: the system takes the program from the command
  // line, and tries an unquoted one cut at each blank first
  // ("C:\My Tools\a.exe" starts "C:\My.exe" when there is one).
  std::string applicationName;
};
constexpr unsigned kNormalPriorityClass = 0x20;
constexpr unsigned kCreateNoWindow = 0x8000000;

// Starts a child process. The implementation keeps a handle to every process
// it started, so that TerminateStartedProcess never reaches another program
// that was given the same id later. Returns the process id, 0 on failure.
std::uint32_t StartProcess(const ProcessStart& start);
// Waits for input idle and then for the end of a started process; its exit
// code (0 when the id is not of a started process).
unsigned WaitForStartedProcess(std::uint32_t processId);
// Ends a process that this program started and that still runs; the exit
// code is the one given. Any other id (0, foreign, ended) does nothing.
void TerminateStartedProcess(std::uint32_t processId, unsigned exitCode);
// True when a process with this id runs (process snapshot).
bool IsProcessRunning(std::uint32_t processId);
// Whether a process this program started has ended, with its exit code. An
// id that is not of such a process (0, or one already reported as ended)
// counts as ended, with kUnknownExitCode.
constexpr unsigned kUnknownExitCode = 0xFFFFFFFFu;
bool StartedProcessEnded(std::uint32_t processId, unsigned* exitCode);

// ---------------------------------------------------------------------------
// File system

bool PathExists(const char* path);   // _access(path, 0)
bool IsDirectory(const char* path);  // the path itself exists and is a folder
// When the file's content was last written (the system's own units; only the
// order of two times counts); 0 when there is no such file.
std::uint64_t FileWriteTime(const char* path);
// The path itself is a junction or symbolic link (not what it points to).
// RemoveFolder on a folder link and DeleteFileAt on a file link remove the
// link only.
bool IsReparsePoint(const char* path);
bool CreateFolder(const char* path);
bool RemoveFolder(const char* path);
bool DeleteFileAt(const char* path);

struct FolderEntry {
  std::string name;
  bool isDirectory = false;
  bool isReparsePoint = false;  // a junction or symbolic link: its target is elsewhere
};
// Lists the entries matching a pattern such as "C:\dir\*.*" ("." and ".."
// included, as the system gives them). False when nothing was found.
bool ListFolder(const char* pattern, std::vector<FolderEntry>& entries);

// Low-level file access. Handles are >= 0; -1 is failure.
enum class OpenMode {
  Read,           // binary, read-only, shared
  WriteTruncate,  // binary, write-only, create or truncate, shared
  Append,         // binary, write-only, create or keep; every write goes to the end
};
int OpenFile(const char* path, OpenMode mode);
long ReadFile(int handle, void* buffer, std::size_t size);         // bytes read; 0 at the end; -1 on error
long WriteFile(int handle, const void* buffer, std::size_t size);  // bytes written; less than size on error
bool FlushFile(int handle);  // to the disk
bool CloseFile(int handle);  // false when closing reported an error

// What ReplaceFileWith left on disk.
enum class ReplaceResult {
  Replaced,     // `target` has the replacement's content; `replacement` is gone
  Unchanged,    // `target` is as it was (or still missing); `replacement` is still there
  TargetMoved,  // `target` is missing, its former content is at `backup`;
                // `replacement` is still there
};
// Puts `replacement` in place of `target` (which may be missing). An existing
// target passes through `backup` (a free name beside it; a file of that name
// is replaced), which is removed once the replacement is in place and moved
// back when the replacement cannot take the target's place; only when that
// fails too is the result TargetMoved. Retries briefly while another program
// holds one of the files.
ReplaceResult ReplaceFileWith(const char* target, const char* replacement, const char* backup);

// ---------------------------------------------------------------------------
// The runner: synthesised input, the user's stop request, its status window,
// opening programs and documents, and placing other programs' windows.
//
// Screen coordinates here are those a program without DPI awareness sees,
// the space of the jobs; (0,0) is the top-left pixel of the primary screen.

// Makes the whole process see screen coordinates as a program without DPI
// awareness does. Call first, before any window exists.
void UseUnawareCoordinatesForProcess();

// Shift-JIS to UTF-16. `exact` is set to false when a byte sequence is not a
// Shift-JIS character (it becomes the system's replacement character).
std::u16string ToUtf16(const char* sjis, bool* exact);

// One synthesised input event, as SendInput takes it.
struct InputEvent {
  enum Kind { Move, LeftDown, LeftUp, RightDown, RightUp, KeyDown, KeyUp, CharDown, CharUp };
  Kind kind = Move;
  int x = 0, y = 0;        // Move: the screen point (absolute, over the virtual screen)
  int virtualKey = 0;      // KeyDown, KeyUp: with the key's scan code
  bool extended = false;   // KeyDown, KeyUp: KEYEVENTF_EXTENDEDKEY
  char16_t unit = 0;       // CharDown, CharUp: one UTF-16 unit (KEYEVENTF_UNICODE)
};
// Sends the events with one SendInput call, so the user's own input does not
// come between them; button events act where the pointer is. Returns how
// many the system inserted: fewer than given means it refused the rest.
// When the last event is a Move, the pointer is then checked to be on that
// pixel and put there when the system's scaling landed next to it.
std::size_t SendInputEvents(const std::vector<InputEvent>& events);
// The pointer's screen position; false when the system does not tell.
bool PointerPosition(int* x, int* y);
// The rectangle of all screens together (the virtual screen).
Rect VirtualScreen();

// The stop keys Shift+Esc: registered as a hot key (the key state serves when
// another program holds that hot key). StopKeysPressed is true from the press
// on, until EndStopKeys.
void WatchStopKeys();
void EndStopKeys();
bool StopKeysPressed();
// Waits up to `milliseconds`, or less when a message (the stop keys) comes;
// the runner's windows are kept painted meanwhile.
void WaitBriefly(unsigned milliseconds);
// A clock in milliseconds that only goes forward.
std::uint64_t Milliseconds();
// The local time as "YYYY-MM-DD hh:mm:ss.mmm".
std::string LocalTimeText();

// A small topmost window with one line of text in the lower right corner of
// the primary screen's work area: it never takes the focus, clicks pass
// through it, and it has no title. The first call creates it.
void ShowStatusText(const char* text);
void CloseStatus();

// Opens a program, document, shortcut or address as Explorer does (the
// default verb), with `workingFolder` as its current folder (empty: the
// runner's). Environment variables in the path are expanded. False when
// nothing could be started.
bool OpenAsExplorerDoes(const char* path, const char* workingFolder);

// Restores a top-level window when it is minimised or maximised, then puts
// it at the rectangle and at the top of the z-order (as SetWindowBounds with
// top). False when the system refused to move it.
bool ArrangeTopLevelWindow(Window window, int x, int y, int width, int height);

// The visible top-level window under a screen point, as a click there would
// reach it: windows that let clicks pass (the runner's status window) are
// skipped. kNoWindow for none.
Window TopLevelWindowAt(int x, int y);
// The foreground window; kNoWindow for none.
Window ForegroundWindow();
// The process that shows a window; 0 when the window is gone.
std::uint32_t WindowProcessId(Window window);
bool WindowExists(Window window);
// A window's title, Shift-JIS, at most 511 bytes; empty when it is gone.
std::string WindowTitle(Window window);

// ---------------------------------------------------------------------------
// The recorder: the user's own input, seen through the low-level mouse and
// keyboard hooks, and what the recorder asks about the windows it goes to.
// Points are in the coordinates of a program without DPI awareness.

// One event as a low-level hook saw it.
struct HookedInput {
  enum Kind { LeftDown, LeftUp, RightDown, RightUp, OtherButtonDown, OtherButtonUp, Wheel, KeyDown, KeyUp };
  Kind kind = LeftDown;
  std::uint64_t ms = 0;  // Milliseconds() when it came
  int x = 0, y = 0;      // mouse events: the pointer
  int virtualKey = 0;    // key events
  int scanCode = 0;
  bool extended = false;
};
// Installs both hooks; false, with neither left, when the system refused
// one. Their procedures only queue each event and return at once (the system
// removes a hook that answers late), on a thread of their own.
bool StartInputHooks();
void StopInputHooks();
// The events queued since the last call, in order.
std::vector<HookedInput> TakeHookedInput();

// The system's double-click time and rectangle and its drag rectangle
// (SM_CXDOUBLECLK, SM_CYDOUBLECLK, SM_CXDRAG, SM_CYDRAG).
struct ClickMetrics {
  unsigned doubleClickMs = 500;
  int doubleClickWidth = 4, doubleClickHeight = 4;
  int dragWidth = 4, dragHeight = 4;
};
ClickMetrics SystemClickMetrics();

// The characters a key types in this window, read with the keyboard layout
// of the window's thread, with Shift (and AltGr, Ctrl+Alt) as given and
// without changing a dead key's state; Shift-JIS. `exact` is set to false
// when Shift-JIS cannot write them. Empty when the key types nothing.
std::string KeyText(Window window, int virtualKey, int scanCode, bool shift, bool ctrlAlt, bool* exact);
// True when the control that has the focus in this window's thread is an
// edit with the password style.
bool FocusIsPassword(Window window);

// ---------------------------------------------------------------------------
// Edit commands of a list: its keys and its right-click menu

// A key pressed while a list that reports its keys (ReportListKeys) has the
// focus, Alt combinations included, which a list view's own LVN_KEYDOWN
// leaves out. The code is the platform's own, in no system range; the
// notification is a ListKeyNotification. The handler answers non-zero when
// it acted on the key: the list then does nothing more with it.
constexpr int kListKeyDown = -0x7F01;
constexpr unsigned kKeyCtrl = 0x1;
constexpr unsigned kKeyAlt = 0x2;
constexpr unsigned kKeyShift = 0x4;
struct ListKeyNotification : Notification {
  int key = 0;             // the virtual key
  unsigned modifiers = 0;  // kKeyCtrl, kKeyAlt, kKeyShift held with it
};
void ReportListKeys(Window dialog, int controlId);

// One entry of a popup menu; id 0 is a separator. A tab in the text puts
// what follows it (the entry's key) in the menu's right-hand column.
struct MenuEntry {
  int id = 0;
  std::string text;
  bool enabled = true;
};
// Shows a popup menu owned by the dialog and waits until it closes: the id
// of the chosen entry, 0 when none was chosen. The menu opens at the pointer,
// or, with row >= 0, at that row of list `listId` (a menu opened by a key).
int ShowListMenu(Window dialog, int listId, int row, const std::vector<MenuEntry>& entries);

// ---------------------------------------------------------------------------
// The pickers: the coordinate picker's marker window, and the window-title
// picker's list of windows with its finder.

// The pickers answer with WriteClipboardTextBoth: CF_TEXT with exactly the
// Shift-JIS bytes, which the editor reads.

// A top-level window with the program that shows it.
struct ProgramWindow : TopLevelWindow {
  std::string programName;  // the program's file name, "notepad.exe"; empty when unknown
};
// Every top-level window, in the window system's top-to-bottom order.
std::vector<ProgramWindow> ProgramWindows();
std::uint32_t CurrentProcessId();
std::uint32_t ParentProcessId();  // the process that started this one; 0 when unknown

// The text of an edit, with whether Shift-JIS could write all of it.
std::string GetControlTextExact(Window dialog, int controlId, std::size_t bufferSize, bool* exact);
// Puts a window's own title into a dialog's edit, unconverted: a character
// Shift-JIS cannot write stays as it is, for GetControlTextExact to find.
// False, and the edit unchanged, when the window is gone.
bool CopyWindowTitleToControl(Window source, Window dialog, int controlId);

// A window finder: a static control of a dialog that the user drags, with the
// left button held, onto another window. Each time the top-level window under
// the pointer changes during the drag, and once more on release, the dialog
// gets WM_COMMAND from the control with kFinderPointed; FinderTarget tells
// that window (0 for none, or for the dialog's own).
constexpr int kFinderPointed = 0x7F01;
void MakeWindowFinder(Window dialog, int controlId);
Window FinderTarget(Window dialog, int controlId);

// The marker window of the coordinate picker: a small topmost window that
// never takes the focus, with a marker (a crosshair) the user drags with the
// left button; the window follows the pointer, and a magnified view of the
// pixels around the marker's centre is shown meanwhile. A right click opens a
// menu; after a drag or a menu command the focus is where it was before.
//
// Points are in the coordinates a program without DPI awareness sees, and so
// is the marker's centre: it lies at (markerX, markerY) from the window's
// top-left corner, so that placing the window at (x - markerX, y - markerY)
// puts the marker on (x, y) whatever the display's scaling.
struct MarkerWindowSetup {
  std::string title;              // Shift-JIS
  int markerX = 0, markerY = 0;
  std::vector<std::string> menu;  // the menu's entries, in order
  std::string hint;               // shown while nothing else is
};
// What the window shows below the marker; a warning in red.
struct MarkerNote {
  std::string text;  // Shift-JIS; lines separated by '\n'
  bool warning = false;
};
class MarkerHandler {
 public:
  virtual ~MarkerHandler() = default;
  // During a drag, the marker's centre is at (x, y).
  virtual MarkerNote OnMarkerMoved(int x, int y) = 0;
  // The button was released with the marker's centre at (x, y).
  virtual MarkerNote OnMarkerDropped(int x, int y) = 0;
  // Menu entry `index` of the setup was chosen.
  virtual MarkerNote OnMenuChosen(int index) = 0;
};
// Shows the marker window and runs until it is closed or the process ends.
// Returns the program's exit code; 1 when the window could not be made.
int RunMarkerWindow(const MarkerWindowSetup& setup, MarkerHandler& handler);

}  // namespace plat
