// The pickers' decisions: the coordinate picker's answers, as the editor
// reads them, and what the window-title picker lists, refuses and waits for.
#include <gtest/gtest.h>

#include "companions/picker_answers.h"
#include "pickmark/answers.h"
#include "titlescan/choices.h"

namespace {

using companions::DecidePoll;
using companions::PollAction;

TEST(PickmarkAnswers, PointsOneToNineThousandNineHundredNinetyNineReachTheEditor) {
  for (auto [x, y] : {std::pair{1, 1}, {9999, 9999}, {321, 287}, {1920, 1}}) {
    const pickmark::PointAnswer a = pickmark::AnswerForPoint(x, y);
    ASSERT_TRUE(a.answered) << x << "," << y;
    EXPECT_EQ(a.text, std::to_string(x) + "," + std::to_string(y));
    const companions::PollDecision d = DecidePoll(a.text.c_str(), "", "", true);
    EXPECT_EQ(d.action, PollAction::SetPoint) << a.text;
    EXPECT_EQ(d.x + "," + d.y, a.text);
  }
  // Left of or above the main screen, its first row or column, or beyond the
  // editor's four digits: no answer, and a reason for each side.
  for (auto [x, y] : {std::pair{0, 5}, {5, 0}, {-1280, 300}, {300, -40}}) {
    const pickmark::PointAnswer a = pickmark::AnswerForPoint(x, y);
    EXPECT_FALSE(a.answered);
    EXPECT_NE(a.reason.find("主画面"), std::string::npos) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{10000, 5}, {5, 10000}}) {
    const pickmark::PointAnswer a = pickmark::AnswerForPoint(x, y);
    EXPECT_FALSE(a.answered);
    EXPECT_NE(a.reason.find("9999"), std::string::npos) << x << "," << y;
  }
}

TEST(PickmarkAnswers, TheMenuSendsTheEditorsCommandsInItsOrder) {
  ASSERT_EQ(std::size(pickmark::kMenu), 3u);
  const std::pair<const char*, PollAction> expected[] = {
      {"新規", PollAction::NewOperation}, {"挿入", PollAction::InsertOperation}, {"座標クリア", PollAction::ClearPoint}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_STREQ(pickmark::kMenu[i].label, expected[i].first);
    EXPECT_EQ(DecidePoll(pickmark::kMenu[i].answer, "1", "2", true).action, expected[i].second);
  }
}

TEST(TitlescanChoices, TheLimitIsTwoMinutesUnlessATestShortensIt) {
  EXPECT_EQ(titlescan::TimeLimitMs({}), 120000u);
  EXPECT_EQ(titlescan::TimeLimitMs({"/limit=3"}), 3000u);
  EXPECT_EQ(titlescan::TimeLimitMs({"/limit=120"}), 120000u);
  for (const char* never : {"/limit=0", "/limit=121", "/limit=", "/limit=3s", "/limit=-3", "limit=3", "3"}) {
    EXPECT_EQ(titlescan::TimeLimitMs({never}), 120000u) << never;
  }
}

TEST(TitlescanChoices, VisibleTitledWindowsOfOtherProgramsAreListedInTheirOrder) {
  auto w = [](plat::Window h, bool visible, std::uint32_t process, const char* title, const char* program) {
    plat::ProgramWindow p;
    p.window = h;
    p.visible = visible;
    p.processId = process;
    p.title = title;
    p.programName = program;
    return p;
  };
  const std::vector<plat::ProgramWindow> all = {
      w(1, true, 10, "座標取得", "PICKMARK.EXE"),      // the coordinate picker, any case
      w(2, true, 20, "請求書 - 表計算", "calc.exe"),
      w(3, false, 20, "隠れた窓", "calc.exe"),         // hidden
      w(4, true, 20, "", "calc.exe"),                  // no title
      w(5, true, 30, "キーボードとマウス", "Renamed.exe"),  // the editor that started the picker
      w(6, true, 40, "ウィンドウタイトル取得", "Titlescan.exe"),
      w(7, true, 50, "Untitled - Memo", "notepad.exe"),
      w(8, true, 60, "Tavolex", "Tavolex.exe"),        // another editor
      w(9, true, 40, "own", ""),                       // this picker's own, program unknown
  };
  const std::vector<plat::ProgramWindow> listed = titlescan::WindowsToList(all, 40, 30);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].window, 2u);
  EXPECT_EQ(listed[1].window, 7u);
  EXPECT_EQ(titlescan::RowOfWindow(listed, 7), 1);
  EXPECT_EQ(titlescan::RowOfWindow(listed, 5), -1);
  EXPECT_EQ(titlescan::RowOfWindow(listed, plat::kNoWindow), -1);
}

TEST(TitlescanChoices, AnEmptyTitleOrOneShiftJisCannotWriteIsRefused) {
  EXPECT_EQ(titlescan::RefusalOfTitle("請求書", true), nullptr);
  ASSERT_NE(titlescan::RefusalOfTitle("", true), nullptr);
  ASSERT_NE(titlescan::RefusalOfTitle("caf? - Memo", false), nullptr);
  EXPECT_NE(std::string(titlescan::RefusalOfTitle("caf? - Memo", false)).find("シフトJIS"), std::string::npos);
}

}  // namespace
