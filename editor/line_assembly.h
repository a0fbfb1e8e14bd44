// From stored lines to list rows.
#pragma once

#include "platform/platform.h"

namespace editor {

// Rebuilds every row of the operation list from the definition lines: the
// row number, fields 1 to 10 (a TypeText input shown masked), every row
// ticked. Column 11 stays empty.
void FillOperationList(plat::Window dialog);

}  // namespace editor
