// What the runner's command line asks for: the editor's test run (two paths),
// a saved job by its name or folder with its options, or a refusal with the
// reason. A plain function of the arguments, so each mode stays beside the
// others.
#pragma once

#include <string>
#include <vector>

namespace runvane {

constexpr int kLongestDelaySeconds = 3600;

struct Invocation {
  enum Kind { Refused, TestRun, SavedJob } kind = Refused;
  std::string inspectPath, repeatPath;  // TestRun: KeyInspec.def (its ".psw" is read) and KeyRepeat.def
  // SavedJob: the job's name (its folder beside the program), or the full path
  // of its folder without a closing backslash. Refused: the job named, when
  // its name or path was usable, so that the refusal is logged in its folder.
  std::string job;
  bool jobIsFolder = false;
  int delaySeconds = 0;
  bool quiet = false;    // /quiet was given: no message box, even for a refusal
  std::string options;   // the options as given, for the log ("/delay=3 /quiet")
  std::string reason;    // Refused: why, in Shift-JIS
};

// Reads the arguments (without the program's own name). Two arguments that
// are not options, the first a path, are the test run's; otherwise one job and the options
// /delay=N (0 to 3600 seconds) and /quiet, in any order, letters in either
// case. Everything else is refused.
Invocation ReadInvocation(const std::vector<std::string>& arguments);

// "C:\..." or "\\server\share...": a path that does not depend on the current folder.
bool IsFullPath(const std::string& path);

}  // namespace runvane
