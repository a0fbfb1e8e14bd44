#include "editor/edit_commands.h"

#include "editor/features.h"
#include "editor/row_clipboard.h"
#include "editor/row_commands.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "resources/control_ids.h"

namespace editor {

EditCommand CommandOfKey(int key, unsigned modifiers) {
  const unsigned mods = modifiers & (plat::kKeyCtrl | plat::kKeyAlt | plat::kKeyShift);
  if (mods == plat::kKeyCtrl) {
    switch (key) {
      case 'Z': return kUndoCommand;
      case 'Y': return kRedoCommand;
      case 'X': return kCutCommand;
      case 'C': return kCopyCommand;
      case 'V': return kPasteCommand;
      case 'R': return kRecordCommand;
      default: return kNoEditCommand;
    }
  }
  if (mods == plat::kKeyAlt && key == plat::kVkUp) return kMoveUpCommand;
  if (mods == plat::kKeyAlt && key == plat::kVkDown) return kMoveDownCommand;
  if (mods == 0 && key == plat::kVkDelete) return kDeleteCommand;
  if ((mods == 0 && key == plat::kVkApps) || (mods == plat::kKeyShift && key == plat::kVkF10)) return kMenuCommand;
  return kNoEditCommand;
}

std::vector<plat::MenuEntry> EditMenu(bool canUndo, bool canRedo, int editedRow, int rowCount) {
  const bool edited = editedRow >= 0 && editedRow < rowCount;
  return {
      {kUndoCommand, "元に戻す\tCtrl+Z", canUndo},
      {kRedoCommand, "やり直し\tCtrl+Y", canRedo},
      {},
      {kCutCommand, "切り取り\tCtrl+X", edited},
      {kCopyCommand, "コピー\tCtrl+C", edited},
      {kPasteCommand, "貼り付け\tCtrl+V", true},
      {},
      {kMoveUpCommand, "上へ移動\tAlt+↑", edited && editedRow > 0},
      {kMoveDownCommand, "下へ移動\tAlt+↓", edited && editedRow + 1 < rowCount},
      {},
      {kDeleteCommand, "削除\tDelete", edited},
      {},
      {kRecordCommand, "操作を記録\tCtrl+R", true},
  };
}

void MoveOperation(plat::Window dialog, bool up) {
  const int row = EditedRowOrTell(dialog, "移動する行が選択されていません。\n\n移動する行をクリックして選択してください。");
  if (row < 0) return;
  const int target = up ? row - 1 : row + 1;
  if (target < 0 || target >= jobstore::LineCount()) return;
  HistoryStepScope step(dialog);
  SwapRowWithNext(dialog, up ? target : row);
  CurrentRow = target;
  FinishRowCommand(dialog, target, FocusAfter::List);
}

void RunEditCommand(plat::Window dialog, EditCommand command) {
  switch (command) {
    case kUndoCommand: UndoLastChange(dialog); break;
    case kRedoCommand: RedoLastChange(dialog); break;
    case kCutCommand: CutOperation(dialog); break;
    case kCopyCommand: CopyOperation(dialog); break;
    case kPasteCommand: PasteOperations(dialog); break;
    case kMoveUpCommand: MoveOperation(dialog, true); break;
    case kMoveDownCommand: MoveOperation(dialog, false); break;
    case kDeleteCommand: DeleteOperation(dialog, FocusAfter::List); break;
    case kRecordCommand: StartRecording(dialog); break;
    case kMenuCommand:
    case kNoEditCommand: break;
  }
}

namespace {

// The menu at the pointer (row -1) or at a row, and its command.
void ShowEditMenu(plat::Window dialog, int row) {
  const auto entries =
      EditMenu(JobHistory.CanUndo(), JobHistory.CanRedo(), CurrentRow, jobstore::LineCount());
  RunEditCommand(dialog, static_cast<EditCommand>(plat::ShowListMenu(dialog, res::kOperationList, row, entries)));
}

}  // namespace

void EditCommandsAtStart(plat::Window dialog) {
  plat::ReportListKeys(dialog, res::kOperationList);
  ForgetHistory();
}

bool EditCommandsNotify(plat::Window dialog, const plat::Notification& n, long* result) {
  if (n.controlId != res::kOperationList) return false;
  if (n.code == plat::kNmRClick) {
    ShowEditMenu(dialog, -1);
    *result = 1;  // the menu has been shown: no WM_CONTEXTMENU after it
    return true;
  }
  if (n.code != plat::kListKeyDown) return false;
  const auto& key = static_cast<const plat::ListKeyNotification&>(n);
  const EditCommand command = CommandOfKey(key.key, key.modifiers);
  if (command == kMenuCommand) {
    const int row = plat::ListFirstSelected(dialog, res::kOperationList);
    ShowEditMenu(dialog, row >= 0 ? row : 0);
  } else {
    RunEditCommand(dialog, command);
  }
  *result = command == kNoEditCommand ? 0 : 1;
  return true;
}

}  // namespace editor
