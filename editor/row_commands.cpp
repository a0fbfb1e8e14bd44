#include "editor/row_commands.h"

namespace editor {

void NewOperation(plat::Window) {}
void InsertOperation(plat::Window) {}
void DeleteOperation(plat::Window) {}
void ToggleAllChecks(plat::Window) {}

}  // namespace editor
