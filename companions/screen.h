// The editor's side of the clipboard conversation with the coordinate picker.
#pragma once

namespace companions {

// Puts "0,0" on the clipboard, the neutral answer of the coordinate picker.
void ResetClipboard();

}  // namespace companions
