// The operation list's edit commands as a person uses them: keys pressed
// while the list has the focus and the list's right-click menu. Delete and
// Ctrl+Z, cut and paste into another job through the job list, undo back to
// the loaded state, and a paste of foreign text refused.
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include <cstring>

namespace e2e {
namespace {

std::string Op(const char* name) { return std::string(name) + ",,,マウスでクリックする,,,,,,4\r\n"; }

class EditCommands : public EditorTest {
 protected:
  HWND Open(const std::wstring& job) {
    HWND dialog = StartEditorAndWait(editor_, job);
    if (dialog) Sleep(500);  // let it settle at its place
    return dialog;
  }

  // Clicks the middle of a cell of the operation list with the left button,
  // or with the right one when `right`.
  void ClickCell(HWND dialog, int row, int column, bool right = false) {
    POINT point = {};
    ASSERT_TRUE(CellCentreOnScreen(GetDlgItem(dialog, 1000), row, column, point)) << "row " << row;
    ClickScreenPoint(point, right);
    Sleep(300);  // the selection's notifications load the row
  }

  bool RowsBecome(HWND dialog, int rows) {
    return WaitUntil([&] { return ListViewRowCount(GetDlgItem(dialog, 1000)) == rows; }, 5000);
  }
  bool CellBecomes(HWND dialog, int row, int column, const std::wstring& text) {
    return WaitUntil([&] { return ListViewCell(GetDlgItem(dialog, 1000), row, column) == text; }, 5000);
  }
  bool FieldBecomes(HWND dialog, int id, const std::wstring& text) {
    return WaitUntil([&] { return DialogItemText(dialog, id) == text; }, 5000);
  }

  // The popup menu the editor shows; nullptr when none came.
  HWND WaitForMenu() { return WaitForWindow(editor_, L"#32768", L"", 5000); }

  Process editor_;
};

TEST_F(EditCommands, DeleteThenCtrlZBringsTheRowBackAndUndoToTheLoadedStateClosesWithoutAQuestion) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string record = Op("一") + Op("二") + Op("三") + Op("四");
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Undo", {{L"KeyRecord.def", record}, {L"KeyRepeat.def", "2,3,5\r\n\r\n\r\n"}}));
  HWND dialog = Open(L"Undo");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);

  // The third row lies in the repeat range 2-3: Delete shortens it.
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 2, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"三"));
  PressKey(VK_DELETE);
  ASSERT_TRUE(RowsBecome(dialog, 3));
  EXPECT_EQ(ListViewCell(list, 2, 1), L"四");
  EXPECT_TRUE(FieldBecomes(dialog, 1007, L"2"));

  // Ctrl+Z: the row is back at its place, with its repeat range and mark.
  PressKeyWith(VK_CONTROL, 'Z');
  ASSERT_TRUE(RowsBecome(dialog, 4));
  EXPECT_EQ(ListViewCell(list, 2, 1), L"三");
  EXPECT_TRUE(FieldBecomes(dialog, 1007, L"3"));
  EXPECT_EQ(ListViewCell(list, 2, 11), L"■");
  EXPECT_TRUE(FieldBecomes(dialog, 1004, L"三"));

  // A typed name, taken back with the first entry of the right-click menu.
  ClickControl(dialog, 1004);
  PressKey(VK_END);
  TypeText(L"目");
  ASSERT_TRUE(CellBecomes(dialog, 2, 1, L"三目"));
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 2, 1, true));
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr) << DescribeWindowsOf(editor_.id());
  SaveScreenshot(dialog, L"edit-menu");
  RECT items = {};
  GetWindowRect(menu, &items);
  ClickScreenPoint({items.left + 30, items.top + 10});
  EXPECT_TRUE(CellBecomes(dialog, 2, 1, L"三")) << standin::ToUtf8(ListViewCell(list, 2, 1));

  // Back at the loaded state: the close box closes without a question, and
  // the job's file is as it was.
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"Undo\\KeyRecord.def"), bytes));
  EXPECT_EQ(bytes, record);
}

TEST_F(EditCommands, CutAndPasteIntoAnotherJobThroughTheJobList) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string secret = "暗証番号,,,文字を入力する,1234,,,,,1\r\n";
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"A", {{L"KeyRecord.def", Op("A一") + secret}}));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"B", {{L"KeyRecord.def", Op("B一") + Op("B二")}}));
  HWND dialog = Open(L"A");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);

  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 1, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"暗証番号"));
  PressKeyWith(VK_CONTROL, 'X');
  ASSERT_TRUE(RowsBecome(dialog, 1));
  std::string clipboard;
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText(clipboard) && clipboard == secret; }, 3000))
      << clipboard;

  // The job list: B, then yes to the question.
  ClickControl(dialog, 1082);
  HWND dropped = WaitForDroppedList(editor_);
  ASSERT_NE(dropped, nullptr) << "the job list did not drop down";
  RECT items = {};
  GetClientRect(dropped, &items);
  const int itemHeight = static_cast<int>(SendMessageW(GetDlgItem(dialog, 1082), CB_GETITEMHEIGHT, 0, 0));
  ClickInWindow(dropped, items.right / 2, itemHeight + itemHeight / 2);
  HWND question = WaitForWindow(editor_, L"#32770", L"タヴォレクス");
  ASSERT_NE(question, nullptr) << DescribeWindowsOf(editor_.id());
  ClickControl(question, IDYES);
  ASSERT_TRUE(CellBecomes(dialog, 0, 1, L"B一"));

  // Selecting a row puts "0,0" on the clipboard; Ctrl+V takes the editor's
  // own copy, before the edited row. Alt+Down moves it down.
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 0, 1));
  PressKeyWith(VK_CONTROL, 'V');
  ASSERT_TRUE(RowsBecome(dialog, 3));
  EXPECT_EQ(ListViewCell(list, 0, 1), L"暗証番号");
  EXPECT_EQ(ListViewCell(list, 0, 5), L"********");
  PressKeyWith(VK_MENU, VK_DOWN);
  EXPECT_TRUE(CellBecomes(dialog, 1, 1, L"暗証番号"));
  EXPECT_TRUE(FieldBecomes(dialog, 1001, L"2"));

  ClickControl(dialog, 1);
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor_.id());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"B\\KeyRecord.def.psw"), bytes));
  EXPECT_EQ(SwapNibbles(bytes), Op("B一") + secret + Op("B二"));
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"A\\KeyRecord.def"), bytes));
  EXPECT_EQ(bytes, Op("A一"));
}

TEST_F(EditCommands, APasteOfForeignTextWithNothingCopiedIsRefused) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string record = Op("一") + Op("二");
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Paste", {{L"KeyRecord.def", record}}));
  HWND dialog = Open(L"Paste");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 0, 1));

  // Another program's text, put after the row was selected.
  const wchar_t note[] = L"買い物メモ\r\n牛乳,卵";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof note);
  std::memcpy(GlobalLock(memory), note, sizeof note);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();

  PressKeyWith(VK_CONTROL, 'V');
  HWND refusal = WaitForWindow(editor_, L"#32770", L"データ検査");
  ASSERT_NE(refusal, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(MessageBoxText(refusal).rfind(L"貼り付ける行がありません。", 0), 0u)
      << standin::ToUtf8(MessageBoxText(refusal));
  ClickControl(refusal, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(refusal); }, 3000));
  EXPECT_EQ(ListViewRowCount(GetDlgItem(dialog, 1000)), 2);

  // Nothing changed: no question at the close box.
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"Paste\\KeyRecord.def"), bytes));
  EXPECT_EQ(bytes, record);
}

// Ctrl+R in the list: the editor hides while the runner records, the rows it
// brings back are inserted before the edited row, and Ctrl+Z takes them all
// back in one step.
TEST_F(EditCommands, CtrlRRecordsRowsThatCtrlZTakesBackInOneStep) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Rec", {{L"KeyRecord.def", Op("一") + Op("二")}}));
  ASSERT_TRUE(WriteBytes(folder_.Path(L"record-capture.def"), Op("記録一") + Op("記録二") + "//ドラッグ 1件\r\n"));
  HWND dialog = Open(L"Rec");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 1, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"二"));

  PressKeyWith(VK_CONTROL, 'R');
  std::string log;
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(folder_.Path(L"runner-log.txt"), log) && !log.empty(); }, 15000))
      << "the recorder was not started";
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 3000)) << "the editor is shown while recording";
  ASSERT_TRUE(WriteBytes(folder_.Path(L"runner-release"), ""));

  HWND box = WaitForWindow(editor_, L"#32770", L"タヴォレクス");
  ASSERT_NE(box, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(MessageBoxText(box).rfind(L"2 件の操作を記録して追加しました。", 0), 0u) << standin::ToUtf8(MessageBoxText(box));
  EXPECT_NE(MessageBoxText(box).find(L"・ドラッグ 1件"), std::wstring::npos);
  SaveScreenshot(box, L"recording-done");
  ClickControl(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));

  EXPECT_TRUE(IsWindowVisible(dialog));
  ASSERT_TRUE(RowsBecome(dialog, 4));
  EXPECT_EQ(ListViewCell(list, 1, 1), L"記録一");
  EXPECT_EQ(ListViewCell(list, 2, 1), L"記録二");
  EXPECT_EQ(ListViewCell(list, 3, 1), L"二");
  EXPECT_TRUE(FieldBecomes(dialog, 1004, L"記録一"));
  const RunnerLog run = ParseRunnerLog(log);
  EXPECT_EQ(run.command, standin::ToUtf8(L"\"" + folder_.Path(L"Runvane.exe") + L"\" /record \"" +
                                         folder_.Path(L"Rec\\KeyCapture.def") + L"\""));
  EXPECT_FALSE(FileExists(folder_.Path(L"Rec\\KeyCapture.def")));

  ASSERT_TRUE(BringToFront(dialog));
  SetFocus(list);
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 1, 1));
  PressKeyWith(VK_CONTROL, 'Z');
  ASSERT_TRUE(RowsBecome(dialog, 2));
  EXPECT_EQ(ListViewCell(list, 1, 1), L"二");
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

}  // namespace
}  // namespace e2e
