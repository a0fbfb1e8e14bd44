// The recording: Runvane.exe /record "<job folder>\KeyCapture.def" watches
// the user's clicks, typing and keys until Shift+Esc or the pointer at the
// top-left pixel, then writes the rows they make to the file (Shift-JIS,
// CR LF), followed by "//" comment lines naming what was not recorded.
#pragma once

#include <string>
#include <vector>

namespace runvane {

// True when the command line asks for a recording ("/record").
bool IsRecordCommand(const std::vector<std::string>& arguments);

// Exit codes as the runner's: 0 written (rows or none), 2 a wrong command
// line, 3 the hooks or the file failed (with a message, no file left), 4
// another run or recording goes on (no message: the editor tells).
int RunRecording(const std::vector<std::string>& arguments);

}  // namespace runvane
