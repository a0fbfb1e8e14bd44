#include "editor/features.h"

namespace editor {

void AcquisitionAtStart(plat::Window) {}
bool AcquisitionCommand(plat::Window, int, int) { return false; }
bool AcquisitionTimer(plat::Window, int) { return false; }

}  // namespace editor
