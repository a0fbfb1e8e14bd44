// What a step sends: its input events in batches, with the short pauses
// between them that targets need to take them.
#pragma once

#include <vector>

#include "platform/platform.h"
#include "runvane/job.h"

namespace runvane {

// One batch of events sent with one SendInput call, or a pause.
struct Motion {
  enum Kind { Send, Wait } kind = Send;
  std::vector<plat::InputEvent> events;
  unsigned ms = 0;
};

// The input of a step, in order: the move and the click, double click or
// right click at the point; for text, copying, pasting, keys and shortcuts,
// first a click when the row has a point, then the typed text as Unicode
// characters one at a time, or the key presses (a shortcut's keys pressed in
// order and released in reverse order). Empty for Pause, RunApplication and
// ArrangeWindow, which send no input.
std::vector<Motion> MotionsFor(const Step& step);

// Keys sent with the extended-key flag: the arrows, Home, End, PageUp,
// PageDown, Insert, Delete and the Windows keys.
bool IsExtendedKey(int virtualKey);

}  // namespace runvane
