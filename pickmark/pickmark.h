// The coordinate picker Pickmark.exe: its marker window answers the editor
// through the clipboard.
#pragma once

#include "platform/platform.h"

namespace pickmark {

// Shows the marker window until the editor ends the program; the exit code.
int RunPickmark();

}  // namespace pickmark
