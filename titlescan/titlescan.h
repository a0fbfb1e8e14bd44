// The window-title picker Titlescan.exe: a dialog that lists the windows a
// user may pick and puts the chosen (perhaps shortened) title on the
// clipboard.
#pragma once

#include <string>
#include <vector>

namespace titlescan {

// Runs the dialog. The exit code: 0 when a title was put on the clipboard;
// 1 after Cancel, Escape, the close box or the time limit, with the
// clipboard as it was.
int RunTitlescan(const std::vector<std::string>& arguments);

}  // namespace titlescan
