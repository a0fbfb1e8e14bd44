// State shared between the source files of the headless platform. Not for the
// tests: they use headless.h.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "resources/templates.h"

namespace headless::detail {

// ---------------------------------------------------------------- text
// The text cut to at most maxBytes bytes, never ending in half a character.
std::string CutText(const std::string& text, std::size_t maxBytes);
// What a buffer of bufferSize bytes receives: at most bufferSize - 1 bytes.
std::string CutToBuffer(const std::string& text, std::size_t bufferSize);
// ASCII letters upper-cased; the second byte of a two-byte character kept.
std::string FoldCase(const std::string& text);

// ---------------------------------------------------------------- reset parts
void ResetFiles();
void ResetProcesses();
void ResetSystem();  // clipboard, keys, message boxes
void ResetWindows();
void ResetListCommands();  // keys reported, menus, the clipboard's formats

// The process's own id (the owner of its dialogs in TopLevelWindows).
constexpr std::uint32_t kOwnProcessId = 900;

// ---------------------------------------------------------------- windows
// Dialog units in pixels, for a dialog font of 6 x 13 pixels base units.
inline int ToPixelsX(int dlu) { return dlu * 3 / 2; }
inline int ToPixelsY(int dlu) { return dlu * 13 / 8; }

struct ListRow {
  std::vector<std::string> cells;  // cells[0] is the item text
  unsigned state = 0;              // LVIS_* and the state image bits
  bool numbered = false;           // column 0 shows the row's position
};

struct Control {
  const res::ControlTemplate* tpl = nullptr;
  int id = 0;
  res::ControlClass cls = res::ControlClass::Static;
  std::uint32_t style = 0;
  plat::Window window = 0;
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool readOnly = false;
  int textLimit = 0;
  plat::Rect rect;  // client pixels
  int check = 0;
  // combo box
  std::vector<std::string> items;
  int selection = -1;
  // list view
  unsigned listExStyle = 0;
  std::vector<ListColumn> columns;
  std::vector<ListRow> rows;
  // animation
  AnimationState animation;
  ControlCalls calls;

  bool IsButtonType(std::uint32_t type) const {
    return cls == res::ControlClass::Button && (style & res::kBsTypeMask) == type;
  }
};

struct Timer {
  unsigned period = 0;
  std::uint64_t due = 0;
  std::uint64_t order = 0;  // start order, to break ties of due time
};

struct Dialog {
  int templateId = 0;
  const res::DialogTemplate* tpl = nullptr;
  plat::DialogHandler* handler = nullptr;
  plat::Window window = 0;
  plat::Window owner = 0;
  std::vector<Control> controls;  // template order; never resized after creation
  std::vector<int> zorder;        // indices into controls, top first
  bool ended = false;             // EndModalDialog was called
  bool destroyed = false;         // RunModalDialog has returned
  int result = 0;
  int disabledBy = 0;  // nested modal dialogs that this one owns
  std::map<int, Timer> timers;
  int focus = -1;  // index into controls; -1 for none
  int icon = 0;
  std::vector<std::string> systemMenu;
  plat::Rect clientOffset;  // left/top: client origin inside the window rect
};

// A top-level window: a dialog or a window that a test added.
struct TopWindow {
  plat::Window window = 0;
  std::uint32_t processId = 0;
  std::string title;
  bool visible = false;
  bool owned = false;
  bool topmost = false;
  plat::Rect rect;
  int lastShowCommand = -1;
};

struct WindowSystem {
  std::vector<std::unique_ptr<Dialog>> dialogs;  // every dialog created, in order
  std::vector<TopWindow> tops;                   // window order, top first
  plat::Window nextHandle = 0x1000;
  std::uint64_t now = 0;
  std::uint64_t timerOrder = 0;
  std::map<int, std::function<void(plat::Window)>> drivers;
  int leftOpen = 0;
  std::vector<int> shown;
  std::map<int, std::pair<int, int>> outerSizes;
  int desktopWidth = 1920;
  int desktopHeight = 1080;
  std::vector<DrawCall> drawCalls;
  std::vector<plat::Color> brushes;  // PrepareSolidBrushes
  int unpreparedBrushAnswers = 0;
  plat::Window foreground = 0;  // ForegroundWindow, while it exists
};

WindowSystem& Windows();
plat::Window NewHandle();
// An open dialog (created, RunModalDialog not yet returned); nullptr otherwise.
Dialog* FindDialog(plat::Window dialog);
// Any dialog created since Reset, also one that has been closed.
Dialog* FindAnyDialog(plat::Window dialog);
Control* FindControl(Dialog& dialog, int controlId);
// A control of an open dialog.
Control* FindControl(plat::Window dialog, int controlId);
TopWindow* FindTop(plat::Window window);
// Removes the top-level windows of a process that ended.
void RemoveWindowsOf(std::uint32_t processId);
// Puts a top-level window at the top of its band (topmost or not).
void BringToTop(plat::Window window);

// The keys that are down for one user action while it is handled (the
// thread's key state of the input message); none once it is handled.
class InputKeys {
 public:
  explicit InputKeys(std::initializer_list<int> keys);
  ~InputKeys();
  InputKeys(const InputKeys&) = delete;
  InputKeys& operator=(const InputKeys&) = delete;
};

// Notifications to the dialog's handler.
void SendCommand(Dialog& dialog, int controlId, int code);
long SendNotify(Dialog& dialog, const plat::Notification& n);
// Changes the bits of `mask` in a list row's state to those of `value`;
// raises LVN_ITEMCHANGED when the state really changes.
void ChangeRowState(Dialog& dialog, Control& list, int row, unsigned mask, unsigned value);
// A click on a list row (below the rows: on the list's empty part): the list
// takes the focus, the row is selected (or the selection goes away), then
// the click's notification `code` (NM_CLICK, NM_RCLICK) with the row.
void ClickListRowWith(plat::Window dialog, int controlId, int row, int code);
// Raises LVN_ITEMCHANGED for a row.
void NotifyItemChanged(Dialog& dialog, const Control& list, int row, unsigned oldState,
                       unsigned newState, unsigned changedMask);
// The text a cell shows (a numbered row's column 0 is its position).
std::string CellText(const Control& list, std::size_t row, std::size_t column);

}  // namespace headless::detail
