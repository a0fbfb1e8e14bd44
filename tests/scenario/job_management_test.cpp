// Jobs from the main dialog: the job list, switching, deleting, naming the
// draft at "保存して終了", the action list's timer and the dialogs' colours.
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

const std::string kTools = "C:\\Tools\\";
const std::string kDraft = "＿作業作成中＿〔下書き〕";
const std::string kRepeatInvalid =
    "繰返し処理の設定値に不備があります。\n\n・チェック済で未入力項目がある\n・FROM値がTO値より大きい\n"
    "・FROM値とTO値の範囲が重複している\n・設定値にゼロがある\n\n修正してください。";
const std::string kSwitchQuestion = "処理作業の操作定義を切り替えます。\n\n作業中の操作定義は保存されます。";

const std::string kLineA = "Aの操作,10,20,マウスでクリックする,,,,,,4\r\n";
const std::string kLineB = "Bの操作,30,40,マウスでクリックする,,,,,,2\r\n";

std::string Swapped(std::string s) {
  for (char& c : s) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> ComboItems(plat::Window d, int id) {
  std::vector<std::string> items;
  for (int i = 0; i < plat::ComboCount(d, id); ++i) items.push_back(plat::ComboItemText(d, id, i));
  return items;
}

std::string SelectedJob(plat::Window d) {
  int i = plat::ComboGetSelection(d, 1082);
  return i < 0 ? std::string("<none>") : plat::ComboItemText(d, 1082, i);
}

int IndexOf(plat::Window d, const std::string& job) {
  std::vector<std::string> items = ComboItems(d, 1082);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == job) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no job " << job << " in the list";
  return -1;
}

using Jobs = EditorRun;

std::vector<std::string> MessageTexts() {
  std::vector<std::string> texts;
  for (const auto& m : headless::MessageBoxes()) texts.push_back(m.text);
  return texts;
}

// ---------------------------------------------------------------- the job list

TEST_F(Jobs, TheListHoldsTheUsableFoldersSortedWithTheCurrentJobSelected) {
  headless::MakeFolder(kTools + "B");
  headless::MakeFolder(kTools + "A");
  headless::MakeFolder(kTools + "CON");  // a device name: no job can have it
  headless::PutFile(kTools + "x.txt", "x");
  Run("B", [](plat::Window d) {
    EXPECT_EQ(ComboItems(d, 1082), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(SelectedJob(d), "B");
  });
  Run("", [](plat::Window d) {
    EXPECT_EQ(ComboItems(d, 1082), (std::vector<std::string>{"A", "B", kDraft}));
    EXPECT_EQ(SelectedJob(d), kDraft);
  });
}

// ---------------------------------------------------------------- switching

TEST_F(Jobs, SwitchingSavesThePlainFileAndOpensTheOtherJob) {
  headless::PutFile(kTools + "A\\KeyRecord.def.psw", Swapped(kLineA));
  headless::PutFile(kTools + "B\\KeyRecord.def", kLineB);
  Run("B", [](plat::Window d) {
    // A change in B: its line is edited.
    jobstore::ReplaceLineAt(0, "Bの変更,30,40,マウスでクリックする,,,,,,2");
    editor::MarkJobModified(d);
    editor::CurrentRow = 0;
    plat::EnableControl(d, 1004, true);
    plat::SetButtonCheck(d, 1044, 0);
    headless::SetClipboard("55,66");

    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));

    EXPECT_STREQ(jobstore::JobName, "A");
    EXPECT_EQ(SelectedJob(d), "A");
    ASSERT_EQ(plat::ListRowCount(d, 1000), 1);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "Aの操作");
    EXPECT_EQ(jobstore::LineCount(), 1);
    EXPECT_FALSE(editor::JobModified);
    EXPECT_TRUE(headless::Animation(d, 106).playing);
    EXPECT_EQ(editor::CurrentRow, -1);
    EXPECT_FALSE(editor::UpdatingControls);
    EXPECT_EQ(plat::GetButtonCheck(d, 1044), 1);
    EXPECT_FALSE(plat::IsControlEnabled(d, 1004));
    EXPECT_EQ(headless::Clipboard(), "0,0");
  });
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSwitchQuestion});
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "タヴォレクス");
  EXPECT_EQ(headless::MessageBoxes()[0].type, plat::kMbYesNo);
  // B keeps its changes in plain form; A's scrambled file became plain.
  EXPECT_EQ(headless::FileBytes(kTools + "B\\KeyRecord.def"), "Bの変更,30,40,マウスでクリックする,,,,,,2\r\n");
  EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyRecord.def.psw"));
  EXPECT_EQ(headless::FileBytes(kTools + "A\\KeyRecord.def"), kLineA);
  EXPECT_FALSE(headless::HasFile(kTools + "A\\KeyRecord.def.psw"));
}

// The files a run or a recording left go with the job left behind, and with
// the current job at exit.
TEST_F(Jobs, SwitchingWithoutChangesAlsoLeavesThePlainFile) {
  headless::PutFile(kTools + "A\\KeyRecord.def", kLineA);
  headless::PutFile(kTools + "B\\KeyRecord.def.psw", Swapped(kLineB));
  for (const char* stray : {"KeyInspec.def.psw", "KeyCapture.def"}) {
    headless::PutFile(kTools + "A\\" + stray, "x");
    headless::PutFile(kTools + "B\\" + stray, "x");
  }
  Run("B", [](plat::Window d) {
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));
    EXPECT_STREQ(jobstore::JobName, "A");
    EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyInspec.def.psw"));
    EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyCapture.def"));
  });
  EXPECT_EQ(headless::FileBytes(kTools + "B\\KeyRecord.def"), kLineB);
  EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyRecord.def.psw"));
  EXPECT_FALSE(headless::HasFile(kTools + "A\\KeyInspec.def.psw"));
  EXPECT_FALSE(headless::HasFile(kTools + "A\\KeyCapture.def"));
}

TEST_F(Jobs, AScrambledFileThatCannotBeRemovedIsReportedAfterTheSwitch) {
  headless::PutFile(kTools + "A\\KeyRecord.def.psw", Swapped(kLineA));
  headless::FailDelete(kTools + "A\\KeyRecord.def.psw");
  headless::PutFile(kTools + "B\\KeyRecord.def", kLineB);
  Run("B", [](plat::Window d) {
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "Aの操作");
  });
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_NE(MessageTexts()[1].find(kTools + "A\\KeyRecord.def.psw"), std::string::npos) << MessageTexts()[1];
}

TEST_F(Jobs, TheCurrentJobOrANoChangesNothing) {
  headless::PutFile(kTools + "A\\KeyRecord.def", kLineA);
  headless::PutFile(kTools + "B\\KeyRecord.def.psw", Swapped(kLineB));
  Run("B", [](plat::Window d) {
    headless::ChooseComboItem(d, 1082, IndexOf(d, "B"));
    EXPECT_TRUE(headless::MessageBoxes().empty());

    editor::MarkJobModified(d);
    headless::QueueMessageBoxAnswer(plat::kIdNo);
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));
    EXPECT_STREQ(jobstore::JobName, "B");
    EXPECT_EQ(SelectedJob(d), "B");
    EXPECT_TRUE(editor::JobModified);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "Bの操作");
  });
  EXPECT_EQ(MessageTexts().front(), kSwitchQuestion);
  EXPECT_FALSE(headless::HasFile(kTools + "A\\KeyRecord.def.psw"));  // A was not opened
  EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyRecord.def.psw"));
}

TEST_F(Jobs, AFailingSaveKeepsTheCurrentJobWithItsLines) {
  headless::PutFile(kTools + "A\\KeyRecord.def", kLineA);
  headless::PutFile(kTools + "B\\KeyRecord.def", kLineB);
  headless::FailCreate(kTools + "B\\KeyRecord.tmp");  // the save's temporary file
  Run("B", [](plat::Window d) {
    jobstore::AppendLine("追加,1,2,マウスでクリックする,,,,,,4");
    editor::MarkJobModified(d);
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));

    EXPECT_STREQ(jobstore::JobName, "B");
    EXPECT_EQ(SelectedJob(d), "B");
    EXPECT_EQ(jobstore::LineCount(), 2);
    EXPECT_TRUE(editor::JobModified);
    EXPECT_EQ(std::string(jobstore::RecordFilePath), kTools + "B\\KeyRecord.def");
  });
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);  // the question, the failure
  EXPECT_NE(headless::MessageBoxes()[1].text.find("操作定義を保存できませんでした。"), std::string::npos);
  EXPECT_EQ(headless::FileBytes(kTools + "B\\KeyRecord.def"), kLineB);
  EXPECT_EQ(headless::FileBytes(kTools + "A\\KeyRecord.def"), kLineA);
}

// Needs the real repeat-rule validation (a ticked rule with empty fields is
// refused); with the placeholder that accepts every rule it cannot pass.
TEST_F(Jobs, InvalidRepeatRulesStopTheSwitchBeforeTheQuestion) {
  headless::PutFile(kTools + "A\\KeyRecord.def", kLineA);
  headless::PutFile(kTools + "B\\KeyRecord.def", kLineB);
  Run("B", [](plat::Window d) {
    plat::SetButtonCheck(d, 1045, 1);
    headless::Type(d, 1006, "");
    headless::Type(d, 1007, "");
    headless::ChooseComboItem(d, 1082, IndexOf(d, "A"));
    EXPECT_STREQ(jobstore::JobName, "B");
    EXPECT_EQ(SelectedJob(d), "B");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kRepeatInvalid});
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "データ検査");
  });
  EXPECT_FALSE(headless::HasFile(kTools + "B\\KeyRepeat.def"));
}

// ---------------------------------------------------------------- deleting

TEST_F(Jobs, DeletingRemovesTheWholeFolderAndEndsTheEditor) {
  headless::PutFile(kTools + "job\\KeyRecord.def", kLineA);
  headless::PutFile(kTools + "job\\sub\\notes.txt", "n");
  headless::PutFile(kTools + "Shared\\keep.txt", "keep");
  headless::MakeLink(kTools + "job\\shared", kTools + "Shared");
  Run("job", [](plat::Window d) {
    editor::MarkJobModified(d);
    headless::QueueMessageBoxAnswer(plat::kIdNo);
    headless::Click(d, 1029);
    EXPECT_EQ(headless::OpenDialog(res::kMainDialog), d);  // No: nothing happened
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::Click(d, 1029);
  });
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);  // ended by the delete, without the close question
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(headless::MessageBoxes()[1].text, "処理作業の内容が完全に失われます。\n\nよろしいですか？");
  EXPECT_FALSE(headless::HasFolder(kTools + "job"));
  EXPECT_EQ(headless::FileBytes(kTools + "Shared\\keep.txt"), "keep");
  EXPECT_TRUE(headless::HasFile(kTools + "Tavolex.exe"));
}

TEST_F(Jobs, AFolderThatStaysIsReported) {
  headless::PutFile(kTools + "job\\locked.txt", "x");
  headless::FailDelete(kTools + "job\\locked.txt");
  Run("job", [](plat::Window d) {
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::Click(d, 1029);
  });
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_NE(headless::MessageBoxes()[1].text.find("完全には削除できませんでした"), std::string::npos);
  EXPECT_TRUE(headless::HasFile(kTools + "job\\locked.txt"));
}

// ---------------------------------------------------------------- naming the draft

class NamingTheDraft : public Jobs {
 protected:
  void SetUp() override {
    Jobs::SetUp();
    headless::PutFile(kTools + kDraft + "\\KeyRecord.def", kLineA);
    headless::PutFile(kTools + kDraft + "\\KeyRepeat.def", "\r\n\r\n\r\n");
  }
  // Opens the draft, presses "保存して終了" and types the entries one after
  // another into the name dialog, each confirmed with OK; the dialog is then
  // cancelled if it is still open.
  void SaveWithNames(const std::vector<std::string>& entries) {
    headless::OnDialog(res::kJobNameDialog, [entries](plat::Window n) {
      for (const std::string& entry : entries) {
        if (headless::OpenDialog(res::kJobNameDialog) != n) return;
        headless::Type(n, 1019, entry);
        headless::Click(n, 1);
      }
      if (headless::OpenDialog(res::kJobNameDialog) == n) headless::Click(n, 2);
    });
    Run("", [](plat::Window d) { headless::Click(d, 1); });
  }
  void ExpectDraftIntact() {
    EXPECT_EQ(headless::FileBytes(kTools + kDraft + "\\KeyRecord.def"), kLineA);
    EXPECT_TRUE(headless::HasFile(kTools + kDraft + "\\KeyRepeat.def"));
  }
  void ExpectNamed(const std::string& job) {
    EXPECT_EQ(headless::FolderNames(kTools + kDraft), std::vector<std::string>{});
    EXPECT_EQ(headless::FileBytes(kTools + job + "\\KeyRecord.def.psw"), Swapped(kLineA));
    EXPECT_FALSE(headless::HasFile(kTools + job + "\\KeyRecord.def"));
  }
};

TEST_F(NamingTheDraft, ForbiddenCharactersAreDroppedAndTheDraftMovesToTheName) {
  SaveWithNames({"受注/出荷:2024"});
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  ExpectNamed("受注出荷2024");
  EXPECT_STREQ(jobstore::JobName, "受注出荷2024");
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(NamingTheDraft, ATwoByteCharacterEndingInABackslashStaysWhole) {
  SaveWithNames({"表"});
  ExpectNamed("表");
}

TEST_F(NamingTheDraft, UnusableNamesKeepTheDialogOpenWithTheReason) {
  // Empty: nothing at all. Then names the command line would refuse too.
  SaveWithNames({"", "   ", "\\/:*?", "..", ".", "CON", "job.", kDraft});
  EXPECT_EQ(headless::DialogsShown(), (std::vector<int>{res::kMainDialog, res::kJobNameDialog}));
  std::vector<std::string> texts = MessageTexts();
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_NE(texts[0].find("空白"), std::string::npos);
  EXPECT_NE(texts[1].find("処理作業名がありません"), std::string::npos);
  EXPECT_NE(texts[2].find("「.」と「..」"), std::string::npos);
  EXPECT_NE(texts[3].find("「.」と「..」"), std::string::npos);
  EXPECT_NE(texts[4].find("予約名"), std::string::npos);
  EXPECT_NE(texts[5].find("ピリオド"), std::string::npos);
  EXPECT_NE(texts[6].find("下書き"), std::string::npos);
  for (const auto& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.caption, "データ検査");
    EXPECT_EQ(box.type, plat::kMbOk);
  }
  // Cancelled: the draft ends as the draft, with its lines saved there.
  ExpectDraftIntact();
  EXPECT_FALSE(headless::HasFolder("C:\\CON"));
  EXPECT_EQ(headless::FolderNames("C:\\Tools").size(), 2u);  // the program and the draft
}

TEST_F(NamingTheDraft, AnExistingJobIsOverwrittenOnlyAfterYes) {
  headless::PutFile(kTools + "Old\\KeyRecord.def.psw", Swapped(kLineB));
  headless::QueueMessageBoxAnswer(plat::kIdNo);
  SaveWithNames({"old"});  // No: back in the dialog, then cancelled
  EXPECT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("既にあります"), std::string::npos);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "タヴォレクス");
  EXPECT_EQ(headless::MessageBoxes()[0].type, plat::kMbYesNo);
  EXPECT_EQ(headless::FileBytes(kTools + "Old\\KeyRecord.def.psw"), Swapped(kLineB));
  ExpectDraftIntact();

  SetUp();
  headless::PutFile(kTools + "Old\\KeyRecord.def.psw", Swapped(kLineB));
  headless::QueueMessageBoxAnswer(plat::kIdYes);
  SaveWithNames({"Old"});
  ExpectNamed("Old");
}

TEST_F(NamingTheDraft, AFailingSaveUnderTheNewNameKeepsTheDraftAndTheEditor) {
  headless::FailCreate(kTools + "新規\\KeyRecord.tmp");
  bool folderWhileTold = true;
  headless::OnMessageBox([&](const headless::MessageBoxRecord&) { folderWhileTold = headless::HasFolder(kTools + "新規"); });
  bool stillOpen = false;
  headless::OnDialog(res::kJobNameDialog, [](plat::Window n) {
    headless::Type(n, 1019, "新規");
    headless::Click(n, 1);
  });
  Run("", [&](plat::Window d) {
    headless::Click(d, 1);
    stillOpen = headless::OpenDialog(res::kMainDialog) == d;
    EXPECT_STREQ(jobstore::JobName, kDraft.c_str());
    EXPECT_EQ(std::string(jobstore::RecordFilePath), kTools + kDraft + "\\KeyRecord.def");
  });
  EXPECT_TRUE(stillOpen);
  ASSERT_GE(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("操作定義を保存できませんでした。"), std::string::npos);
  ExpectDraftIntact();
  EXPECT_FALSE(folderWhileTold);  // no half-made job is left, not even while the user reads why
  EXPECT_FALSE(headless::HasFolder(kTools + "新規"));
}

TEST_F(NamingTheDraft, AFailingSaveOverAnExistingJobPutsItsFilesBackBeforeTelling) {
  const std::string old = kTools + "Old\\";
  auto files = [&] {
    std::vector<std::string> seen;
    for (const std::string& name : headless::FolderNames(old)) seen.push_back(name + "=" + headless::FileBytes(old + name));
    return seen;
  };
  // Its lines cannot be written, or they are and its rules then cannot.
  for (const std::string failing : {"KeyRecord.tmp", "KeyRepeat.tmp"}) {
    for (bool withRules : {true, false}) {
      SCOPED_TRACE(failing + (withRules ? " with rules" : ""));
      SetUp();
      headless::PutFile(old + "KeyRecord.def.psw", Swapped(kLineB));
      if (withRules) headless::PutFile(old + "KeyRepeat.def", "1,1,2,3\r\n0,,,\r\n0,,,\r\n");
      headless::FailCreate(old + failing);
      const std::vector<std::string> before = files();
      std::vector<std::string> whileTold;
      headless::OnMessageBox([&](const headless::MessageBoxRecord& box) {
        if (box.type != plat::kMbYesNo) whileTold = files();
      });
      headless::QueueMessageBoxAnswer(plat::kIdYes);  // the job exists: overwrite it
      SaveWithNames({"Old"});
      EXPECT_EQ(whileTold, before);
      EXPECT_EQ(files(), before);
      ASSERT_EQ(MessageTexts().size(), 2u);
      EXPECT_NE(MessageTexts()[1].find(failing == "KeyRecord.tmp" ? "操作定義を保存できませんでした。"
                                                                  : "繰返し処理の設定を保存できませんでした。"),
                std::string::npos);
      EXPECT_NE(MessageTexts()[1].find(old), std::string::npos);
      ExpectDraftIntact();
    }
  }
}

TEST_F(NamingTheDraft, ADraftWithoutLinesOrANamedJobAsksForNoName) {
  SaveWithNames({});
  EXPECT_EQ(headless::DialogsShown(), (std::vector<int>{res::kMainDialog, res::kJobNameDialog}));
  SetUp();
  headless::PutFile(kTools + "job\\KeyRecord.def", kLineA);
  Run("job", [](plat::Window d) { headless::Click(d, 1); });
  EXPECT_EQ(headless::DialogsShown(), std::vector<int>{res::kMainDialog});
}

// ---------------------------------------------------------------- timer 1234 and colours

TEST_F(Jobs, TheActionListTimerPassesOverTheEntriesAndKeepsTheSelection) {
  Run("job", [](plat::Window d) {
    plat::EnableControl(d, 1080, true);
    plat::ComboSetSelection(d, 1080, 4);
    headless::DropDownCombo(d, 1080);
    EXPECT_TRUE(headless::TimerRunning(d, 1234));
    EXPECT_EQ(headless::TimerPeriod(d, 1234), 100u);
    headless::AdvanceTime(100);
    EXPECT_FALSE(headless::TimerRunning(d, 1234));
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 4);
    EXPECT_FALSE(editor::JobModified);
  });
}

TEST_F(Jobs, DropDownListsFollowTheActionAndEveryBrushWasMadeAtStart) {
  Run("job", [](plat::Window d) {
    plat::ComboSetSelection(d, 1080, 4);  // テキストを複写する
    for (int id : {1080, 1081, 1082}) {
      plat::CtlColorAnswer a = headless::QueryCtlColor(d, plat::CtlColorKind::ListBox, id);
      EXPECT_TRUE(a.handled);
      EXPECT_EQ(a.brushColor, plat::Rgb(200, 255, 200));
    }
    plat::ComboSetSelection(d, 1080, -1);
    EXPECT_EQ(headless::QueryCtlColor(d, plat::CtlColorKind::ListBox, 1082).brushColor, plat::Rgb(255, 255, 255));
    EXPECT_EQ(headless::QueryCtlColor(d, plat::CtlColorKind::Static, 1030).textColor, plat::Rgb(255, 255, 255));
    EXPECT_EQ(headless::QueryCtlColor(d, plat::CtlColorKind::Edit, 1020).textColor, plat::Rgb(255, 0, 0));
  });
  EXPECT_EQ(headless::UnpreparedBrushAnswers(), 0);
  EXPECT_EQ(headless::PreparedBrushes().size(), 8u);
}

TEST_F(NamingTheDraft, TheNameDialogPaintsRedCaptionsOnGrey) {
  headless::OnDialog(res::kJobNameDialog, [](plat::Window n) {
    plat::CtlColorAnswer caption = headless::QueryCtlColor(n, plat::CtlColorKind::Static, 1039);
    EXPECT_EQ(caption.textColor, plat::Rgb(255, 0, 0));
    EXPECT_EQ(caption.brushColor, plat::Rgb(220, 220, 220));
    EXPECT_EQ(headless::QueryCtlColor(n, plat::CtlColorKind::Edit, 1019).brushColor, plat::Rgb(255, 255, 255));
    EXPECT_FALSE(headless::QueryCtlColor(n, plat::CtlColorKind::Button, 1).handled);
    EXPECT_EQ(headless::FocusedControl(n), 1019);
    headless::PressEscape(n);
  });
  Run("", [](plat::Window d) { headless::Click(d, 1); });
  EXPECT_EQ(headless::UnpreparedBrushAnswers(), 0);
  ExpectDraftIntact();
}

}  // namespace
