// Test control of the pickers' part of the headless platform (the section
// "The pickers" of platform.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace headless {

// The program file name that ProgramWindows gives for a process's windows;
// without one, that of the file the process was started from.
void SetProcessProgram(std::uint32_t processId, const std::string& fileName);
// A window whose title Shift-JIS cannot write: '?' in its title stands for
// such characters, in an edit the title is copied to.
void SetTitleInexact(plat::Window window);
// The process that started this one (ParentProcessId); 0 when unknown.
void SetParentProcess(std::uint32_t processId);

// The user drags the finder control of a dialog onto a window (0: onto the
// dialog itself or nothing) and releases it there: kFinderPointed.
void PointFinder(plat::Window dialog, int controlId, plat::Window target);

// A driver plays the user while RunMarkerWindow runs: it is called once with
// the marker window (a topmost top-level window of this process with the
// setup's title), the setup and the handler; RunMarkerWindow returns 0 when
// it returns. Without a driver the window closes at once.
using MarkerDriver =
    std::function<void(plat::Window, const plat::MarkerWindowSetup&, plat::MarkerHandler&)>;
void OnMarkerWindow(const MarkerDriver& driver);

// Back to none of the above; Reset() does this too.
void ResetPickers();

}  // namespace headless
