// From stored lines to list rows.
#pragma once

#include "platform/platform.h"

namespace editor {

// Rebuilds every row of the operation list from the definition lines: the
// row number, fields 1 to 10 (a TypeText input shown masked), every row
// ticked. Column 11 stays empty.
void FillOperationList(plat::Window dialog);

// The list after a row command changed the definition lines. Each leaves the
// list exactly as FillOperationList would (every row ticked, column 11 empty).
void RefillAfterAppend(plat::Window dialog);              // a line appended at the end
void RefillAfterInsert(plat::Window dialog, int index);   // a line inserted at index
void RefillAfterDelete(plat::Window dialog, int index);   // the line at index removed

}  // namespace editor
