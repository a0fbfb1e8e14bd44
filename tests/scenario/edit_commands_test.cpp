// The operation list's edit commands on the headless platform, by keys and
// the right-click menu: undo and redo of field edits and row commands with
// the repeat rules they renumbered, the job back at its loaded state, cut,
// copy and paste within a job and into another, and moves.
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/edit_commands.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "operations/scrambled.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

constexpr int kList = 1000;
const std::string kTools = "C:\\Tools\\";
constexpr unsigned kCtrl = plat::kKeyCtrl;
constexpr unsigned kAlt = plat::kKeyAlt;

std::string Op(int n) { return "op" + std::to_string(n) + ",,,マウスでクリックする,,,,,,4"; }

std::string Record(int count) {
  std::string out;
  for (int i = 1; i <= count; ++i) out += Op(i) + "\r\n";
  return out;
}

// The names of the rows' operations, as the list shows them: "op1 op2 ...".
std::string Names(plat::Window d) {
  std::string out;
  for (int r = 0; r < plat::ListRowCount(d, kList); ++r) {
    if (r > 0) out += " ";
    out += plat::ListGetCell(d, kList, r, 1);
  }
  return out;
}

// The stored lines in the same form; must agree with the list.
std::string StoredNames() {
  std::string out;
  for (int i = 0; i < jobstore::LineCount(); ++i) {
    std::string line = jobstore::LineAt(i);
    if (i > 0) out += " ";
    out += line.substr(0, line.find(','));
  }
  return out;
}

// Rule k (1-based): "2-4x3", or "off".
std::string Rule(plat::Window d, int k) {
  const int check = 1044 + k, from = 1003 + 3 * k;
  if (plat::GetButtonCheck(d, check) != 1) return "off";
  return plat::GetControlText(d, from) + "-" + plat::GetControlText(d, from + 1) + "x" +
         plat::GetControlText(d, from + 2);
}

std::vector<std::string> Messages() {
  std::vector<std::string> out;
  for (const auto& m : headless::MessageBoxes()) out.push_back(m.caption + ": " + m.text.substr(0, m.text.find('\n')));
  return out;
}

// A job's saved KeyRecord.def, from its scrambled form.
std::string SavedRecord(const std::string& job) {
  std::string plain;
  ops::ReadScrambledFile((kTools + job + "\\KeyRecord.def.psw").c_str(), &plain);
  return plain;
}

using EditCommands = EditorRun;

TEST_F(EditCommands, DeleteThenUndoBringsTheRowBackWithItsRepeatRange) {
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(6));
  headless::PutFile(kTools + "job\\KeyRepeat.def", "2,4,2\r\n5,5,3\r\n\r\n");
  Run("job", [](plat::Window d) {
    // Row 5 alone makes rule 2: deleting it switches the rule off.
    headless::ClickListRow(d, kList, 4);
    headless::PressKey(d, plat::kVkDelete);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op6");
    EXPECT_EQ(Rule(d, 2), "off");
    EXPECT_TRUE(editor::JobModified);
    EXPECT_EQ(headless::FocusedControl(d), kList);  // the next key reaches the list again

    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op5 op6");
    EXPECT_EQ(StoredNames(), Names(d));
    EXPECT_EQ(Rule(d, 1), "2-4x2");
    EXPECT_EQ(Rule(d, 2), "5-5x3");
    EXPECT_FALSE(plat::IsEditReadOnly(d, 1009));
    EXPECT_EQ(plat::ListGetCell(d, kList, 4, 11), "■");
    EXPECT_EQ(editor::CurrentRow, 4);
    EXPECT_EQ(plat::GetControlText(d, 1004), "op5");
    EXPECT_FALSE(editor::JobModified);  // back at the loaded state
    EXPECT_TRUE(headless::Animation(d, 106).playing);

    headless::PressKey(d, 'Y', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op6");
    EXPECT_EQ(Rule(d, 2), "off");
    EXPECT_EQ(editor::CurrentRow, 3);
    EXPECT_TRUE(editor::JobModified);

    // A row inside rule 1 shortens it; the rule comes back whole. The menu's
    // first entry is the undo.
    headless::ClickListRow(d, kList, 2);
    headless::PressKey(d, plat::kVkDelete);
    EXPECT_EQ(Rule(d, 1), "2-3x2");
    headless::QueueMenuChoice(editor::kUndoCommand);
    headless::RightClickListRow(d, kList, 1);
    EXPECT_EQ(Rule(d, 1), "2-4x2");
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op6");
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op5 op6");
    EXPECT_EQ(Rule(d, 2), "5-5x3");
    EXPECT_FALSE(editor::JobModified);
    headless::PressKey(d, 'Z', kCtrl);  // nothing more to take back
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op5 op6");

    // At the loaded state the close box asks nothing.
    headless::CloseBox(d);
  });
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
}

TEST_F(EditCommands, FieldEditsPickerAnswersAndRowCommandsAreOneStepEach) {
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(2));
  Run("job", [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    for (const char* text : {"a", "ab", "abc"}) headless::Type(d, 1004, text);  // a run of typing
    headless::Type(d, 1020, "7");
    headless::ChooseComboItem(d, 1080, 6);  // Pause: empties X, Y, the input and the stop seconds
    const std::string paused = jobstore::LineAt(0);
    EXPECT_EQ(paused, "abc,,,指定秒間は停止する,60,,,,,");

    // The picker's point (X and Y) and its "NEW ACTION" are one change each.
    headless::ClickListRow(d, kList, 1);
    headless::SetClipboard("12,34");
    headless::AdvanceTime(1000);
    EXPECT_EQ(std::string(jobstore::LineAt(1)), "op2,12,34,マウスでクリックする,,,,,,4");
    headless::SetClipboard("NEW ACTION");
    headless::AdvanceTime(1000);
    EXPECT_EQ(jobstore::LineCount(), 3);

    headless::ClickListRow(d, kList, 0);
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(jobstore::LineCount(), 2);
    EXPECT_EQ(std::string(jobstore::LineAt(1)), "op2,12,34,マウスでクリックする,,,,,,4");
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(std::string(jobstore::LineAt(1)), Op(2) + "\r\n");  // as loaded, line end and all
    EXPECT_EQ(editor::CurrentRow, 1);
    EXPECT_EQ(plat::GetControlText(d, 1002), "");
    headless::PressKey(d, 'Z', kCtrl);  // the action
    EXPECT_EQ(std::string(jobstore::LineAt(0)), "abc,,,マウスでクリックする,,,,,,7");
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 0);
    headless::PressKey(d, 'Z', kCtrl);  // the stop seconds
    headless::PressKey(d, 'Z', kCtrl);  // the name, typed in one run
    EXPECT_EQ(std::string(jobstore::LineAt(0)), Op(1) + "\r\n");
    EXPECT_EQ(plat::ListGetCell(d, kList, 0, 1), "op1");
    EXPECT_FALSE(editor::JobModified);
    for (int i = 0; i < 5; ++i) headless::PressKey(d, 'Y', kCtrl);
    EXPECT_EQ(std::string(jobstore::LineAt(0)), paused);
    EXPECT_EQ(plat::ListGetCell(d, kList, 0, 5), "60");
    EXPECT_EQ(jobstore::LineCount(), 3);
    EXPECT_TRUE(editor::JobModified);

    // Saved with the redone changes.
    headless::Click(d, 1);
  });
  EXPECT_EQ(SavedRecord("job"),
            "abc,,,指定秒間は停止する,60,,,,,\r\nop2,12,34,マウスでクリックする,,,,,,4\r\n,,,マウスでクリックする,,,,,,4\r\n");
}

TEST_F(EditCommands, ARepeatRuleChangedByHandKeepsTheJobChangedWhateverIsUndone) {
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(3));
  headless::PutFile(kTools + "job\\KeyRepeat.def", "1,2,2\r\n\r\n\r\n");
  Run("job", [](plat::Window d) {
    headless::Type(d, 1008, "5");  // the count of rule 1
    headless::ClickListRow(d, kList, 0);
    headless::PressKey(d, plat::kVkDelete);
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3");
    EXPECT_EQ(Rule(d, 1), "1-2x5");
    EXPECT_TRUE(editor::JobModified);
    headless::QueueMessageBoxAnswer(plat::kIdNo);
    headless::CloseBox(d);  // asks, and stays open
    EXPECT_NE(headless::OpenDialog(res::kMainDialog), 0u);

    // Rules typed after a renumbering are not replaced by the undo: they are
    // renumbered as the row coming back would renumber them.
    headless::ClickListRow(d, kList, 0);
    headless::PressKey(d, plat::kVkDelete);
    EXPECT_EQ(Rule(d, 1), "1-1x5");
    headless::Type(d, 1008, "9");
    headless::ClickListRow(d, kList, 0);
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Rule(d, 1), "2-2x9");
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "タヴォレクス");

  // A check box click alone does the same.
  SetUp();
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(3));
  Run("job", [](plat::Window d) {
    headless::Click(d, 1046);
    headless::Click(d, 1046);
    EXPECT_TRUE(editor::JobModified);
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  EXPECT_EQ(headless::MessageBoxes().size(), 1u);
}

TEST_F(EditCommands, CutAndPasteIntoAnotherJobThroughTheJobListAndMoves) {
  headless::PutFile(kTools + "A\\KeyRecord.def", "a1,1,1,マウスでクリックする,,,,,,4\r\na2,2,2,文字を入力する,秘密,,,,,4\r\n");
  headless::PutFile(kTools + "B\\KeyRecord.def", Record(3));
  headless::PutFile(kTools + "B\\KeyRepeat.def", "2,3,4\r\n\r\n\r\n");
  Run("A", [](plat::Window d) {
    headless::ClickListRow(d, kList, 1);
    headless::PressKey(d, 'X', kCtrl);
    EXPECT_EQ(Names(d), "a1");
    // The clipboard holds the stored line, in both formats, with its line end.
    EXPECT_EQ(headless::Clipboard(), "a2,2,2,文字を入力する,秘密,,,,,4\r\n");
    EXPECT_TRUE(headless::ClipboardHasOwnAnsiText());

    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::ChooseComboItem(d, 1082, 1);  // B
    ASSERT_STREQ(jobstore::JobName, "B");
    EXPECT_EQ(StoredNames(), "op1 op2 op3");  // the row edited in A rebuilt none of B's lines
    headless::ClickListRow(d, kList, 1);  // "0,0" on the clipboard: the editor's own copy is pasted
    EXPECT_EQ(headless::Clipboard(), "0,0");
    headless::PressKey(d, 'Z', kCtrl);  // a fresh history: A's cut stays in A
    EXPECT_EQ(Names(d), "op1 op2 op3");
    headless::PressKey(d, 'V', kCtrl);
    EXPECT_EQ(Names(d), "op1 a2 op2 op3");
    EXPECT_EQ(plat::ListGetCell(d, kList, 1, 5), "********");
    EXPECT_EQ(Rule(d, 1), "3-4x4");  // renumbered as an insert
    EXPECT_EQ(editor::CurrentRow, 1);

    // A move keeps the rules' numbers; the row stays the edited row, and
    // its tick (no change of the job) goes with it.
    headless::ToggleListCheck(d, kList, 1);
    headless::PressKey(d, plat::kVkDown, kAlt);
    headless::PressKey(d, plat::kVkDown, kAlt);
    headless::PressKey(d, plat::kVkDown, kAlt);  // already the last row
    EXPECT_EQ(Names(d), "op1 op2 op3 a2");
    EXPECT_EQ(StoredNames(), Names(d));
    EXPECT_EQ(editor::CurrentRow, 3);
    EXPECT_EQ(plat::GetControlText(d, 1005), "秘密");
    EXPECT_EQ(Rule(d, 1), "3-4x4");
    EXPECT_FALSE(plat::ListIsChecked(d, kList, 3));
    EXPECT_TRUE(plat::ListIsChecked(d, kList, 1));
    headless::PressKey(d, plat::kVkUp, kAlt);
    EXPECT_EQ(Names(d), "op1 op2 a2 op3");

    // Lines put on the clipboard by another program are pasted when every one
    // is an operation line, and become the editor's copy.
    headless::SetClipboard("x1,5,6,マウスでクリックする,,,,,,4\r\nx2,,,指定秒間は停止する,30,,,,,\r\n");
    headless::PressKey(d, 'V', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 x1 x2 a2 op3");
    headless::SetClipboard("x1 and some notes");
    headless::PressKey(d, 'V', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 x1 x2 x1 x2 a2 op3");
    for (int i = 0; i < 6; ++i) headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3");
    EXPECT_EQ(Rule(d, 1), "2-3x4");
    EXPECT_FALSE(editor::JobModified);
    for (int i = 0; i < 2; ++i) headless::PressKey(d, 'Y', kCtrl);
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(kTools + "A\\KeyRecord.def"), "a1,1,1,マウスでクリックする,,,,,,4\r\n");
  EXPECT_EQ(SavedRecord("B"),
            Record(2) + "a2,2,2,文字を入力する,秘密,,,,,4\r\n" + Op(3) + "\r\n");
  EXPECT_EQ(headless::FileBytes(kTools + "B\\KeyRepeat.def"), "3,4,4\r\n\r\n\r\n");
}

TEST_F(EditCommands, PastingForeignTextWithNothingCopiedIsRefused) {
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(2));
  Run("job", [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    headless::SetClipboard("買い物リスト,牛乳,卵");
    headless::PressKey(d, 'V', kCtrl);
    headless::QueueMenuChoice(editor::kPasteCommand);
    headless::RightClickListRow(d, kList, 1);
    EXPECT_EQ(Names(d), "op1 op2");
    EXPECT_FALSE(editor::JobModified);
    EXPECT_EQ(headless::Clipboard(), "0,0");  // the right click loaded row 2

    // The menu: the row under the pointer is the edited one; entries that
    // cannot act are disabled and choosing one does nothing; the menu key
    // opens it at the edited row.
    ASSERT_EQ(headless::Menus().size(), 1u);
    EXPECT_EQ(headless::Menus()[0].row, -1);
    EXPECT_EQ(editor::CurrentRow, 1);
    headless::QueueMenuChoice(editor::kMoveDownCommand);
    headless::PressKey(d, plat::kVkApps);
    EXPECT_EQ(headless::Menus().back().row, 1);
    EXPECT_FALSE(headless::Menus().back().entries[8].enabled);
    EXPECT_EQ(Names(d), "op1 op2");
    headless::QueueMenuChoice(editor::kCopyCommand);
    headless::RightClickListRow(d, kList, 0);
    EXPECT_EQ(headless::Clipboard(), Op(1) + "\r\n");
    headless::ClickListRow(d, kList, 1);
    headless::PressKey(d, 'C', kCtrl);
    EXPECT_EQ(headless::Clipboard(), Op(2) + "\r\n");
    headless::CloseBox(d);
  });
  const std::string refused = "データ検査: 貼り付ける行がありません。";
  EXPECT_EQ(Messages(), (std::vector<std::string>{refused, refused}));
}

// A recording by the runner (Ctrl+R or the menu): its rows are appended when
// no row is edited, or inserted before the edited row with the repeat rules
// renumbered, as one step; a refusal (exit code 4) and other endings change
// nothing; the file never stays.
TEST_F(EditCommands, ARecordingComesBackAsOneStep) {
  headless::PutFile(kTools + "Runvane.exe", "MZ");
  headless::PutFile(kTools + "job\\KeyRecord.def", Record(4));
  headless::PutFile(kTools + "job\\KeyRepeat.def", "2,3,2\r\n\r\n\r\n");
  const std::string capture = kTools + "job\\KeyCapture.def";
  std::string recorded;
  unsigned exitCode = 0;
  std::vector<std::string> commands;
  headless::OnProcessStart([&](headless::ProcessRecord& p) {
    if (p.program != kTools + "Runvane.exe") return;
    commands.push_back(p.start.commandLine);
    headless::PutFile(capture, recorded);
    p.exitCode = exitCode;
    p.running = false;
  });
  // Records; true when the editor was hidden until the recorder ended.
  auto record = [&](plat::Window d, const std::string& bytes, unsigned code) {
    recorded = bytes;
    exitCode = code;
    headless::PressKey(d, 'R', kCtrl);
    const bool hidden = !plat::IsWindowVisible(d);
    headless::AdvanceTime(1000);
    return hidden && plat::IsWindowVisible(d) && !headless::HasFile(capture);
  };
  Run("job", [&](plat::Window d) {
    recorded = Op(5) + "\r\n" + Op(6) + "\r\n//ドラッグ 2件\r\n";
    headless::QueueMenuChoice(editor::kRecordCommand);
    headless::RightClickListRow(d, kList, 4);  // below the rows: none edited
    headless::AdvanceTime(1000);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4 op5 op6");
    EXPECT_EQ(editor::CurrentRow, 4);
    EXPECT_EQ(plat::GetControlText(d, 1004), "op5");
    EXPECT_TRUE(editor::JobModified);
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4");
    EXPECT_FALSE(editor::JobModified);

    headless::ClickListRow(d, kList, 1);
    EXPECT_TRUE(record(d, Op(7) + "\r\n" + Op(8) + "\r\n" + Op(9) + "\r\n", 0));
    EXPECT_EQ(Names(d), "op1 op7 op8 op9 op2 op3 op4");
    EXPECT_EQ(Rule(d, 1), "5-6x2");
    EXPECT_EQ(editor::CurrentRow, 1);
    headless::PressKey(d, 'Z', kCtrl);
    EXPECT_EQ(Names(d), "op1 op2 op3 op4");
    EXPECT_EQ(Rule(d, 1), "2-3x2");

    EXPECT_TRUE(record(d, Op(7) + "\r\n", 4));
    EXPECT_TRUE(record(d, Op(7) + "\r\n", 3));
    EXPECT_TRUE(record(d, "//中クリック 1件\r\n", 0));
    headless::FailOpen(capture);
    EXPECT_TRUE(record(d, Op(7) + "\r\n", 0));
    EXPECT_EQ(Names(d), "op1 op2 op3 op4");
    EXPECT_EQ(StoredNames(), "op1 op2 op3 op4");
  });
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0], "\"C:\\Tools\\Runvane.exe\" /record \"C:\\Tools\\job\\KeyCapture.def\"");
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].text,
            "2 件の操作を記録して追加しました。\n\n元に戻すときは Ctrl+Z を押してください。\n\n記録しなかった操作：\n・ドラッグ 2件");
  EXPECT_EQ(boxes[2].text.find("ほかの操作を実行中のため、記録を始められませんでした。"), 0u);
  EXPECT_EQ(boxes[3].text.find("記録は最後まで行われませんでした（終了コード 3）。"), 0u);
  EXPECT_EQ(boxes[4].text, "記録された操作はありません。\n\n記録しなかった操作：\n・中クリック 1件");
  EXPECT_EQ(boxes[5].text.find("記録した操作のファイルを読み込めませんでした。\n\n" + capture), 0u);
}

}  // namespace
