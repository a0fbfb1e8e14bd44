// The history of changes, the rows' clipboard text and the edit commands'
// keys and menu, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companions/picker_answers.h"
#include "companions/recording.h"
#include "editor/edit_commands.h"
#include "editor/history.h"
#include "operations/line_text.h"

namespace {

using editor::History;
using editor::HistoryStep;
using editor::LineChange;

LineChange Replace(int row, const std::string& before, const std::string& after) {
  return {LineChange::Replace, row, {before, after}};
}

// The lines a step's Replace changes leave, forward or backward, for a quick look.
std::string Describe(const HistoryStep* step, bool forward) {
  if (step == nullptr) return "none";
  std::string out;
  for (const LineChange& c : step->changes) {
    out += std::to_string(c.kind) + "@" + std::to_string(c.row);
    if (c.kind == LineChange::Replace) out += ":" + c.lines[forward ? 1 : 0];
    out += " ";
  }
  return out + "rows " + std::to_string(step->rowBefore) + ">" + std::to_string(step->rowAfter);
}

TEST(History, StepsUndoRedoAndTheLoadedState) {
  History h;
  EXPECT_TRUE(h.Unchanged());
  EXPECT_FALSE(h.CanUndo());

  // A run of typing in one field of one row is one step; another field,
  // another row or the end of the run starts a new one.
  h.Typed(2, 1, "a,\r\n", "ab,");
  h.Typed(2, 1, "ab,", "abc,");
  h.Typed(2, 5, "abc,", "abc,x");
  h.EndRun();
  h.Typed(2, 5, "abc,x", "abc,xy");
  EXPECT_EQ(h.StepCount(), 3u);
  EXPECT_FALSE(h.Unchanged());

  // Nested steps make one; replacements of one row in a row make one change;
  // a step that changes nothing, or only a line end, leaves no step.
  h.Begin(2);
  h.Begin(2);
  h.Add(Replace(2, "abc,xy", "p"));
  h.Add(Replace(2, "p", "q"));
  h.End(2);
  h.Add({LineChange::Remove, 2, {"q"}});
  h.End(1);
  h.Begin(1);
  h.Add(Replace(1, "same\r\n", "same"));
  h.End(1);
  h.Begin(1);
  h.End(1);
  ASSERT_EQ(h.StepCount(), 4u);

  const HistoryStep* last = h.TakeUndo();
  EXPECT_EQ(Describe(last, false), "0@2:abc,xy 2@2 rows 2>1");
  EXPECT_EQ(Describe(h.TakeUndo(), false), "0@2:abc,x rows 2>2");
  EXPECT_EQ(Describe(h.TakeUndo(), false), "0@2:abc, rows 2>2");
  EXPECT_EQ(Describe(h.TakeRedo(), true), "0@2:abc,x rows 2>2");
  EXPECT_EQ(Describe(h.TakeUndo(), false), "0@2:abc, rows 2>2");
  EXPECT_EQ(Describe(h.TakeUndo(), false), "0@2:a,\r\n rows 2>2");
  EXPECT_TRUE(h.Unchanged());
  EXPECT_EQ(h.TakeUndo(), nullptr);

  // A new step takes away what could be redone; after a save the saved state
  // counts as unchanged, and a state before it no longer does.
  h.TakeRedo();
  h.Typed(0, 1, "x", "y");
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(h.StepCount(), 2u);
  h.MarkUnchanged();
  EXPECT_TRUE(h.Unchanged());
  h.TakeUndo();
  EXPECT_FALSE(h.Unchanged());
  h.TakeRedo();
  EXPECT_TRUE(h.Unchanged());
  // Undone past the saved state, then a new step: the saved state is lost.
  h.TakeUndo();
  h.Typed(5, 1, "m", "n");
  while (h.CanUndo()) h.TakeUndo();
  EXPECT_FALSE(h.Unchanged());
}

TEST(History, TypingBackToTheStartLeavesNoStepAndOldStepsGoAtTheLimit) {
  History h;
  h.Typed(1, 1, "ab", "abc");
  h.Typed(1, 1, "abc", "ab");
  EXPECT_EQ(h.StepCount(), 0u);
  EXPECT_TRUE(h.Unchanged());
  h.Typed(1, 1, "ab", "ab");  // nothing changed
  EXPECT_EQ(h.StepCount(), 0u);

  History small(3);
  for (int i = 0; i < 5; ++i) {
    small.Begin(i);
    small.Add({LineChange::Insert, i, {"line" + std::to_string(i)}});
    small.End(i);
  }
  EXPECT_EQ(small.StepCount(), 3u);
  int undone = 0;
  while (small.TakeUndo() != nullptr) ++undone;
  EXPECT_EQ(undone, 3);
  EXPECT_FALSE(small.Unchanged());  // the loaded state went with the oldest steps
  EXPECT_GT(small.Bytes(), 0u);
}

TEST(LineText, OnlyWholeOperationLinesArePastedAndCopiesAreNoPickerAnswers) {
  const std::string a = "クリック,640,480,マウスでクリックする,,,,,,4";
  const std::string b = "\"a,b\",,,文字を入力する,\"x,\"\"y\"\"\",,,,,1";
  EXPECT_EQ(ops::LinesAsText({a + "\r\n", b}), a + "\r\n" + b + "\r\n");
  EXPECT_EQ(ops::OperationLinesOf(ops::LinesAsText({a, b})), (std::vector<std::string>{a, b}));
  EXPECT_EQ(ops::OperationLinesOf("\n" + a + "\n\r\n" + b), (std::vector<std::string>{a, b}));

  const std::string refused[] = {
      "",
      "0,0",
      "NEW ACTION",
      "x\t1\t2",
      a + "\r\nhello",                                    // one foreign line spoils all
      "a,1,2,マウスでクリックする,,,,,",                   // nine fields
      a + ",",                                            // eleven
      "a,1,2,存在しない動作,,,,,,4",                       // no such action
      "//" + a,                                           // the file's reader skips it
      std::string(994, 'n') + ",,,マウスでクリックする,,,,,,4",  // 1,024 bytes: longer than a stored line
      a + std::string(1, '\0') + a,
  };
  for (const std::string& text : refused) EXPECT_TRUE(ops::OperationLinesOf(text).empty()) << text;
  EXPECT_TRUE(ops::IsOperationLine(std::string(993, 'n') + ",,,マウスでクリックする,,,,,,4"));

  // The picker answers through the same clipboard: copied rows never read
  // as a point or a command, not even a row with empty fields.
  for (const std::string& line : {a, std::string(",,,マウスでクリックする,,,,,,4"), b}) {
    const std::string text = ops::LinesAsText({line});
    EXPECT_EQ(companions::DecidePoll(text.c_str(), "", "", true).action, companions::PollAction::None);
  }
}

// A recording's file: its operation lines are taken as a paste takes them,
// its notes name what was skipped, and any other line is refused alone.
TEST(LineText, ARecordingKeepsItsOperationLinesAndNotesAndRefusesTheRest) {
  const std::string a = "メモ帳,120,80,マウスでクリックする,,,,,,2";
  const std::string b = "メモ帳,,,文字を入力する,こんにちは,,,,,4";
  const companions::Recording recording = companions::ReadRecording(
      a + "\r\n" + "壊れた行,1,2\r\n" + b + "\n//ドラッグ 2件\r\n//\r\n" + std::string(994, 'n') +
      ",,,マウスでクリックする,,,,,,4\r\n//中クリック 1件\r\n");
  EXPECT_EQ(recording.lines, (std::vector<std::string>{a, b}));
  EXPECT_EQ(recording.skipped, (std::vector<std::string>{"ドラッグ 2件", "中クリック 1件"}));
  EXPECT_EQ(recording.refusedLines, 2);
  EXPECT_TRUE(companions::ReadRecording("").lines.empty());
}

TEST(EditCommands, KeysAndMenuEntries) {
  using namespace editor;
  // The keys that act are pressed in the scenario tests; these stay the
  // list's own (AltGr is Ctrl+Alt, a bare arrow moves the selection).
  EXPECT_EQ(CommandOfKey('Z', plat::kKeyCtrl | plat::kKeyAlt), kNoEditCommand);
  EXPECT_EQ(CommandOfKey('C', 0), kNoEditCommand);
  EXPECT_EQ(CommandOfKey(plat::kVkUp, 0), kNoEditCommand);
  EXPECT_EQ(CommandOfKey(plat::kVkDelete, plat::kKeyShift), kNoEditCommand);

  auto shown = [](const std::vector<plat::MenuEntry>& menu) {
    std::string out;
    for (const plat::MenuEntry& e : menu) {
      out += e.id == 0 ? std::string("-") : e.text.substr(0, e.text.find('\t')) + (e.enabled ? "" : "(x)");
      out += " ";
    }
    return out;
  };
  EXPECT_EQ(shown(EditMenu(true, false, 0, 3)),
            "元に戻す やり直し(x) - 切り取り コピー 貼り付け - 上へ移動(x) 下へ移動 - 削除 - 操作を記録 ");
  EXPECT_EQ(shown(EditMenu(false, true, 2, 3)),
            "元に戻す(x) やり直し - 切り取り コピー 貼り付け - 上へ移動 下へ移動(x) - 削除 - 操作を記録 ");
  EXPECT_EQ(shown(EditMenu(false, false, -1, 0)),
            "元に戻す(x) やり直し(x) - 切り取り(x) コピー(x) 貼り付け - 上へ移動(x) 下へ移動(x) - 削除(x) - 操作を記録 ");
  EXPECT_EQ(EditMenu(true, true, 0, 1)[0].text, "元に戻す\tCtrl+Z");
  EXPECT_EQ(EditMenu(true, true, 0, 1).back().text, "操作を記録\tCtrl+R");
}

}  // namespace
