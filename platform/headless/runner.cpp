// The runner's part of the in-memory platform: input is recorded, the clock
// is the window system's, Shift-JIS is converted with the C library's CP932.
#include "platform/headless/runner.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <set>

#include "platform/headless/internal.h"

namespace headless {
namespace {

struct RunnerState {
  std::vector<SentInput> sent;
  long acceptable = -1;  // for the next batch; negative: all
  int pointerX = 640, pointerY = 480;
  bool watching = false;
  bool stopPressed = false;
  std::function<void()> waitHook;
  std::function<void(const SentInput&)> inputHook;
  std::vector<std::string> statusTexts;
  bool statusShown = false;
  std::vector<OpenedPath> opened;
  std::function<void(const OpenedPath&)> openHook;
  std::map<plat::Window, int> showStates;
  std::set<plat::Window> refused;
};

RunnerState& State() {
  static RunnerState state;
  return state;
}

}  // namespace

namespace detail {
void ResetRunner() {
  State() = RunnerState();
  ResetRecorder();
}
}  // namespace detail

std::vector<SentInput> InputSent() { return State().sent; }
void InsertOnlyNextTime(std::size_t count) { State().acceptable = static_cast<long>(count); }
void SetPointer(int x, int y) {
  State().pointerX = x;
  State().pointerY = y;
}
void PressStopKeys() {
  if (State().watching) State().stopPressed = true;
}
bool StopKeysWatched() { return State().watching; }
void OnBriefWait(const std::function<void()>& hook) { State().waitHook = hook; }
void OnInputSent(const std::function<void(const SentInput&)>& hook) { State().inputHook = hook; }
void SetForegroundWindow(plat::Window window) { detail::Windows().foreground = window; }
std::vector<std::string> StatusTexts() { return State().statusTexts; }
bool StatusShown() { return State().statusShown; }
std::vector<OpenedPath> OpenedPaths() { return State().opened; }
void OnOpen(const std::function<void(const OpenedPath&)>& hook) { State().openHook = hook; }
void SetWindowShowState(plat::Window window, int state) { State().showStates[window] = state; }
int WindowShowState(plat::Window window) {
  auto it = State().showStates.find(window);
  return it == State().showStates.end() ? 0 : it->second;
}
void RefuseArrange(plat::Window window) { State().refused.insert(window); }

}  // namespace headless

namespace plat {

void UseUnawareCoordinatesForProcess() {}

std::u16string ToUtf16(const char* sjis, bool* exact) {
  if (exact != nullptr) *exact = true;
  std::u16string out;
  if (sjis == nullptr) return out;
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  std::string in(sjis);
  char* from = &in[0];
  std::size_t left = in.size();
  while (left > 0) {
    char buffer[256];
    char* to = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t done = iconv(cd, &from, &left, &to, &room);
    for (char* p = buffer; p + 1 < to; p += 2) {
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                          (static_cast<unsigned char>(p[1]) << 8)));
    }
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Not a Shift-JIS character: the replacement character, and on.
      if (exact != nullptr) *exact = false;
      out.push_back(u'\xFFFD');
      ++from;
      --left;
    }
  }
  iconv_close(cd);
  return out;
}

std::size_t SendInputEvents(const std::vector<InputEvent>& events) {
  headless::RunnerState& state = headless::State();
  const long acceptable = state.acceptable;
  state.acceptable = -1;
  std::size_t inserted = 0;
  for (const InputEvent& e : events) {
    if (acceptable >= 0 && static_cast<long>(inserted) == acceptable) break;
    state.sent.push_back({headless::Now(), e});
    if (e.kind == InputEvent::Move) {
      state.pointerX = e.x;
      state.pointerY = e.y;
    } else if (e.kind == InputEvent::LeftDown || e.kind == InputEvent::RightDown) {
      const Window clicked = TopLevelWindowAt(state.pointerX, state.pointerY);
      if (clicked != kNoWindow) headless::SetForegroundWindow(clicked);
    }
    ++inserted;
    auto hook = state.inputHook;  // a copy: the hook may replace itself
    const headless::SentInput recorded = state.sent.back();
    if (hook) hook(recorded);
  }
  return inserted;
}

bool PointerPosition(int* x, int* y) {
  *x = headless::State().pointerX;
  *y = headless::State().pointerY;
  return true;
}

Rect VirtualScreen() { return DesktopRect(); }

void WatchStopKeys() {
  headless::State().watching = true;
  headless::State().stopPressed = false;
}

void EndStopKeys() { headless::State().watching = false; }

bool StopKeysPressed() { return headless::State().stopPressed; }

void WaitBriefly(unsigned milliseconds) {
  headless::AdvanceTime(milliseconds > 0 ? milliseconds : 1);
  auto hook = headless::State().waitHook;  // a copy: the hook may replace itself
  if (hook) hook();
}

std::uint64_t Milliseconds() { return headless::Now(); }

std::string LocalTimeText() {
  const std::uint64_t ms = headless::Now();
  char text[32];
  std::snprintf(text, sizeof text, "2000-01-01 %02u:%02u:%02u.%03u", static_cast<unsigned>(ms / 3600000 % 24),
                static_cast<unsigned>(ms / 60000 % 60), static_cast<unsigned>(ms / 1000 % 60),
                static_cast<unsigned>(ms % 1000));
  return text;
}

void ShowStatusText(const char* text) {
  headless::State().statusTexts.push_back(text != nullptr ? text : "");
  headless::State().statusShown = true;
}

void CloseStatus() { headless::State().statusShown = false; }

bool OpenAsExplorerDoes(const char* path, const char* workingFolder) {
  if (path == nullptr || !PathExists(path) || IsDirectory(path)) return false;
  headless::OpenedPath opened{path, workingFolder != nullptr ? workingFolder : ""};
  headless::State().opened.push_back(opened);
  auto hook = headless::State().openHook;
  if (hook) hook(opened);
  return true;
}

Window TopLevelWindowAt(int x, int y) {
  for (const headless::detail::TopWindow& top : headless::detail::Windows().tops) {
    const Rect& r = top.rect;
    if (top.visible && x >= r.left && x < r.right && y >= r.top && y < r.bottom) return top.window;
  }
  return kNoWindow;
}

Window ForegroundWindow() {
  const Window window = headless::detail::Windows().foreground;
  return headless::detail::FindTop(window) != nullptr ? window : kNoWindow;
}

std::uint32_t WindowProcessId(Window window) {
  const headless::detail::TopWindow* top = headless::detail::FindTop(window);
  return top != nullptr ? top->processId : 0;
}

bool WindowExists(Window window) { return headless::detail::FindTop(window) != nullptr; }

std::string WindowTitle(Window window) {
  const headless::detail::TopWindow* top = headless::detail::FindTop(window);
  return top != nullptr ? headless::detail::CutText(top->title, 511) : std::string();
}

bool ArrangeTopLevelWindow(Window window, int x, int y, int width, int height) {
  if (headless::detail::FindTop(window) == nullptr || headless::State().refused.count(window) > 0) return false;
  headless::State().showStates[window] = 0;
  SetWindowBounds(window, x, y, width, height, true);
  return true;
}

}  // namespace plat
