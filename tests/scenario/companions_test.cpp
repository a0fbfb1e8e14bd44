// How the editor starts and ends its companion programs.
#include <string>
#include <vector>

#include "app/app.h"
#include "companions/contract.h"
#include "jobstore/paths.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

class Companions : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  void InstallCompanions() {
    for (const char* name : {"Pickmark.exe", "Runvane.exe", "Titlescan.exe"}) {
      headless::PutFile(std::string("C:\\Tools\\") + name, "MZ");
    }
  }
};

TEST_F(Companions, PathsAreBesideTheProgram) {
  headless::SetModulePath("C:\\プログラム\\表\\edit.exe");
  headless::MakeFolder("C:\\プログラム\\表");
  companions::BuildCompanionPaths();
  EXPECT_STREQ(companions::PickerToolPath, "C:\\プログラム\\表\\Pickmark.exe");
  EXPECT_STREQ(companions::RunnerToolPath, "C:\\プログラム\\表\\Runvane.exe");
  EXPECT_STREQ(companions::TitleToolPath, "C:\\プログラム\\表\\Titlescan.exe");

  // A program folder so deep that a tool's path would not fit: no path.
  jobstore::ResetPaths();
  std::string deep = "C:\\" + std::string(248, 'd');
  headless::MakeFolder(deep);
  headless::SetModulePath(deep + "\\e.exe");
  companions::BuildCompanionPaths();
  EXPECT_STREQ(companions::PickerToolPath, "");
  EXPECT_EQ(companions::StartPicker(), 0u);
}

TEST_F(Companions, ThePickerStartsWithTheDialogAndIsEndedAtExit) {
  InstallCompanions();
  std::uint32_t started = 0;
  headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
    started = companions::PickerProcessId;
    headless::CloseBox(d);
  });
  app::RunTavolex({"job"});
  ASSERT_NE(started, 0u);
  const headless::ProcessRecord* picker = headless::FindProcess(started);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->start.commandLine, "C:\\Tools\\Pickmark.exe");
  EXPECT_TRUE(picker->start.inheritHandles);
  EXPECT_EQ(picker->start.creationFlags, plat::kNormalPriorityClass);
  EXPECT_FALSE(picker->start.useShowWindow);
  EXPECT_FALSE(picker->running);
  EXPECT_TRUE(picker->terminated);
  EXPECT_EQ(picker->exitCode, 0u);
  EXPECT_EQ(headless::Clipboard(), "0,0");
}

TEST_F(Companions, WithoutThePickerNothingStarts) {
  headless::OnDialog(res::kMainDialog, [](plat::Window d) { headless::CloseBox(d); });
  app::RunTavolex({"job"});
  EXPECT_EQ(companions::PickerProcessId, 0u);
  EXPECT_TRUE(headless::Processes().empty());
}

// A picker that ended by itself may see its id given to another program;
// the exit must not end that program.
TEST_F(Companions, AnIdReusedByAnotherProgramIsNotTerminated) {
  InstallCompanions();
  std::uint32_t foreign = 0;
  headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
    std::uint32_t picker = companions::PickerProcessId;
    headless::EndProcess(picker);
    headless::SetNextProcessId(picker);
    foreign = headless::AddForeignProcess();
    EXPECT_EQ(foreign, picker);
    headless::CloseBox(d);
  });
  app::RunTavolex({"job"});
  bool foundForeign = false;
  for (const auto& p : headless::Processes()) {
    if (p.id == foreign && !p.startedByProgram) {
      foundForeign = true;
      EXPECT_TRUE(p.running);
      EXPECT_FALSE(p.terminated);
    }
  }
  EXPECT_TRUE(foundForeign);
}

TEST_F(Companions, TheRunnerStartsHiddenWithQuotedPaths) {
  InstallCompanions();
  companions::BuildCompanionPaths();
  std::uint32_t id = companions::StartRunner("C:\\Tools\\j 1\\KeyInspec.def", "C:\\Tools\\j 1\\KeyRepeat.def");
  const headless::ProcessRecord* runner = headless::FindProcess(id);
  ASSERT_NE(runner, nullptr);
  EXPECT_EQ(runner->start.commandLine,
            "\"C:\\Tools\\Runvane.exe\" \"C:\\Tools\\j 1\\KeyInspec.def\" \"C:\\Tools\\j 1\\KeyRepeat.def\"");
  EXPECT_TRUE(runner->start.inheritHandles);
  EXPECT_EQ(runner->start.creationFlags, plat::kCreateNoWindow);
  EXPECT_TRUE(runner->start.useShowWindow);
  EXPECT_EQ(runner->start.showWindow, plat::kSwHide);

  companions::TerminateCompanion(id);
  EXPECT_TRUE(headless::FindProcess(id)->terminated);
  companions::TerminateCompanion(0);  // nothing to end
}

// In a folder with a blank, "C:\My.exe" would be found first for an unquoted
// path; each companion names its own file, with its command line as before.
TEST_F(Companions, OnlyTheCompanionsThemselvesStartFromAFolderWithABlank) {
  const std::string folder = "C:\\My Tools\\";
  headless::SetModulePath(folder + "Tavolex.exe");
  for (const char* name : {"Tavolex.exe", "Pickmark.exe", "Runvane.exe", "Titlescan.exe"}) {
    headless::PutFile(folder + name, "MZ");
  }
  headless::PutFile("C:\\My.exe", "MZ");
  companions::BuildCompanionPaths();
  EXPECT_NE(companions::StartPicker(), 0u);
  EXPECT_NE(companions::StartRunner("C:\\j\\KeyInspec.def", "C:\\j\\KeyRepeat.def"), 0u);
  EXPECT_EQ(companions::RunTitlePicker(), companions::TitlePickerEnd::Chosen);
  const std::vector<headless::ProcessRecord> started = headless::Processes();
  ASSERT_EQ(started.size(), 3u);
  const std::string expected[3][2] = {
      {"Pickmark.exe", folder + "Pickmark.exe"},
      {"Runvane.exe", "\"" + folder + "Runvane.exe\" \"C:\\j\\KeyInspec.def\" \"C:\\j\\KeyRepeat.def\""},
      {"Titlescan.exe", folder + "Titlescan.exe"},
  };
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(started[i].program, folder + expected[i][0]);
    EXPECT_EQ(started[i].start.commandLine, expected[i][1]);
  }
}

TEST_F(Companions, TheTitlePickerIsWaitedFor) {
  companions::BuildCompanionPaths();
  EXPECT_EQ(companions::RunTitlePicker(), companions::TitlePickerEnd::NotStarted);
  InstallCompanions();
  headless::OnProcessStart([](headless::ProcessRecord& p) {
    headless::SetClipboard("メモ帳 - 無題");
    p.running = false;  // it ends after answering
  });
  EXPECT_EQ(companions::RunTitlePicker(), companions::TitlePickerEnd::Chosen);
  ASSERT_EQ(headless::Processes().size(), 1u);
  EXPECT_EQ(headless::Processes()[0].start.commandLine, "C:\\Tools\\Titlescan.exe");
  EXPECT_EQ(headless::Processes()[0].start.creationFlags, plat::kNormalPriorityClass);
  EXPECT_EQ(headless::Clipboard(), "メモ帳 - 無題");
}

}  // namespace
