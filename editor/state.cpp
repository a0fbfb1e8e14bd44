#include "editor/state.h"

#include "editor/row_clipboard.h"
#include "editor/undo.h"
#include "resources/control_ids.h"

namespace editor {

int CurrentRow = -1;
bool JobModified = false;
bool UpdatingControls = false;
int RedrawQueue[kRedrawQueueSize];
int ScreenWidth = 0, ScreenHeight = 0;
ops::InputMode inputMode = ops::InputNone;

void MarkJobModified(plat::Window dialog) {
  JobModified = true;
  plat::AnimationStop(dialog, res::kStatusAnimationControl);
}

void ClearJobModified(plat::Window dialog) {
  JobModified = false;
  plat::AnimationPlay(dialog, res::kStatusAnimationControl, 0, -1, -1);
}

void ResetEditorState() {
  CurrentRow = -1;
  JobModified = false;
  UpdatingControls = false;
  for (int& slot : RedrawQueue) slot = -1;
  ScreenWidth = ScreenHeight = 0;
  inputMode = ops::InputNone;
  CopiedRows.clear();
  ForgetHistory();
}

}  // namespace editor
