// The operation editor: selecting a row loads it into the fields, every field
// change rebuilds the row's line, and the list's colours and row commands.
#include <string>

#include "companions/contract.h"
#include "companions/screen.h"
#include "editor/features.h"
#include "editor/fields.h"
#include "editor/line_assembly.h"
#include "editor/list_fill.h"
#include "editor/list_colors.h"
#include "editor/list_view.h"
#include "editor/main_dialog.h"
#include "editor/row_commands.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "operations/records.h"
#include "resources/control_ids.h"
#include "text/sjis.h"

namespace editor {

int currentX = 0, currentY = 0;

namespace {

// Selects the entry of the input list whose text is `name`; the entry the
// set-up selected stays when none has it.
void SelectInputEntry(plat::Window dialog, const std::string& name) {
  int count = plat::ComboCount(dialog, res::kInputCombo);
  for (int i = 0; i < count; ++i) {
    if (plat::ComboItemText(dialog, res::kInputCombo, i) == name) {
      plat::ComboSetSelection(dialog, res::kInputCombo, i);
      return;
    }
  }
}

}  // namespace

void FillEditorFromRow(plat::Window dialog, int row) {
  companions::ResetClipboard();
  SetupEditorForAction(dialog, 0);
  std::string action;
  for (int j = 0; j < kListColumnCount; ++j) {
    const std::string cell = plat::ListGetCell(dialog, res::kOperationList, row, j, 512);
    switch (j) {
      case 0:
        plat::SetControlText(dialog, res::kRowNumberEdit, cell.c_str());
        break;
      case ops::FieldName:
        plat::SetControlText(dialog, res::kNameEdit, cell.c_str());
        break;
      case ops::FieldX:
        plat::SetControlText(dialog, res::kXEdit, cell.c_str());
        currentX = static_cast<int>(text::LeadingNumber(cell.c_str()));
        break;
      case ops::FieldY:
        plat::SetControlText(dialog, res::kYEdit, cell.c_str());
        currentY = static_cast<int>(text::LeadingNumber(cell.c_str()));
        break;
      case ops::FieldAction:
        action = cell;
        break;
      case ops::FieldInputData: {
        int kind = ops::FindActionKind(action.c_str());
        if (kind < 0) break;
        plat::ComboSetSelection(dialog, res::kActionCombo, kind);
        if (kind == ops::TypeText) {
          // The cell shows the mask; the text comes from the stored line.
          SetupEditorForAction(dialog, kind);
          const std::string input = ops::ReadOperationField(jobstore::LineAt(row), ops::FieldInputData, 511);
          plat::SetControlText(dialog, res::kInputEdit, input.c_str());
        } else if (kind == ops::Pause || kind == ops::RunApplication || kind == ops::ArrangeWindow) {
          SetupEditorForAction(dialog, kind);
          plat::SetControlText(dialog, res::kInputEdit, cell.c_str());
        } else if (kind == ops::PressKey || kind == ops::Shortcut) {
          SetupEditorForAction(dialog, kind);
          SelectInputEntry(dialog, cell);
        }
        break;
      }
      case ops::FieldWindowLeft:
      case ops::FieldWindowTop:
      case ops::FieldWindowWidth:
      case ops::FieldWindowHeight:
        plat::SetControlText(dialog, res::kWindowEdits[j - ops::FieldWindowLeft], cell.c_str());
        break;
      case ops::FieldStopSeconds:
        plat::SetControlText(dialog, res::kStopSecondsEdit, cell.c_str());
        break;
      default:
        break;
    }
  }
}

void OnOperationSelected(plat::Window dialog) {
  const int item = plat::ListFirstSelected(dialog, res::kOperationList);
  if (item < 0) return;
  EndTypingRun();
  QueueFormerCurrentRow(dialog, item);
  {
    ProgramWrites writes;
    FillEditorFromRow(dialog, item);
  }
  if (currentX != 0 && currentY != 0 && companions::PickerProcessId != 0) {
    companions::MovePickerWindow(currentX - 31, currentY - 52);
    plat::SetFocusTo(dialog, res::kOperationList);
  }
  EnableEditorFields(dialog, true);
  CurrentRow = item;
}

void UpdateRowFromEditor(plat::Window dialog, int column) {
  if (CurrentRow == -1 || UpdatingControls) return;
  const std::string line = BuildLineFromEditor(dialog, column);
  if (CurrentRow >= jobstore::LineCount()) return;  // no line to replace
  const std::string before = jobstore::LineAt(CurrentRow);
  jobstore::ReplaceLineAt(CurrentRow, line.c_str());
  RecordLineEdit(dialog, CurrentRow, column, before, line);

  plat::ListSetCell(dialog, res::kOperationList, CurrentRow, column, CellText(line.c_str(), column).c_str());
  if (column == ops::FieldName || column == ops::FieldInputData || column == ops::FieldAction) {
    plat::ListSetColumnWidth(dialog, res::kOperationList, column, plat::kColumnAutosize);
  }
}

void OnActionChanged(plat::Window dialog) {
  HistoryStepScope step(dialog);  // the fields the set-up empties and the new action: one change
  SetupEditorForAction(dialog, plat::ComboGetSelection(dialog, res::kActionCombo));
  // The window cells follow the line for every action: ArrangeWindow fills
  // in its defaults, any other action empties the four hidden cells.
  for (int c = ops::FieldWindowLeft; c <= ops::FieldWindowHeight; ++c) UpdateRowFromEditor(dialog, c);
  UpdateRowFromEditor(dialog, ops::FieldAction);
  UpdateRowFromEditor(dialog, ops::FieldInputData);
}

bool OperationEditorCommand(plat::Window dialog, int controlId, int code) {
  if (code == plat::kEnChange) {
    for (const FieldEdit& edit : kFieldEdits) {
      if (edit.controlId == controlId) {
        UpdateRowFromEditor(dialog, edit.field);
        return true;
      }
    }
    return false;
  }
  if (code == plat::kCbnSelChange) {
    if (controlId == res::kInputCombo) {
      UpdateRowFromEditor(dialog, ops::FieldInputData);
      return true;
    }
    if (controlId == res::kActionCombo) {
      OnActionChanged(dialog);
      return true;
    }
    return false;
  }
  if (code != plat::kBnClicked) return false;
  switch (controlId) {
    case res::kNewButton:
      NewOperation(dialog);
      return true;
    case res::kInsertButton:
      InsertOperation(dialog);
      return true;
    case res::kDeleteButton:
      DeleteOperation(dialog);
      return true;
    case res::kCheckAllButton:
      ToggleAllChecks(dialog);
      return true;
    default:
      return false;
  }
}

bool OperationListNotify(plat::Window dialog, const plat::Notification& n, long* result) {
  if (n.controlId != res::kOperationList) return false;
  switch (n.code) {
    case plat::kNmCustomDraw:
      *result = OperationList.OnCustomDraw(dialog, n);
      return true;
    case plat::kNmClick:
      OnOperationSelected(dialog);
      *result = 0;
      return true;
    case plat::kLvnItemChanged:
      // Only a change of selection or check state concerns the editor; a new
      // row text does not.
      if ((n.changedMask & plat::kLvifState) != 0) OnOperationSelected(dialog);
      *result = 0;
      return true;
    default:
      return false;
  }
}

bool OperationEditorTimer(plat::Window dialog, int timerId) {
  if (timerId != kRedrawTimer) return false;
  RedrawQueuedRows(dialog);
  return true;
}

}  // namespace editor
