// Repeat rules and the test run as a user does them: ticking rules and
// typing their ranges with the mouse and keyboard, the repeat marks in the
// list, then a run of the ticked rows against the runner stand-in, which
// logs what it received. The editor hides while the runner runs and comes
// back when it ends.
#include "tests/e2e/harness.h"

#include <commctrl.h>

namespace e2e {
namespace {

// Clicks into an edit, empties it with the keys a user would use and types
// the digits.
void TypeIntoEdit(HWND dialog, int id, const char* digits) {
  ClickControl(dialog, id);
  PressKey(VK_END);
  for (int i = 0; i < 8; ++i) PressKey(VK_BACK);
  for (const char* p = digits; *p; ++p) PressKey(static_cast<WORD>(*p));  // VK '0'-'9'
  Sleep(100);
}

bool RowTicked(HWND list, int row) {
  return ((SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) - 1) == 1;
}

// Clicks the check box at the left of a row (the state image, 16 pixels wide).
void ClickRowCheckBox(HWND list, int row) {
  RECT r;
  ASSERT_TRUE(ListViewCellRect(list, row, 0, r)) << "row " << row;
  POINT p = {r.left + 4 + 8, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  ClickScreenPoint(p);
}

std::wstring Marks(HWND list) {
  std::wstring out;
  for (int r = 0; r < ListViewRowCount(list); ++r) out += ListViewCell(list, r, 11) == L"■" ? L"■" : L".";
  return out;
}

class RepeatAndRun : public EditorTest {};

TEST_F(RepeatAndRun, TickedRowsRunWithTheTypedRulesAndTheEditorComesBack) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::wstring job = L"繰返し試験";
  const std::string record =
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
      "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n"
      "金額を入力,,,文字を入力する,12000,,,,,1\r\n"
      "保存する,,,ショートカットを入力する,Ctrl+S,,,,,3";  // no line end
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(job, {{L"KeyRecord.def", record}}));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, job);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  SetForegroundWindow(dialog);

  // The range fields stay read-only until their rule is ticked.
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, 1006), GWL_STYLE) & ES_READONLY);
  ClickControl(dialog, 1045);
  ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(dialog, 1045) == BST_CHECKED; }, 3000));
  EXPECT_FALSE(GetWindowLongW(GetDlgItem(dialog, 1006), GWL_STYLE) & ES_READONLY);
  TypeIntoEdit(dialog, 1006, "2");
  TypeIntoEdit(dialog, 1007, "3");
  TypeIntoEdit(dialog, 1008, "4");
  EXPECT_EQ(Marks(list), L".■■..");

  ClickControl(dialog, 1047);
  ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(dialog, 1047) == BST_CHECKED; }, 3000));
  TypeIntoEdit(dialog, 1012, "5");
  TypeIntoEdit(dialog, 1013, "12345");  // four digits at most
  TypeIntoEdit(dialog, 1014, "010");
  EXPECT_EQ(DialogItemText(dialog, 1013), L"1234");
  EXPECT_EQ(Marks(list), L".■■.■");
  TypeIntoEdit(dialog, 1013, "5");
  EXPECT_EQ(Marks(list), L".■■.■");

  // Row 4 unticked with a click on its check box.
  ASSERT_TRUE(RowTicked(list, 3));
  ClickRowCheckBox(list, 3);
  ASSERT_TRUE(WaitUntil([&] { return !RowTicked(list, 3); }, 3000)) << "row 4 is still ticked";
  for (int r : {0, 1, 2, 4}) EXPECT_TRUE(RowTicked(list, r)) << "row " << r + 1;
  SaveScreenshot(dialog, L"repeat-rules");

  HWND picker = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (picker = FindWindowWithTitlePart(L"座標取得")) != nullptr; }, 10000));

  // Run: the editor and the picker's window hide while the runner runs.
  ClickControl(dialog, 1027);
  std::string log;
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(folder_.Path(L"runner-log.txt"), log) && !log.empty(); },
                        15000))
      << "the runner was not started";
  Sleep(1500);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "the editor is shown while the runner runs";
  EXPECT_FALSE(IsWindowVisible(picker)) << "the picker is shown while the runner runs";

  ASSERT_TRUE(WriteBytes(folder_.Path(L"runner-release"), ""));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 5000))
      << "the editor did not come back after the runner ended";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(picker) != FALSE; }, 3000));

  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"runner-log.txt"), log));
  RunnerLog run = ParseRunnerLog(log);
  ASSERT_TRUE(run.complete) << log;
  const std::wstring jobFolder = folder_.Path(job);
  EXPECT_EQ(run.command, standin::ToUtf8(L"\"" + folder_.Path(L"Runvane.exe") + L"\" \"" + jobFolder +
                                         L"\\KeyInspec.def\" \"" + jobFolder + L"\\KeyRepeat.def\""));
  ASSERT_TRUE(run.haveInspect);
  const std::string expectedInspect =
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
      "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n"
      "\r\n"
      "保存する,,,ショートカットを入力する,Ctrl+S,,,,,3\r\n";
  EXPECT_TRUE(run.inspect == expectedInspect)
      << "decoded test-run file:\n" << standin::ToUtf8(FromShiftJis(run.inspect));
  ASSERT_TRUE(run.haveRepeat);
  EXPECT_EQ(run.repeat, "2,3,4\r\n\r\n5,5,010\r\n");
  EXPECT_EQ(run.end, "END released");
  // Only the scrambled test-run file lies in the job folder.
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def"));
  EXPECT_TRUE(FileExists(jobFolder + L"\\KeyInspec.def.psw"));

  // "保存して終了": the rules are written again, the test-run files are gone.
  SetForegroundWindow(dialog);
  ClickControl(dialog, 1);
  ASSERT_TRUE(editor.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor.id());
  EXPECT_EQ(editor.ExitCode(), 0u);
  std::string repeat;
  ASSERT_TRUE(ReadWholeFile(jobFolder + L"\\KeyRepeat.def", repeat));
  EXPECT_EQ(repeat, "2,3,4\r\n\r\n5,5,010\r\n");
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def.psw"));
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def"));
}

// Invalid rules at "選択した操作を実行": the message, and nothing runs.
TEST_F(RepeatAndRun, OverlappingRulesAreRefusedAndNothingRuns) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::string record =
      "a,,,マウスでクリックする,,,,,,4\r\nb,,,マウスでクリックする,,,,,,4\r\nc,,,マウスでクリックする,,,,,,4\r\n";
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Overlap", {{L"KeyRecord.def", record},
                                                       {L"KeyRepeat.def", "1,2,2\r\n2,3,2\r\n\r\n"}}));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Overlap");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1045), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(DialogItemText(dialog, 1010), L"3");
  EXPECT_EQ(Marks(GetDlgItem(dialog, 1000)), L"■■■");
  SetForegroundWindow(dialog);
  ClickControl(dialog, 1027);

  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(editor.id(), true))
          if (w != dialog && WindowText(w) == L"データ検査") box = w;
        return box != nullptr;
      },
      5000))
      << DescribeWindowsOf(editor.id());
  SaveScreenshot(box, L"repeat-rules-invalid");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(FileExists(folder_.Path(L"runner-log.txt")));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_FALSE(FileExists(folder_.Path(L"Overlap\\KeyInspec.def.psw")));
  CloseWithCloseBoxAndExpectExitZero(editor, dialog);
}

}  // namespace
}  // namespace e2e
