// The job a test run hands to the runner: the unscrambled test-run lines
// (line i is row i, an empty line an unticked row) and the repeat rules of
// KeyRepeat.def, read into steps and checked as a whole before any input.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace runvane {

// The modifier keys of shortcuts (virtual-key codes).
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkLeftWin = 0x5B;

// One row of the test-run file, checked and ready to run.
struct Step {
  int row = 0;           // 1-based line number
  bool ticked = false;   // false: an empty line, which runs nothing
  int kind = -1;         // ops::ActionKind
  std::string name;      // the operation's name (field 1)
  bool hasPoint = false;
  int x = 0, y = 0;
  std::string text;      // TypeText's text, RunApplication's path, ArrangeWindow's title
  std::u16string typed;  // TypeText: the text as UTF-16 units
  int virtualKey = 0;    // PressKey
  int modifier = 0;      // Shortcut: the modifier key, and its key in virtualKey
  long long pauseMs = 0;                     // Pause
  int left = 0, top = 0, width = 0, height = 0;  // ArrangeWindow
  bool hasStop = false;  // stopSeconds given
  long long stopMs = 0;
};

// Rows from..to (1-based, to at most the last row) run count times in all.
struct RepeatRange {
  int from = 0, to = 0;
  long count = 0;
};

struct Job {
  std::vector<Step> rows;  // rows[i] is row i + 1
  std::vector<RepeatRange> repeats;
};

// Why a job is refused, and where.
struct Refusal {
  enum Where { File, Row, RepeatLine } where = File;
  int line = 0;          // Row: the row; RepeatLine: the line of KeyRepeat.def
  std::string name;      // Row: the operation's name
  std::string reason;
};

// The screen as the jobs' points see it: points must lie inside `bounds`
// (all screens); `primary` gives the window defaults.
struct Screen {
  plat::Rect bounds;
  int primaryWidth = 0, primaryHeight = 0;
};

// Reads and checks the whole job. False, with the refusal of the first
// fault in row order (the repeat rules after the rows), when it cannot run
// as it stands: an unknown action, key or shortcut name, a click without a
// point, a point off the screen or on the stop corner (0,0), an empty title
// or path, a number that is not one, or repeat rules that are invalid or
// overlap.
bool ReadJob(const std::string& testRunText, const std::string& repeatText, const Screen& screen, Job* job,
             Refusal* refusal);

// Splits a file's bytes into lines without their line ends; a last line
// ended by a line feed leaves no empty line after it.
std::vector<std::string> SplitLines(const std::string& bytes);

// A shortcut name as stored ("Ctrl+C (複写)"), or its keys alone ("Ctrl+C"):
// the modifier and key codes; false for a name the shortcut table lacks.
bool ShortcutKeys(const std::string& name, int* modifier, int* key);

}  // namespace runvane
