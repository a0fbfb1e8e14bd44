// The test run of ticked rows: the file handed to the runner, how the runner
// is started, the editor and the picker's window hidden while it runs and
// shown again by timer 777, and the failures told to the user.
#include <string>
#include <vector>

#include "app/app.h"
#include "companions/contract.h"
#include "companions/test_run.h"
#include "companions/window_titles.h"
#include "editor/list_fill.h"
#include "jobstore/scramble.h"
#include "operations/scrambled.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

constexpr char kFolder[] = "C:\\Tools\\job\\";
const std::string kInspect = std::string(kFolder) + "KeyInspec.def";
const std::string kInspectScrambled = kInspect + ".psw";
const std::string kRepeat = std::string(kFolder) + "KeyRepeat.def";

std::string Unscrambled(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
  return bytes;
}

class TestRun : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
    headless::PutFile("C:\\Tools\\Pickmark.exe", "MZ");
    headless::PutFile("C:\\Tools\\Runvane.exe", "MZ");
    // The picker shows its window when it starts.
    headless::OnProcessStart([this](headless::ProcessRecord& p) {
      if (p.start.commandLine == "C:\\Tools\\Pickmark.exe") {
        pickerWindow_ = headless::AddTopLevelWindow(p.id, "座標取得 (右クリックで終了)", true, false);
      }
    });
  }
  void Run(const std::string& record, const std::function<void(plat::Window)>& driver) {
    headless::PutFile(std::string(kFolder) + "KeyRecord.def", record);
    headless::OnDialog(res::kMainDialog, driver);
    app::RunTavolex({"job"});
  }
  // The runners the editor started, in order.
  static std::vector<headless::ProcessRecord> Runners() {
    std::vector<headless::ProcessRecord> out;
    for (const auto& p : headless::Processes()) {
      if (p.start.commandLine.find("Runvane.exe") != std::string::npos) out.push_back(p);
    }
    return out;
  }
  plat::Window pickerWindow_ = 0;
};

const std::string kThreeLines =
    "開く,,,アプリケーションを実行する,C:\\a.exe,,,,,2\r\n"
    "押す,10,20,マウスでクリックする,,,,,,4\r\n"
    "待つ,,,指定秒間は停止する,,,,,,3";  // the last line has no line end

TEST_F(TestRun, TheTickedRowsRunWhileTheEditorIsHidden) {
  std::string inspect, repeat;
  Run(kThreeLines, [&](plat::Window d) {
    headless::ToggleListCheck(d, 1000, 1);  // row 2 unticked
    headless::Click(d, 1045);
    headless::Type(d, 1006, "1");
    headless::Type(d, 1007, "3");
    headless::Type(d, 1008, "2");
    headless::Click(d, 1027);

    // What the runner finds when it starts.
    EXPECT_FALSE(headless::HasFile(kInspect));
    inspect = Unscrambled(headless::FileBytes(kInspectScrambled));
    repeat = headless::FileBytes(kRepeat);
    auto runners = Runners();
    ASSERT_EQ(runners.size(), 1u);
    EXPECT_EQ(runners[0].start.commandLine,
              "\"C:\\Tools\\Runvane.exe\" \"C:\\Tools\\job\\KeyInspec.def\" \"C:\\Tools\\job\\KeyRepeat.def\"");
    EXPECT_EQ(runners[0].start.creationFlags, plat::kCreateNoWindow);
    EXPECT_TRUE(runners[0].start.useShowWindow);
    EXPECT_EQ(runners[0].start.showWindow, plat::kSwHide);
    EXPECT_EQ(companions::RunnerProcessId, runners[0].id);

    // Hidden while the runner runs, however long it takes.
    EXPECT_FALSE(plat::IsWindowVisible(d));
    EXPECT_FALSE(plat::IsWindowVisible(pickerWindow_));
    EXPECT_EQ(headless::LastShowCommand(pickerWindow_), plat::kSwHide);
    EXPECT_TRUE(headless::TimerRunning(d, 777));
    EXPECT_EQ(headless::TimerPeriod(d, 777), 1000u);
    headless::AdvanceTime(5000);
    EXPECT_FALSE(plat::IsWindowVisible(d));
    EXPECT_TRUE(headless::TimerRunning(d, 777));

    // The runner ends: within a second the editor and the picker are back.
    headless::EndProcess(runners[0].id);
    headless::AdvanceTime(1000);
    EXPECT_TRUE(plat::IsWindowVisible(d));
    EXPECT_TRUE(plat::IsWindowVisible(pickerWindow_));
    EXPECT_EQ(headless::LastShowCommand(pickerWindow_), plat::kSwShow);
    EXPECT_FALSE(headless::TimerRunning(d, 777));
    EXPECT_EQ(companions::RunnerProcessId, 0u) << "an ended runner's id is forgotten";
    EXPECT_TRUE(editor::JobModified);  // the tick of rule 1 changed the job
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  EXPECT_EQ(inspect,
            "開く,,,アプリケーションを実行する,C:\\a.exe,,,,,2\r\n"
            "\r\n"
            "待つ,,,指定秒間は停止する,,,,,,3\r\n");
  EXPECT_EQ(repeat, "1,3,2\r\n\r\n\r\n");
  // At exit neither test-run file remains.
  EXPECT_FALSE(headless::HasFile(kInspect));
  EXPECT_FALSE(headless::HasFile(kInspectScrambled));
}

TEST_F(TestRun, LinesEndedByLFAloneAreWrittenUnchanged) {
  std::string inspect;
  Run("a,,,マウスでクリックする,,,,,,4\nb,,,マウスでクリックする,,,,,,4\r\n", [&](plat::Window d) {
    headless::Click(d, 1027);
    inspect = Unscrambled(headless::FileBytes(kInspectScrambled));
    headless::EndProcess(companions::RunnerProcessId);
    headless::AdvanceTime(1000);
    headless::CloseBox(d);
  });
  EXPECT_EQ(inspect, "a,,,マウスでクリックする,,,,,,4\nb,,,マウスでクリックする,,,,,,4\r\n");
}

TEST_F(TestRun, WithNoRowTickedTheRunnerGetsEmptyLines) {
  std::string inspect;
  Run(kThreeLines, [&](plat::Window d) {
    for (int r = 0; r < 3; ++r) headless::ToggleListCheck(d, 1000, r);
    headless::Click(d, 1027);
    inspect = Unscrambled(headless::FileBytes(kInspectScrambled));
    EXPECT_EQ(Runners().size(), 1u);
    headless::EndProcess(companions::RunnerProcessId);
    headless::AdvanceTime(1000);
    headless::CloseBox(d);
  });
  EXPECT_EQ(inspect, "\r\n\r\n\r\n");
}

TEST_F(TestRun, AJobWithoutRowsRunsAnEmptyFileWithTheRulesOff) {
  bool scrambledExists = false;
  std::string inspect;
  Run("x,,,マウスでクリックする,,,,,,4\r\n", [&](plat::Window d) {
    headless::Click(d, 1046);
    headless::Type(d, 1009, "1");
    headless::Type(d, 1010, "1");
    headless::Type(d, 1011, "1");
    jobstore::RemoveLineAt(0);
    editor::FillOperationList(d);
    headless::Click(d, 1027);
    scrambledExists = headless::HasFile(kInspectScrambled);
    inspect = headless::FileBytes(kInspectScrambled);
    EXPECT_EQ(plat::GetButtonCheck(d, 1046), 0);
    EXPECT_EQ(plat::GetControlText(d, 1009), "");
    headless::EndProcess(companions::RunnerProcessId);
    headless::AdvanceTime(1000);
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  EXPECT_TRUE(scrambledExists);
  EXPECT_EQ(inspect, "");
  EXPECT_EQ(headless::FileBytes(kRepeat), "\r\n\r\n\r\n");
}

TEST_F(TestRun, InvalidRulesRunNothing) {
  headless::PutFile(kInspectScrambled, "old");
  Run(kThreeLines, [&](plat::Window d) {
    headless::Click(d, 1045);  // ticked, fields empty
    headless::Click(d, 1027);
    EXPECT_TRUE(plat::IsWindowVisible(d));
    EXPECT_TRUE(plat::IsWindowVisible(pickerWindow_));
    EXPECT_FALSE(headless::TimerRunning(d, 777));
    EXPECT_EQ(headless::FileBytes(kInspectScrambled), "old");
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  EXPECT_TRUE(Runners().empty());
  ASSERT_GE(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "データ検査");
  EXPECT_FALSE(headless::HasFile(kRepeat));
}

// An earlier run's file must never reach the runner: when the new one cannot
// be written whole, nothing starts and the user is told where.
TEST_F(TestRun, ATestRunFileThatCannotBeWrittenStartsNothing) {
  struct Fault {
    const char* what;
    void (*inject)();
    std::string path;
  } faults[] = {
      {"cannot create", [] { headless::FailCreate("C:\\Tools\\job\\KeyInspec.tmp"); }, kInspect},
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyInspec.tmp", 10); }, kInspect},
      {"scrambled form cannot be written",
       [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyInspec.def.tmp", 10); }, kInspectScrambled},
  };
  for (const Fault& f : faults) {
    SetUp();
    headless::PutFile(kInspectScrambled, "an earlier run");
    f.inject();
    Run(kThreeLines, [&](plat::Window d) {
      headless::Click(d, 1027);
      EXPECT_TRUE(plat::IsWindowVisible(d)) << f.what;
      EXPECT_TRUE(plat::IsWindowVisible(pickerWindow_)) << f.what;
      EXPECT_FALSE(headless::TimerRunning(d, 777)) << f.what;
      EXPECT_FALSE(headless::HasFile(kInspectScrambled)) << f.what;
      EXPECT_FALSE(headless::HasFile(kInspect)) << f.what;
      headless::CloseBox(d);
    });
    EXPECT_TRUE(Runners().empty()) << f.what;
    auto boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << f.what;
    EXPECT_EQ(boxes[0].text, "動作試験の操作をファイルに書き込めませんでした。\n\n" + f.path +
                                 "\n\n保存先のフォルダーとディスクの空き容量を確認してください。")
        << f.what;
    EXPECT_EQ(boxes[0].caption, "タヴォレクス") << f.what;
    EXPECT_EQ(headless::OpenFileCount(), 0) << f.what;
  }
}

TEST_F(TestRun, ARunnerThatCannotBeStartedIsReported) {
  plat::DeleteFileAt("C:\\Tools\\Runvane.exe");
  Run(kThreeLines, [&](plat::Window d) {
    headless::Click(d, 1027);
    EXPECT_EQ(companions::RunnerProcessId, 0u);
    EXPECT_TRUE(plat::IsWindowVisible(d));
    EXPECT_TRUE(plat::IsWindowVisible(pickerWindow_));
    EXPECT_FALSE(headless::TimerRunning(d, 777));
    headless::CloseBox(d);
  });
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "動作試験を実行するプログラムを起動できませんでした。\n\nC:\\Tools\\Runvane.exe\n\n"
            "プログラムがこの場所にあるか確認してください。");
  EXPECT_EQ(boxes[0].caption, "タヴォレクス");
}

// ------------------------------------------------- processes and windows

TEST_F(TestRun, ProcessesAreAliveWhileTheyRun) {
  EXPECT_FALSE(companions::IsProcessAlive(0));
  std::uint32_t other = headless::AddForeignProcess();
  EXPECT_TRUE(companions::IsProcessAlive(other));
  headless::EndProcess(other);
  EXPECT_FALSE(companions::IsProcessAlive(other));
}

TEST_F(TestRun, WindowsAreFoundByTitleTopFirstUnownedOnly) {
  std::uint32_t p = headless::AddForeignProcess();
  // Added windows go on top, so the last added is the first in the order.
  plat::Window lower = headless::AddTopLevelWindow(p, "座標取得 2", true, false);
  plat::Window hidden = headless::AddTopLevelWindow(p, "座標取得 hidden", false, false);
  plat::Window owned = headless::AddTopLevelWindow(p, "座標取得 owned", true, true);
  plat::Window other = headless::AddTopLevelWindow(p, "メモ帳", true, false);

  // Hide and restore skip invisible and owned windows.
  EXPECT_TRUE(companions::RestoreWindowByTitle(companions::PickerTitleText));
  EXPECT_EQ(headless::LastShowCommand(lower), plat::kSwRestore);
  EXPECT_TRUE(companions::HideWindowByTitle(companions::PickerTitleText));
  EXPECT_EQ(headless::LastShowCommand(lower), plat::kSwHide);
  EXPECT_EQ(headless::LastShowCommand(hidden), -1);
  EXPECT_EQ(headless::LastShowCommand(owned), -1);
  EXPECT_EQ(headless::LastShowCommand(other), -1);
  EXPECT_FALSE(companions::HideWindowByTitle(companions::PickerTitleText));  // none visible left

  // Show finds hidden windows: the topmost match, the one that never was shown.
  EXPECT_TRUE(companions::ShowWindowByTitle(companions::PickerTitleText));
  EXPECT_EQ(headless::LastShowCommand(hidden), plat::kSwShow);
  EXPECT_TRUE(plat::IsWindowVisible(hidden));
  EXPECT_FALSE(plat::IsWindowVisible(lower));

  // The search is by bytes and case-sensitive.
  EXPECT_FALSE(companions::ShowWindowByTitle("めも帳"));
  EXPECT_TRUE(companions::RestoreWindowByTitle("帳"));
  EXPECT_EQ(headless::LastShowCommand(other), plat::kSwRestore);
}

}  // namespace
