// Job names, the removal of a job's folder and the dialogs' colour rules.
#include <string>
#include <vector>

#include "editor/colors.h"
#include "editor/records.h"
#include "jobstore/job_names.h"
#include "jobstore/jobs.h"
#include "jobstore/paths.h"
#include "tests/support/fresh_state.h"

namespace {

using jobstore::CheckNewJobName;
using jobstore::CleanJobName;
using jobstore::JobNameProblem;

class JobNames : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
};

TEST_F(JobNames, CleaningRemovesTheNineCharactersWhereTheyBeginACharacter) {
  EXPECT_EQ(CleanJobName("受注/出荷:2024"), "受注出荷2024");
  EXPECT_EQ(CleanJobName("a\\b/c:d*e?f\"g<h>i|j"), "abcdefghij");
  EXPECT_EQ(CleanJobName("::a::"), "a");  // a removed byte's place is looked at again
  // 表 and ポ end in 0x5C and 0x7C: they stay whole.
  EXPECT_EQ(CleanJobName("表計算"), "表計算");
  EXPECT_EQ(CleanJobName("ポ|ポ"), "ポポ");
  EXPECT_EQ(CleanJobName("\\/:*?\"<>|"), "");
  EXPECT_EQ(CleanJobName("   "), "   ");
}

TEST_F(JobNames, ANewNameFollowsTheCommandLineRuleAndGivesTheReason) {
  struct Case {
    std::string name;
    JobNameProblem problem;
  };
  const std::vector<Case> cases = {
      {"受注出荷2024", JobNameProblem::None},
      {"表", JobNameProblem::None},
      {"a b", JobNameProblem::None},
      {"", JobNameProblem::Empty},
      {"   ", JobNameProblem::BadEnding},
      {".", JobNameProblem::DotName},
      {"..", JobNameProblem::DotName},
      {"job.", JobNameProblem::BadEnding},
      {"job ", JobNameProblem::BadEnding},
      {"CON", JobNameProblem::DeviceName},
      {"nul.txt", JobNameProblem::DeviceName},
      {"Com1", JobNameProblem::DeviceName},
      {"LPT9 ", JobNameProblem::BadEnding},
      {"COM10", JobNameProblem::None},
      {"a\tb", JobNameProblem::BadCharacter},
      {std::string(240, 'x'), JobNameProblem::TooLong},
      {jobstore::DraftJobName, JobNameProblem::DraftName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("name \"" + c.name + "\"");
    EXPECT_EQ(CheckNewJobName(c.name.c_str()), c.problem);
    // The verdict is the command line's, except for the draft's own name.
    if (c.problem != JobNameProblem::DraftName) {
      EXPECT_EQ(c.problem == JobNameProblem::None, jobstore::IsUsableJobName(c.name.c_str()));
    }
    EXPECT_EQ(jobstore::JobNameProblemText(c.problem).empty(), c.problem == JobNameProblem::None);
  }
  // The longest name that fits: C:\Tools\ + name + \KeyInspec.def.psw in 259 bytes.
  std::string longest(259 - 9 - 18, 'x');
  EXPECT_EQ(CheckNewJobName(longest.c_str()), JobNameProblem::None);
  EXPECT_EQ(CheckNewJobName((longest + "x").c_str()), JobNameProblem::TooLong);
}

// ---------------------------------------------------------------- removing a job's folder

TEST_F(JobNames, DeletingAJobRemovesItsWholeTree) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", "a\r\n");
  headless::PutFile("C:\\Tools\\job\\sub\\deeper\\x.txt", "x");
  headless::MakeFolder("C:\\Tools\\job\\empty");
  EXPECT_TRUE(jobstore::DeleteFolderTree("C:\\Tools\\job"));
  EXPECT_FALSE(headless::HasFolder("C:\\Tools\\job"));
  EXPECT_TRUE(headless::HasFile("C:\\Tools\\Tavolex.exe"));
}

TEST_F(JobNames, LinksInsideAJobAreRemovedButNeverEntered) {
  headless::PutFile("C:\\Data\\keep.txt", "precious");
  headless::PutFile("C:\\Data\\inner\\also.txt", "precious");
  headless::PutFile("C:\\Other\\file.txt", "precious");
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", "a\r\n");
  headless::MakeLink("C:\\Tools\\job\\junction", "C:\\Data");
  headless::MakeLink("C:\\Tools\\job\\sub\\link.txt", "C:\\Other\\file.txt");
  ASSERT_TRUE(plat::IsReparsePoint("C:\\Tools\\job\\junction"));
  ASSERT_TRUE(headless::HasFile("C:\\Tools\\job\\junction\\keep.txt"));  // the link leads there

  EXPECT_TRUE(jobstore::DeleteFolderTree("C:\\Tools\\job"));
  EXPECT_FALSE(headless::HasFolder("C:\\Tools\\job"));
  EXPECT_EQ(headless::FileBytes("C:\\Data\\keep.txt"), "precious");
  EXPECT_EQ(headless::FileBytes("C:\\Data\\inner\\also.txt"), "precious");
  EXPECT_EQ(headless::FileBytes("C:\\Other\\file.txt"), "precious");
}

TEST_F(JobNames, AJobFolderThatIsItselfALinkLosesOnlyTheLink) {
  headless::PutFile("C:\\Data\\KeyRecord.def", "a\r\n");
  headless::MakeLink("C:\\Tools\\linked", "C:\\Data");
  EXPECT_TRUE(jobstore::DeleteFolderTree("C:\\Tools\\linked"));
  EXPECT_FALSE(headless::HasFolder("C:\\Tools\\linked"));
  EXPECT_TRUE(headless::HasFile("C:\\Data\\KeyRecord.def"));
}

TEST_F(JobNames, OnlyADirectSubfolderOfTheProgramFolderIsDeleted) {
  headless::PutFile("C:\\Tools\\job\\sub\\x.txt", "x");
  headless::PutFile("C:\\Elsewhere\\y.txt", "y");
  for (const char* folder : {"C:\\Tools\\..", "C:\\Tools\\.", "C:\\Tools\\job\\sub", "C:\\Tools\\job\\..",
                             "C:\\Elsewhere", "C:\\Tools\\", "C:\\Tools", "", "C:\\Tools\\job/sub"}) {
    SCOPED_TRACE(folder);
    EXPECT_FALSE(jobstore::DeleteFolderTree(folder));
  }
  EXPECT_TRUE(headless::HasFile("C:\\Tools\\job\\sub\\x.txt"));
  EXPECT_TRUE(headless::HasFile("C:\\Elsewhere\\y.txt"));
  EXPECT_TRUE(headless::HasFile("C:\\Tools\\Tavolex.exe"));
}

TEST_F(JobNames, AFileThatCannotBeDeletedLeavesTheRestGone) {
  headless::PutFile("C:\\Tools\\job\\stuck.txt", "x");
  headless::PutFile("C:\\Tools\\job\\sub\\free.txt", "x");
  headless::FailDelete("C:\\Tools\\job\\stuck.txt");
  EXPECT_FALSE(jobstore::DeleteFolderTree("C:\\Tools\\job"));
  EXPECT_EQ(headless::FolderNames("C:\\Tools\\job"), std::vector<std::string>{"stuck.txt"});
}

// ---------------------------------------------------------------- colours

using plat::CtlColorKind;
using plat::Rgb;

struct ColorCase {
  CtlColorKind kind;
  int id;
  const char* action;
  bool handled;
  plat::Color text, brush;
};

TEST(DialogColors, MainDialogRules) {
  const plat::Color white = Rgb(255, 255, 255), black = 0, grey = Rgb(220, 220, 220), red = Rgb(255, 0, 0);
  const plat::Color caption = Rgb(0, 10, 60), green = Rgb(0, 255, 0);
  const ColorCase cases[] = {
      {CtlColorKind::Edit, 1020, "", true, red, white},  // stop seconds, writable
      {CtlColorKind::Edit, 1004, "", true, black, white},
      {CtlColorKind::Edit, 1006, "", true, black, white},
      {CtlColorKind::Dialog, 0, "", true, black, white},
      {CtlColorKind::ListBox, 1082, "テキストを複写する", true, black, Rgb(200, 255, 200)},
      {CtlColorKind::ListBox, 1081, "テキストを複写する", true, black, Rgb(200, 255, 200)},
      {CtlColorKind::ListBox, 1080, "", true, black, white},
      {CtlColorKind::ListBox, 1080, "マウスで右クリックする", true, black, Rgb(255, 255, 220)},
      {CtlColorKind::ListBox, 1080, "文字を入力する", true, black, grey},
      {CtlColorKind::ListBox, 1080, "指定秒間は停止する", true, black, Rgb(250, 250, 250)},
      {CtlColorKind::ListBox, 1080, "ショートカットを入力する", true, black, Rgb(200, 230, 255)},
      {CtlColorKind::ListBox, 1080, "アプリケーションの表示設定", true, black, Rgb(255, 220, 220)},
      {CtlColorKind::ListBox, 1080, "マウスでクリック", true, black, white},  // not a whole name
      {CtlColorKind::Static, 1030, "", true, white, black},
      {CtlColorKind::Static, 1031, "", true, green, black},
      {CtlColorKind::Static, 1033, "", true, green, black},
      {CtlColorKind::Static, 1034, "", true, green, black},
      {CtlColorKind::Static, 1035, "", true, caption, grey},
      {CtlColorKind::Static, 1038, "", true, caption, grey},
      {CtlColorKind::Static, 1032, "", true, caption, grey},
      {CtlColorKind::Static, 1040, "", true, caption, grey},
      {CtlColorKind::Static, 1043, "", true, caption, grey},
      {CtlColorKind::Static, 1061, "", true, caption, grey},
      {CtlColorKind::Static, 1048, "", true, black, white},
      {CtlColorKind::Static, 1059, "", true, black, white},
      {CtlColorKind::Static, 1001, "", true, red, grey},
      {CtlColorKind::Static, 1003, "", true, red, grey},
      {CtlColorKind::Static, 1044, "", true, Rgb(0, 90, 20), white},
      {CtlColorKind::Static, 1020, "", true, black, grey},  // stop seconds, disabled
      {CtlColorKind::Static, 1045, "", true, black, grey},
      {CtlColorKind::Static, 1039, "", true, black, grey},
      {CtlColorKind::Static, -1, "", true, black, grey},
      {CtlColorKind::Button, 1027, "", false, 0, 0},
      {CtlColorKind::ScrollBar, 1000, "", false, 0, 0},
      {CtlColorKind::MessageBox, 0, "", false, 0, 0},
  };
  for (const ColorCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(static_cast<int>(c.kind)) + ", id " + std::to_string(c.id));
    plat::CtlColorAnswer a = editor::MainDialogColor(c.kind, c.id, c.action);
    EXPECT_EQ(a.handled, c.handled);
    if (!c.handled) continue;
    EXPECT_EQ(a.textColor, c.text);
    EXPECT_EQ(a.brushColor, c.brush);
  }
}

TEST(DialogColors, JobNameDialogRules) {
  const ColorCase cases[] = {
      {CtlColorKind::Edit, 1019, "", true, 0, Rgb(255, 255, 255)},
      {CtlColorKind::Dialog, 0, "", true, 0, Rgb(255, 255, 255)},
      {CtlColorKind::Static, 1039, "", true, Rgb(255, 0, 0), Rgb(220, 220, 220)},
      {CtlColorKind::Button, 1, "", false, 0, 0},
      {CtlColorKind::ListBox, 0, "", false, 0, 0},
  };
  for (const ColorCase& c : cases) {
    plat::CtlColorAnswer a = editor::JobNameDialogColor(c.kind);
    EXPECT_EQ(a.handled, c.handled);
    if (c.handled) {
      EXPECT_EQ(a.textColor, c.text);
      EXPECT_EQ(a.brushColor, c.brush);
    }
  }
}

// Every answer's brush is one of the brushes made at start: painting never makes one.
TEST(DialogColors, EveryAnswerUsesAPreparedBrush) {
  const std::vector<plat::Color> brushes = editor::DialogBrushColors();
  auto prepared = [&](plat::Color c) {
    for (plat::Color b : brushes) {
      if (b == c) return true;
    }
    return false;
  };
  std::vector<std::string> texts(editor::kActionNames, editor::kActionNames + editor::kActionKindCount);
  texts.push_back("");
  for (int k = 0; k <= static_cast<int>(CtlColorKind::MessageBox); ++k) {
    auto kind = static_cast<CtlColorKind>(k);
    EXPECT_TRUE(!editor::JobNameDialogColor(kind).handled || prepared(editor::JobNameDialogColor(kind).brushColor));
    for (int id = -1; id <= 1100; ++id) {
      for (const std::string& text : texts) {
        plat::CtlColorAnswer a = editor::MainDialogColor(kind, id, text.c_str());
        if (a.handled && !prepared(a.brushColor)) {
          ADD_FAILURE() << "kind " << k << ", id " << id << ": brush " << a.brushColor;
          return;
        }
      }
    }
  }
  EXPECT_EQ(brushes.size(), 8u);  // white, black, grey and five more action colours, one each
}

}  // namespace
