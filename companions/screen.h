// The editor's side of the clipboard conversation with the coordinate picker.
#pragma once

namespace companions {

// Puts "0,0" on the clipboard, the neutral answer of the coordinate picker.
void ResetClipboard();

// Moves the coordinate picker's window to (x, y), topmost, size unchanged;
// nothing when the picker has no window.
void MovePickerWindow(int x, int y);

}  // namespace companions
