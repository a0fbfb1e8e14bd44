// Job names and the removal of a job's folder.
#include <string>
#include <vector>

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

}  // namespace
