// The operation list (control 1000): its columns and the repeat marks.
#pragma once

#include "platform/platform.h"

namespace editor {

constexpr int kListColumnCount = 12;
constexpr int kRepeatMarkColumn = 11;

struct ListColumnDef {
  const char* title;
  int align;
  bool visible;      // columns 6 to 9 exist with width 0
  bool autosized;    // sized to the contents by AutosizeColumns
};
extern const ListColumnDef kListColumns[kListColumnCount];

// Width of a column when it is inserted: 10 pixels per byte of its title,
// 0 for the hidden window columns.
int InitialColumnWidth(int column);

void InsertListColumns(plat::Window dialog);
// With at least one line, fits columns 0, 1, 4 and 5 to their texts.
void AutosizeColumns(plat::Window dialog);
// Rewrites column 11 of every row: "■" inside a ticked repeat range.
void RefreshRepeatMarkers(plat::Window dialog);
// The list was rebuilt from nothing: no row shows a repeat mark, so the next
// RefreshRepeatMarkers need not clear any.
void ForgetRepeatMarkers();

}  // namespace editor
