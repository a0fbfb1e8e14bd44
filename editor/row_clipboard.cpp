#include "editor/row_clipboard.h"

#include "editor/messages.h"
#include "editor/row_commands.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "operations/line_text.h"

namespace editor {

std::vector<std::string> CopiedRows;

namespace {

// A text of more than 4 MB (some 40,000 rows) is not taken as rows.
constexpr std::size_t kLongestPastedText = 4u << 20;

// The edited row's line as the clipboard gets it; empty after telling the
// user that no row is edited.
std::vector<std::string> EditedRowLines(plat::Window dialog, const char* message) {
  const int row = EditedRowOrTell(dialog, message);
  if (row < 0) return {};
  const std::string line = jobstore::LineAt(row);
  return {line.substr(0, ops::LengthWithoutLineEnd(line))};
}

}  // namespace

void CopyOperation(plat::Window dialog) {
  std::vector<std::string> lines =
      EditedRowLines(dialog, "コピーする行が選択されていません。\n\nコピーする行をクリックして選択してください。");
  if (lines.empty()) return;
  CopiedRows = lines;
  plat::WriteClipboardTextBoth(ops::LinesAsText(lines).c_str());
}

void CutOperation(plat::Window dialog) {
  std::vector<std::string> lines =
      EditedRowLines(dialog, "切り取る行が選択されていません。\n\n切り取る行をクリックして選択してください。");
  if (lines.empty()) return;
  CopiedRows = lines;
  DeleteOperation(dialog, FocusAfter::List);
  // After the deletion: loading the next row into the fields put "0,0" on
  // the clipboard.
  plat::WriteClipboardTextBoth(ops::LinesAsText(lines).c_str());
}

void PasteOperations(plat::Window dialog) {
  const plat::ClipboardReading reading = plat::ReadClipboard(kLongestPastedText + 1);
  std::vector<std::string> lines = reading.cut ? std::vector<std::string>() : ops::OperationLinesOf(reading.text);
  if (lines.empty()) {
    lines = CopiedRows;
  } else {
    CopiedRows = lines;  // the next paste takes them again, after "0,0" replaced them on the clipboard
  }
  if (lines.empty()) {
    plat::ShowMessageBox(dialog,
                         "貼り付ける行がありません。\n\n"
                         "行をコピーするか切り取ってから貼り付けてください。クリップボードの文字は、"
                         "すべての行が操作の定義（10 項目）のときだけ貼り付けられます。",
                         kCheckCaption, plat::kMbOk);
    return;
  }
  InsertLinesAtEditedRow(dialog, lines);
}

void InsertLinesAtEditedRow(plat::Window dialog, const std::vector<std::string>& lines) {
  const int count = jobstore::LineCount();
  const int row = CurrentRow >= 0 && CurrentRow < count ? CurrentRow : count;
  HistoryStepScope step(dialog);
  InsertLines(dialog, row, lines);
  CurrentRow = row;
  FinishRowCommand(dialog, ScrollTargetAfter(row), FocusAfter::List);
}

}  // namespace editor
