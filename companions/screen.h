// Screen acquisition: the coordinate picker beside the editor and its answers
// on the clipboard, window titles, application paths and window rectangles.
//
// Screen coordinates here (picked points, window rectangles, the picker's
// position) are those a program without DPI awareness sees, the space of the
// jobs and of the companion programs.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace companions {

// The timers of acquisition in the main dialog.
constexpr int kClipboardPollTimer = 888;
constexpr unsigned kClipboardPollPeriod = 1000;
constexpr int kPickerWatchTimer = 999;
constexpr unsigned kPickerWatchPeriod = 10000;

// The last text read from the clipboard, NUL-terminated.
constexpr std::size_t kClipboardBufferSize = 65536;
extern char ClipboardTextBuffer[kClipboardBufferSize];

// Reads the clipboard's text into ClipboardTextBuffer and returns it. Empty
// when there is no text, the clipboard stays held by another program, or the
// text has 65,536 bytes or more (such a text is never an answer, whatever its
// beginning says).
const char* ReadClipboardText();

// Puts "0,0" on the clipboard, the neutral answer of the coordinate picker.
void ResetClipboard();

// Moves the coordinate picker's window to (x, y), topmost, size unchanged;
// nothing when the picker has no window.
void MovePickerWindow(int x, int y);

// What a poll of the clipboard leaves for the editor to do. The X and Y
// fields are written by the poll itself.
enum class PollOutcome { Nothing, NewOperation, InsertOperation };

// Timer 888, without the timer: reads the clipboard and acts on the picker's
// answer. For NewOperation and InsertOperation the editor runs the command
// and then resets the clipboard. A command answer is acted on at most once
// per change of the clipboard.
PollOutcome PollClipboard(plat::Window dialog);

// While a test run is in progress the clipboard's texts are the job's doing
// (a copied "120,45" or "NEW ACTION"), never the picker's answers: from
// HoldAnswersForTestRun until the clipboard changes after
// ReleaseAnswersAfterTestRun, PollClipboard acts on none of them.
void HoldAnswersForTestRun();
void ReleaseAnswersAfterTestRun();

// Timer 999, without the timer: a picker that has ended is started again and
// its window restored.
void WatchPicker();

// Button 1028: places the window whose title contains the text of 1005 at
// the rectangle of 1015 to 1018.
void ConfirmWindowPlacement(plat::Window dialog);
// Button 1062: reads that window's rectangle into 1015 to 1018.
void AcquireWindowPlacement(plat::Window dialog);
// Button 1039: runs the window-title picker, waits for it, and puts the
// clipboard's text into 1005, unless the picker was cancelled (a non-zero
// exit code). Pauses timer 888 meanwhile.
void PickWindowTitle(plat::Window dialog);
// Button 1060: the open-file dialog; the chosen path goes into 1005, Cancel
// empties it. A path that Shift-JIS cannot write is refused with a message.
void PickApplicationFile(plat::Window dialog);

// Forgets which clipboard change a command answer was last acted on (at
// dialog start, and for the tests).
void ResetAcquisition();

}  // namespace companions
