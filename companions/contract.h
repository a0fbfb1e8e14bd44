// The three companion programs beside the editor and how they are started.
#pragma once

#include <cstdint>
#include <string>

#include "jobstore/paths.h"
#include "platform/platform.h"

namespace companions {

extern char PickerToolPath[jobstore::kPathSize];  // Pickmark.exe, the coordinate picker
extern char RunnerToolPath[jobstore::kPathSize];  // Runvane.exe, the runner
extern char TitleToolPath[jobstore::kPathSize];   // Titlescan.exe, the window-title picker

extern std::uint32_t PickerProcessId;  // 0 when none was started
extern std::uint32_t RunnerProcessId;

// Fills the three paths from the program folder; a path that would not fit
// stays empty (that tool is then not started).
void BuildCompanionPaths();

// Each companion is started by its full path (the application name), so that
// no other program is started in its place whatever blanks the path holds;
// the command line the companion receives is the one given below.

// Starts the coordinate picker (its path alone as the command line, normal
// priority); the process id, or 0 when the path is empty or the start failed.
std::uint32_t StartPicker();
// Starts the runner hidden, without a window, with the test-run file and the
// repeat file; the process id, or 0.
std::uint32_t StartRunner(const char* inspectFilePath, const char* repeatFilePath);
// The runner started hidden, without a window, with these arguments after its
// quoted path; the process id, or 0.
std::uint32_t StartRunnerWith(const std::string& arguments);
// How a run of the window-title picker ended.
enum class TitlePickerEnd {
  NotStarted,  // no path, or the start failed
  Chosen,      // exit code 0: its answer is on the clipboard
  Cancelled,   // any other exit code: the clipboard is as it was
};
// Starts the window-title picker and waits until it has ended.
TitlePickerEnd RunTitlePicker();

// The desktop shortcut that runs a saved job without the editor: the runner
// with the job's name and a delay of 3 seconds (to bring the right window
// forward), started in the program folder, with the runner's icon.
plat::ShortcutSpec JobShortcut(const char* jobName);

// Ends a companion that the editor started and that still runs, with exit
// code 0. An id of 0, or of a process the editor did not start, does nothing.
void TerminateCompanion(std::uint32_t processId);

// Back to the state before start-up (for the tests).
void ResetCompanions();

}  // namespace companions
