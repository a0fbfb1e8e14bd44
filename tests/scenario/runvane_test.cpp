// The runner on the headless platform, from its command line to its exit
// code: the whole input of a job, the stop sign during a wait and during
// typing, a refused job, a run that cannot go on, the window guards (a
// window in the way of a click, the focus taken before keys, a placed window
// closed), and a saved job started by its name with the log that keeps every
// run.
#include <algorithm>
#include <string>
#include <vector>

#include "operations/scrambled.h"
#include "platform/headless/runner.h"
#include "runvane/run_log.h"
#include "runvane/runner.h"
#include "tests/support/fresh_state.h"

namespace {

constexpr char kJob[] = "C:\\Tools\\job\\";
constexpr char kCaption[] = "タヴォレクス 動作試験";

std::string Scrambled(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
  return bytes;
}

// One event as a short text: "move 640,480", "Ld", "Lu", "kd 25x" (x: the
// extended flag), "cd 65E5" (a character's unit).
std::string Describe(const plat::InputEvent& e) {
  using E = plat::InputEvent;
  char text[32];
  switch (e.kind) {
    case E::Move: std::snprintf(text, sizeof text, "move %d,%d", e.x, e.y); break;
    case E::LeftDown: return "Ld";
    case E::LeftUp: return "Lu";
    case E::RightDown: return "Rd";
    case E::RightUp: return "Ru";
    case E::KeyDown:
    case E::KeyUp:
      std::snprintf(text, sizeof text, "%s %02X%s", e.kind == E::KeyDown ? "kd" : "ku", e.virtualKey,
                    e.extended ? "x" : "");
      break;
    default:
      std::snprintf(text, sizeof text, "%s %04X", e.kind == E::CharDown ? "cd" : "cu", static_cast<unsigned>(e.unit));
      break;
  }
  return text;
}

std::string InputText() {
  std::string out;
  for (const headless::SentInput& s : headless::InputSent()) out += (out.empty() ? "" : " ") + Describe(s.event);
  return out;
}

// Every key and button pressed was released, in the end.
bool NothingLeftDown() {
  std::vector<std::string> down;  // "L", "k 11", "c 0061"
  for (const headless::SentInput& s : headless::InputSent()) {
    const std::string d = Describe(s.event);
    if (d.rfind("move", 0) == 0) continue;
    const std::string key = d.substr(0, 1) + d.substr(2);
    auto it = std::find(down.begin(), down.end(), key);
    if (d[1] == 'd') {
      down.push_back(key);
    } else if (it != down.end()) {
      down.erase(it);
    }
  }
  return down.empty();
}

class Runner : public FreshState {
 protected:
  int Run(const std::string& testRun, const std::string& repeat = "\r\n\r\n\r\n") {
    headless::MakeFolder(kJob);
    headless::PutFile(std::string(kJob) + "KeyInspec.def.psw", Scrambled(testRun));
    headless::PutFile(std::string(kJob) + "KeyRepeat.def", repeat);
    start_ = headless::Now();
    headless::ReleaseOwnedMutexes();  // an earlier run of the same test has ended
    return runvane::RunCommandLine({std::string(kJob) + "KeyInspec.def", std::string(kJob) + "KeyRepeat.def"});
  }
  static std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    const std::string log = headless::FileBytes(std::string(kJob) + "Runvane.log");
    for (std::size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(log.substr(start, end - start));
    }
    return lines;
  }
  // The one message box, which must have the runner's caption.
  static std::string Message() {
    const auto boxes = headless::MessageBoxes();
    if (boxes.size() != 1) return "<" + std::to_string(boxes.size()) + " message boxes>";
    EXPECT_EQ(boxes[0].caption, kCaption);
    return boxes[0].text;
  }
  std::uint64_t start_ = 0;
};

TEST_F(Runner, AWholeJobSendsItsInputInTheOrderOfItsRowsAndRepeats) {
  plat::Window memo = 0;
  headless::OnOpen([&](const headless::OpenedPath& opened) {
    if (opened.path != "C:\\Apps\\メモ.exe") return;
    memo = headless::AddTopLevelWindow(headless::AddForeignProcess(), "MEMO pad - 無題", true, false);
    headless::SetWindowShowState(memo, 2);  // maximised
  });
  headless::PutFile("C:\\Apps\\メモ.exe", "MZ");
  headless::PutFile("C:\\tool.exe", "MZ");
  const std::string job =
      "押す,640,480,マウスでクリックする,,,,,,1\r\n"
      "待つ,,,指定秒間は停止する,2,,,,,\r\n"
      "二度,100,200,マウスでダブルクリックする,,,,,,\r\n"
      "\r\n"
      "右,300,400,マウスで右クリックする,,,,,,\r\n"
      "入力,10,20,文字を入力する,日本a,,,,,\r\n"
      "複写,,,テキストを複写する,,,,,,\r\n"
      "貼付,50,60,テキストを貼付する,,,,,,\r\n"
      "左,,,各種キーを入力する,←,,,,,\r\n"
      "F5,,,各種キーを入力する,F5,,,,,\r\n"
      "消去,,,ショートカットを入力する,Win+D  (画面消去),,,,,\r\n"
      "開く,,,アプリケーションを実行する,C:\\Apps\\メモ.exe,,,,,1\r\n"
      "置く,,,アプリケーションの表示設定,memo,-8,0,800,600,\r\n"
      "根,,,アプリケーションを実行する,C:\\tool.exe,,,,,0\r\n";
  EXPECT_EQ(Run(job, "9,10,2\r\n\r\n\r\n"), runvane::kAllRan);

  EXPECT_EQ(InputText(),
            "move 640,480 Ld Lu "
            "move 100,200 Ld Lu Ld Lu "
            "move 300,400 Rd Ru "
            "move 10,20 Ld Lu cd 65E5 cu 65E5 cd 672C cu 672C cd 0061 cu 0061 "
            "kd 11 kd 41 ku 41 ku 11 kd 11 kd 43 ku 43 ku 11 "
            "move 50,60 Ld Lu kd 11 kd 56 ku 56 ku 11 "
            "kd 25x ku 25x kd 74 ku 74 kd 25x ku 25x kd 74 ku 74 "
            "kd 5Bx kd 44 ku 44 ku 5Bx");
  // Row 1 waits its stop second, then row 2 its two seconds.
  const auto sent = headless::InputSent();
  const std::uint64_t gap = sent[3].time - sent[2].time;
  EXPECT_TRUE(gap >= 3000 && gap < 3050) << gap;

  ASSERT_EQ(headless::OpenedPaths().size(), 2u);
  EXPECT_EQ(headless::OpenedPaths()[0].workingFolder, "C:\\Apps");
  EXPECT_EQ(headless::OpenedPaths()[1].workingFolder, "C:\\");  // the root, not the drive's current folder
  const plat::Rect r = plat::WindowRect(memo);
  EXPECT_TRUE(r.left == -8 && r.top == 0 && r.right == 792 && r.bottom == 600);
  EXPECT_EQ(headless::WindowShowState(memo), 0) << "the maximised window was not restored";

  // The status window counted the steps, repeats included, and is gone.
  const auto status = headless::StatusTexts();
  ASSERT_EQ(status.size(), 15u);
  EXPECT_EQ(status.back(), "動作試験中 14行目 (15/15)　Shift+Esc で停止");
  EXPECT_FALSE(headless::StatusShown());
  EXPECT_FALSE(headless::StopKeysWatched());
  // The log: a start line, one line per step, an end line.
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 17u);
  EXPECT_NE(log[10].find("\t9行目\t各種キーを入力する\t完了"), std::string::npos) << log[10];
  EXPECT_NE(log.back().find("終了コード 0"), std::string::npos);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(Runner, ARangeOfUntickedRowsEndsAtOnceHoweverOftenItRepeats) {
  std::string job = "押す,640,480,マウスでクリックする,,,,,,\r\n";
  for (int i = 0; i < 2000; ++i) job += "\r\n";
  EXPECT_EQ(Run(job, "2,2001,9999999\r\n\r\n\r\n"), runvane::kAllRan);
  EXPECT_EQ(InputText(), "move 640,480 Ld Lu");
}

TEST_F(Runner, ShiftEscOrThePointerInTheCornerStopsTheRunAtOnceWithNothingLeftDown) {
  // Shift+Esc five seconds into a 60-second pause.
  std::uint64_t pressed = 0;
  headless::OnBriefWait([&] {
    if (pressed == 0 && headless::Now() >= start_ + 5000) {
      pressed = headless::Now();
      headless::PressStopKeys();
    }
  });
  EXPECT_EQ(Run("保存,,,ショートカットを入力する,Ctrl+S (保存),,,,,\r\n待つ,,,指定秒間は停止する,60,,,,,\r\n"
                "押す,5,5,マウスでクリックする,,,,,,\r\n"),
            runvane::kStopped);
  EXPECT_LE(headless::Now() - pressed, 200u);
  EXPECT_EQ(InputText(), "kd 11 kd 53 ku 53 ku 11") << "the row after the pause ran";
  EXPECT_NE(LogLines()[2].find("2行目\t指定秒間は停止する\t停止（Shift+Esc）"), std::string::npos);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_FALSE(headless::StatusShown());

  // The pointer moved to the top-left pixel while a long text is typed.
  headless::Reset();
  headless::OnBriefWait([&] {
    if (headless::InputSent().size() >= 11) headless::SetPointer(0, 0);
  });
  EXPECT_EQ(Run("入力,,,文字を入力する,abcdefghijklmnop,,,,,\r\n"), runvane::kStopped);
  EXPECT_EQ(headless::InputSent().size(), 12u);
  EXPECT_TRUE(NothingLeftDown()) << InputText();
  EXPECT_NE(LogLines()[1].find("停止（ポインターが画面の左上隅）"), std::string::npos);
}

TEST_F(Runner, AJobThatCannotRunIsRefusedBeforeAnyInput) {
  EXPECT_EQ(Run("押す,5,5,マウスでクリックする,,,,,,\r\n\r\n保存,,,ショートカットを入力する,Ctrl+Q,,,,,\r\n"),
            runvane::kRefused);
  EXPECT_TRUE(headless::InputSent().empty());
  EXPECT_TRUE(headless::StatusTexts().empty());
  const std::string message = Message();
  EXPECT_NE(message.find("3行目「保存」:\nショートカット「Ctrl+Q」は使えません。"), std::string::npos) << message;
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NE(log[1].find("3行目\t-\t実行しません: ショートカット「Ctrl+Q」は使えません。"), std::string::npos);
  EXPECT_NE(log[2].find("終了コード 2"), std::string::npos);

  // Overlapping repeat rules, and a test-run file that is not there.
  headless::Reset();
  EXPECT_EQ(Run("押す,5,5,マウスでクリックする,,,,,,\r\n", "1,1,2\r\n1,1,3\r\n"), runvane::kRefused);
  EXPECT_NE(Message().find("繰返し処理の設定（2行目）:\n1行目と範囲が重複しています。"), std::string::npos);
  headless::Reset();
  headless::MakeFolder(kJob);
  EXPECT_EQ(runvane::RunCommandLine({std::string(kJob) + "KeyInspec.def", std::string(kJob) + "KeyRepeat.def"}),
            runvane::kRefused);
  EXPECT_NE(Message().find("C:\\Tools\\job\\KeyInspec.def.psw"), std::string::npos);
  EXPECT_TRUE(headless::InputSent().empty());
}

TEST_F(Runner, AWindowThatNeverComesOrRefusedInputEndsTheRunWithNothingLeftDown) {
  EXPECT_EQ(Run("置く,,,アプリケーションの表示設定,電卓,0,0,300,300,\r\n押す,5,5,マウスでクリックする,,,,,,\r\n"),
            runvane::kFailed);
  EXPECT_GE(headless::Now() - start_, 10000u);
  EXPECT_LT(headless::Now() - start_, 10200u);
  EXPECT_TRUE(headless::InputSent().empty()) << "a later row ran";
  std::string message = Message();
  EXPECT_NE(message.find("1行目「置く」（アプリケーションの表示設定）:\nタイトルに「電卓」を含むウィンドウが 10 秒"),
            std::string::npos)
      << message;

  // Windows takes the Win key but refuses the D: the Win key is released.
  headless::Reset();
  headless::InsertOnlyNextTime(1);
  EXPECT_EQ(Run("消去,,,ショートカットを入力する,Win+D  (画面消去),,,,,\r\n"), runvane::kFailed);
  EXPECT_EQ(InputText(), "kd 5Bx ku 5Bx");
  EXPECT_NE(Message().find("Windows が入力を受け付けませんでした"), std::string::npos);
  EXPECT_FALSE(headless::StatusShown());
}

// Row 1 places the window "請求書 - 表計算" at (0,0)-(800,600).
constexpr char kPlace[] = "置く,,,アプリケーションの表示設定,請求書,0,0,800,600,0\r\n";

bool Pressed() {
  for (const headless::SentInput& s : headless::InputSent()) {
    if (s.event.kind == plat::InputEvent::LeftDown || s.event.kind == plat::InputEvent::RightDown) return true;
  }
  return false;
}

TEST_F(Runner, AClickOnAPlacedWindowWaitsForAWindowInTheWayThenStops) {
  const std::uint32_t sheet = headless::AddForeignProcess(), chat = headless::AddForeignProcess();
  const plat::Window placed = headless::AddTopLevelWindow(sheet, "請求書 - 表計算", true, false);
  // Once the window is placed: another program's window over (150,150) for
  // 3 s, a dialog of the placed window's program over (450,450), and the
  // coordinate picker's topmost marker over (700,500).
  plat::Window notice = 0;
  std::uint64_t placedAt = 0;
  headless::OnBriefWait([&] {
    if (placedAt == 0 && plat::WindowRect(placed).left == 0) {
      placedAt = headless::Now();
      notice = headless::AddTopLevelWindow(chat, "更新のお知らせ", true, false);  // 100,100 - 500,400
      plat::SetWindowBounds(headless::AddTopLevelWindow(sheet, "確認", true, true), 400, 400, 100, 100, true);
      plat::PlaceWindow(headless::AddTopLevelWindow(headless::AddForeignProcess(), "座標取得", true, false), 690, 490,
                        true);
    } else if (notice != 0 && headless::Now() >= placedAt + 3000) {
      headless::RemoveTopLevelWindow(notice);
      notice = 0;
    }
  });
  const std::string clicks = "押す,150,150,マウスでクリックする,,,,,,0\r\n"
                             "確認,450,450,マウスでクリックする,,,,,,0\r\n"
                             "印,700,500,マウスで右クリックする,,,,,,0\r\n"
                             "外,900,100,マウスでクリックする,,,,,,0\r\n";
  EXPECT_EQ(Run(kPlace + clicks), runvane::kAllRan) << Message();
  EXPECT_EQ(InputText(), "move 150,150 move 150,150 Ld Lu move 450,450 Ld Lu move 700,500 Rd Ru move 900,100 Ld Lu")
      << "the click went out before the way was clear, or was not pointed again";
  const std::uint64_t clicked = headless::InputSent()[2].time;
  EXPECT_TRUE(clicked >= placedAt + 3000 && clicked < placedAt + 3200) << clicked - placedAt;
  const auto status = headless::StatusTexts();
  EXPECT_NE(std::find(status.begin(), status.end(),
                      "「更新のお知らせ」がクリックする位置をふさいでいます。空くのを待っています　Shift+Esc で停止"),
            status.end());
  EXPECT_EQ(status.back().find("動作試験中 5行目"), 0u);

  // The window stays: after 10 s the run stops before the press; a click
  // outside the placed window or before any placement is never checked.
  headless::Reset();
  const plat::Window again = headless::AddTopLevelWindow(headless::AddForeignProcess(), "請求書 - 表計算", true, false);
  headless::OnBriefWait([&] {
    if (plat::TopLevelWindows().size() == 1 && plat::WindowRect(again).left == 0) {
      headless::AddTopLevelWindow(headless::AddForeignProcess(), "更新のお知らせ", true, false);
    }
  });
  EXPECT_EQ(Run("前,150,150,マウスでクリックする,,,,,,0\r\n" + std::string(kPlace) +
                "外,850,100,マウスでクリックする,,,,,,0\r\n" + clicks),
            runvane::kFailed);
  EXPECT_EQ(InputText(), "move 150,150 Ld Lu move 850,100 Ld Lu move 150,150");
  EXPECT_GE(headless::Now() - headless::InputSent().back().time, 10000u);
  const std::string message = Message();
  EXPECT_NE(message.find("4行目「押す」（マウスでクリックする）:\nクリックする位置 (150, 150) を別のウィンドウ"
                         "「更新のお知らせ」がふさいでいて、配置したウィンドウ「請求書 - 表計算」をクリックできません"),
            std::string::npos)
      << message;
  EXPECT_NE(LogLines().back().find("終了コード 3"), std::string::npos);
  EXPECT_NE(LogLines()[LogLines().size() - 2].find("4行目\tマウスでクリックする\t中止: クリックする位置"),
            std::string::npos);
}

TEST_F(Runner, KeysWaitForTheFocusToComeBackThenStop) {
  const std::uint32_t sheet = headless::AddForeignProcess(), chat = headless::AddForeignProcess();
  headless::AddTopLevelWindow(sheet, "請求書 - 表計算", true, false);
  const plat::Window dialog = headless::AddTopLevelWindow(sheet, "確認", true, true);
  const plat::Window other = headless::AddTopLevelWindow(chat, "チャット", true, false);
  plat::SetWindowBounds(other, 1000, 0, 300, 300, false);
  // After the click the placed program's own dialog takes the focus; during
  // the pause another program's window does, which is then where keys go.
  headless::OnBriefWait([&] {
    if (Pressed() && headless::Now() < start_ + 3000) headless::SetForegroundWindow(dialog);
    if (headless::Now() >= start_ + 3000) headless::SetForegroundWindow(other);
  });
  const std::string job = std::string(kPlace) + "押す,150,150,マウスでクリックする,,,,,,1\r\n" +
                          "入力,,,文字を入力する,a,,,,,0\r\n待つ,,,指定秒間は停止する,2,,,,,\r\n" +
                          "入力,,,文字を入力する,b,,,,,0\r\n";
  EXPECT_EQ(Run(job), runvane::kAllRan) << Message();
  EXPECT_EQ(InputText(), "move 150,150 Ld Lu cd 0061 cu 0061 cd 0062 cu 0062");

  // Another program's window takes the focus between the click and the
  // keys, and keeps it; or takes it for 2 s only; or keeps it until the user
  // presses Shift+Esc 3 s later.
  enum { kKeeps, kReturns, kStopKeys };
  for (const int thiefCase : {kKeeps, kReturns, kStopKeys}) {
    const bool keeps = thiefCase != kReturns;
    headless::Reset();
    headless::AddTopLevelWindow(headless::AddForeignProcess(), "請求書 - 表計算", true, false);
    const plat::Window thief = headless::AddTopLevelWindow(headless::AddForeignProcess(), "チャット", true, false);
    plat::Window placed = 0;
    std::uint64_t taken = 0;
    headless::OnBriefWait([&] {
      if (taken == 0 && Pressed() && headless::Now() >= headless::InputSent().back().time + 500) {
        placed = plat::ForegroundWindow();
        headless::SetForegroundWindow(thief);
        taken = headless::Now();
      } else if (!keeps && taken != 0 && headless::Now() >= taken + 2000) {
        headless::SetForegroundWindow(placed);
      } else if (thiefCase == kStopKeys && taken != 0 && headless::Now() >= taken + 3000) {
        headless::PressStopKeys();
      }
    });
    const int code = Run(std::string(kPlace) + "押す,150,150,マウスでクリックする,,,,,,1\r\n" +
                         "番号,,,文字を入力する,12345,,,,,0\r\n");
    if (!keeps) {
      EXPECT_EQ(code, runvane::kAllRan) << Message();
      EXPECT_EQ(headless::InputSent().size(), 13u);
      continue;
    }
    EXPECT_EQ(InputText(), "move 150,150 Ld Lu") << "keys went to the window that took the focus";
    if (thiefCase == kStopKeys) {
      EXPECT_EQ(code, runvane::kStopped);
      EXPECT_LT(headless::Now() - taken, 3200u);
      continue;
    }
    EXPECT_EQ(code, runvane::kFailed);
    const std::string message = Message();
    EXPECT_NE(message.find("3行目「番号」（文字を入力する）:\nキーの入力先が別のウィンドウ「チャット」に移りました。"
                           "「請求書 - 表計算」に戻るのを 10 秒"),
              std::string::npos)
        << message;
  }
}

TEST_F(Runner, AClickWhereAPlacedWindowWasClosedStopsTheRunUnlessAnotherWasPlacedSince) {
  const plat::Window sheet = headless::AddTopLevelWindow(headless::AddForeignProcess(), "請求書 - 表計算", true, false);
  headless::OnBriefWait([&] {
    if (plat::WindowRect(sheet).left == 0) headless::RemoveTopLevelWindow(sheet);
  });
  EXPECT_EQ(Run(std::string(kPlace) + "押す,150,150,マウスでクリックする,,,,,,0\r\n"), runvane::kFailed);
  EXPECT_EQ(InputText(), "move 150,150");
  EXPECT_LT(headless::Now() - start_, 1000u) << "a closed window is not waited for";
  EXPECT_NE(Message().find("2行目「押す」（マウスでクリックする）:\n配置したウィンドウ「請求書 - 表計算」が閉じられているため、"
                           "その位置 (150, 150) はクリックしません。"),
            std::string::npos);

  // The window closed, and another was placed elsewhere since.
  headless::Reset();
  const plat::Window first = headless::AddTopLevelWindow(headless::AddForeignProcess(), "請求書 - 表計算", true, false);
  headless::AddTopLevelWindow(headless::AddForeignProcess(), "メモ", true, false);
  headless::OnBriefWait([&] {
    if (plat::WindowRect(first).left == 0) headless::RemoveTopLevelWindow(first);
  });
  EXPECT_EQ(Run("置く,,,アプリケーションの表示設定,請求書,0,0,800,600,1\r\n"
                "次,,,アプリケーションの表示設定,メモ,900,0,300,300,0\r\n"
                "押す,150,150,マウスでクリックする,,,,,,0\r\n"),
            runvane::kAllRan)
      << Message();
  EXPECT_EQ(InputText(), "move 150,150 Ld Lu");
}

// A saved job by its name: the form written last, read only, with its
// repeats; a countdown first; the log grows by each run. Another run going on,
// a job that is not there and a stop during the countdown send nothing.
TEST_F(Runner, ASavedJobRunsByItsNameAndLeavesItsFilesAsTheyWere) {
  headless::SetModulePath("C:\\Tools\\Runvane.exe");
  const std::string folder = "C:\\Tools\\請求\\";
  const std::string older = "古い,1,1,マウスでクリックする,,,,,,\r\n";
  const std::string lines = "// 注記\r\n押す,640,480,マウスでクリックする,,,,,,\r\n\r\nF5,,,各種キーを入力する,F5,,,,,\r\n";
  headless::PutFile(folder + "KeyRecord.def", older);
  headless::PutFile(folder + "KeyRecord.def.psw", Scrambled(lines));
  headless::PutFile(folder + "KeyRepeat.def", "2,2,2\r\n\r\n\r\n");
  headless::SetWriteTime(folder + "KeyRecord.def", 5);
  headless::SetWriteTime(folder + "KeyRecord.def.psw", 5);  // a tie: the scrambled form
  EXPECT_EQ(runvane::RunCommandLine({"請求", "/delay=2"}), runvane::kAllRan);
  EXPECT_EQ(InputText(), "move 640,480 Ld Lu kd 74 ku 74 kd 74 ku 74");
  EXPECT_GE(headless::InputSent()[0].time, 2000u);
  EXPECT_EQ(headless::FileBytes(folder + "KeyRecord.def"), older);
  EXPECT_EQ(headless::FileBytes(folder + "KeyRecord.def.psw"), Scrambled(lines));
  const auto status = headless::StatusTexts();
  ASSERT_GE(status.size(), 3u);
  EXPECT_EQ(status[0], "実行中 あと 2 秒で開始　Shift+Esc で中止");
  EXPECT_EQ(status.back(), "実行中 2行目 (3/3)　Shift+Esc で停止");
  // A second run, of the plain file saved after a scrambling that failed.
  headless::SetWriteTime(folder + "KeyRecord.def", 6);
  headless::ReleaseOwnedMutexes();
  const std::string sent = InputText();
  EXPECT_EQ(runvane::RunCommandLine({"C:\\Tools\\請求\\", "/quiet"}), runvane::kAllRan);
  EXPECT_EQ(InputText(), sent + " move 1,1 Ld Lu");
  std::string log = headless::FileBytes(folder + "Runvane.log");
  EXPECT_NE(log.find("\t-\t-\t開始: 処理作業「請求」 /delay=2\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\t-\t-\t開始: 処理作業「C:\\Tools\\請求」 /quiet\r\n"), std::string::npos) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5 + 3);

  // Another run goes on: nothing is sent and nothing logged.
  headless::ReleaseOwnedMutexes();
  headless::HoldMutex(runvane::kRunLockName);
  EXPECT_EQ(runvane::RunCommandLine({"請求"}), runvane::kBusy);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("実行中のため"), std::string::npos);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "タヴォレクス 処理作業の実行");
  EXPECT_EQ(headless::FileBytes(folder + "Runvane.log"), log);
  EXPECT_EQ(InputText(), sent + " move 1,1 Ld Lu");

  // A job that is not there, quietly: the reason is logged beside the program.
  headless::Reset();
  headless::PutFile("C:\\Tools\\Runvane.exe", "MZ");
  headless::SetModulePath("C:\\Tools\\Runvane.exe");
  jobstore::ResetPaths();
  EXPECT_EQ(runvane::RunCommandLine({"/quiet", "無い作業"}), runvane::kRefused);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  log = headless::FileBytes("C:\\Tools\\Runvane.log");
  EXPECT_NE(log.find("実行しません: 処理作業「無い作業」が見つかりません。 C:\\Tools\\無い作業"), std::string::npos)
      << log;
  EXPECT_FALSE(headless::HasFolder("C:\\Tools\\無い作業"));

  // Shift+Esc during the countdown.
  headless::ReleaseOwnedMutexes();
  headless::PutFile(folder + "KeyRecord.def", older);
  headless::OnBriefWait([&] {
    if (headless::Now() >= start_ + 1500) headless::PressStopKeys();
  });
  start_ = headless::Now();
  EXPECT_EQ(runvane::RunCommandLine({"請求", "/delay=60"}), runvane::kStopped);
  EXPECT_LT(headless::Now() - start_, 1800u);
  EXPECT_TRUE(headless::InputSent().empty());
  EXPECT_NE(headless::FileBytes(folder + "Runvane.log").find("停止（Shift+Esc） 開始前の待ち時間"), std::string::npos);
  EXPECT_FALSE(headless::StatusShown());
}

// A log at its limit loses its oldest runs whole; when the trimmed copy
// cannot be written, the log stays as it was and the run goes on.
TEST_F(Runner, TheLogStaysWithinItsLimitAndIsNeverDamaged) {
  std::string run = "2026-01-01 00:00:00.000\t-\t-\t開始: 動作試験 \"old\"\r\n", old;
  for (int i = 0; i < 50; ++i) run += "2026-01-01 00:00:00.000\t1行目\t各種キーを入力する\t完了\r\n";
  run += "2026-01-01 00:00:00.000\t-\t-\t終了: 終了コード 0\r\n";
  while (old.size() + run.size() < runvane::kLogLimit) old += run;
  while (old.size() + 120 < runvane::kLogLimit) old += "2026-01-01 00:00:00.000\t-\t-\t-\r\n";
  const std::string log = std::string(kJob) + "Runvane.log";
  headless::PutFile(log, old);
  headless::FailCreate(std::string(kJob) + "Runvane.tmp");  // the trimmed copy
  EXPECT_EQ(Run("F5,,,各種キーを入力する,F5,,,,,\r\n"), runvane::kAllRan);
  EXPECT_EQ(headless::FileBytes(log).substr(0, old.size()), old);
  EXPECT_LE(headless::FileBytes(log).size(), runvane::kLogLimit);
  EXPECT_EQ(InputText(), "kd 74 ku 74");

  headless::Reset();
  headless::PutFile(log, old);
  EXPECT_EQ(Run("F5,,,各種キーを入力する,F5,,,,,\r\n"), runvane::kAllRan);
  const std::string trimmed = headless::FileBytes(log);
  EXPECT_LE(trimmed.size(), runvane::kLogKeptByTrim + 500);
  EXPECT_EQ(trimmed.rfind(run, 0), 0u);
  EXPECT_NE(trimmed.find("終了コード 0\r\n", trimmed.find("開始: 動作試験 \"C:")), std::string::npos);
  EXPECT_FALSE(headless::HasFile(std::string(kJob) + "Runvane.tmp"));
}

}  // namespace
