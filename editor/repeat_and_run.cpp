#include "editor/features.h"

namespace editor {

void RepeatRulesAtStart(plat::Window) {}
bool RepeatAndRunCommand(plat::Window, int, int) { return false; }
bool RepeatAndRunTimer(plat::Window, int) { return false; }
bool SaveRepeatRulesOrTell(plat::Window) { return true; }

}  // namespace editor
