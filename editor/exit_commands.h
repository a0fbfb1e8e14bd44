// The two commands that end the main dialog. The dialog ends with OK only
// when the lines are to be saved: the start-up code saves them afterwards.
#pragma once

#include "platform/platform.h"

namespace editor {

// Button 1 "保存して終了": ends the dialog with OK when something changed
// (the lines are then saved), with Cancel otherwise. Enter does not end it.
void SaveAndExit(plat::Window dialog);
// Button 2 "キャンセル" and the close box: asks before changes are lost.
// Escape does not end it.
void CancelEditing(plat::Window dialog);

}  // namespace editor
