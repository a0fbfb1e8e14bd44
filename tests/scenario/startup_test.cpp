// The program from start to exit, with the user played by dialog drivers.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "operations/scrambled.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

const std::string kProgramFolder = "C:\\Tools\\";
const std::string kDraftFolder = kProgramFolder + "＿作業作成中＿〔下書き〕";

std::string Swapped(std::string s) {
  for (char& c : s) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
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
    const std::string argument = args.size() == 1 ? args[0] : "";
    std::size_t boxesBeforeTheEditor = 99;
    Run(args, [&](plat::Window) { boxesBeforeTheEditor = headless::MessageBoxes().size(); });
    EXPECT_STREQ(jobstore::JobName, jobstore::DraftJobName) << argument;
    EXPECT_TRUE(headless::HasFolder(kDraftFolder));
    EXPECT_EQ(headless::FolderNames("C:\\Tools").size(), 2u);  // the program and the draft
    EXPECT_FALSE(headless::HasFolder("C:\\Windows"));
    // A named job that cannot be used is reported, naming it, before the draft opens.
    auto boxes = headless::MessageBoxes();
    if (argument.empty()) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u) << argument;
    EXPECT_EQ(boxesBeforeTheEditor, 1u) << argument;
    EXPECT_NE(boxes[0].text.find(argument.substr(0, 255)), std::string::npos) << argument;
    EXPECT_NE(boxes[0].text.find("下書きの作業を開きます。"), std::string::npos) << argument;
    EXPECT_EQ(boxes[0].caption, "タヴォレクス");
    EXPECT_EQ(boxes[0].type, plat::kMbOk | plat::kMbIconWarning);
  }
}

TEST_F(Startup, ANameTooLongForThisFolderIsReportedWithTheLimit) {
  // "C:\Tools\" (9 bytes) + name + "\KeyInspec.def.psw" (18 bytes) <= 259 bytes.
  Run({std::string(232, 'n')});
  EXPECT_EQ(std::strlen(jobstore::JobName), 232u);
  EXPECT_TRUE(headless::MessageBoxes().empty());

  SetUp();
  Run({std::string(231, 'n') + "表"});  // 233 bytes, the last character two bytes
  EXPECT_STREQ(jobstore::JobName, jobstore::DraftJobName);
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("長すぎます"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("233 バイト"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("232 バイト"), std::string::npos);
}

TEST_F(Startup, ANameOver255BytesIsRefusedAsTooLong) {
  headless::SetModulePath("C:\\T.exe");  // program folder "C:\"
  // Even cut to 255 bytes, "C:\" + name + "\KeyInspec.def.psw" would need 276 bytes.
  Run({std::string(300, 'y')});
  EXPECT_STREQ(jobstore::JobName, jobstore::DraftJobName);
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("長すぎます"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("300 バイト"), std::string::npos);
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

// A backup that stayed (its removal failed) beside the missing plain form is
// no save left half done: the job loads and saves as usual.
TEST_F(Startup, ABackupThatStayedBesideTheScrambledFormBlocksNoSave) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def.psw", Swapped("line-1\r\n"));
  headless::PutFile("C:\\Tools\\job\\KeyRecord.bak", "older\r\n");
  Run({"job"}, [](plat::Window d) {
    jobstore::AppendLine("line-2");
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def.psw"), Swapped("line-1\r\nline-2\r\n"));
}

TEST_F(Startup, StartingFromTheScrambledFormLeavesThePlainFormAfterCancel) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def.psw", Swapped("a,b\r\n"));
  Run({"job"}, [](plat::Window d) { headless::CloseBox(d); });
  EXPECT_EQ(headless::FileBytes("C:\\Tools\\job\\KeyRecord.def"), "a,b\r\n");
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw"));
}

// A read-only KeyRecord.def.psw: it cannot be removed after it was made
// plain, nor replaced at exit. Both are reported; the next start loads the
// plain file saved after it, and a save without the fault replaces it.
TEST_F(Startup, AStaleScrambledFileIsReportedAndNeverWinsOverLaterSavedLines) {
  const std::string job = "C:\\Tools\\job\\";
  const std::string old = "old,1,2\r\n", edited = "old,1,2\r\nnew,3,4\r\n";
  auto start = [&](bool savedAfter, bool readOnly) {  // a disk as the first run leaves it, or before
    SetUp();
    headless::PutFile(job + "KeyRecord.def.psw", Swapped(old));
    if (savedAfter) headless::PutFile(job + "KeyRecord.def", edited);
    if (readOnly) {
      headless::FailDelete(job + "KeyRecord.def.psw");
      headless::FailReplace(job + "KeyRecord.def.psw");
    }
  };
  start(false, true);
  Run({"job"}, [](plat::Window d) {
    jobstore::AppendLine("new,3,4");
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(job + "KeyRecord.def"), edited);
  EXPECT_EQ(headless::FileBytes(job + "KeyRecord.def.psw"), Swapped(old));
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);  // at start-up and at exit
  for (const auto& box : boxes) EXPECT_NE(box.text.find(job + "KeyRecord.def.psw"), std::string::npos) << box.text;
  EXPECT_NE(boxes[1].text.find(job + "KeyRecord.def\n"), std::string::npos) << boxes[1].text;

  start(true, true);
  std::vector<std::string> loaded;
  Run({"job"}, [&](plat::Window d) {
    for (int i = 0; i < jobstore::LineCount(); ++i) loaded.push_back(jobstore::LineAt(i));
    headless::CloseBox(d);
  });
  EXPECT_EQ(loaded, (std::vector<std::string>{"old,1,2\r\n", "new,3,4\r\n"}));
  EXPECT_TRUE(headless::MessageBoxes().empty());

  start(true, false);
  Run({"job"}, [](plat::Window d) {
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_EQ(headless::FileBytes(job + "KeyRecord.def.psw"), Swapped(edited));
  EXPECT_FALSE(headless::HasFile(job + "KeyRecord.def"));
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
      // KeyRepeat.def (three empty lines, 6 bytes) is written first and fits.
      {"disk full", [] { headless::SetDiskFree(6 + 4); }},
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

// ---------------------------------------------------------------- the program's folder

// A program folder of exactly `bytes` bytes (with its closing backslash) made
// of two-byte characters, in components of at most 60 bytes.
std::string FolderOfBytes(std::size_t bytes) {
  std::string folder = "C:\\";
  while (folder.size() < bytes) {
    std::size_t remaining = bytes - folder.size();
    std::size_t component = remaining - 1 <= 60 ? remaining - 1 : (remaining == 62 ? 59 : 60);
    std::string name;
    while (name.size() + 2 <= component) name += "階";
    if (name.size() < component) name += "x";
    folder += name + "\\";
  }
  return folder;
}

class ProgramFolder : public Startup {
 protected:
  // Puts the program into `folder` and runs it; returns the exit code.
  int RunIn(const std::string& folder, const std::vector<std::string>& args,
            const std::function<void(plat::Window)>& driver = {}) {
    headless::PutFile(folder + "Tavolex.exe", "MZ");
    headless::SetModulePath(folder + "Tavolex.exe");
    if (driver) headless::OnDialog(res::kMainDialog, driver);
    return app::RunTavolex(args);
  }
};

TEST_F(ProgramFolder, AtTheDeepestFolderTheDraftJobOpensAndSaves) {
  const std::string folder = FolderOfBytes(217);
  ASSERT_EQ(folder.size(), 217u);
  EXPECT_EQ(RunIn(folder, {}, [](plat::Window d) {
              MakeChange(d);
              headless::Click(d, 1);
            }),
            0);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_STRNE(jobstore::RecordFilePath, "");
  EXPECT_TRUE(headless::HasFile(folder + "＿作業作成中＿〔下書き〕\\KeyRecord.def.psw"));
}

TEST_F(ProgramFolder, OneByteDeeperTheProgramSaysWhyAndEnds) {
  const std::string folder = FolderOfBytes(218);
  EXPECT_EQ(RunIn(folder, {}), 1);
  EXPECT_TRUE(headless::DialogsShown().empty());
  EXPECT_EQ(headless::FolderNames(folder.substr(0, folder.size() - 1)), std::vector<std::string>{"Tavolex.exe"});
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(folder), std::string::npos);
  EXPECT_NE(boxes[0].text.find("218 バイト"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("217 バイト"), std::string::npos);
  EXPECT_EQ(boxes[0].caption, "タヴォレクス");
  EXPECT_EQ(boxes[0].type, plat::kMbOk | plat::kMbIconWarning);

  // A job whose name is short enough still opens there, without a word.
  SetUp();
  EXPECT_EQ(RunIn(folder, {"a"}), 0);
  EXPECT_EQ(headless::DialogsShown(), std::vector<int>{res::kMainDialog});
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_TRUE(headless::HasFolder(folder + "a"));

  // A name too long there falls back to the draft, which does not fit either:
  // one message, about the folder.
  SetUp();
  EXPECT_EQ(RunIn(folder, {std::string(30, 'n')}), 1);
  EXPECT_TRUE(headless::DialogsShown().empty());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("218 バイト"), std::string::npos);
}

TEST_F(ProgramFolder, AProgramPathThatCannotBeKnownOrSpeltInShiftJisEndsTheProgram) {
  struct Case {
    const char* what;
    std::string path;
    bool exact;
    std::string shown;  // a text the message must hold
  } cases[] = {
      {"unknown", "", true, "プログラムの場所を取得できない"},
      {"outside code page 932", "C:\\Users\\Jos?\\Tavolex.exe", false, "C:\\Users\\Jos?\\"},
      {"260 bytes", FolderOfBytes(249) + "Tavolex.exe", true, "249 バイト"},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::SetModulePath(c.path, c.exact);
    EXPECT_EQ(app::RunTavolex({"job"}), 1) << c.what;
    EXPECT_TRUE(headless::DialogsShown().empty()) << c.what;
    EXPECT_TRUE(headless::Processes().empty()) << c.what;  // no picker looked for or started
    EXPECT_EQ(headless::FolderNames("C:\\Tools"), std::vector<std::string>{"Tavolex.exe"}) << c.what;
    auto boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.what;
    EXPECT_NE(boxes[0].text.find(c.shown), std::string::npos) << c.what << ": " << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, "タヴォレクス");
    EXPECT_EQ(boxes[0].type, plat::kMbOk | plat::kMbIconWarning);
  }
}

// ---------------------------------------------------------------- leftovers of a save

TEST_F(Startup, LeftoversOfASaveGoOnlyBesideTheirFileAndAreNeverRead) {
  const std::string job = "C:\\Tools\\job\\";
  headless::PutFile(job + "KeyRecord.def", "kept\r\n");
  headless::PutFile(job + "KeyRecord.tmp", "stale,1,2\r\n");  // an interrupted write
  headless::PutFile(job + "KeyRecord.bak", "older,1,2\r\n");  // a backup that stayed
  // Beside a missing file a leftover may be the only copy.
  const char* const kept[] = {"KeyRecord.def.tmp", "KeyInspec.tmp", "KeyInspec.def.bak", "KeyRepeat.tmp"};
  for (const char* name : kept) headless::PutFile(job + name, "half");
  std::vector<std::string> loaded;
  Run({"job"}, [&](plat::Window d) {
    for (int i = 0; i < jobstore::LineCount(); ++i) loaded.push_back(jobstore::LineAt(i));
    headless::CloseBox(d);
  });
  EXPECT_EQ(loaded, std::vector<std::string>{"kept\r\n"});
  EXPECT_FALSE(headless::HasFile(job + "KeyRecord.tmp"));
  EXPECT_FALSE(headless::HasFile(job + "KeyRecord.bak"));
  for (const char* name : kept) EXPECT_EQ(headless::FileBytes(job + name), "half") << name;
}

// A replacement that could neither finish nor be undone: KeyRecord.def is
// gone, the saved lines lie in KeyRecord.tmp and the former ones in
// KeyRecord.bak. Both stay, the message names them, and neither the next
// start nor a save there removes or overwrites them.
TEST_F(Startup, ASaveThatLeavesTheFileMissingKeepsAndNamesBothCopies) {
  const std::string job = "C:\\Tools\\job\\";
  const std::string saved = "old,1,2\r\nnew,3,4\r\n", former = "old,1,2\r\n";
  headless::PutFile(job + "KeyRecord.def", former);
  headless::StrandReplace(job + "KeyRecord.def");
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    if (run == 1) {  // the next start, on a machine left as the first run left it
      SetUp();
      headless::PutFile(job + "KeyRecord.tmp", saved);
      headless::PutFile(job + "KeyRecord.bak", former);
    }
    Run({"job"}, [](plat::Window d) {
      jobstore::AppendLine("new,3,4");
      MakeChange(d);
      headless::Click(d, 1);
    });
    EXPECT_FALSE(headless::HasFile(job + "KeyRecord.def"));
    EXPECT_FALSE(headless::HasFile(job + "KeyRecord.def.psw"));
    EXPECT_EQ(headless::FileBytes(job + "KeyRecord.tmp"), saved);
    EXPECT_EQ(headless::FileBytes(job + "KeyRecord.bak"), former);
    auto boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    for (const char* name : {"KeyRecord.def", "KeyRecord.tmp", "KeyRecord.bak"}) {
      EXPECT_NE(boxes[0].text.find(job + name), std::string::npos) << name << ": " << boxes[0].text;
    }
  }
}

TEST_F(Startup, ALeftoverThatCannotBeRemovedIsOverwrittenAtTheNextSave) {
  const std::string job = "C:\\Tools\\job\\";
  headless::PutFile(job + "KeyRecord.def", "x,1,2\r\n");
  headless::PutFile(job + "KeyRecord.tmp", "stale");
  headless::FailDelete(job + "KeyRecord.tmp");
  headless::MakeFolder(job + "KeyInspec.tmp");  // a folder of that name is not ours
  Run({"job"}, [](plat::Window d) {
    MakeChange(d);
    headless::Click(d, 1);
  });
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_TRUE(headless::HasFile(job + "KeyRecord.def.psw"));
  EXPECT_TRUE(headless::HasFolder(job + "KeyInspec.tmp"));
}

}  // namespace
