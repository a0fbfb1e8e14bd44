// The two commands that end the main dialog.
#pragma once

#include "platform/platform.h"

namespace app {

// Button 1 "保存して終了": ends the dialog with OK when something changed
// (the lines are then saved), with Cancel otherwise. Enter does not end it.
void SaveAndExit(plat::Window dialog);
// Button 2 "キャンセル" and the close box: asks before changes are lost.
// Escape does not end it.
void CancelEditing(plat::Window dialog);

}  // namespace app
