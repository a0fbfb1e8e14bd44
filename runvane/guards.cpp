#include "runvane/guards.h"

#include <algorithm>

#include "operations/records.h"

namespace runvane {

WindowFacts FactsOf(plat::Window window) {
  WindowFacts facts;
  if (window == plat::kNoWindow) return facts;
  facts.window = window;
  facts.processId = plat::WindowProcessId(window);
  facts.title = plat::WindowTitle(window);
  facts.topmost = plat::IsTopmost(window);
  return facts;
}

bool PointInside(const plat::Rect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool BelongsTo(const WindowFacts& window, const WindowFacts& owner) {
  if (window.window == plat::kNoWindow || owner.window == plat::kNoWindow) return false;
  return window.window == owner.window || (owner.processId != 0 && window.processId == owner.processId);
}

bool IsKitWindow(const WindowFacts& window, std::uint32_t runnerProcess) {
  if (window.window == plat::kNoWindow) return false;
  return (runnerProcess != 0 && window.processId == runnerProcess) ||
         (window.topmost && window.title == kMarkerTitle);
}

void Placements::Add(const Placement& placement, const std::function<bool(plat::Window)>& exists) {
  placements_.erase(std::remove_if(placements_.begin(), placements_.end(),
                                   [&](const Placement& p) {
                                     return p.window.window == placement.window.window || !exists(p.window.window);
                                   }),
                    placements_.end());
  placements_.push_back(placement);
}

const Placement* Placements::At(int x, int y) const {
  for (auto it = placements_.rbegin(); it != placements_.rend(); ++it) {
    if (PointInside(it->rect, x, y)) return &*it;
  }
  return nullptr;
}

ClickCheck CheckClick(const Placement* placement, bool placedExists, const WindowFacts& atPoint,
                      std::uint32_t runnerProcess) {
  if (placement == nullptr) return ClickCheck::Unchecked;
  if (!placedExists) return ClickCheck::Closed;
  if (BelongsTo(atPoint, placement->window) || IsKitWindow(atPoint, runnerProcess)) return ClickCheck::Clear;
  return ClickCheck::Covered;
}

bool FocusMoved(const FocusExpectation& expected, const WindowFacts& foreground, std::uint32_t runnerProcess) {
  bool anyExpected = false;
  for (const WindowFacts& w : expected) {
    if (w.window == plat::kNoWindow) continue;
    anyExpected = true;
    if (BelongsTo(foreground, w)) return false;
  }
  return anyExpected && !IsKitWindow(foreground, runnerProcess);
}

bool ChecksFocusFirst(const Step& step) {
  switch (step.kind) {
    case ops::TypeText:
    case ops::CopyText:
    case ops::PasteText:
    case ops::PressKey:
    case ops::Shortcut:
      return !step.hasPoint;
    default:
      return false;
  }
}

bool PressesButton(const std::vector<plat::InputEvent>& events) {
  return std::any_of(events.begin(), events.end(), [](const plat::InputEvent& e) {
    return e.kind == plat::InputEvent::LeftDown || e.kind == plat::InputEvent::RightDown;
  });
}

bool LeavesFocusToSystem(int kind) {
  return kind == ops::RunApplication || kind == ops::ArrangeWindow || kind == ops::Pause;
}

}  // namespace runvane
