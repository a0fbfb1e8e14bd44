#include "editor/list_view.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "companions/repeat.h"
#include "editor/list_fill.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "resources/control_ids.h"
#include "text/sjis.h"

namespace editor {

const ListColumnDef kListColumns[kListColumnCount] = {
    {"No.", plat::kAlignLeft, true, true},
    {"操作する名称", plat::kAlignLeft, true, true},
    {"X座標", plat::kAlignCenter, true, false},
    {"Y座標", plat::kAlignCenter, true, false},
    {"アクション", plat::kAlignLeft, true, true},
    {"入力データ", plat::kAlignLeft, true, true},
    {"左横", plat::kAlignCenter, false, false},
    {"左縦", plat::kAlignCenter, false, false},
    {"横幅", plat::kAlignCenter, false, false},
    {"縦高", plat::kAlignCenter, false, false},
    {"停止", plat::kAlignCenter, true, false},
    {"繰返", plat::kAlignLeft, true, false},
};

int InitialColumnWidth(int column) {
  const ListColumnDef& def = kListColumns[column];
  return def.visible ? 10 * static_cast<int>(std::strlen(def.title)) : 0;
}

void InsertListColumns(plat::Window dialog) {
  for (int c = 0; c < kListColumnCount; ++c) {
    plat::ListInsertColumn(dialog, res::kOperationList, c, kListColumns[c].title, InitialColumnWidth(c),
                           kListColumns[c].align);
  }
}

// The rows mirror the lines: each fitted column's texts come from the lines,
// each text once, instead of being read back from every row of the list.
void AutosizeColumns(plat::Window dialog) {
  const int count = jobstore::LineCount();
  if (count == 0) return;
  for (int c = 0; c < kListColumnCount; ++c) {
    if (!kListColumns[c].autosized) continue;
    std::vector<std::string> texts;
    if (c == 0) {
      for (int row = 1; row <= count; ++row) texts.push_back(std::to_string(row));
    } else {
      std::unordered_set<std::string> seen;
      for (int i = 0; i < count; ++i) {
        std::string text = CellText(jobstore::LineAt(i), c);
        if (seen.insert(text).second) texts.push_back(std::move(text));
      }
    }
    plat::ListFitColumnToTexts(dialog, res::kOperationList, c, texts);
  }
}

namespace {

// Whether column 11 of some row may hold a mark; false only while the list
// is known to have none (rebuilt, or cleared with nothing marked since).
bool marksMayBeShown = true;

struct MarkRange {
  long first, last;
};

// The ranges of the ticked rules that mark something.
std::vector<MarkRange> TickedRanges(plat::Window dialog) {
  std::vector<MarkRange> ranges;
  for (const res::RepeatRuleControls& rule : res::kRepeatRules) {
    if (plat::GetButtonCheck(dialog, rule.check) != 1) continue;
    long first = text::DecimalValue(plat::GetControlText(dialog, rule.from, 32).c_str());
    long last = text::DecimalValue(plat::GetControlText(dialog, rule.to, 32).c_str());
    if (first > last || first <= 0 || last <= 0) continue;
    ranges.push_back({first, last});
  }
  return ranges;
}

}  // namespace

void ForgetRepeatMarkers() { marksMayBeShown = false; }

void RefreshRepeatMarkers(plat::Window dialog) {
  int count = jobstore::LineCount();
  if (UpdatingControls || count == 0) return;
  std::vector<MarkRange> ranges = TickedRanges(dialog);
  if (!marksMayBeShown && ranges.empty()) return;  // no mark to clear, none to set
  // Painting waits until every mark is in place: turning it on again
  // repaints every row once, instead of a repaint a row.
  plat::ListSetRedraw(dialog, res::kOperationList, false);
  if (marksMayBeShown) {
    for (int i = 0; i < count; ++i) plat::ListSetCell(dialog, res::kOperationList, i, kRepeatMarkColumn, "");
  }
  marksMayBeShown = false;
  for (const MarkRange& range : ranges) {
    for (long j = range.first; j <= range.last && j <= count; ++j) {
      plat::ListSetCell(dialog, res::kOperationList, static_cast<int>(j - 1), kRepeatMarkColumn, "■");
      plat::ListRedrawRow(dialog, res::kOperationList, static_cast<int>(j - 1));
      marksMayBeShown = true;
    }
  }
  plat::ListSetRedraw(dialog, res::kOperationList, true);
}

}  // namespace editor
