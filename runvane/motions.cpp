#include "runvane/motions.h"

#include "operations/records.h"

namespace runvane {

namespace {

using Event = plat::InputEvent;

constexpr unsigned kMoveSettleMs = 30;   // the target sees the pointer before the press
constexpr unsigned kClickSettleMs = 100; // the clicked control takes the focus
constexpr unsigned kKeyHoldMs = 30;      // shorter presses are missed by some programs
constexpr unsigned kChordGapMs = 50;
constexpr unsigned kCharGapMs = 10;      // faster typing drops characters in some programs

Event Mouse(Event::Kind kind) {
  Event e;
  e.kind = kind;
  return e;
}

Event Key(Event::Kind kind, int vk) {
  Event e;
  e.kind = kind;
  e.virtualKey = vk;
  e.extended = IsExtendedKey(vk);
  return e;
}

Event Char(Event::Kind kind, char16_t unit) {
  Event e;
  e.kind = kind;
  e.unit = unit;
  return e;
}

class Builder {
 public:
  void Send(std::vector<Event> events) {
    Motion m;
    m.events = std::move(events);
    motions_.push_back(std::move(m));
  }
  void Wait(unsigned ms) {
    Motion m;
    m.kind = Motion::Wait;
    m.ms = ms;
    motions_.push_back(m);
  }
  void Click(const Step& step, std::vector<Event> buttons) {
    Event move = Mouse(Event::Move);
    move.x = step.x;
    move.y = step.y;
    Send({move});
    Wait(kMoveSettleMs);
    Send(std::move(buttons));
  }
  // Modifier (0: none) and key down, held, then released in reverse order.
  void Press(int modifier, int key) {
    std::vector<Event> down, up;
    if (modifier != 0) down.push_back(Key(Event::KeyDown, modifier));
    down.push_back(Key(Event::KeyDown, key));
    up.push_back(Key(Event::KeyUp, key));
    if (modifier != 0) up.push_back(Key(Event::KeyUp, modifier));
    Send(std::move(down));
    Wait(kKeyHoldMs);
    Send(std::move(up));
  }
  void Type(const std::u16string& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (i > 0) Wait(kCharGapMs);
      Send({Char(Event::CharDown, units[i]), Char(Event::CharUp, units[i])});
    }
  }
  std::vector<Motion> Take() { return std::move(motions_); }

 private:
  std::vector<Motion> motions_;
};

}  // namespace

bool IsExtendedKey(int vk) {
  switch (vk) {
    case 0x21: case 0x22: case 0x23: case 0x24:  // PageUp, PageDown, End, Home
    case 0x25: case 0x26: case 0x27: case 0x28:  // the arrows
    case 0x2D: case 0x2E:                        // Insert, Delete
    case 0x5B: case 0x5C:                        // the Windows keys
      return true;
    default:
      return false;
  }
}

std::vector<Motion> MotionsFor(const Step& step) {
  Builder b;
  switch (step.kind) {
    case ops::MouseClick:
      b.Click(step, {Mouse(Event::LeftDown), Mouse(Event::LeftUp)});
      return b.Take();
    case ops::MouseDoubleClick:
      // Four button events in one batch: well within the double-click time
      // and rectangle.
      b.Click(step, {Mouse(Event::LeftDown), Mouse(Event::LeftUp), Mouse(Event::LeftDown), Mouse(Event::LeftUp)});
      return b.Take();
    case ops::MouseRightClick:
      b.Click(step, {Mouse(Event::RightDown), Mouse(Event::RightUp)});
      return b.Take();
    case ops::TypeText:
    case ops::CopyText:
    case ops::PasteText:
    case ops::PressKey:
    case ops::Shortcut:
      break;
    default:
      return {};
  }
  if (step.hasPoint) {
    b.Click(step, {Mouse(Event::LeftDown), Mouse(Event::LeftUp)});
    b.Wait(kClickSettleMs);
  }
  switch (step.kind) {
    case ops::TypeText:
      b.Type(step.typed);
      break;
    case ops::CopyText:
      b.Press(kVkControl, 'A');
      b.Wait(kChordGapMs);
      b.Press(kVkControl, 'C');
      break;
    case ops::PasteText:
      b.Press(kVkControl, 'V');
      break;
    case ops::PressKey:
      b.Press(0, step.virtualKey);
      break;
    default:  // Shortcut
      b.Press(step.modifier, step.virtualKey);
      break;
  }
  return b.Take();
}

}  // namespace runvane
