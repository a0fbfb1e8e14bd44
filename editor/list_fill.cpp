#include "editor/list_fill.h"

#include <cstdio>
#include <cstring>

#include "editor/controls.h"
#include "editor/records.h"
#include "jobstore/lines.h"
#include "text/csv.h"

namespace editor {

void FillOperationList(plat::Window dialog) {
  plat::ListDeleteAllRows(dialog, kOperationList);
  int count = jobstore::LineCount();
  char field[1024];
  char action[1024];
  for (int i = 0; i < count; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", i + 1);
    plat::ListInsertRow(dialog, kOperationList, i, number);
    const char* line = jobstore::LineAt(i);
    text::GetCsvItem(FieldAction, line, action, sizeof action);
    bool masked = FindActionKind(action) == TypeText;
    for (int j = FieldName; j <= FieldStopSeconds; ++j) {
      if (j == FieldInputData && masked) {
        plat::ListSetCell(dialog, kOperationList, i, j, kMaskedText);
        continue;
      }
      text::GetCsvItem(j, line, field, sizeof field);
      plat::ListSetCell(dialog, kOperationList, i, j, field);
    }
    plat::ListSetChecked(dialog, kOperationList, i, true);
  }
}

void RefillAfterAppend(plat::Window dialog) { FillOperationList(dialog); }
void RefillAfterInsert(plat::Window dialog, int) { FillOperationList(dialog); }
void RefillAfterDelete(plat::Window dialog, int) { FillOperationList(dialog); }

}  // namespace editor
