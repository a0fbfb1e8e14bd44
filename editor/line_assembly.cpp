#include "editor/line_assembly.h"

namespace editor {

void SetupEditorForAction(plat::Window, int) {}

}  // namespace editor
