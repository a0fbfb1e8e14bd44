// From the editor fields to a stored line, and the editor's arrangement for
// each action kind.
#pragma once

#include "platform/platform.h"

namespace editor {

// Shows, hides, labels and empties the editor controls for action `kind`
// and sets inputMode.
void SetupEditorForAction(plat::Window dialog, int kind);

}  // namespace editor
