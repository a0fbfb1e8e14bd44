// The repeat rules in the main window: loading KeyRepeat.def into the check
// boxes and fields, ticking and typing, the repeat marks, saving with
// "保存して終了" (also when the file cannot be written) and renumbering.
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "companions/repeat.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

constexpr char kRepeatFile[] = "C:\\Tools\\job\\KeyRepeat.def";
constexpr char kRecordFile[] = "C:\\Tools\\job\\KeyRecord.def";
constexpr char kInvalidMessage[] =
    "繰返し処理の設定値に不備があります。\n\n・チェック済で未入力項目がある\n・FROM値がTO値より大きい\n"
    "・FROM値とTO値の範囲が重複している\n・設定値にゼロがある\n\n修正してください。";

// Check box and from, to, count fields of rules 1 to 3.
constexpr int kCheck[] = {1045, 1046, 1047};
constexpr int kFields[3][3] = {{1006, 1007, 1008}, {1009, 1010, 1011}, {1012, 1013, 1014}};

std::string Lines(int count) {
  std::string out;
  for (int i = 1; i <= count; ++i) out += "op" + std::to_string(i) + ",,,マウスでクリックする,,,,,,4\r\n";
  return out;
}

// Rule k (1-based) as the dialog shows it: "on 2-5 x3", "off", with the
// fields' read-only state checked against the tick.
std::string Rule(plat::Window d, int k) {
  const int* f = kFields[k - 1];
  bool on = plat::GetButtonCheck(d, kCheck[k - 1]) == 1;
  std::string out = on ? "on " : "off ";
  out += plat::GetControlText(d, f[0]) + "-" + plat::GetControlText(d, f[1]) + " x" +
         plat::GetControlText(d, f[2]);
  for (int i = 0; i < 3; ++i) {
    if (plat::IsEditReadOnly(d, f[i]) == on) out += " (read-only state wrong)";
  }
  return out;
}

// Column 11 of every row: "■" or "." per row.
std::string Marks(plat::Window d) {
  std::string out;
  for (int r = 0; r < plat::ListRowCount(d, 1000); ++r) {
    out += plat::ListGetCell(d, 1000, r, 11) == "■" ? "■" : ".";
  }
  return out;
}

class RepeatRules : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  void Run(const std::function<void(plat::Window)>& driver) {
    headless::OnDialog(res::kMainDialog, driver);
    app::RunTavolex({"job"});
  }
  // Ticks rule k and types its three fields.
  static void SetRule(plat::Window d, int k, const char* from, const char* to, const char* count) {
    if (plat::GetButtonCheck(d, kCheck[k - 1]) != 1) headless::Click(d, kCheck[k - 1]);
    headless::Type(d, kFields[k - 1][0], from);
    headless::Type(d, kFields[k - 1][1], to);
    headless::Type(d, kFields[k - 1][2], count);
  }
};

TEST_F(RepeatRules, TheFileIsLoadedIntoTheControls) {
  headless::PutFile(kRecordFile, Lines(10));
  headless::PutFile(kRepeatFile, "2,5,3\r\n\r\n8,,10\r\n");
  Run([](plat::Window d) {
    EXPECT_EQ(Rule(d, 1), "on 2-5 x3");
    EXPECT_EQ(Rule(d, 2), "off - x");
    EXPECT_EQ(Rule(d, 3), "on 8- x10");  // loaded as it is, refused at the next save
    EXPECT_EQ(Marks(d), "." "■■■■" ".....");
    EXPECT_FALSE(editor::JobModified);
    headless::CloseBox(d);
  });
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

// A damaged file must neither end the program nor let one line's values
// take another rule's place; what cannot be read starts off and empty.
TEST_F(RepeatRules, ADamagedFileLoadsWhatCanBeRead) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* rules[3];
  } cases[] = {
      {"missing file", "", {"off - x", "off - x", "off - x"}},
      {"one line only", "2,3,4\r\n", {"on 2-3 x4", "off - x", "off - x"}},
      {"NUL first", std::string("\0,3,4\r\n5,6,7\r\n\r\n", 16), {"off - x", "on 5-6 x7", "off - x"}},
      {"over-long line", "1,2,3" + std::string(2000, ' ') + "\r\n5,6,7\r\n8,9,1\r\n",
       {"off - x", "on 5-6 x7", "on 8-9 x1"}},
      {"over-long field", "123456789012,1,1\r\n5,6,7\r\n\r\n", {"off - x", "on 5-6 x7", "off - x"}},
      {"LF line ends", "1,2,3\n\n4,4,4\n", {"on 1-2 x3", "on - x", "on 4-4 x4"}},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::PutFile(kRecordFile, Lines(3));
    if (std::string(c.what) != "missing file") headless::PutFile(kRepeatFile, c.bytes);
    Run([&](plat::Window d) {
      for (int k = 1; k <= 3; ++k) EXPECT_EQ(Rule(d, k), c.rules[k - 1]) << c.what << " rule " << k;
      headless::CloseBox(d);
    });
    EXPECT_TRUE(headless::MessageBoxes().empty()) << c.what;
    EXPECT_EQ(headless::DialogsLeftOpen(), 0) << c.what;
  }
}

TEST_F(RepeatRules, TickingTypingAndUntickingMoveTheMarks) {
  headless::PutFile(kRecordFile, Lines(6));
  Run([](plat::Window d) {
    EXPECT_EQ(Rule(d, 1), "off - x");
    headless::Click(d, 1045);
    EXPECT_TRUE(editor::JobModified);
    EXPECT_EQ(headless::Animation(d, 106).playing, false);
    headless::Type(d, 1006, "2");
    EXPECT_EQ(Marks(d), "......");  // no last row yet
    headless::Type(d, 1007, "4");
    EXPECT_EQ(Marks(d), "." "■■■" "..");
    headless::Type(d, 1008, "3");
    EXPECT_EQ(Rule(d, 1), "on 2-4 x3");
    SetRule(d, 3, "6", "99", "1");
    EXPECT_EQ(Marks(d), "." "■■■" "." "■");
    headless::Type(d, 1007, "1");  // last before first: no marks for rule 1
    EXPECT_EQ(Marks(d), "....." "■");

    headless::Click(d, 1047);  // untick: its fields empty and read-only again
    EXPECT_EQ(Rule(d, 3), "off - x");
    EXPECT_EQ(Marks(d), "......");
    headless::Type(d, 1012, "2");  // read-only: typing does nothing
    EXPECT_EQ(plat::GetControlText(d, 1012), "");
    headless::CloseBox(d);
  });
  // The tick changed the job, so Cancel asked before closing.
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "タヴォレクス");
}

TEST_F(RepeatRules, SaveAndExitWritesTheRulesAsEntered) {
  headless::PutFile(kRecordFile, Lines(10));
  Run([](plat::Window d) {
    SetRule(d, 1, "007", "9", "03");
    SetRule(d, 3, "1", "3", "2");
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(kRepeatFile), "007,9,03\r\n\r\n1,3,2\r\n");
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRepeat.tmp"));

  // Unchanged job: the dialog ends with Cancel, the rules are written anyway.
  SetUp();
  headless::PutFile(kRecordFile, Lines(3));
  headless::PutFile(kRepeatFile, "2,3,4\r\n");
  Run([](plat::Window d) { headless::Click(d, 1); });
  EXPECT_EQ(headless::FileBytes(kRepeatFile), "2,3,4\r\n\r\n\r\n");
  EXPECT_EQ(headless::FileBytes(kRecordFile), Lines(3));
}

TEST_F(RepeatRules, InvalidRulesKeepTheEditorOpenAndTheFileAsItWas) {
  const std::string stored = "1,2,3\r\n\r\n\r\n";
  struct Case {
    const char* what;
    std::function<void(plat::Window)> enter;
  } cases[] = {
      {"overlap", [](plat::Window d) { SetRule(d, 1, "1", "3", "2"); SetRule(d, 2, "3", "6", "2"); }},
      {"nested", [](plat::Window d) { SetRule(d, 1, "1", "9", "2"); SetRule(d, 3, "4", "5", "2"); }},
      {"equal from", [](plat::Window d) { SetRule(d, 2, "4", "4", "2"); SetRule(d, 3, "4", "5", "2"); }},
      {"from above to", [](plat::Window d) { SetRule(d, 1, "5", "4", "2"); }},
      {"zero", [](plat::Window d) { SetRule(d, 1, "1", "2", "0"); }},
      {"empty", [](plat::Window d) { SetRule(d, 1, "1", "2", ""); }},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::PutFile(kRecordFile, Lines(10));
    headless::PutFile(kRepeatFile, stored);
    Run([&](plat::Window d) {
      c.enter(d);
      const std::string entered = Rule(d, 1) + Rule(d, 2) + Rule(d, 3);
      headless::Click(d, 1);
      EXPECT_TRUE(headless::OpenDialog(res::kMainDialog) != 0) << c.what;
      EXPECT_EQ(Rule(d, 1) + Rule(d, 2) + Rule(d, 3), entered) << c.what;  // kept for correction
      headless::QueueMessageBoxAnswer(plat::kIdYes);
      headless::CloseBox(d);
    });
    auto boxes = headless::MessageBoxes();
    ASSERT_GE(boxes.size(), 1u) << c.what;
    EXPECT_EQ(boxes[0].text, kInvalidMessage) << c.what;
    EXPECT_EQ(boxes[0].caption, "データ検査") << c.what;
    EXPECT_EQ(boxes[0].type, plat::kMbOk) << c.what;
    EXPECT_NE(boxes[0].owner, 0u) << c.what;
    EXPECT_EQ(headless::FileBytes(kRepeatFile), stored) << c.what;
    EXPECT_FALSE(headless::HasFile(kRecordFile + std::string(".psw"))) << c.what;
  }
}

// A file that cannot be written is told as such, with its path; the old
// rules stay on disk and the editor stays open.
TEST_F(RepeatRules, AFileThatCannotBeWrittenIsReportedAndKeepsTheOldRules) {
  const std::string stored = "1,2,3\r\n\r\n\r\n";
  struct Fault {
    const char* what;
    void (*inject)();
  } faults[] = {
      {"cannot create", [] { headless::FailCreate("C:\\Tools\\job\\KeyRepeat.tmp"); }},
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyRepeat.tmp", 4); }},
      {"disk full", [] { headless::SetDiskFree(3); }},
      {"cannot replace", [] { headless::FailReplace(kRepeatFile); }},
  };
  for (const Fault& f : faults) {
    SetUp();
    headless::PutFile(kRecordFile, Lines(5));
    headless::PutFile(kRepeatFile, stored);
    f.inject();
    bool stayedOpen = false;
    Run([&](plat::Window d) {
      SetRule(d, 2, "4", "5", "6");
      headless::Click(d, 1);
      stayedOpen = headless::OpenDialog(res::kMainDialog) != 0;
      headless::QueueMessageBoxAnswer(plat::kIdYes);
      headless::CloseBox(d);
    });
    EXPECT_TRUE(stayedOpen) << f.what;
    EXPECT_EQ(headless::FileBytes(kRepeatFile), stored) << f.what;
    EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRepeat.tmp")) << f.what;
    auto boxes = headless::MessageBoxes();
    ASSERT_GE(boxes.size(), 1u) << f.what;
    EXPECT_EQ(boxes[0].text,
              "繰返し処理の設定を保存できませんでした。\n\nC:\\Tools\\job\\KeyRepeat.def\n\n"
              "保存先のフォルダーとディスクの空き容量を確認してください。")
        << f.what;
    EXPECT_EQ(boxes[0].caption, "タヴォレクス") << f.what;
    EXPECT_EQ(headless::OpenFileCount(), 0) << f.what;
  }
}

// ------------------------------------------------------------- renumbering
//
// Each case ticks rules, then changes the rows with the real row commands and
// compares the rules and the marks: the row is clicked, then Insert (the new
// row takes number `row`) or Delete (row `row` goes) is pressed.

struct RowChange {
  const char* what;
  bool insert;  // else delete
  int row;      // 1-based: the inserted row's number, or the deleted row's
};

void ChangeRows(plat::Window d, const RowChange& c) {
  headless::ClickListRow(d, 1000, c.row - 1);
  headless::Click(d, c.insert ? 1023 : 1025);
}

TEST_F(RepeatRules, RowChangesRenumberTheRulesAndTheirMarks) {
  struct Case {
    RowChange change;
    std::vector<std::vector<const char*>> ticked;  // from, to per rule; empty: rule off
    const char* rules[3];
    const char* marks;
  } cases[] = {
      {{"delete a one-row rule's row", false, 5}, {{"5", "5"}, {}, {}}, {"off - x", "off - x", "off - x"}, "........."},
      {{"delete inside", false, 5}, {{"3", "6"}, {}, {}}, {"on 3-5 x2", "off - x", "off - x"}, "..■■■...."},
      {{"delete before", false, 5}, {{"7", "9"}, {}, {}}, {"on 6-8 x2", "off - x", "off - x"}, ".....■■■."},
      {{"delete after", false, 5}, {{"1", "4"}, {}, {}}, {"on 1-4 x2", "off - x", "off - x"}, "■■■■....."},
      {{"delete row 3 of three rules", false, 3},
       {{"3", "3"}, {"4", "5"}, {"6", "8"}},
       {"off - x", "on 3-4 x2", "on 5-7 x2"},
       "..■■■■■.."},
      {{"insert at first row", true, 5}, {{"5", "7"}, {}, {}}, {"on 6-8 x2", "off - x", "off - x"}, ".....■■■.." "."},
      {{"insert inside", true, 5}, {{"3", "6"}, {}, {}}, {"on 3-7 x2", "off - x", "off - x"}, "..■■■■■..." "."},
      {{"insert after", true, 5}, {{"1", "4"}, {}, {}}, {"on 1-4 x2", "off - x", "off - x"}, "■■■■......" "."},
      {{"insert first row", true, 1}, {{"1", "3"}, {}, {}}, {"on 2-4 x2", "off - x", "off - x"}, ".■■■......" "."},
      {{"reversed rule stops renumbering", true, 1},
       {{"2", "3"}, {"9", "8"}, {}},
       {"on 2-3 x2", "on 9-8 x2", "off - x"},
       ".■■......." "."},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::PutFile(kRecordFile, Lines(10));
    Run([&](plat::Window d) {
      for (int k = 1; k <= 3; ++k) {
        const auto& t = c.ticked[static_cast<std::size_t>(k - 1)];
        if (!t.empty()) SetRule(d, k, t[0], t[1], "2");
      }
      ChangeRows(d, c.change);
      for (int k = 1; k <= 3; ++k) EXPECT_EQ(Rule(d, k), c.rules[k - 1]) << c.change.what << " rule " << k;
      EXPECT_EQ(Marks(d), c.marks) << c.change.what;
      headless::QueueMessageBoxAnswer(plat::kIdYes);
      headless::CloseBox(d);
    });
  }
}

// Leading zeros are not kept by renumbering: the values are written back.
TEST_F(RepeatRules, RenumberedValuesAreWrittenAsPlainNumbers) {
  headless::PutFile(kRecordFile, Lines(10));
  Run([](plat::Window d) {
    SetRule(d, 1, "007", "009", "05");
    ChangeRows(d, {"delete", false, 1});
    EXPECT_EQ(Rule(d, 1), "on 6-8 x05");
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(kRepeatFile), "6,8,05\r\n\r\n\r\n");
}

// A job whose last row was deleted saves its rules switched off.
TEST_F(RepeatRules, AJobWithoutRowsSavesEveryRuleOff) {
  headless::PutFile(kRecordFile, Lines(1));
  Run([](plat::Window d) {
    SetRule(d, 1, "1", "1", "2");
    ChangeRows(d, {"delete the only row", false, 1});
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(kRepeatFile), "\r\n\r\n\r\n");
}

}  // namespace
