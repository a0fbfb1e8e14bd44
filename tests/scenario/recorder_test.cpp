// The recorder on the headless platform, from its command line to the file
// it leaves and its exit code, with hooked events fed as the user's hand.
#include <string>
#include <vector>

#include "platform/headless/pickers.h"
#include "platform/headless/runner.h"
#include "runvane/recorder.h"
#include "runvane/runner.h"
#include "tests/support/fresh_state.h"

namespace {

constexpr char kFile[] = "C:\\Tools\\job\\KeyCapture.def";
constexpr char kCaption[] = "タヴォレクス 記録";

class Recorder : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools\\job\\");
  }
  // An event `after` ms from the start.
  void Feed(plat::HookedInput::Kind kind, std::uint64_t after, int vkOrX, int y = 0) {
    plat::HookedInput e;
    e.kind = kind;
    e.ms = start_ + after;
    if (kind == plat::HookedInput::KeyDown || kind == plat::HookedInput::KeyUp) {
      e.virtualKey = vkOrX;
    } else {
      e.x = vkOrX;
      e.y = y;
    }
    headless::FeedHookedInput({e});
  }
  int Record(const std::vector<std::string>& arguments = {"/record", kFile}) {
    return runvane::RunRecording(arguments);
  }
  std::uint64_t start_ = headless::Now();
};

TEST_F(Recorder, TheUsersInputBecomesTheFileOnShiftEsc) {
  using K = plat::HookedInput;
  const plat::Window memo = headless::AddTopLevelWindow(50, "メモ帳", true, false);
  plat::SetWindowBounds(memo, 100, 50, 800, 600, false);
  const plat::Window marker = headless::AddTopLevelWindow(60, "座標取得", true, false);
  headless::SetProcessProgram(60, "Pickmark.exe");
  plat::SetWindowBounds(marker, 1000, 50, 100, 100, true);
  headless::SetForegroundWindow(memo);
  headless::PutFile(kFile, "an old recording\r\n");
  Feed(K::LeftDown, 100, 1050, 100);  // the marker: not recorded
  Feed(K::LeftUp, 150, 1050, 100);
  Feed(K::LeftDown, 200, 300, 200);
  Feed(K::LeftUp, 250, 300, 200);
  Feed(K::KeyDown, 1300, 0xA0);
  Feed(K::KeyDown, 1350, 'H');
  Feed(K::KeyUp, 1400, 0xA0);
  Feed(K::KeyDown, 1450, 'I');
  Feed(K::KeyDown, 1500, 0x0D);
  Feed(K::OtherButtonDown, 1600, 300, 200);
  Feed(K::KeyDown, 4500, 0xA0);
  Feed(K::KeyDown, 4550, 0x1B);  // Shift+Esc: the end, not recorded
  Feed(K::KeyDown, 4600, 'X');   // after the end
  EXPECT_EQ(Record(), runvane::kAllRan);
  EXPECT_EQ(headless::FileBytes(kFile),
            "メモ帳,,,アプリケーションの表示設定,メモ帳,100,50,800,600,1\r\n"
            "メモ帳,300,200,マウスでクリックする,,,,,,1\r\n"
            "メモ帳,,,文字を入力する,Hi,,,,,1\r\n"
            "メモ帳,,,各種キーを入力する,Enter,,,,,4\r\n"
            "//中ボタンなどのクリック 1件\r\n");
  const std::vector<std::string> status = headless::StatusTexts();
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front(), "記録中 0 件　Shift+Esc で終了");
  EXPECT_EQ(status.back(), "記録中 4 件（記録しない操作 1 件）　Shift+Esc で終了");
  EXPECT_FALSE(headless::StatusShown());
  EXPECT_FALSE(headless::HooksInstalled());
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_FALSE(plat::PathExists((std::string(kFile) + ".tmp").c_str()));
}

TEST_F(Recorder, TheCornerEndsAnEmptyRecordingAndFaultsLeaveNoFile) {
  // The pointer at the top-left pixel ends it, once it has been elsewhere.
  headless::SetPointer(0, 0);
  headless::OnBriefWait([this] {
    if (headless::Now() > start_ + 500) headless::SetPointer(0, 0);
    else headless::SetPointer(400, 300);
  });
  EXPECT_EQ(Record(), runvane::kAllRan);
  EXPECT_EQ(headless::FileBytes(kFile), "");
  EXPECT_TRUE(plat::PathExists(kFile));
  EXPECT_GE(headless::Now(), start_ + 500);

  headless::Reset();
  headless::MakeFolder("C:\\Tools\\job\\");
  headless::HoldMutex(runvane::kRunLockName);  // a run goes on
  EXPECT_EQ(Record(), runvane::kBusy);
  EXPECT_FALSE(plat::PathExists(kFile));
  EXPECT_TRUE(headless::MessageBoxes().empty());

  headless::Reset();
  headless::MakeFolder("C:\\Tools\\job\\");
  headless::RefuseHooks();
  EXPECT_EQ(Record(), runvane::kFailed);
  EXPECT_FALSE(plat::PathExists(kFile));
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, kCaption);

  headless::Reset();
  EXPECT_EQ(Record(), runvane::kFailed);  // the job folder is missing
  EXPECT_FALSE(plat::PathExists(kFile));

  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"/record"}, {"/record", "KeyCapture.def"}, {"/record", kFile, "more"}, {"/RECORD", "C:\\job\\"}}) {
    headless::Reset();
    EXPECT_EQ(Record(arguments), runvane::kRefused);
    EXPECT_EQ(headless::MessageBoxes().size(), 1u);
  }
  EXPECT_TRUE(runvane::IsRecordCommand({"/Record", kFile}));
  EXPECT_FALSE(runvane::IsRecordCommand({"C:\\job\\KeyInspec.def", "C:\\job\\KeyRepeat.def"}));
}

}  // namespace
