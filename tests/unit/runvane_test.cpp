// The runner's decisions without input: its command line, the check of a
// whole job before any input, the order in which a run takes the rows with
// its repeats, the window guards' decisions and the trimming of its log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companions/repeat.h"
#include "operations/records.h"
#include "runvane/guards.h"
#include "runvane/invocation.h"
#include "runvane/job.h"
#include "runvane/plan.h"
#include "runvane/run_log.h"

namespace {

using runvane::Job;
using runvane::Refusal;

const runvane::Screen kScreen{{0, 0, 1920, 1080}, 1920, 1080};

// The rows a run takes, in order, as a text such as "1 2 3 2 3".
std::string Order(const std::string& testRun, const std::string& repeat) {
  Job job;
  Refusal refusal;
  if (!runvane::ReadJob(testRun, repeat, kScreen, &job, &refusal)) return "refused: " + refusal.reason;
  std::string out;
  for (const runvane::Segment& s : runvane::PlanRun(static_cast<int>(job.rows.size()), job.repeats)) {
    for (long round = 0; round < s.count; ++round) {
      for (int row = s.from; row <= s.to; ++row) out += (out.empty() ? "" : " ") + std::to_string(row);
    }
  }
  return out;
}

std::string Rows(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += "a,,,指定秒間は停止する,1,,,,,\r\n";
  return out;
}

TEST(RunPlan, RowsRunInOrderWithEachRangeRepeatedBeforeTheRunGoesOn) {
  struct Case {
    const char* what;
    int rows;
    std::string repeat;
    std::string order;
  } cases[] = {
      {"no rules", 3, "\r\n\r\n\r\n", "1 2 3"},
      {"no repeat file", 3, "", "1 2 3"},
      {"a middle range", 5, "2,3,3\r\n\r\n\r\n", "1 2 3 2 3 2 3 4 5"},
      {"count 1 runs once", 3, "1,3,1\r\n\r\n\r\n", "1 2 3"},
      {"rules out of order, touching", 6, "5,6,2\r\n\r\n1,4,2\r\n", "1 2 3 4 1 2 3 4 5 6 5 6"},
      {"one row", 2, "\r\n2,2,3\r\n\r\n", "1 2 2 2"},
      {"past the last row ends at it", 4, "3,9,2\r\n\r\n\r\n", "1 2 3 4 3 4"},
      {"wholly past the last row", 2, "5,9,2\r\n\r\n\r\n", "1 2"},
      {"no rows", 0, "1,2,3\r\n\r\n\r\n", ""},
      {"without line ends", 3, "1,1,2\r\n\r\n2,2,2", "1 1 2 2 3"},
  };
  for (const Case& c : cases) EXPECT_EQ(Order(Rows(c.rows), c.repeat), c.order) << c.what;

  // Empty lines are unticked rows: they keep the numbering and count no step.
  Job job;
  Refusal refusal;
  ASSERT_TRUE(runvane::ReadJob("\r\n" + Rows(1) + "\r\n" + Rows(1), "1,3,2\r\n", kScreen, &job, &refusal));
  ASSERT_EQ(job.rows.size(), 4u);
  EXPECT_FALSE(job.rows[0].ticked);
  EXPECT_TRUE(job.rows[3].ticked);
  EXPECT_EQ(runvane::TickedStepCount(runvane::PlanRun(4, job.repeats), job.rows), 3);
}

// The runner refuses exactly the repeat rules the editor refuses.
TEST(RunPlan, RepeatRulesAreCheckedAsTheEditorChecksThem) {
  using companions::RepeatRuleText;
  const RepeatRuleText off{};
  auto on = [](const char* f, const char* t, const char* c) { return RepeatRuleText{true, f, t, c}; };
  const companions::RepeatRuleSet sets[] = {
      {on("2", "5", "3"), off, on("8", "8", "10")}, {on("1", "3", "2"), on("4", "6", "2"), off},
      {on("1", "3", "2"), on("3", "6", "2"), off},  {on("1", "9", "2"), off, on("3", "4", "2")},
      {on("5", "8", "2"), on("1", "3", "2"), off},  {on("6", "5", "1"), off, off},
      {on("0", "5", "1"), off, off},                {on("1", "5", "0"), off, off},
      {on("", "5", "1"), off, off},                 {on("1", "5", "2x"), off, off},
      {on("007", "009", "02"), off, off},           {off, on("5", "6", "2"), on("5", "9", "2")},
  };
  for (const auto& rules : sets) {
    const std::string file = companions::RepeatFileText(rules);
    Job job;
    Refusal refusal;
    EXPECT_EQ(runvane::ReadJob(Rows(9), file, kScreen, &job, &refusal), companions::RepeatRulesAreValid(rules))
        << file;
  }
}

TEST(JobCheck, EveryActionIsReadWithItsInput) {
  const std::string file =
      "押す,640,480,マウスでクリックする,,,,,,4\r\n"
      "\r\n"
      "入力,10,20,文字を入力する,日本①～― abc,,,,,\r\n"
      "矢印,,,各種キーを入力する,←,,,,,1\r\n"
      "保存,,,ショートカットを入力する,Ctrl+S,,,,,\r\n"
      "消去,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "待つ,,,指定秒間は停止する,,,,,,\r\n"
      "開く,,,アプリケーションを実行する,C:\\Tools\\a.exe,,,,,8\r\n"
      "置く,,,アプリケーションの表示設定,メモ帳,-8,,800,,2\r\n";
  Job job;
  Refusal refusal;
  ASSERT_TRUE(runvane::ReadJob(file, "", kScreen, &job, &refusal)) << refusal.line << " " << refusal.reason;
  ASSERT_EQ(job.rows.size(), 9u);
  const runvane::Step& click = job.rows[0];
  EXPECT_TRUE(click.hasPoint && click.x == 640 && click.y == 480 && click.stopMs == 4000);
  EXPECT_EQ(job.rows[2].typed, u"日本\u2460\uFF5E\u2015 abc");  // as code page 932 maps them
  EXPECT_FALSE(job.rows[2].hasStop);
  EXPECT_EQ(job.rows[3].virtualKey, 0x25);
  EXPECT_TRUE(job.rows[4].modifier == 0x11 && job.rows[4].virtualKey == 'S');
  EXPECT_TRUE(job.rows[5].modifier == 0x5B && job.rows[5].virtualKey == 'D');
  EXPECT_EQ(job.rows[6].pauseMs, 60000);  // the editor's default seconds
  EXPECT_EQ(job.rows[7].text, "C:\\Tools\\a.exe");
  // Empty window fields take the editor's defaults for the screen.
  const runvane::Step& place = job.rows[8];
  EXPECT_TRUE(place.left == -8 && place.top == 20 && place.width == 800 && place.height == 720);
}

TEST(JobCheck, AFaultyRowIsRefusedWithItsNumberAndReason) {
  struct Case {
    std::string line;
    const char* reason;  // a part of the reason
  } cases[] = {
      {"a,1,2,マウスで押す,,,,,,4", "アクション「マウスで押す」は使えません"},
      {"a,1,2,,,,,,,4", "アクションが指定されていません"},
      {"a,,,マウスでダブルクリックする,,,,,,4", "位置（X座標とY座標）が指定されていません"},
      {"a,5,,文字を入力する,x,,,,,4", "一方だけ"},
      {"a,1x,2,マウスでクリックする,,,,,,4", "座標「1x,2」が数字ではありません"},
      {"a,0,0,マウスで右クリックする,,,,,,4", "座標(0,0)は停止の合図"},
      {"a,1920,5,マウスでクリックする,,,,,,4", "座標(1920,5)は画面(1920×1080)の外です"},
      {"a,,,各種キーを入力する,F13,,,,,4", "キー「F13」は使えません"},
      {"a,,,ショートカットを入力する,Ctrl+Q,,,,,4", "ショートカット「Ctrl+Q」は使えません"},
      {"a,,,ショートカットを入力する,Ctrl+C (保存),,,,,4", "ショートカット「Ctrl+C (保存)」"},
      {"a,,,アプリケーションを実行する,,,,,,8", "パスが空です"},
      {"a,,,アプリケーションの表示設定,,1,2,3,4,2", "タイトルが空です"},
      {"a,,,アプリケーションの表示設定,t,1,2,0,4,2", "横幅と縦高は1以上"},
      {"a,,,アプリケーションの表示設定,t,x,2,3,4,2", "「x」が数字ではありません"},
      {"a,,,指定秒間は停止する,1.5,,,,,", "停止する秒数「1.5」"},
      {"a,1,2,マウスでクリックする,,,,,,-4", "停止秒「-4」"},
      {"a,1,2,マウスでクリックする,,,,,,1234567", "停止秒「1234567」"},
      {"a,1,2,文字を入力する,\x82,,,,,4", "文字として読めないバイト"},
      {std::string("a,1,2,マウスでクリックする,,,,,,4") + '\0' + "x", "読めないバイト(00)"},
  };
  for (const Case& c : cases) {
    Job job;
    Refusal refusal;
    const std::string file = Rows(2) + "\r\n" + c.line + "\r\n" + Rows(1);
    ASSERT_FALSE(runvane::ReadJob(file, "", kScreen, &job, &refusal)) << c.line;
    EXPECT_EQ(refusal.where, Refusal::Row) << c.line;
    EXPECT_EQ(refusal.line, 4) << c.line;
    EXPECT_EQ(refusal.name, "a") << c.line;
    EXPECT_NE(refusal.reason.find(c.reason), std::string::npos) << c.line << ": " << refusal.reason;
  }
}

TEST(JobCheck, AFaultyRepeatLineIsRefusedWithItsNumber) {
  struct Case {
    std::string repeat;
    int line;
    const char* reason;
  } cases[] = {
      {"\r\n3,2,1\r\n\r\n", 2, "FROM値がTO値より大きく"},
      {"1,3,2\r\n\r\n2,4,2\r\n", 3, "1行目と範囲が重複"},
      {"1,0,2\r\n", 1, "ゼロ"},
      {"1,,2\r\n", 1, "未入力"},
      {"12345678,9,2\r\n", 1, "長すぎる"},
      {"\r\n\r\n\r\n1,2,2\r\n", 4, "三行まで"},
  };
  for (const Case& c : cases) {
    Job job;
    Refusal refusal;
    ASSERT_FALSE(runvane::ReadJob(Rows(5), c.repeat, kScreen, &job, &refusal)) << c.repeat;
    EXPECT_EQ(refusal.where, Refusal::RepeatLine) << c.repeat;
    EXPECT_EQ(refusal.line, c.line) << c.repeat;
    EXPECT_NE(refusal.reason.find(c.reason), std::string::npos) << c.repeat << ": " << refusal.reason;
  }
}

TEST(WindowGuards, ClicksAndKeysGoOnlyWhereTheJobLeftThem) {
  using runvane::ClickCheck;
  using runvane::WindowFacts;
  constexpr std::uint32_t kRunner = 7;
  const WindowFacts placed{10, 100, "請求書", false}, dialog{11, 100, "確認", false}, other{20, 200, "通知", false};
  const WindowFacts marker{30, 300, "座標取得", true}, markerNotTop{31, 300, "座標取得", false};
  const WindowFacts status{40, kRunner, "", true}, none;

  // Only the newest placement holding the point counts; its right and bottom
  // edges lie outside it.
  runvane::Placements placements;
  auto alive = [](plat::Window w) { return w != 12; };
  placements.Add({placed, {0, 0, 100, 100}}, alive);
  placements.Add({{12, 100, "閉じた", false}, {50, 50, 150, 150}}, alive);
  EXPECT_EQ(placements.At(60, 60)->window.window, 12u);
  placements.Add({other, {200, 0, 300, 100}}, alive);  // the closed window no longer counts
  EXPECT_EQ(placements.At(60, 60)->window.window, 10u);
  EXPECT_EQ(placements.At(100, 50), nullptr);
  EXPECT_EQ(placements.At(99, 99)->window.window, 10u);
  placements.Add({placed, {400, 400, 500, 500}}, alive);  // placed again elsewhere
  EXPECT_EQ(placements.At(50, 50), nullptr);

  const runvane::Placement p{placed, {0, 0, 100, 100}};
  EXPECT_EQ(runvane::CheckClick(nullptr, false, other, kRunner), ClickCheck::Unchecked);
  for (const WindowFacts& clear : {placed, dialog, marker, status}) {
    EXPECT_EQ(runvane::CheckClick(&p, true, clear, kRunner), ClickCheck::Clear) << clear.window;
  }
  for (const WindowFacts& covering : {other, markerNotTop, none}) {
    EXPECT_EQ(runvane::CheckClick(&p, true, covering, kRunner), ClickCheck::Covered) << covering.window;
  }
  EXPECT_EQ(runvane::CheckClick(&p, false, placed, kRunner), ClickCheck::Closed);

  // The focus: any expected window's program will do; no expectation, none.
  EXPECT_FALSE(runvane::FocusMoved({none, placed}, dialog, kRunner));
  EXPECT_FALSE(runvane::FocusMoved({other, placed}, placed, kRunner));
  EXPECT_FALSE(runvane::FocusMoved({placed}, status, kRunner));
  EXPECT_TRUE(runvane::FocusMoved({placed}, other, kRunner));
  EXPECT_TRUE(runvane::FocusMoved({placed}, none, kRunner));
  EXPECT_FALSE(runvane::FocusMoved({none}, other, kRunner));
  EXPECT_FALSE(runvane::FocusMoved({}, other, kRunner));

  // Which steps have their focus checked, and which leave it to the system.
  runvane::Step typing;
  typing.kind = ops::TypeText;
  EXPECT_TRUE(runvane::ChecksFocusFirst(typing));
  typing.hasPoint = true;
  EXPECT_FALSE(runvane::ChecksFocusFirst(typing));
  runvane::Step pause;
  pause.kind = ops::Pause;
  EXPECT_FALSE(runvane::ChecksFocusFirst(pause));
  EXPECT_TRUE(runvane::LeavesFocusToSystem(ops::Pause) && runvane::LeavesFocusToSystem(ops::ArrangeWindow) &&
              runvane::LeavesFocusToSystem(ops::RunApplication) && !runvane::LeavesFocusToSystem(ops::MouseClick));
}

// What each command line asks for, and every refusal with its reason.
TEST(Invocation, ATestRunASavedJobWithItsOptionsOrARefusal) {
  using runvane::Invocation;
  using runvane::ReadInvocation;
  Invocation call = ReadInvocation({"C:\\T\\job\\KeyInspec.def", "C:\\T\\job\\KeyRepeat.def"});
  EXPECT_EQ(call.kind, Invocation::TestRun);
  EXPECT_EQ(call.repeatPath, "C:\\T\\job\\KeyRepeat.def");

  call = ReadInvocation({"/QUIET", "請求書", "/Delay=3600"});
  EXPECT_TRUE(call.kind == Invocation::SavedJob && call.job == "請求書" && !call.jobIsFolder);
  EXPECT_TRUE(call.quiet && call.delaySeconds == 3600 && call.options == "/QUIET /Delay=3600");
  call = ReadInvocation({"\\\\srv\\share\\表\\"});  // 表 ends with the byte of a backslash
  EXPECT_TRUE(call.kind == Invocation::SavedJob && call.jobIsFolder && call.job == "\\\\srv\\share\\表");
  call = ReadInvocation({"C:\\", "/delay=0"});
  EXPECT_TRUE(call.kind == Invocation::SavedJob && call.job == "C:\\" && call.delaySeconds == 0 && !call.quiet);

  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{}, "実行する処理作業を指定してください。"},
      {{"/quiet"}, "実行する処理作業を指定してください。"},
      {{"a", "b", "/quiet"}, "一つだけ"},
      {{"請求書", "入力"}, "\"\" で囲んで"},
      {{"job", "/delay=3601"}, "「/delay=3601」: 待ち時間は 0 から 3600 までの秒数"},
      {{"job", "/delay=-1"}, "0 から 3600"},
      {{"job", "/delay="}, "0 から 3600"},
      {{"job", "/delay=9999999999999999999"}, "0 から 3600"},
      {{"job", "/delay=1", "/delay=2"}, "二度"},
      {{"job", "/wait"}, "「/wait」は使えないオプションです。"},
      {{"CON"}, "予約名"},
      {{"job."}, "最後を「.」"},
      {{"a*b"}, "「a*b」は処理作業名に使えません。"},
      {{"job\\sub"}, "完全なパス"},
      {{"C:job"}, "完全なパス"},
  };
  for (const auto& [arguments, reason] : refused) {
    call = ReadInvocation(arguments);
    EXPECT_EQ(call.kind, Invocation::Refused) << reason;
    EXPECT_NE(call.reason.find(reason), std::string::npos) << call.reason;
  }
  // /quiet holds for a refusal too; a usable job keeps its name for the log.
  call = ReadInvocation({"job", "/wait", "/quiet"});
  EXPECT_TRUE(call.quiet && call.job == "job");
}

// The oldest runs go whole; a run too long for the limit keeps its header
// and its newest lines.
TEST(RunLog, TrimmingDropsTheOldestRunsWhole) {
  auto run = [](const std::string& time, int steps) {
    std::string out = time + "\t-\t-\t開始: 処理作業「a」\r\n";
    for (int i = 1; i <= steps; ++i) out += time + "\t" + std::to_string(i) + "行目\t待つ\t完了\r\n";
    return out + time + "\t-\t-\t終了: 終了コード 0\r\n";
  };
  const std::string old = "leftover of an older log\r\n", first = run("1", 3), second = run("2", 2);
  const std::string log = old + first + second;
  EXPECT_EQ(runvane::TrimRunLog(log, log.size()), log);
  EXPECT_EQ(runvane::TrimRunLog(log, log.size() - 1), first + second);
  EXPECT_EQ(runvane::TrimRunLog(log, first.size() + second.size() - 1), second);

  const std::string longRun = run("2", 20), end = "2\t-\t-\t終了: 終了コード 0\r\n";
  const std::string kept = runvane::TrimRunLog(longRun, longRun.size() - 1);
  EXPECT_LE(kept.size(), longRun.size() - 1);
  EXPECT_EQ(kept.rfind("2\t-\t-\t開始: 処理作業「a」\r\n-\t-\t-\t（この実行の古い行は省略しました）\r\n2\t", 0), 0u)
      << kept;
  EXPECT_EQ(kept.compare(kept.size() - end.size(), end.size(), end), 0) << kept;
  EXPECT_EQ(kept.find("\t1行目\t"), std::string::npos) << kept;
}

}  // namespace
