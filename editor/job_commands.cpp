#include "editor/features.h"

namespace editor {

bool JobCommand(plat::Window, int, int) { return false; }
bool JobTimer(plat::Window, int) { return false; }
plat::CtlColorAnswer MainDialogColors(plat::Window, plat::CtlColorKind, int) { return {}; }

}  // namespace editor
