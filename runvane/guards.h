// The runner's window guards: it clicks a window the job placed only while
// that window (or another of its program's) is under the point, and sends
// keys only while the focus is where the job left it. These are the
// decisions, as plain functions of what the platform told; the run asks the
// platform and waits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "runvane/job.h"

namespace runvane {

// The title of the coordinate picker's marker window.
constexpr char kMarkerTitle[] = "座標取得";

// What the runner knows of a top-level window.
struct WindowFacts {
  plat::Window window = plat::kNoWindow;
  std::uint32_t processId = 0;
  std::string title;
  bool topmost = false;
};
// The facts of a window as the platform tells them now; kNoWindow gives empty facts.
WindowFacts FactsOf(plat::Window window);

bool PointInside(const plat::Rect& rect, int x, int y);

// The window is `owner` itself, or another window of owner's program (its
// dialogs, menus and pop-ups).
bool BelongsTo(const WindowFacts& window, const WindowFacts& owner);

// The kit's own windows, which are never in the way: the runner's (its status
// window; `runnerProcess` is its process) and the coordinate picker's marker,
// a topmost window with the marker's title.
bool IsKitWindow(const WindowFacts& window, std::uint32_t runnerProcess);

// A window an ArrangeWindow row placed, and the rectangle it was given.
struct Placement {
  WindowFacts window;  // as it was when placed
  plat::Rect rect;
};

// The windows the job placed, newest last.
class Placements {
 public:
  // A row placed a window. Earlier placements of the same window no longer
  // count, nor those whose windows are already gone (`exists` tells): the
  // job has moved on to a new window.
  void Add(const Placement& placement, const std::function<bool(plat::Window)>& exists);
  // The newest placement whose rectangle holds the point; nullptr when none.
  const Placement* At(int x, int y) const;

 private:
  std::vector<Placement> placements_;
};

// What a click at a point may do.
enum class ClickCheck {
  Unchecked,  // outside every placed window's rectangle
  Clear,      // the placed window (or another of its program's, or the kit's own) is under the point
  Covered,    // another window is under the point, or none
  Closed,     // the placed window is gone
};
ClickCheck CheckClick(const Placement* placement, bool placedExists, const WindowFacts& atPoint,
                      std::uint32_t runnerProcess);

// Where keys may go: the windows (with their programs) where the last step
// left the focus. Empty: anywhere.
using FocusExpectation = std::vector<WindowFacts>;
// The focus has moved away from every expected window and its program to a
// window that is not the kit's own, or to none.
bool FocusMoved(const FocusExpectation& expected, const WindowFacts& foreground, std::uint32_t runnerProcess);

// A step that sends keys without clicking first: its keys are held back
// while the focus has moved (FocusMoved). A step that clicks first types
// into what its click focused.
bool ChecksFocusFirst(const Step& step);
// A batch that presses a mouse button: the click is checked before it.
bool PressesButton(const std::vector<plat::InputEvent>& events);
// RunApplication, ArrangeWindow and Pause end with the focus wherever the
// system put it, which is then where keys may go. After any other step keys
// may go to the window its input went to, or to where the focus is once
// that input has settled.
bool LeavesFocusToSystem(int kind);

}  // namespace runvane
