#include "editor/list_fill.h"

#include <string>

#include "editor/list_view.h"
#include "jobstore/lines.h"
#include "operations/records.h"
#include "resources/control_ids.h"

namespace editor {

namespace {

// The text of cell `column` (1 to 10); it lives as long as `record`.
const char* CellOf(const ops::OperationRecord& record, int column) {
  if (column == ops::FieldInputData && ops::FindActionKind(record.field[ops::FieldAction].c_str()) == ops::TypeText) {
    return ops::kMaskedText;
  }
  return record.field[column].c_str();
}

// Cells 1 to 10 of a row from its line: a field the line does not have gives
// an empty cell (a new row's cells are empty: `newRow` writes no empty
// text); a TypeText input is shown masked.
void WriteCells(plat::Window dialog, int row, const char* line, bool newRow) {
  const ops::OperationRecord record = ops::ReadOperationLine(line);
  for (int j = ops::FieldName; j <= ops::FieldStopSeconds; ++j) {
    const char* cell = CellOf(record, j);
    if (!newRow || cell[0] != '\0') plat::ListSetCell(dialog, res::kOperationList, row, j, cell);
  }
}

}  // namespace

std::string CellText(const char* line, int column) { return CellOf(ops::ReadOperationLine(line), column); }

namespace {

void AddRow(plat::Window dialog, int index, bool ticked) {
  plat::ListInsertNumberedRow(dialog, res::kOperationList, index, ticked);
  WriteCells(dialog, index, jobstore::LineAt(index), true);
}

}  // namespace

void AddOperationRow(plat::Window dialog, int index) { AddRow(dialog, index, false); }

void RewriteOperationRow(plat::Window dialog, int index) {
  WriteCells(dialog, index, jobstore::LineAt(index), false);
}

// Numbered rows keep column 0 right through later inserts and deletes; the
// rows are made with painting off, each ticked as it is made. No row is
// selected meanwhile, so the selection handler would find nothing to do for
// a tick: the dialog is not told.
void FillOperationList(plat::Window dialog) {
  plat::ListDeleteAllRows(dialog, res::kOperationList);
  ForgetRepeatMarkers();
  int count = jobstore::LineCount();
  if (count == 0) return;
  plat::ListReserveRows(dialog, res::kOperationList, count);
  plat::ListSetRedraw(dialog, res::kOperationList, false);
  for (int i = 0; i < count; ++i) AddRow(dialog, i, true);
  plat::ListSetRedraw(dialog, res::kOperationList, true);
}

namespace {

// What a full refill leaves besides the rows: every row ticked (nothing is
// selected by now). A new row comes ticked; when other rows lack their tick
// (the check-all box unticked them), the list is painted once afterwards
// instead of row by row.
void FinishRefill(plat::Window dialog) {
  const int rows = plat::ListRowCount(dialog, res::kOperationList);
  int unticked = 0;
  for (int i = 0; i < rows && unticked < 2; ++i) {
    if (!plat::ListIsChecked(dialog, res::kOperationList, i)) ++unticked;
  }
  if (unticked == 0) return;
  if (unticked == 1) return plat::ListSetCheckedAllSilently(dialog, res::kOperationList, true);
  plat::ListSetRedraw(dialog, res::kOperationList, false);
  plat::ListSetCheckedAllSilently(dialog, res::kOperationList, true);
  plat::ListSetRedraw(dialog, res::kOperationList, true);
}

// The list mirrors the lines as a hook expects: `rows` rows now.
bool InStep(plat::Window dialog, int rows) { return plat::ListRowCount(dialog, res::kOperationList) == rows; }

}  // namespace

// Each hook changes one row; when the list does not mirror the lines as
// expected, the whole list is rebuilt instead. The selection goes first, as
// a full refill drops it, so that no handler sees a selected row meanwhile.
void RefillAfterAppend(plat::Window dialog) {
  int index = jobstore::LineCount() - 1;
  if (index < 0 || !InStep(dialog, index)) return FillOperationList(dialog);
  plat::ListClearSelection(dialog, res::kOperationList);
  AddRow(dialog, index, true);
  FinishRefill(dialog);
}

void RefillAfterInsert(plat::Window dialog, int index, int lines) {
  int count = jobstore::LineCount();
  if (index < 0 || lines < 1 || index + lines > count || !InStep(dialog, count - lines)) {
    return FillOperationList(dialog);
  }
  plat::ListClearSelection(dialog, res::kOperationList);
  for (int i = index; i < index + lines; ++i) AddRow(dialog, i, true);
  FinishRefill(dialog);
}

void RefillAfterDelete(plat::Window dialog, int index, int lines) {
  int count = jobstore::LineCount();
  if (index < 0 || lines < 1 || index > count || !InStep(dialog, count + lines)) return FillOperationList(dialog);
  plat::ListClearSelection(dialog, res::kOperationList);
  for (int i = 0; i < lines; ++i) plat::ListDeleteRow(dialog, res::kOperationList, index);
  FinishRefill(dialog);
}

}  // namespace editor
