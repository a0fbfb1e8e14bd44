// The program from start to exit, with the user played by dialog drivers.
#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/state.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

const std::string kProgramFolder = "C:\\Tools\\";
const std::string kDraftFolder = kProgramFolder + "＿作業作成中＿〔下書き〕";

std::string Swapped(std::string s) {
  for (char& c : s) c = static_cast<char>(jobstore::SwapNibbles(static_cast<unsigned char>(c)));
  return s;
}

class Startup : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  // Runs the program; the driver plays the user in the main window.
  void Run(const std::vector<std::string>& args,
           const std::function<void(plat::Window)>& driver = {}) {
    if (driver) headless::OnDialog(res::kMainDialog, driver);
    EXPECT_EQ(app::RunTavolex(args), 0);
  }
  static void MakeChange(plat::Window dialog) { editor::MarkJobModified(dialog); }
};

TEST_F(Startup, ASecondInstanceEndsSilentlyAndTouchesNothing) {
  headless::HoldMutex("Tavolex");
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def.psw", Swapped("x\r\n"));
  Run({"job"});
  EXPECT_TRUE(headless::DialogsShown().empty());
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_TRUE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw"));
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def"));
  EXPECT_FALSE(headless::HasFolder(kDraftFolder));
}

TEST_F(Startup, TheJobNamedOnTheCommandLineIsCreatedBesideTheProgram) {
  Run({"請求書"});
  EXPECT_TRUE(headless::HasFolder("C:\\Tools\\請求書"));
  EXPECT_STREQ(jobstore::JobName, "請求書");
  EXPECT_EQ(headless::DialogsShown(), std::vector<int>{res::kMainDialog});
}

TEST_F(Startup, AnythingButOnePlainNameEditsTheDraftJob) {
  const std::vector<std::vector<std::string>> argumentLists = {
      {},
      {""},
      {"a", "b"},
      {std::string(300, 'x')},  // cut to 255 bytes, still too long for the paths
      {".."},
      {"."},
      {"..\\..\\Windows"},
      {"C:\\Windows"},
      {"D:"},
      {"sub\\job"},
      {"sub/job"},
      {"\\\\server\\share"},
      {"what?"},
      {"NUL"},
      {"com3.txt"},
      {"job."},
      {"job "},
  };
  for (const auto& args : argumentLists) {
    SetUp();
    Run(args);
    EXPECT_STREQ(jobstore::JobName, jobstore::DraftJobName) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(headless::HasFolder(kDraftFolder));
    EXPECT_EQ(headless::FolderNames("C:\\Tools").size(), 2u);  // the program and the draft
    EXPECT_FALSE(headless::HasFolder("C:\\Windows"));
  }
}

TEST_F(Startup, ALongNameIsCutTo255BytesWhenItsPathsFit) {
  headless::SetModulePath("C:\\T.exe");  // program folder "C:\"
  // 255 bytes plus "C:\" and "\KeyInspec.def.psw" would need 276 bytes: refused.
  Run({std::string(300, 'y')});
  EXPECT_STREQ(jobstore::JobName, jobstore::DraftJobName);
}

TEST_F(Startup, SaveAndExitWithoutChangesEndsWithCancelAndWritesNothing) {
  const std::string stored = "名前,1,2,マウスでクリックする,,,,,,4\r\n// kept comment\r\n";
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", stored);
  Run({"job"}, [](plat::Window d) { headless::Click(d, 1); });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def"), stored);
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw"));
}

TEST_F(Startup, SaveAndExitWithChangesStoresOnlyTheScrambledForm) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", "// comment\r\nline-1\r\nline-2");
  Run({"job"}, [](plat::Window d) {
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def"));
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def.psw"),
            Swapped("line-1\r\nline-2\r\n"));
}

TEST_F(Startup, StartingFromTheScrambledFormLeavesThePlainFormAfterCancel) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def.psw", Swapped("a,b\r\n"));
  Run({"job"}, [](plat::Window d) { headless::CloseBox(d); });
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def"), "a,b\r\n");
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw"));
}

TEST_F(Startup, EnterAndEscapeEndNothing) {
  Run({"job"}, [](plat::Window d) {
    headless::PressEnter(d);
    EXPECT_FALSE(headless::DialogEnded(d));
    plat::SetFocusTo(d, 1);
    headless::PressEnter(d);  // on the focused button itself
    EXPECT_FALSE(headless::DialogEnded(d));
    headless::PressEscape(d);
    EXPECT_FALSE(headless::DialogEnded(d));
    MakeChange(d);
    headless::PressEscape(d);
    EXPECT_FALSE(headless::DialogEnded(d));
    headless::Click(d, 1);
    EXPECT_TRUE(headless::DialogEnded(d));
  });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

// Enter or Escape pressed in another dialog leaves nothing behind that could
// swallow the next click in the main dialog.
TEST_F(Startup, AClickAfterAKeyInAnotherDialogActsAtTheFirstClick) {
  struct Case {
    const char* what;
    void (*keyInAbout)(plat::Window);
    void (*act)(plat::Window);
  } cases[] = {
      {"Enter, then save", headless::PressEnter, [](plat::Window d) { headless::Click(d, 1); }},
      {"Escape, then cancel", headless::PressEscape, [](plat::Window d) { headless::Click(d, 2); }},
      {"Escape, then the close box", headless::PressEscape, headless::CloseBox},
      {"Enter, then Space on save", headless::PressEnter,
       [](plat::Window d) {
         plat::SetFocusTo(d, 1);
         headless::PressSpace(d);
       }},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::OnDialog(res::kAboutDialog, c.keyInAbout);
    bool endedAtOnce = false;
    Run({"job"}, [&](plat::Window d) {
      headless::SystemCommand(d, 16);  // the about box from the system menu
      c.act(d);
      endedAtOnce = headless::DialogEnded(d);
    });
    EXPECT_TRUE(endedAtOnce) << c.what;
    EXPECT_EQ(headless::DialogsShown(), (std::vector<int>{res::kMainDialog, res::kAboutDialog})) << c.what;
    EXPECT_EQ(headless::DialogsLeftOpen(), 0) << c.what;
  }
}

TEST_F(Startup, CancelAsksOnlyWhenSomethingChanged) {
  Run({"job"}, [](plat::Window d) { headless::Click(d, 2); });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  EXPECT_TRUE(headless::MessageBoxes().empty());

  SetUp();
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", "kept\r\n");
  headless::QueueMessageBoxAnswer(plat::kIdNo);
  headless::QueueMessageBoxAnswer(plat::kIdYes);
  Run({"job"}, [](plat::Window d) {
    MakeChange(d);
    headless::Click(d, 2);
    EXPECT_FALSE(headless::DialogEnded(d));  // "No" stays
    headless::CloseBox(d);                                  // "Yes" ends
  });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "処理作業で変更した定義は失われます。\n\nよろしいですか？");
  EXPECT_EQ(boxes[0].caption, "タヴォレクス");
  EXPECT_EQ(boxes[0].type & 0xF, plat::kMbYesNo);
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def"), "kept\r\n");
}

TEST_F(Startup, TheTestRunFilesAreGoneAfterExit) {
  headless::PutFile("C:\\Tools\\job\\KeyInspec.def", "x");
  headless::PutFile("C:\\Tools\\job\\KeyInspec.def.psw", "y");
  Run({"job"}, [](plat::Window d) { headless::CloseBox(d); });
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyInspec.def"));
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyInspec.def.psw"));
}

TEST_F(Startup, AFailedSaveAtExitIsReportedAndKeepsTheOldFile) {
  const std::string stored = "old-1\r\nold-2\r\n";
  struct Fault {
    const char* what;
    void (*inject)();
  } faults[] = {
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyRecord.tmp", 3); }},
      {"disk full", [] { headless::SetDiskFree(4); }},
      {"cannot create", [] { headless::FailCreate("C:\\Tools\\job\\KeyRecord.tmp"); }},
  };
  for (const Fault& f : faults) {
    SetUp();
    headless::PutFile("C:\\Tools\\job\\KeyRecord.def", stored);
    f.inject();
    Run({"job"}, [](plat::Window d) {
      MakeChange(d);
      headless::Click(d, 1);
    });
    EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def"), stored) << f.what;
    EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw")) << f.what;
    auto boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << f.what;
    EXPECT_NE(boxes[0].text.find("C:\\Tools\\job\\KeyRecord.def"), std::string::npos);
    EXPECT_EQ(boxes[0].caption, "タヴォレクス");
  }
}

TEST_F(Startup, AJobFolderThatCannotBeCreatedReportsTheSave) {
  headless::FailCreate("C:\\Tools\\job");
  Run({"job"}, [](plat::Window d) {
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_FALSE(headless::HasFolder("C:\\Tools\\job"));
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
}

}  // namespace
