// What a recording makes of the user's input: the events the hooks saw,
// with what the recorder learnt about the windows they went to, become
// operation rows (clicks merged into double clicks, typed characters into
// texts, keys and shortcuts of the tables, window placements), with waits,
// names and a count of what the line format cannot hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace runvane {

// The top-level window an event went to.
struct SeenWindow {
  plat::Window handle = plat::kNoWindow;
  std::string title;  // Shift-JIS
  plat::Rect rect;    // unaware screen coordinates
  bool own = false;   // a window of the kit itself: never recorded
};

// One hooked event with what the recorder saw when it took it.
struct SeenInput {
  plat::HookedInput input;
  SeenWindow window;      // mouse: under the point; keys: in front
  std::string text;       // KeyDown: the characters the key types (Shift-JIS)
  bool textExact = true;  // false: a character Shift-JIS cannot write
  bool password = false;  // KeyDown: the focused control is a password field
};

// The modifier keys held, followed through the key events.
struct HeldModifiers {
  bool shift = false, ctrl = false, alt = false, win = false;
  // Notes a modifier's press or release; false for any other event.
  bool Note(const plat::HookedInput& e);
  bool Any() const { return shift || ctrl || alt || win; }
};

// Shift+Esc, the sign that ends a recording (the modifiers before the event).
bool EndsRecording(const HeldModifiers& held, const plat::HookedInput& e);

// A recorded row, before its wait is known.
struct RecordedRow {
  int kind = 0;  // ops::ActionKind
  std::string name;
  bool hasPoint = false;
  int x = 0, y = 0;
  std::string input;
  plat::Rect window;  // ArrangeWindow
  std::uint64_t startMs = 0, endMs = 0;
};

// A kind of input that was not recorded, and how often it came.
struct SkippedInput {
  std::string what;  // Shift-JIS, "ドラッグ"
  int count = 0;
};

struct Recording {
  std::vector<RecordedRow> rows;
  std::vector<SkippedInput> skipped;  // only kinds that came, in a fixed order
  int SkippedCount() const;
};

// The name of a row typed into a password field, whose text is not kept.
extern const char kPasswordRowName[];

Recording RecordRows(const std::vector<SeenInput>& events, const plat::ClickMetrics& metrics);

// The operation lines: each row's stop seconds is the time until the next
// row, rounded to whole seconds and at least 1; the last keeps its default.
std::vector<std::string> RecordedLines(const Recording& recording);

// KeyCapture.def: the lines, then one comment line per skipped kind
// ("//ドラッグ 2件"), each ended by CR LF.
std::string RecordingFileText(const Recording& recording);

// The status window's line during a recording.
std::string RecordingStatus(const Recording& recording);

// The kit's own programs, whose windows are never recorded.
bool IsKitProgram(const std::string& programName);

}  // namespace runvane
