// Test control of the runner's part of the headless platform: the input it
// sent, the pointer, the stop keys, its status texts, the programs it opened,
// the windows it placed and the foreground window. Reset() clears all of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace headless {

// Every event the program sent, with the clock's time (Now()) at sending.
struct SentInput {
  std::uint64_t time = 0;
  plat::InputEvent event;
};
std::vector<SentInput> InputSent();
// The next SendInputEvents inserts only its first `count` events and refuses
// the rest (input towards a program run as administrator).
void InsertOnlyNextTime(std::size_t count);

// The pointer; a Move puts it on its point. Starts at (640, 480).
void SetPointer(int x, int y);
// Shift+Esc pressed while the stop keys are watched.
void PressStopKeys();
bool StopKeysWatched();

// Runs during each of the program's brief waits, after the clock moved on.
void OnBriefWait(const std::function<void()>& hook);
// Runs after each event the program sent is recorded (and the pointer moved).
void OnInputSent(const std::function<void(const SentInput&)>& hook);

// The foreground window (kNoWindow: none); it is forgotten when the window
// goes. A button pressed also makes the top-level window under the pointer
// (plat::TopLevelWindowAt) the foreground window, as a click activates it.
void SetForegroundWindow(plat::Window window);

// The texts the status window showed, in order, and whether it is shown.
std::vector<std::string> StatusTexts();
bool StatusShown();

// Programs and documents opened as Explorer does: one that names an existing
// file opens; a hook may act then (show the program's window).
struct OpenedPath {
  std::string path, workingFolder;
};
std::vector<OpenedPath> OpenedPaths();
void OnOpen(const std::function<void(const OpenedPath&)>& hook);

// Minimised or maximised state of a top-level window (0 normal, 1
// minimised, 2 maximised); ArrangeTopLevelWindow restores it.
void SetWindowShowState(plat::Window window, int state);
int WindowShowState(plat::Window window);
// Makes ArrangeTopLevelWindow fail for this window.
void RefuseArrange(plat::Window window);

// The recorder's hooks: each event fed here comes out of TakeHookedInput
// once the clock has reached its time (its ms).
void FeedHookedInput(const std::vector<plat::HookedInput>& events);
// StartInputHooks fails from now on.
void RefuseHooks();
bool HooksInstalled();
// What a key types: the letters (capitals with Shift), the digits and the
// space as on a US keyboard, unless set here for the key with or without Shift.
void SetKeyText(int virtualKey, bool shift, const std::string& text);
// The focused control of the window's thread is a password field.
void SetPasswordFocus(plat::Window window, bool password);

namespace detail {
void ResetRunner();
void ResetRecorder();
}  // namespace detail

}  // namespace headless
