// From stored lines to list rows.
#pragma once

#include <string>

#include "platform/platform.h"

namespace editor {

// Rebuilds every row of the operation list from the definition lines: the
// row number, fields 1 to 10 (a TypeText input shown masked), every row
// ticked. Column 11 stays empty.
void FillOperationList(plat::Window dialog);

// The text cell `column` (1 to 10) of a line's row shows: the field, a
// TypeText input masked.
std::string CellText(const char* line, int column);

// Inserts row `index` for line `index`: its number, fields 1 to 10 (a
// TypeText input masked), unticked and unselected; the dialog is not told.
void AddOperationRow(plat::Window dialog, int index);

// Rewrites cells 1 to 10 of row `index` from line `index`.
void RewriteOperationRow(plat::Window dialog, int index);

// The list after a row command changed the definition lines. Each changes
// only the rows concerned (the rows below renumber themselves) and leaves
// the list as FillOperationList would, every row ticked and no row selected,
// except that the repeat marks of column 11 stay with their rows: the row
// commands rewrite them next (RefreshRepeatMarkers).
void RefillAfterAppend(plat::Window dialog);  // a line appended at the end
// `lines` lines inserted at index, or removed there.
void RefillAfterInsert(plat::Window dialog, int index, int lines = 1);
void RefillAfterDelete(plat::Window dialog, int index, int lines = 1);

}  // namespace editor
