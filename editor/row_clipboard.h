// Copying, cutting and pasting rows: the edited row goes to the clipboard as
// its stored line, so that it can go to another job or a text editor and
// back (ops::LinesAsText; no such text is ever a coordinate picker's
// answer). The editor keeps its own copy as well: selecting a row puts "0,0" on
// the clipboard, and the coordinate picker writes its points there.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace editor {

// The rows last copied or cut, or taken from the clipboard by a paste.
extern std::vector<std::string> CopiedRows;

// Ctrl+C: the edited row to the clipboard and the editor's copy.
void CopyOperation(plat::Window dialog);
// Ctrl+X: copies the edited row, then deletes it as Delete does.
void CutOperation(plat::Window dialog);
// Ctrl+V: inserts the clipboard's operation lines, or else the editor's own
// copy, before the edited row (after the last row when none is edited); the
// first of them becomes the edited row. With neither, the user is told.
void PasteOperations(plat::Window dialog);
// Inserts the lines as one step (one Ctrl+Z takes them back) before the
// edited row, after the last row when none is edited; the first of them
// becomes the edited row.
void InsertLinesAtEditedRow(plat::Window dialog, const std::vector<std::string>& lines);

}  // namespace editor
