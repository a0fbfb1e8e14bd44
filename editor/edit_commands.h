// The operation list's edit commands, by keys while the list has the focus
// and by its right-click menu: undo, redo, cut, copy, paste, moving the
// edited row up or down, delete, and recording the user's input as rows.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace editor {

enum EditCommand {
  kNoEditCommand = 0,
  kUndoCommand,
  kRedoCommand,
  kCutCommand,
  kCopyCommand,
  kPasteCommand,
  kMoveUpCommand,
  kMoveDownCommand,
  kDeleteCommand,
  kRecordCommand,
  kMenuCommand,  // the menu itself, opened by a key
};

// The command of a key pressed in the list with these modifiers held:
// Ctrl+Z, Ctrl+Y, Ctrl+X, Ctrl+C, Ctrl+V, Alt+Up, Alt+Down, Delete, Ctrl+R
// (record), and the menu key or Shift+F10 for the menu.
EditCommand CommandOfKey(int key, unsigned modifiers);

// The right-click menu, in order, each entry with its key; the entries that
// cannot act now are disabled.
std::vector<plat::MenuEntry> EditMenu(bool canUndo, bool canRedo, int editedRow, int rowCount);

// Alt+Up, Alt+Down: the edited row changes places with its neighbour and
// stays the edited row. Nothing happens at the first or last row.
void MoveOperation(plat::Window dialog, bool up);

void RunEditCommand(plat::Window dialog, EditCommand command);

}  // namespace editor
