// The test run of ticked operations: the test-run file KeyInspec.def with its
// scrambled form, and whether a companion still runs (the coordinate picker's
// watch asks too).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace companions {

// The coordinate picker's top-level window is the one whose title holds this.
extern const char PickerTitleText[];  // "座標取得"

// The bytes of the test-run file: one line per operation row, in order; a
// ticked row's line as stored (CR LF added when it does not end in LF), an
// unticked row's line CR LF alone. `ticked` has one entry per line; a line
// without an entry counts as unticked.
std::string TestRunFileText(const std::vector<bool>& ticked);

enum class TestRunFile {
  Written,        // KeyInspec.def.psw holds the ticked rows; no plain file left
  NotWritten,     // KeyInspec.def could not be written whole
  NotScrambled,   // KeyInspec.def.psw could not be written whole
};
// Removes the test-run files of an earlier run, then writes KeyInspec.def for
// the current lines and scrambles it into KeyInspec.def.psw. On failure no
// test-run file is left, so no runner can take an earlier run's operations.
TestRunFile WriteTestRunFile(const std::vector<bool>& ticked);

// True when a process with this id runs; an id of 0 never does.
bool IsProcessAlive(std::uint32_t processId);

}  // namespace companions
