// The operation editor's fields: loading the selected row into them and
// rebuilding the row's line from them.
#pragma once

#include "platform/platform.h"

namespace editor {

// The values of fields x and y of the row last loaded into the editor.
extern int currentX, currentY;

// NM_CLICK and LVN_ITEMCHANGED of the list: the selected row becomes the
// edited row and is loaded into the fields.
void OnOperationSelected(plat::Window dialog);
void FillEditorFromRow(plat::Window dialog, int row);
// A field changed: the line of the edited row is rebuilt from all fields and
// `column` of the row shows the new field.
void UpdateRowFromEditor(plat::Window dialog, int column);
// The user chose another action in 1080.
void OnActionChanged(plat::Window dialog);

}  // namespace editor
