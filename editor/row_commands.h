// The row commands: New, Insert, Delete and the check-all box, and the parts
// that the list's edit commands (cut, paste, moves, undo) share with them.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace editor {

// Where the keyboard focus goes when a row command ends: the stop-seconds
// field, selected for typing (the buttons), or the list (its keys and menu,
// so that the next key reaches the list again).
enum class FocusAfter { StopSeconds, List };

void NewOperation(plat::Window dialog);     // button 1026, clipboard "NEW ACTION"
void InsertOperation(plat::Window dialog);  // button 1023, clipboard "INS ACTION"
void DeleteOperation(plat::Window dialog, FocusAfter focus = FocusAfter::StopSeconds);  // button 1025
void ToggleAllChecks(plat::Window dialog);  // button 1044

// The edited row, when it names a line; otherwise -1, after telling the user
// `message` (caption "データ検査").
int EditedRowOrTell(plat::Window dialog, const char* message);
// Inserts the lines before line `row` (after the last line when `row` is the
// line count) as part of the step in progress: the list's rows, the columns'
// widths and, before an existing row, the renumbering of the repeat rules.
void InsertLines(plat::Window dialog, int row, const std::vector<std::string>& lines);
// What a row command does last: the list scrolls to `scrollTarget` (-1:
// nowhere), CurrentRow (already moved; -1 for none) becomes the selected row
// and is loaded into the fields, the repeat marks are rewritten and the
// focus goes where asked.
void FinishRowCommand(plat::Window dialog, int scrollTarget, FocusAfter focus);
// The row a command on `row` scrolls to: a few rows further down, within the list.
int ScrollTargetAfter(int row);

}  // namespace editor
