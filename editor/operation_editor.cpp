#include "editor/features.h"

namespace editor {

bool OperationEditorCommand(plat::Window, int, int) { return false; }
bool OperationListNotify(plat::Window, const plat::Notification&, long*) { return false; }
bool OperationEditorTimer(plat::Window, int) { return false; }

}  // namespace editor
