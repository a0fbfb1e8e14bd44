// The pickers' programs on the headless platform: the window-title picker's
// dialog played by a driver, and the coordinate picker's answers.
#include <string>

#include "pickmark/pickmark.h"
#include "platform/headless/pickers.h"
#include "resources/control_ids.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"
#include "titlescan/titlescan.h"

namespace {

class Titlescan : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    const std::uint32_t editor = headless::AddForeignProcess();
    headless::SetParentProcess(editor);
    headless::AddTopLevelWindow(editor, "キーボードとマウスの自動操作の定義を作成します", true, false);
    const std::uint32_t picker = headless::AddForeignProcess();
    headless::SetProcessProgram(picker, "Pickmark.exe");
    headless::AddTopLevelWindow(picker, "座標取得", true, false);
    const std::uint32_t other = headless::AddForeignProcess();
    headless::SetProcessProgram(other, "notepad.exe");
    memo_ = headless::AddTopLevelWindow(other, "無題 - メモ帳", true, false);
    headless::AddTopLevelWindow(other, "隠れた窓", false, false);
    sheet_ = headless::AddTopLevelWindow(other, "請求書.xlsx - 表計算", true, true);
    headless::SetClipboard("0,0");
  }
  // Runs the picker; `play` acts while its dialog is open.
  int Run(const std::function<void(plat::Window)>& play, std::vector<std::string> arguments = {}) {
    headless::OnDialog(res::kTitleScanDialog, play);
    return titlescan::RunTitlescan(arguments);
  }
  static std::string Edit(plat::Window d) { return plat::GetControlText(d, res::kTitleEdit); }

  plat::Window memo_ = 0, sheet_ = 0;
};

TEST_F(Titlescan, AChosenWindowsTitleShortenedByTheUserIsTheAnswer) {
  const int code = Run([this](plat::Window d) {
    EXPECT_TRUE(plat::IsTopmost(d));
    // The editor, the coordinate picker and the hidden window are left out.
    ASSERT_EQ(plat::ListRowCount(d, res::kTitleWindowList), 2);
    EXPECT_EQ(plat::ListGetCell(d, res::kTitleWindowList, 0, 0), "請求書.xlsx - 表計算");
    EXPECT_EQ(plat::ListGetCell(d, res::kTitleWindowList, 1, 0), "無題 - メモ帳");
    EXPECT_EQ(plat::ListGetCell(d, res::kTitleWindowList, 1, 1), "notepad.exe");
    headless::ClickListRow(d, res::kTitleWindowList, 1);
    EXPECT_EQ(Edit(d), "無題 - メモ帳");
    // The finder dragged onto the other window selects it.
    headless::PointFinder(d, res::kTitleFinder, sheet_);
    EXPECT_EQ(plat::ListFirstSelected(d, res::kTitleWindowList), 0);
    EXPECT_EQ(Edit(d), "請求書.xlsx - 表計算");
    // Onto the dialog itself or nothing: no change. Onto a window that came
    // after the list was made: the list is made anew.
    headless::PointFinder(d, res::kTitleFinder, d);
    EXPECT_EQ(Edit(d), "請求書.xlsx - 表計算");
    plat::Window late = headless::AddTopLevelWindow(headless::AddForeignProcess(), "新しい窓", true, false);
    headless::PointFinder(d, res::kTitleFinder, late);
    EXPECT_EQ(plat::ListRowCount(d, res::kTitleWindowList), 3);
    EXPECT_EQ(Edit(d), "新しい窓");
    headless::Type(d, res::kTitleEdit, "請求書");
    headless::Click(d, plat::kIdOk);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(headless::Clipboard(), "請求書");
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
}

TEST_F(Titlescan, CancelEscapeTheCloseBoxAndTheLimitLeaveTheClipboard) {
  const std::function<void(plat::Window)> ways[] = {
      [](plat::Window d) { headless::Click(d, plat::kIdCancel); },
      [](plat::Window d) { headless::PressEscape(d); },
      [](plat::Window d) { headless::CloseBox(d); },
      [](plat::Window d) {
        headless::AdvanceTime(2999);
        EXPECT_FALSE(headless::DialogEnded(d));
        headless::AdvanceTime(1);
      },
  };
  for (const auto& way : ways) {
    const int code = Run([&](plat::Window d) {
      headless::ClickListRow(d, res::kTitleWindowList, 0);
      way(d);
      EXPECT_TRUE(headless::DialogEnded(d));
    }, {"/limit=3"});
    EXPECT_EQ(code, 1);
  }
  EXPECT_EQ(headless::Clipboard(), "0,0");
  EXPECT_TRUE(headless::ClipboardWrites().empty());
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
}

TEST_F(Titlescan, ATitleShiftJisCannotWriteIsRefusedUntilShortened) {
  plat::Window cafe = headless::AddTopLevelWindow(headless::AddForeignProcess(), "caf? - メモ", true, false);
  headless::SetTitleInexact(cafe);
  const int code = Run([](plat::Window d) {
    headless::Click(d, plat::kIdOk);  // nothing chosen yet
    headless::ClickListRow(d, res::kTitleWindowList, 0);
    headless::Click(d, plat::kIdOk);
    EXPECT_FALSE(headless::DialogEnded(d));
    headless::HoldClipboard(true);  // another program holds the clipboard
    headless::Type(d, res::kTitleEdit, "メモ");
    headless::Click(d, plat::kIdOk);
    EXPECT_FALSE(headless::DialogEnded(d));
    headless::HoldClipboard(false);
    headless::Click(d, plat::kIdOk);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(headless::Clipboard(), "メモ");
  const std::vector<headless::MessageBoxRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].text.find("空"), std::string::npos);
  EXPECT_NE(boxes[1].text.find("シフトJIS"), std::string::npos);
  EXPECT_NE(boxes[2].text.find("クリップボード"), std::string::npos);
  EXPECT_EQ(boxes[1].caption, "ウィンドウタイトル取得");
}

TEST(PickmarkScenario, APointOrCommandIsAnsweredOnceAndARefusalLeavesTheClipboard) {
  headless::Reset();
  headless::SetClipboard("0,0");
  headless::OnMarkerWindow([](plat::Window marker, const plat::MarkerWindowSetup& setup, plat::MarkerHandler& h) {
    EXPECT_NE(setup.title.find("座標取得"), std::string::npos);
    EXPECT_EQ(setup.markerX, 31);
    EXPECT_EQ(setup.markerY, 52);
    EXPECT_TRUE(plat::IsTopmost(marker));
    EXPECT_FALSE(h.OnMarkerDropped(321, 287).warning);
    EXPECT_EQ(headless::Clipboard(), "321,287");
    EXPECT_TRUE(h.OnMarkerDropped(-5, 287).warning);
    EXPECT_TRUE(h.OnMarkerMoved(-5, 287).warning);
    EXPECT_EQ(headless::Clipboard(), "321,287");
    EXPECT_FALSE(h.OnMenuChosen(0).warning);
    EXPECT_EQ(headless::Clipboard(), "NEW ACTION");
    headless::HoldClipboard(true);
    EXPECT_TRUE(h.OnMenuChosen(2).warning);  // told, not sent
    headless::HoldClipboard(false);
  });
  EXPECT_EQ(pickmark::RunPickmark(), 0);
  EXPECT_EQ(headless::ClipboardWrites(), (std::vector<std::string>{"321,287", "NEW ACTION"}));
}

}  // namespace
