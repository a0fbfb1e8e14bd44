// The coordinate picker's answers, window titles, application paths and
// window rectangles, in the running editor.
#include <string>

#include "app/app.h"
#include "companions/contract.h"
#include "companions/screen.h"
#include "editor/acquisition.h"
#include "editor/row_commands.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

int newCalls = 0;
int insertCalls = 0;
bool holdDuringCommand = false;

void CountNew(plat::Window) {
  ++newCalls;
  if (holdDuringCommand) headless::HoldClipboard(true);  // another program opens the clipboard
}
void CountInsert(plat::Window) { ++insertCalls; }

class Acquisition : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    companions::ResetAcquisition();
    newCalls = insertCalls = 0;
    holdDuringCommand = false;
    editor::PickerNewOperation = CountNew;
    editor::PickerInsertOperation = CountInsert;
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  void TearDown() override {
    editor::PickerNewOperation = editor::NewOperation;
    editor::PickerInsertOperation = editor::InsertOperation;
    FreshState::TearDown();
  }
  void InstallCompanions() {
    for (const char* name : {"Pickmark.exe", "Runvane.exe", "Titlescan.exe"}) {
      headless::PutFile(std::string("C:\\Tools\\") + name, "MZ");
    }
  }
  // Runs the editor on a job; `play` acts while it is open.
  void Open(const std::function<void(plat::Window)>& play) {
    headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
      play(d);
      headless::CloseBox(d);
    });
    app::RunTavolex({"job"});
    EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  }
  static void Poll() { headless::AdvanceTime(1000); }
  static std::string Text(plat::Window d, int id) { return plat::GetControlText(d, id); }
  static void ShowButtons(plat::Window d) {
    for (int id : {1028, 1062, 1039, 1060}) plat::ShowControl(d, id, true);
  }
};

TEST_F(Acquisition, TimersStartWithTheDialogAndTheClipboardIsReset) {
  headless::SetClipboard("NEW ACTION");  // left from before: never acted on
  Open([](plat::Window d) {
    EXPECT_TRUE(headless::TimerRunning(d, 999));
    EXPECT_EQ(headless::TimerPeriod(d, 999), 10000u);
    EXPECT_TRUE(headless::TimerRunning(d, 888));
    EXPECT_EQ(headless::TimerPeriod(d, 888), 1000u);
    EXPECT_EQ(headless::Clipboard(), "0,0");
    Poll();
    EXPECT_TRUE(headless::TimerRunning(d, 888));  // one-shot, started again
  });
  EXPECT_EQ(newCalls, 0);
}

TEST_F(Acquisition, APointFillsXAndYOnceAndStaysOnTheClipboard) {
  Open([](plat::Window d) {
    headless::SetClipboard("12,34");
    Poll();
    EXPECT_EQ(Text(d, 1002), "12");
    EXPECT_EQ(Text(d, 1003), "34");
    const std::size_t writes = headless::ClipboardWrites().size();
    Poll();
    Poll();
    EXPECT_EQ(headless::Clipboard(), "12,34");
    EXPECT_EQ(headless::ClipboardWrites().size(), writes);
    // The user changed a field meanwhile: the same point is written again.
    plat::SetControlText(d, 1002, "7");
    Poll();
    EXPECT_EQ(Text(d, 1002), "12");
  });
}

TEST_F(Acquisition, TextsThatAreNoAnswerStayOnTheClipboard) {
  Open([](plat::Window d) {
    plat::SetControlText(d, 1002, "5");
    plat::SetControlText(d, 1003, "6");
    for (const char* text : {"0,0", "0,5", ",5", "12345,1", " 12,34", "1,2,3", "12,34\r\n",
                             "new action", "ins action", "座標取得"}) {
      headless::SetClipboard(text);
      Poll();
      EXPECT_EQ(headless::Clipboard(), text);
      EXPECT_EQ(Text(d, 1002), "5") << text;
      EXPECT_EQ(Text(d, 1003), "6") << text;
    }
  });
  EXPECT_EQ(newCalls + insertCalls, 0);
}

TEST_F(Acquisition, ACommaEmptiesTheFieldsAndResetsTheClipboard) {
  Open([](plat::Window d) {
    plat::SetControlText(d, 1002, "5");
    plat::SetControlText(d, 1003, "6");
    headless::SetClipboard(",");
    Poll();
    EXPECT_EQ(Text(d, 1002), "");
    EXPECT_EQ(Text(d, 1003), "");
    EXPECT_EQ(headless::Clipboard(), "0,0");
  });
}

TEST_F(Acquisition, NewAndInsertRunExactlyOnce) {
  Open([](plat::Window) {
    headless::SetClipboard("NEW ACTION");
    Poll();
    EXPECT_EQ(newCalls, 1);
    EXPECT_EQ(headless::Clipboard(), "0,0");
    Poll();
    Poll();
    EXPECT_EQ(newCalls, 1);
    headless::SetClipboard("INS ACTION");
    Poll();
    Poll();
    EXPECT_EQ(insertCalls, 1);
    EXPECT_EQ(headless::Clipboard(), "0,0");
    // The picker says it again: a new answer.
    headless::SetClipboard("NEW ACTION");
    Poll();
    EXPECT_EQ(newCalls, 2);
  });
}

// Another program holds the clipboard while the editor would reset it: the
// answer stays there, but it is the same answer and is not acted on again.
TEST_F(Acquisition, AFailedResetNeverRepeatsACommand) {
  Open([](plat::Window d) {
    holdDuringCommand = true;
    headless::SetClipboard("NEW ACTION");
    Poll();
    EXPECT_EQ(newCalls, 1);
    holdDuringCommand = false;
    for (int i = 0; i < 3; ++i) Poll();  // held: nothing to read
    headless::HoldClipboard(false);
    EXPECT_EQ(headless::Clipboard(), "NEW ACTION");
    for (int i = 0; i < 5; ++i) Poll();
    EXPECT_EQ(newCalls, 1);
    EXPECT_TRUE(headless::TimerRunning(d, 888));
    // The same holds for the comma.
    plat::SetControlText(d, 1002, "5");
    headless::SetClipboard(",");
    headless::HoldClipboard(false);
    Poll();
    EXPECT_EQ(Text(d, 1002), "");
  });
}

TEST_F(Acquisition, ATextOf65536BytesIsNeverAnAnswer) {
  Open([](plat::Window d) {
    std::string text = "12,34";
    headless::SetClipboard(text + std::string(65536 - text.size(), '\0'));
    EXPECT_EQ(std::string(companions::ReadClipboardText()), "");
    Poll();
    EXPECT_EQ(Text(d, 1002), "");
    headless::SetClipboard(std::string(65535, 'a'));
    EXPECT_EQ(std::string(companions::ReadClipboardText()).size(), 65535u);
    headless::SetClipboard(std::string(65536, 'a'));
    EXPECT_EQ(std::string(companions::ReadClipboardText()), "");
  });
}

TEST_F(Acquisition, AnEndedPickerIsStartedAgainAndItsWindowRestored) {
  InstallCompanions();
  headless::OnProcessStart([](headless::ProcessRecord& p) {
    if (p.start.commandLine == "C:\\Tools\\Pickmark.exe") {
      headless::AddTopLevelWindow(p.id, "座標取得 - Pickmark", true, false);
    }
  });
  Open([](plat::Window d) {
    const std::uint32_t first = companions::PickerProcessId;
    ASSERT_NE(first, 0u);
    headless::AdvanceTime(10000);
    EXPECT_EQ(companions::PickerProcessId, first);  // still running: nothing
    headless::EndProcess(first);
    headless::AdvanceTime(10000);
    const std::uint32_t second = companions::PickerProcessId;
    EXPECT_NE(second, first);
    ASSERT_NE(headless::FindProcess(second), nullptr);
    EXPECT_TRUE(headless::FindProcess(second)->running);
    EXPECT_TRUE(headless::TimerRunning(d, 999));
    plat::Window w = plat::kNoWindow;
    for (const auto& t : plat::TopLevelWindows()) {
      if (t.processId == second) w = t.window;
    }
    EXPECT_EQ(headless::LastShowCommand(w), plat::kSwRestore);
  });
}

TEST_F(Acquisition, APickerThatCannotStartIsTriedAgain) {
  Open([this](plat::Window) {
    EXPECT_EQ(companions::PickerProcessId, 0u);
    InstallCompanions();
    headless::AdvanceTime(10000);
    EXPECT_NE(companions::PickerProcessId, 0u);
  });
}

TEST_F(Acquisition, ThePickerWindowMovesTopmostToAPoint) {
  InstallCompanions();
  Open([](plat::Window) {
    // Above the picker's window: an owned one and a hidden one of the same process.
    plat::Window picker = headless::AddTopLevelWindow(companions::PickerProcessId, "座標取得", true, false);
    plat::SetWindowBounds(picker, 0, 0, 60, 40, false);
    plat::Window own = headless::AddTopLevelWindow(companions::PickerProcessId, "座標取得", true, true);
    plat::Window hidden = headless::AddTopLevelWindow(companions::PickerProcessId, "座標取得", false, false);
    companions::MovePickerWindow(100 - 31, 200 - 52);
    plat::Rect r = plat::WindowRect(picker);
    EXPECT_EQ(r.left, 69);
    EXPECT_EQ(r.top, 148);
    EXPECT_EQ(r.right - r.left, 60);
    EXPECT_TRUE(plat::IsTopmost(picker));
    EXPECT_FALSE(plat::IsTopmost(own));
    EXPECT_FALSE(plat::IsTopmost(hidden));
    EXPECT_EQ(plat::TopLevelWindows()[0].window, picker);
  });
}

TEST_F(Acquisition, ConfirmPlacesTheFirstWindowWhoseTitleMatches) {
  Open([](plat::Window d) {
    ShowButtons(d);
    std::uint32_t other = headless::AddForeignProcess();
    plat::Window hidden = headless::AddTopLevelWindow(other, "Untitled - Memo (hidden)", false, false);
    plat::Window memo = headless::AddTopLevelWindow(other, "Untitled - メモ帳", true, true);
    plat::SetWindowBounds(memo, 10, 10, 100, 100, false);
    plat::SetWindowBounds(hidden, 10, 10, 100, 100, false);
    plat::ShowWindowCmd(hidden, plat::kSwHide);
    plat::SetControlText(d, 1005, "untitled");  // ASCII letters without case
    plat::SetControlText(d, 1015, "-8");
    plat::SetControlText(d, 1016, "0");
    plat::SetControlText(d, 1017, "0");  // width 0: nothing
    plat::SetControlText(d, 1018, "200");
    headless::Click(d, 1028);
    EXPECT_EQ(plat::WindowRect(memo).left, 10);
    plat::SetControlText(d, 1017, "300");
    headless::Click(d, 1028);
    plat::Rect r = plat::WindowRect(memo);
    EXPECT_EQ(r.left, -8);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 292);
    EXPECT_EQ(r.bottom, 200);
    EXPECT_EQ(plat::WindowRect(hidden).left, 10);
    // No window with that title: nothing moves.
    plat::SetControlText(d, 1005, "no such window");
    plat::SetControlText(d, 1015, "50");
    headless::Click(d, 1028);
    EXPECT_EQ(plat::WindowRect(memo).left, -8);
    // An empty title: nothing.
    plat::SetControlText(d, 1005, "");
    headless::Click(d, 1028);
    EXPECT_EQ(plat::WindowRect(memo).left, -8);
  });
}

TEST_F(Acquisition, TakeReadsTheRectangleOrLeavesTheFields) {
  Open([](plat::Window d) {
    ShowButtons(d);
    std::uint32_t other = headless::AddForeignProcess();
    plat::Window memo = headless::AddTopLevelWindow(other, "メモ帳 - 無題", true, false);
    plat::SetWindowBounds(memo, -8, -8, 1296, 1040, false);
    plat::SetControlText(d, 1015, "1");
    plat::SetControlText(d, 1016, "2");
    plat::SetControlText(d, 1017, "3");
    plat::SetControlText(d, 1018, "4");
    plat::SetControlText(d, 1005, "ない窓");
    headless::Click(d, 1062);
    EXPECT_EQ(Text(d, 1015) + "," + Text(d, 1016) + "," + Text(d, 1017) + "," + Text(d, 1018), "1,2,3,4");
    plat::SetControlText(d, 1005, "メモ帳");
    headless::Click(d, 1062);
    EXPECT_EQ(Text(d, 1015) + "," + Text(d, 1016) + "," + Text(d, 1017) + "," + Text(d, 1018),
              "-8,-8,1296,1040");
    // What was read places the window again, back and forth.
    plat::SetWindowBounds(memo, 0, 0, 10, 10, false);
    headless::Click(d, 1028);
    plat::Rect r = plat::WindowRect(memo);
    EXPECT_EQ(r.left, -8);
    EXPECT_EQ(r.right, 1288);
  });
}

TEST_F(Acquisition, TheTitlePickerIsWaitedForAndItsTextTaken) {
  InstallCompanions();
  bool pickerHiddenMeanwhile = false;
  bool pollingMeanwhile = true;
  plat::Window pickerWindow = plat::kNoWindow;
  plat::Window dialog = plat::kNoWindow;
  headless::OnProcessStart([&](headless::ProcessRecord& p) {
    if (p.start.commandLine == "C:\\Tools\\Pickmark.exe") {
      pickerWindow = headless::AddTopLevelWindow(p.id, "座標取得", true, false);
    }
  });
  headless::OnProcessWait([&](headless::ProcessRecord& p) {
    pickerHiddenMeanwhile = !plat::IsWindowVisible(pickerWindow);
    pollingMeanwhile = headless::TimerRunning(dialog, 888);
    headless::SetClipboard("Untitled - メモ帳");
    headless::EndProcess(p.id);
  });
  Open([&](plat::Window d) {
    dialog = d;
    ShowButtons(d);
    headless::Click(d, 1039);
    EXPECT_EQ(Text(d, 1005), "Untitled - メモ帳");
    EXPECT_EQ(headless::Clipboard(), "Untitled - メモ帳");  // stays
    EXPECT_TRUE(plat::IsWindowVisible(pickerWindow));
    EXPECT_EQ(headless::LastShowCommand(pickerWindow), plat::kSwShow);
    EXPECT_TRUE(headless::TimerRunning(d, 888));
    ASSERT_EQ(headless::ProcessWaits().size(), 1u);
  });
  EXPECT_TRUE(pickerHiddenMeanwhile);
  EXPECT_FALSE(pollingMeanwhile);
}

// A cancelled title picker (a non-zero exit code) leaves the clipboard as it
// was, here the editor's own "0,0": the field keeps the user's title.
TEST_F(Acquisition, ACancelledTitlePickerLeavesTheTitleField) {
  InstallCompanions();
  headless::OnProcessWait([](headless::ProcessRecord& p) {
    p.exitCode = 1;
    headless::EndProcess(p.id);
  });
  Open([](plat::Window d) {
    ShowButtons(d);
    plat::SetControlText(d, 1005, "請求書 - 表計算");
    headless::Click(d, 1039);
    EXPECT_EQ(Text(d, 1005), "請求書 - 表計算");
    EXPECT_EQ(headless::Clipboard(), "0,0");
    EXPECT_TRUE(headless::TimerRunning(d, 888));
  });
}

// Without the title picker the clipboard's text is taken as it is; a title
// that reads like an answer is acted on by the next poll.
TEST_F(Acquisition, WithoutTheTitlePickerTheClipboardIsTaken) {
  Open([](plat::Window d) {
    ShowButtons(d);
    headless::SetClipboard("NEW ACTION");
    headless::Click(d, 1039);
    EXPECT_EQ(Text(d, 1005), "NEW ACTION");
    Poll();
    EXPECT_EQ(newCalls, 1);
    headless::ClearClipboard();
    headless::Click(d, 1039);
    EXPECT_EQ(Text(d, 1005), "");
    headless::SetClipboard(std::string(70000, 'a'));
    headless::Click(d, 1039);
    EXPECT_EQ(Text(d, 1005), "");
  });
}

TEST_F(Acquisition, TheOpenFileDialogFillsTheInputField) {
  Open([](plat::Window d) {
    ShowButtons(d);
    plat::OpenFileChoice chosen;
    chosen.chosen = true;
    chosen.path = "C:\\Program Files\\表計算\\calc.exe";
    headless::QueueOpenFileAnswer(chosen);
    headless::Click(d, 1060);
    EXPECT_EQ(Text(d, 1005), "C:\\Program Files\\表計算\\calc.exe");
    ASSERT_EQ(headless::OpenFileDialogs().size(), 1u);
    EXPECT_EQ(headless::OpenFileDialogs()[0].flags, 0x882004u);
    EXPECT_EQ(headless::OpenFileDialogs()[0].filterName, "(*.*)");
    EXPECT_EQ(headless::OpenFileDialogs()[0].pattern, "*.*");
    EXPECT_EQ(headless::OpenFileDialogs()[0].owner, d);

    // A path Shift-JIS cannot write is refused; the field keeps its text.
    chosen.path = "C:\\Users\\?\\a.exe";
    chosen.exact = false;
    headless::QueueOpenFileAnswer(chosen);
    headless::Click(d, 1060);
    EXPECT_EQ(Text(d, 1005), "C:\\Program Files\\表計算\\calc.exe");
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "データ検査");

    // Cancel empties the field.
    headless::Click(d, 1060);
    EXPECT_EQ(Text(d, 1005), "");
  });
}

}  // namespace
