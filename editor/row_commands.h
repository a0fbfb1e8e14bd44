// The row commands: New, Insert, Delete and the check-all box.
#pragma once

#include "platform/platform.h"

namespace editor {

void NewOperation(plat::Window dialog);     // button 1026, clipboard "NEW ACTION"
void InsertOperation(plat::Window dialog);  // button 1023, clipboard "INS ACTION"
void DeleteOperation(plat::Window dialog);  // button 1025
void ToggleAllChecks(plat::Window dialog);  // button 1044

}  // namespace editor
