// The runner: the editor's test run or a saved job. It reads the job, refuses
// it before any input when it cannot run as it stands, runs its rows in the
// planned order with a status window, stops at the user's sign, and tells how
// it ended by its exit code and Runvane.log in the job folder.
#pragma once

#include <string>
#include <vector>

namespace runvane {

enum ExitCode {
  kAllRan = 0,   // every row ran
  kStopped = 1,  // the user stopped the run (Shift+Esc, or the pointer at (0,0))
  kRefused = 2,  // the job cannot run as it stands; nothing was sent
  kFailed = 3,   // a program did not start, a window did not come, or input was refused
  kBusy = 4,     // another run or recording holds the lock; nothing was done
};

// Held by every run and recording, so that two runs never interleave their input.
constexpr char kRunLockName[] = "Local\\TavolexRunvane";

// The runner's command line (ReadInvocation): the test-run file KeyInspec.def
// (its scrambled form, the path plus ".psw", is read) and the repeat file
// KeyRepeat.def; or a saved job's name or folder with /delay=N and /quiet.
// A saved job's lines are read, never changed: from KeyRecord.def or its
// scrambled form, whichever was written last, as the editor loads them.
int RunCommandLine(const std::vector<std::string>& arguments);

}  // namespace runvane
