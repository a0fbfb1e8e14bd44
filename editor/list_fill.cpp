#include "editor/list_fill.h"

#include "editor/controls.h"
#include "editor/records.h"
#include "jobstore/lines.h"
#include "text/csv.h"

namespace editor {

namespace {

// Cells 1 to 10 of a row from its line: a field the line does not have gives
// an empty cell; a TypeText input is shown masked.
void WriteCells(plat::Window dialog, int row, const char* line) {
  char field[1024];
  char action[1024];
  text::GetCsvItem(FieldAction, line, action, sizeof action);
  bool masked = FindActionKind(action) == TypeText;
  for (int j = FieldName; j <= FieldStopSeconds; ++j) {
    if (j == FieldInputData && masked) {
      plat::ListSetCell(dialog, kOperationList, row, j, kMaskedText);
      continue;
    }
    text::GetCsvItem(j, line, field, sizeof field);
    plat::ListSetCell(dialog, kOperationList, row, j, field);
  }
}

// A row for line `index`, its number shown by the list itself.
void AddRow(plat::Window dialog, int index) {
  plat::ListInsertNumberedRow(dialog, kOperationList, index);
  WriteCells(dialog, index, jobstore::LineAt(index));
}

}  // namespace

// Numbered rows keep column 0 right through later inserts and deletes; the
// rows are made with painting off and ticked all at once.
void FillOperationList(plat::Window dialog) {
  plat::ListDeleteAllRows(dialog, kOperationList);
  int count = jobstore::LineCount();
  if (count == 0) return;
  plat::ListReserveRows(dialog, kOperationList, count);
  plat::ListSetRedraw(dialog, kOperationList, false);
  for (int i = 0; i < count; ++i) AddRow(dialog, i);
  plat::ListSetCheckedAll(dialog, kOperationList, true);
  plat::ListSetRedraw(dialog, kOperationList, true);
}

// Each hook changes one row and ticks every row (only the unticked ones
// change). When the list does not mirror the lines as expected, the whole
// list is rebuilt instead.
void RefillAfterAppend(plat::Window dialog) {
  int index = jobstore::LineCount() - 1;
  if (index < 0 || plat::ListRowCount(dialog, kOperationList) != index) return FillOperationList(dialog);
  AddRow(dialog, index);
  plat::ListSetCheckedAll(dialog, kOperationList, true);
}

void RefillAfterInsert(plat::Window dialog, int index) {
  int count = jobstore::LineCount();
  if (index < 0 || index >= count || plat::ListRowCount(dialog, kOperationList) != count - 1) {
    return FillOperationList(dialog);
  }
  AddRow(dialog, index);
  plat::ListSetCheckedAll(dialog, kOperationList, true);
}

void RefillAfterDelete(plat::Window dialog, int index) {
  int count = jobstore::LineCount();
  if (index < 0 || index > count || plat::ListRowCount(dialog, kOperationList) != count + 1) {
    return FillOperationList(dialog);
  }
  plat::ListDeleteRow(dialog, kOperationList, index);
  plat::ListSetCheckedAll(dialog, kOperationList, true);
}

}  // namespace editor
