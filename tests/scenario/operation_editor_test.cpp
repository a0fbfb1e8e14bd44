// The operation editor on the headless platform: selecting rows, editing the
// fields, changing the action, the list's colours, and the row commands.
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/features.h"
#include "editor/fields.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/scramble.h"
#include "operations/records.h"
#include "operations/scrambled.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"
#include "text/csv.h"

namespace {

constexpr int kList = 1000;

class OperationEditor : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  // Opens the editor on "job" with `record` as its KeyRecord.def, lets `play`
  // act as the user, then closes with the close box (unless `play` ended the
  // dialog).
  void Open(const std::string& record, const std::function<void(plat::Window)>& play) {
    if (!record.empty()) headless::PutFile("C:\\Tools\\job\\KeyRecord.def", record);
    headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
      play(d);
      if (headless::OpenDialog(res::kMainDialog) == 0) return;
      if (editor::JobModified) headless::QueueMessageBoxAnswer(plat::kIdYes);  // discard the changes
      headless::CloseBox(d);
    });
    app::RunTavolex({"job"});
    EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  }
};

std::vector<std::string> Lines() {
  std::vector<std::string> lines;
  for (int i = 0; i < jobstore::LineCount(); ++i) lines.push_back(jobstore::LineAt(i));
  return lines;
}

std::vector<std::string> Row(plat::Window d, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < 12; ++c) cells.push_back(plat::ListGetCell(d, kList, row, c));
  return cells;
}

std::string Field(const std::string& line, int n) {
  char out[1024];
  text::GetCsvItem(n, line.c_str(), out, sizeof out);
  return out;
}

int StopCount(plat::Window d) { return headless::Animation(d, 106).stopCount; }
int SelectAll(plat::Window d, int id) { return headless::Calls(d, id).selectAllCount; }
std::string Text(plat::Window d, int id) { return plat::GetControlText(d, id); }

const char kMixedJob[] =
    "クリック,640,480,マウスでクリックする,,,,,,4\r\n"
    "入力,10,20,文字を入力する,secret text,,,,,4\r\n"
    "待つ,,,指定秒間は停止する,30,,,,,\r\n"
    "キー,5,6,各種キーを入力する,Enter,,,,,4\r\n"
    "近道,5,6,ショートカットを入力する,Ctrl+C (複写),,,,,4\r\n"
    "起動,,,アプリケーションを実行する,C:\\app.exe,,,,,8\r\n"
    "配置,,,アプリケーションの表示設定,メモ帳,0,20,400,300,2\r\n"
    "謎,1,2,存在しない動作,xyz,,,,,4\r\n";

TEST_F(OperationEditor, SelectingRowsLoadsTheFieldsAndChangesNothing) {
  Open(kMixedJob, [](plat::Window d) {
    const std::vector<std::string> before = Lines();
    ASSERT_EQ(plat::ListRowCount(d, kList), 8);

    headless::ClickListRow(d, kList, 0);
    EXPECT_EQ(editor::CurrentRow, 0);
    EXPECT_EQ(Text(d, 1001), "1");
    EXPECT_EQ(Text(d, 1004), "クリック");
    EXPECT_EQ(Text(d, 1002), "640");
    EXPECT_EQ(Text(d, 1003), "480");
    EXPECT_EQ(Text(d, 1020), "4");
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 0);
    EXPECT_EQ(editor::currentX, 640);
    EXPECT_EQ(editor::currentY, 480);
    for (int id : {1004, 1002, 1003, 1080, 1081, 1005, 1020}) EXPECT_TRUE(plat::IsControlEnabled(d, id)) << id;
    EXPECT_EQ(headless::Clipboard(), "0,0");

    // A TypeText row shows its real text in the field, the mask in the list.
    headless::ClickListRow(d, kList, 1);
    EXPECT_EQ(Text(d, 1005), "secret text");
    EXPECT_TRUE(plat::IsControlVisible(d, 1005));
    EXPECT_EQ(plat::ListGetCell(d, kList, 1, 5), "********");
    EXPECT_EQ(editor::inputMode, ops::InputFromEdit);

    // Pause: no coordinates, no stop seconds, the seconds in the input.
    headless::ClickListRow(d, kList, 2);
    EXPECT_EQ(Text(d, 1005), "30");
    EXPECT_EQ(Text(d, 1002), "");
    EXPECT_EQ(Text(d, 1020), "");
    EXPECT_FALSE(plat::IsControlVisible(d, 1020));
    EXPECT_EQ(Text(d, 1032), "一時停止する秒");

    // Keys and shortcuts are chosen in the refilled list.
    headless::ClickListRow(d, kList, 3);
    EXPECT_EQ(editor::inputMode, ops::InputFromList);
    EXPECT_EQ(plat::ComboCount(d, 1081), 27);
    EXPECT_EQ(plat::ComboItemText(d, 1081, plat::ComboGetSelection(d, 1081)), "Enter");
    headless::ClickListRow(d, kList, 4);
    EXPECT_EQ(plat::ComboCount(d, 1081), 11);
    EXPECT_EQ(plat::ComboItemText(d, 1081, plat::ComboGetSelection(d, 1081)), "Ctrl+C (複写)");

    headless::ClickListRow(d, kList, 5);
    EXPECT_EQ(Text(d, 1005), "C:\\app.exe");
    EXPECT_EQ(Text(d, 1020), "8");
    EXPECT_TRUE(plat::IsControlVisible(d, 1060));

    headless::ClickListRow(d, kList, 6);
    EXPECT_EQ(Text(d, 1005), "メモ帳");
    EXPECT_EQ(Text(d, 1015), "0");
    EXPECT_EQ(Text(d, 1018), "300");
    EXPECT_EQ(Text(d, 1020), "2");
    EXPECT_TRUE(plat::IsControlVisible(d, 1039));

    // An unknown action leaves the selector as it was, arranged for a click.
    headless::ClickListRow(d, kList, 7);
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 10);
    EXPECT_EQ(editor::inputMode, ops::InputNone);

    // Ticking a row and selecting the same row again change nothing either.
    headless::ToggleListCheck(d, kList, 3);
    headless::ClickListRow(d, kList, 7);
    EXPECT_EQ(Lines(), before);
    EXPECT_FALSE(editor::JobModified);
    EXPECT_EQ(StopCount(d), 0);
    EXPECT_TRUE(headless::Animation(d, 106).playing);
  });
}

// The real list raises more notifications than the twin for some changes
// (a new row text, the three steps of a selection move); repeated or extra
// ones must change nothing.
TEST_F(OperationEditor, RepeatedAndExtraListNotificationsChangeNothing) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 1);
    headless::Type(d, 1005, "typed");
    editor::JobModified = false;
    const std::vector<std::string> before = Lines();
    const int clipboardWrites = static_cast<int>(headless::ClipboardWrites().size());
    auto send = [&](int code, int item, unsigned mask, unsigned oldState, unsigned newState) {
      plat::Notification n;
      n.controlId = kList;
      n.code = code;
      n.item = item;
      n.changedMask = mask;
      n.oldState = oldState;
      n.newState = newState;
      long result = -1;
      EXPECT_TRUE(editor::OperationListNotify(d, n, &result));
      EXPECT_EQ(result, 0);
    };
    for (int i = 0; i < 3; ++i) send(plat::kLvnItemChanged, 4, 0x1 /* LVIF_TEXT */, 0, 0);
    EXPECT_EQ(static_cast<int>(headless::ClipboardWrites().size()), clipboardWrites) << "a text change reloaded the row";
    send(plat::kLvnItemChanged, 1, 0x8, 0x3, 0x3);
    send(plat::kNmClick, 1, 0, 0, 0);
    send(plat::kNmClick, -1, 0, 0, 0);
    EXPECT_EQ(Lines(), before);
    EXPECT_FALSE(editor::JobModified);
    EXPECT_EQ(editor::CurrentRow, 1);
    EXPECT_EQ(Text(d, 1005), "typed");
    EXPECT_FALSE(headless::TimerRunning(d, 666));
  });
}

TEST_F(OperationEditor, TypingIntoFieldsRebuildsTheLineAndTheCell) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    headless::Type(d, 1004, "合計,欄を,,押す");
    EXPECT_EQ(jobstore::LineAt(0), std::string("合計欄を押す,640,480,マウスでクリックする,,,,,,4"));
    EXPECT_EQ(plat::ListGetCell(d, kList, 0, 1), "合計欄を押す");
    EXPECT_TRUE(editor::JobModified);
    EXPECT_EQ(StopCount(d), 1);

    // A picked point arrives through the read-only fields.
    plat::SetControlText(d, 1002, "12");
    plat::SetControlText(d, 1003, "34");
    EXPECT_EQ(jobstore::LineAt(0), std::string("合計欄を押す,12,34,マウスでクリックする,,,,,,4"));
    EXPECT_EQ(plat::ListGetCell(d, kList, 0, 3), "34");

    // TypeText keeps its cell masked; commas go, blanks stay.
    headless::ClickListRow(d, kList, 1);
    headless::Type(d, 1005, "x, y");
    EXPECT_EQ(Field(jobstore::LineAt(1), 5), "x y");
    EXPECT_EQ(plat::ListGetCell(d, kList, 1, 5), "********");

    // A key chosen from the list.
    headless::ClickListRow(d, kList, 3);
    headless::ChooseComboItem(d, 1081, 2);
    EXPECT_EQ(jobstore::LineAt(3), std::string("キー,5,6,各種キーを入力する,Home,,,,,4"));
    EXPECT_EQ(plat::ListGetCell(d, kList, 3, 5), "Home");
  });
}

TEST_F(OperationEditor, DefaultsAreWrittenBackAndSelected) {
  headless::SetDesktopSize(800, 700);
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    const int selects = SelectAll(d, 1020);
    headless::Type(d, 1020, "");
    EXPECT_EQ(Text(d, 1020), "4");
    EXPECT_GT(SelectAll(d, 1020), selects) << "the default is not selected: the next key lands before it";
    EXPECT_EQ(Field(jobstore::LineAt(0), 10), "4");
    headless::Type(d, 1020, "10");
    EXPECT_EQ(Field(jobstore::LineAt(0), 10), "10");

    headless::ClickListRow(d, kList, 5);  // RunApplication
    headless::Type(d, 1020, "");
    EXPECT_EQ(Text(d, 1020), "8");

    headless::ClickListRow(d, kList, 2);  // Pause: the seconds default, stop seconds stay empty
    const int inputSelects = SelectAll(d, 1005);
    headless::Type(d, 1005, "1a");
    EXPECT_EQ(Text(d, 1005), "60");
    EXPECT_GT(SelectAll(d, 1005), inputSelects);
    EXPECT_EQ(jobstore::LineAt(2), std::string("待つ,,,指定秒間は停止する,60,,,,,"));
    headless::Type(d, 1005, "0");
    EXPECT_EQ(Field(jobstore::LineAt(2), 5), "0");

    // ArrangeWindow: empty window fields take the desktop's defaults (the
    // division by 3 comes first: 700 gives 466).
    headless::ClickListRow(d, kList, 6);
    for (int id : {1015, 1016, 1017, 1018}) headless::Type(d, id, "");
    EXPECT_EQ(jobstore::LineAt(6), std::string("配置,,,アプリケーションの表示設定,メモ帳,400,20,400,466,2"));
    EXPECT_EQ(Text(d, 1018), "466");
    headless::Type(d, 1020, "");
    EXPECT_EQ(Text(d, 1020), "2");
  });
}

TEST_F(OperationEditor, ChangingTheActionRewritesTheRow) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    headless::ChooseComboItem(d, 1080, ops::Pause);
    EXPECT_EQ(jobstore::LineAt(0), std::string("クリック,,,指定秒間は停止する,60,,,,,"));
    EXPECT_EQ(Row(d, 0), (std::vector<std::string>{"1", "クリック", "", "", "指定秒間は停止する", "60",
                                                   "", "", "", "", "", ""}));
    EXPECT_EQ(Text(d, 1005), "60");
    EXPECT_EQ(Text(d, 1002), "");
    EXPECT_EQ(Text(d, 1020), "");

    headless::ChooseComboItem(d, 1080, ops::MouseClick);
    EXPECT_EQ(jobstore::LineAt(0), std::string("クリック,,,マウスでクリックする,,,,,,4"));
    EXPECT_EQ(Row(d, 0)[5], "");
    EXPECT_EQ(Row(d, 0)[10], "4");
    EXPECT_EQ(Text(d, 1020), "4");
    EXPECT_FALSE(plat::IsControlVisible(d, 1005));

    // To a shortcut: the first name of the refilled list.
    headless::ChooseComboItem(d, 1080, ops::Shortcut);
    EXPECT_EQ(Field(jobstore::LineAt(0), 5), "Win+D  (画面消去)");

    // Leaving ArrangeWindow empties the window fields in the line and in the
    // hidden cells, so the list always shows the stored line.
    headless::ClickListRow(d, kList, 6);
    headless::ChooseComboItem(d, 1080, ops::TypeText);
    EXPECT_EQ(jobstore::LineAt(6), std::string("配置,,,文字を入力する,,,,,,4"));
    EXPECT_EQ(Row(d, 6), (std::vector<std::string>{"7", "配置", "", "", "文字を入力する", "********", "",
                                                   "", "", "", "4", ""}));
    // And back to ArrangeWindow: the defaults come in.
    headless::ChooseComboItem(d, 1080, ops::ArrangeWindow);
    EXPECT_EQ(Field(jobstore::LineAt(6), 7), "20");
    EXPECT_EQ(Row(d, 6)[7], "20");
  });
}

// What each action shows: the input control and its label, coordinates,
// window fields and search buttons, the stop seconds.
TEST_F(OperationEditor, EachActionArrangesItsControls) {
  struct Arrangement {
    int kind;
    const char* label;  // nullptr: the label keeps its text
    std::vector<int> shown;
    std::vector<int> hidden;
    ops::InputMode mode;
  };
  const std::vector<Arrangement> arrangements = {
      {ops::MouseClick, nullptr, {1037, 1002, 1003, 1061, 1020}, {1032, 1081, 1005, 1060, 1039, 1015}, ops::InputNone},
      {ops::MouseDoubleClick, nullptr, {1002, 1020}, {1032, 1081, 1005}, ops::InputNone},
      {ops::TypeText, "入力するデータ値", {1032, 1005, 1002, 1020}, {1081, 1060}, ops::InputFromEdit},
      {ops::MouseRightClick, nullptr, {1002, 1020}, {1005, 1081}, ops::InputNone},
      {ops::CopyText, nullptr, {1002, 1020}, {1005, 1081}, ops::InputNone},
      {ops::PasteText, nullptr, {1002, 1020}, {1005, 1081}, ops::InputNone},
      {ops::Pause, "一時停止する秒", {1032, 1005}, {1037, 1002, 1003, 1061, 1020, 1081}, ops::InputFromEdit},
      {ops::PressKey, "入力するキー値", {1032, 1081, 1002, 1020}, {1005}, ops::InputFromList},
      {ops::Shortcut, "実行するショートカット", {1032, 1081, 1002, 1020}, {1005}, ops::InputFromList},
      {ops::RunApplication, "実行するアプリケーション", {1032, 1005, 1060, 1061, 1020}, {1037, 1002, 1003, 1081, 1039}, ops::InputFromEdit},
      {ops::ArrangeWindow, "アプリケーションのWindowsタイトル", {1032, 1005, 1040, 1041, 1042, 1043, 1015, 1016, 1017, 1018, 1028, 1062, 1039}, {1037, 1002, 1003, 1061, 1020, 1060, 1081}, ops::InputFromEdit},
  };
  Open(kMixedJob, [&](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    for (const Arrangement& a : arrangements) {
      SCOPED_TRACE(ops::kActionNames[a.kind]);
      const std::string labelBefore = Text(d, 1032);
      headless::ChooseComboItem(d, 1080, a.kind);
      EXPECT_EQ(Text(d, 1032), a.label != nullptr ? a.label : labelBefore);
      for (int id : a.shown) EXPECT_TRUE(plat::IsControlVisible(d, id)) << id;
      for (int id : a.hidden) EXPECT_FALSE(plat::IsControlVisible(d, id)) << id;
      EXPECT_EQ(editor::inputMode, a.mode);
      // The row holds the action, and every cell shows its field.
      const std::string line = jobstore::LineAt(0);
      EXPECT_EQ(Field(line, 4), ops::kActionNames[a.kind]);
      EXPECT_EQ(Field(line, 10), ops::DefaultStopSeconds(a.kind));
      for (int c = 1; c <= 10; ++c) {
        if (c == 5 && a.kind == ops::TypeText) continue;
        EXPECT_EQ(plat::ListGetCell(d, kList, 0, c), Field(line, c)) << c;
      }
      if (!ops::UsesCoordinates(a.kind)) {
        EXPECT_EQ(Field(line, 2), "");
        EXPECT_EQ(Text(d, 1002), "");
      }
    }
  });
}

// RunApplication shows the stop seconds in the place the coordinate buttons
// leave free, clear of the save button.
TEST_F(OperationEditor, RunApplicationKeepsTheStopSecondsInView) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    const plat::Rect normal = plat::ControlRect(d, 1020);
    EXPECT_EQ(normal.top, plat::DialogUnitsToPixels(d, {362, 345, 386, 357}).top);
    headless::ClickListRow(d, kList, 5);
    const plat::Rect run = plat::ControlRect(d, 1020);
    EXPECT_EQ(run.top, normal.top);
    const plat::Rect save = plat::ControlRect(d, 1);
    for (int id : {1020, 1061}) {
      const plat::Rect r = plat::ControlRect(d, id);
      EXPECT_TRUE(r.bottom <= save.top || r.top >= save.bottom || r.right <= save.left || r.left >= save.right)
          << id << " lies on the save button";
      EXPECT_TRUE(plat::IsControlVisible(d, id)) << id;
    }
    const std::vector<int> z = headless::ZOrder(d);
    EXPECT_TRUE(z[0] == 1020 || z[1] == 1020) << "the field is not on top";
  });
}

TEST_F(OperationEditor, QuotesAndLongTextsKeepTheTenFields) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 1);
    // An odd number of quotes would merge the later fields on reading.
    headless::Type(d, 1004, "say \"hi");
    headless::Type(d, 1005, "\"quoted\" and \"\"two\"\"");
    const std::string line = jobstore::LineAt(1);
    EXPECT_EQ(Field(line, 1), "say \"hi");
    EXPECT_EQ(Field(line, 4), "文字を入力する");
    EXPECT_EQ(Field(line, 5), "\"quoted\" and \"\"two\"\"");
    EXPECT_EQ(Field(line, 10), "4");
    EXPECT_EQ(plat::ListGetCell(d, kList, 1, 1), "say \"hi");
    // Quotes that read back as typed are stored as typed.
    headless::Type(d, 1004, "a \"b\" c");
    EXPECT_EQ(Field(jobstore::LineAt(1), 1), "a \"b\" c");
    EXPECT_NE(jobstore::LineAt(1)[0], '"');

    // Name, input and stop seconds at their longest: the line stays within
    // 1,023 bytes and the fields show what was stored.
    headless::Type(d, 1004, std::string(255, 'n') + "名");
    headless::Type(d, 1005, std::string(600, 'i'));
    headless::Type(d, 1020, std::string(600, '9'));
    const std::string longLine = jobstore::LineAt(1);
    EXPECT_LE(longLine.size(), 1023u);
    EXPECT_EQ(Field(longLine, 4), "文字を入力する");
    EXPECT_EQ(Text(d, 1020), Field(longLine, 10));
    EXPECT_EQ(Text(d, 1004), Field(longLine, 1));
    EXPECT_EQ(Text(d, 1005), Field(longLine, 5));
    EXPECT_EQ(Field(longLine, 1), std::string(255, 'n') + "名") << "the name was cut although the stop seconds grew";
    EXPECT_GT(headless::Calls(d, 1020).caretToEndCount, 0) << "typing would go on before the cut text";
  });
  // The saved file reads back with the same fields.
}

// The name and input edits take 512 characters; a field keeps 511 bytes of
// them, and the edit then shows exactly that, with the caret at its end.
TEST_F(OperationEditor, TheNameAndInputEditsShowNoMoreThanWasStored) {
  Open(kMixedJob, [](plat::Window d) {
    headless::ClickListRow(d, kList, 1);  // text input
    std::string a, i;
    for (int n = 0; n < 600; ++n) a += "あ", i += "い";
    for (int id : {1004, 1005}) {
      headless::Type(d, 1004, "名");
      headless::Type(d, 1005, "x");
      headless::Type(d, id, id == 1004 ? a : i);
      const int field = id == 1004 ? 1 : 5;
      const std::string stored = Field(jobstore::LineAt(1), field);
      EXPECT_EQ(stored, (id == 1004 ? a : i).substr(0, 510)) << id;
      EXPECT_EQ(plat::GetControlText(d, id, 2048), stored) << id;
      EXPECT_GT(headless::Calls(d, id).caretToEndCount, 0) << id;
      if (id == 1004) {
        EXPECT_EQ(plat::ListGetCell(d, kList, 1, 1), stored);
      }
    }
  });
}

TEST_F(OperationEditor, SavedEditsReachTheScrambledFile) {
  Open("a,1,2,マウスでクリックする,,,,,,4\r\n", [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    headless::Type(d, 1004, "say \"hi");
    headless::Click(d, 1026);  // New
    headless::Type(d, 1020, "7");
    headless::Click(d, 1);
  });
  std::string scrambled = headless::FileBytes("C:\\Tools\\job\\KeyRecord.def.psw");
  for (char& c : scrambled) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
  EXPECT_EQ(scrambled,
            "\"say \"\"hi\",1,2,マウスでクリックする,,,,,,4\r\n"
            ",,,マウスでクリックする,,,,,,7\r\n");
}

// --- Row commands

const char kFiveRows[] =
    "r1,,,マウスでクリックする,,,,,,1\r\n"
    "r2,,,マウスでクリックする,,,,,,2\r\n"
    "r3,,,マウスでクリックする,,,,,,3\r\n"
    "r4,,,マウスでクリックする,,,,,,4\r\n"
    "r5,,,マウスでクリックする,,,,,,5\r\n";

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const std::string& line : Lines()) names.push_back(Field(line, 1));
  return names;
}

// The list mirrors the lines: numbers, fields, every row ticked.
void ExpectListMirrorsLines(plat::Window d) {
  ASSERT_EQ(plat::ListRowCount(d, kList), jobstore::LineCount());
  for (int i = 0; i < jobstore::LineCount(); ++i) {
    EXPECT_EQ(plat::ListGetCell(d, kList, i, 0), std::to_string(i + 1));
    EXPECT_EQ(plat::ListGetCell(d, kList, i, 1), Field(jobstore::LineAt(i), 1));
    EXPECT_TRUE(plat::ListIsChecked(d, kList, i)) << i;
  }
}

TEST_F(OperationEditor, NewAppendsAndLoadsTheBlankRow) {
  Open(kFiveRows, [](plat::Window d) {
    headless::ToggleListCheck(d, kList, 1);
    headless::ClickListRow(d, kList, 2);
    headless::Click(d, 1026);
    EXPECT_EQ(jobstore::LineCount(), 6);
    EXPECT_EQ(jobstore::LineAt(5), std::string(",,,マウスでクリックする,,,,,,4"));
    EXPECT_EQ(editor::CurrentRow, 5);
    EXPECT_EQ(plat::ListFirstSelected(d, kList), 5);
    EXPECT_EQ(Text(d, 1001), "6");
    EXPECT_EQ(Text(d, 1020), "4");
    EXPECT_EQ(headless::FocusedControl(d), 1020);
    EXPECT_GT(SelectAll(d, 1020), 0);
    EXPECT_FALSE(editor::UpdatingControls);  // nothing left to stop later edits
    EXPECT_TRUE(editor::JobModified);
    ExpectListMirrorsLines(d);
    // The loaded blank row is not rebuilt, and later edits reach it.
    headless::Type(d, 1004, "new");
    EXPECT_EQ(jobstore::LineAt(5), std::string("new,,,マウスでクリックする,,,,,,4"));
    EXPECT_EQ(jobstore::LineAt(2), std::string("r3,,,マウスでクリックする,,,,,,3\r\n"));
  });
}

TEST_F(OperationEditor, InsertPutsTheBlankRowBeforeTheEditedOne) {
  Open(kFiveRows, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);  // first
    headless::Click(d, 1023);
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(editor::CurrentRow, 0);
    EXPECT_EQ(plat::ListFirstSelected(d, kList), 0);
    EXPECT_EQ(Text(d, 1004), "");
    ExpectListMirrorsLines(d);

    headless::ClickListRow(d, kList, 3);  // middle
    headless::Click(d, 1023);
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "r1", "r2", "", "r3", "r4", "r5"}));
    EXPECT_EQ(editor::CurrentRow, 3);
    EXPECT_EQ(headless::Calls(d, kList).ensureVisibleRows.back(), 6);

    headless::ClickListRow(d, kList, 6);  // last
    headless::Click(d, 1023);
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "r1", "r2", "", "r3", "r4", "", "r5"}));
    EXPECT_EQ(editor::CurrentRow, 6);
    EXPECT_EQ(headless::Calls(d, kList).ensureVisibleRows.back(), 7);
    ExpectListMirrorsLines(d);
    EXPECT_TRUE(headless::MessageBoxes().empty());
  });
}

TEST_F(OperationEditor, DeleteMovesToTheRowAboveAndEmptiesTheList) {
  Open(kFiveRows, [](plat::Window d) {
    headless::ClickListRow(d, kList, 2);  // middle
    headless::Click(d, 1025);
    EXPECT_EQ(Names(), (std::vector<std::string>{"r1", "r2", "r4", "r5"}));
    EXPECT_EQ(editor::CurrentRow, 1);
    EXPECT_EQ(Text(d, 1004), "r2");

    headless::ClickListRow(d, kList, 0);  // first: the new first row is edited
    headless::Click(d, 1025);
    EXPECT_EQ(Names(), (std::vector<std::string>{"r2", "r4", "r5"}));
    EXPECT_EQ(editor::CurrentRow, 0);
    EXPECT_EQ(Text(d, 1004), "r2");

    headless::ClickListRow(d, kList, 2);  // last
    headless::Click(d, 1025);
    EXPECT_EQ(Names(), (std::vector<std::string>{"r2", "r4"}));
    EXPECT_EQ(editor::CurrentRow, 1);
    ExpectListMirrorsLines(d);

    headless::Click(d, 1025);
    headless::Click(d, 1025);  // the only row
    EXPECT_EQ(jobstore::LineCount(), 0);
    EXPECT_EQ(plat::ListRowCount(d, kList), 0);
    EXPECT_EQ(editor::CurrentRow, -1);
    for (int id : {1004, 1002, 1003, 1080, 1081, 1005, 1020}) EXPECT_FALSE(plat::IsControlEnabled(d, id)) << id;
    EXPECT_TRUE(headless::MessageBoxes().empty());

    // On the empty list Delete and Insert ask for a row and change nothing.
    const int stops = StopCount(d);
    headless::Click(d, 1025);
    headless::Click(d, 1023);
    ASSERT_EQ(headless::MessageBoxes().size(), 2u);
    EXPECT_EQ(headless::MessageBoxes()[0].text,
              "削除する行が選択されていません。\n\n削除する行をクリックして選択してください。");
    EXPECT_EQ(headless::MessageBoxes()[1].text,
              "指定行の前に挿入することができません。\n\n指定行をクリックして選択してください。");
    EXPECT_EQ(headless::MessageBoxes()[1].caption, "データ検査");
    EXPECT_EQ(jobstore::LineCount(), 0);
    EXPECT_EQ(StopCount(d), stops);

    // New still works and edits again.
    headless::Click(d, 1026);
    EXPECT_EQ(editor::CurrentRow, 0);
    EXPECT_TRUE(plat::IsControlEnabled(d, 1004));
  });
}

TEST_F(OperationEditor, InsertAndDeleteWithoutASelectionAsk) {
  Open(kFiveRows, [](plat::Window d) {
    headless::Click(d, 1023);
    headless::Click(d, 1025);
    EXPECT_EQ(headless::MessageBoxes().size(), 2u);
    EXPECT_EQ(jobstore::LineCount(), 5);
    EXPECT_FALSE(editor::JobModified);
    EXPECT_FALSE(editor::UpdatingControls);  // nothing left to stop later edits
  });
}

TEST_F(OperationEditor, CheckAllTwiceTicksEveryRowAgain) {
  Open(kFiveRows, [](plat::Window d) {
    headless::ClickListRow(d, kList, 1);
    headless::Click(d, 1044);
    EXPECT_EQ(Text(d, 1044), "すべてのチェックをONにします");
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(plat::ListIsChecked(d, kList, i));
    EXPECT_FALSE(headless::Calls(d, kList).redrawOff) << "the list is left unpainted";
    headless::Click(d, 1044);
    EXPECT_EQ(Text(d, 1044), "すべてのチェックをOFFにします");
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(plat::ListIsChecked(d, kList, i));
    EXPECT_FALSE(editor::JobModified);
    EXPECT_EQ(editor::CurrentRow, 1);
    // After New every row is ticked, whatever the box shows.
    headless::Click(d, 1044);
    headless::Click(d, 1026);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(plat::ListIsChecked(d, kList, i));
    EXPECT_FALSE(headless::Calls(d, kList).redrawOff) << "the list is left unpainted";
  });
}

// --- Colours

TEST_F(OperationEditor, CellsAreColouredByRowRepeatMarkAndAction) {
  Open(
      "a,,,マウスでクリックする,,,,,,4\r\n"
      "b,,,文字を入力する,t,,,,,4\r\n"
      "c,,,謎の動作,,,,,,4\r\n"
      "d,,,アプリケーションを実行する,x,,,,,8\r\n",
      [](plat::Window d) {
        auto back = [&](int row, int column) { return headless::PaintListCell(d, kList, row, column).back; };
        auto text = [&](int row, int column) { return headless::PaintListCell(d, kList, row, column).text; };
        EXPECT_TRUE(headless::PaintListCell(d, kList, 0, 0).subItemStageReached);
        EXPECT_EQ(back(0, 1), plat::Rgb(232, 243, 253));
        EXPECT_EQ(back(1, 1), plat::Rgb(255, 255, 255));
        EXPECT_EQ(back(0, 4), plat::Rgb(255, 255, 120));
        EXPECT_EQ(back(1, 4), plat::Rgb(100, 100, 100));
        EXPECT_EQ(text(1, 4), plat::Rgb(255, 255, 255));
        EXPECT_EQ(back(2, 4), plat::Rgb(232, 243, 253));  // no such action: the row's colours
        EXPECT_EQ(text(2, 4), plat::Rgb(0, 0, 0));

        headless::ClickListRow(d, kList, 2);
        for (int c = 0; c < 12; ++c) {
          if (c == 4) continue;
          EXPECT_EQ(back(2, c), plat::Rgb(100, 200, 255)) << c;
        }
        // A repeat mark wins over the current row, the action cell keeps its colours.
        plat::ListSetCell(d, kList, 2, 11, "■");
        plat::ListSetCell(d, kList, 3, 11, "■");
        EXPECT_EQ(back(2, 0), plat::Rgb(255, 200, 200));
        EXPECT_EQ(back(3, 0), plat::Rgb(255, 200, 200));
        EXPECT_EQ(back(3, 4), plat::Rgb(200, 0, 0));
      });
}

TEST_F(OperationEditor, FormerCurrentRowsAreRepaintedASecondAfterTheLastChange) {
  Open(kFiveRows, [](plat::Window d) {
    headless::ClickListRow(d, kList, 0);
    EXPECT_FALSE(headless::TimerRunning(d, 666));  // nothing was current before
    headless::ClickListRow(d, kList, 3);
    headless::AdvanceTime(600);
    headless::ClickListRow(d, kList, 1);
    const int row0 = headless::Calls(d, kList).rowRedraws[0];
    const int row3 = headless::Calls(d, kList).rowRedraws[3];
    headless::AdvanceTime(600);  // the second selection restarted the timer
    EXPECT_EQ(headless::Calls(d, kList).rowRedraws[0], row0);
    headless::AdvanceTime(400);
    EXPECT_EQ(headless::Calls(d, kList).rowRedraws[0], row0 + 1);
    EXPECT_EQ(headless::Calls(d, kList).rowRedraws[3], row3 + 1);
    EXPECT_FALSE(headless::TimerRunning(d, 666));
    for (int slot : editor::RedrawQueue) EXPECT_EQ(slot, -1);

    // A full queue takes no more rows; the timer repaints the 99 it holds.
    for (int i = 0; i < 120; ++i) headless::ClickListRow(d, kList, i % 2 == 0 ? 4 : 2);
    for (int slot : editor::RedrawQueue) EXPECT_GE(slot, 0);
    const int row2 = headless::Calls(d, kList).rowRedraws[2];
    headless::AdvanceTime(1000);
    const int repainted = headless::Calls(d, kList).rowRedraws[2] - row2;
    EXPECT_EQ(repainted, 49);  // row 1, then 4 and 2 in turn
  });
}

}  // namespace
