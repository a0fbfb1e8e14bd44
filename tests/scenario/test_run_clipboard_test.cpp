// What a test run copies never reaches the job: while the runner runs, and
// after it until the clipboard changes, the editor acts on no clipboard text
// as if the coordinate picker had answered.
#include <string>

#include "app/app.h"
#include "companions/contract.h"
#include "jobstore/lines.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

class TestRunClipboard : public FreshState {};

TEST_F(TestRunClipboard, TextsCopiedDuringARunAreNoAnswers) {
  for (const char* name : {"Tavolex.exe", "Runvane.exe"}) headless::PutFile(std::string("C:\\Tools\\") + name, "MZ");
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def", "押す,640,480,マウスでクリックする,,,,,,4\r\n");
  headless::OnDialog(res::kMainDialog, [](plat::Window d) {
    headless::ClickListRow(d, 1000, 0);
    ASSERT_EQ(plat::GetControlText(d, 1002), "640");
    headless::Click(d, 1027);
    ASSERT_NE(companions::RunnerProcessId, 0u);

    // The job copies texts that look like the picker's answers.
    headless::SetClipboard("NEW ACTION");
    headless::AdvanceTime(2000);
    headless::SetClipboard("120,45");
    headless::AdvanceTime(2000);
    headless::EndProcess(companions::RunnerProcessId);
    headless::AdvanceTime(3000);  // the editor is back, the copied point still there
    EXPECT_TRUE(plat::IsWindowVisible(d));
    EXPECT_EQ(plat::GetControlText(d, 1002), "640");
    EXPECT_EQ(plat::GetControlText(d, 1003), "480");
    EXPECT_EQ(jobstore::LineCount(), 1);

    // The picker's next answer counts again.
    headless::SetClipboard("NEW ACTION");
    headless::AdvanceTime(1000);
    EXPECT_EQ(jobstore::LineCount(), 2);
    headless::QueueMessageBoxAnswer(plat::kIdYes);
    headless::CloseBox(d);
  });
  app::RunTavolex({"job"});
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
}

}  // namespace
