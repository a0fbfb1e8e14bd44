// The operation editor used as a person uses it: rows picked with the mouse,
// fields typed with the keyboard, the action chosen from its drop-down list,
// New, Insert and Delete, then "保存して終了" and the stored file; and the
// list's colours on the screen.
#include "tests/e2e/harness.h"

#include <commctrl.h>

namespace e2e {
namespace {

class OperationEditor : public EditorTest {
 protected:
  HWND Open(const std::wstring& job, const std::string& record) {
    folder_.MakeJob(job, {{L"KeyRecord.def", record}});
    if (HasFatalFailure()) return nullptr;
    HWND dialog = StartEditorAndWait(editor_, job);
    if (dialog) Sleep(500);  // let it settle at its place
    return dialog;
  }

  // Clicks the middle of a cell of the operation list.
  void ClickCell(HWND dialog, int row, int column) {
    HWND list = GetDlgItem(dialog, 1000);
    RECT cell = {};
    ASSERT_TRUE(ListViewCellRect(list, row, column, cell)) << "row " << row;
    ClickInWindow(list, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    Sleep(300);  // the selection's notifications load the row, some twice
  }

  // Drops the list of a combo box down with a click and clicks entry `index`.
  void ChooseFromDropDown(HWND dialog, int comboId, int index) {
    ClickControl(dialog, comboId);
    HWND dropped = WaitForDroppedList(editor_);
    ASSERT_NE(dropped, nullptr) << "the list did not drop down";
    const int height = static_cast<int>(SendMessageW(dropped, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageW(dropped, LB_GETTOPINDEX, 0, 0));
    RECT client = {};
    GetClientRect(dropped, &client);
    ClickInWindow(dropped, client.right / 2, (index - top) * height + height / 2);
  }

  bool FieldBecomes(HWND dialog, int id, const std::wstring& text) {
    return WaitUntil([&] { return DialogItemText(dialog, id) == text; }, 5000);
  }

  Process editor_;
};

TEST_F(OperationEditor, MouseAndKeyboardEditsReachTheSavedFile) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Edit",
                     "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
                     "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
                     "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);

  // Pick the third row: the fields show it.
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 2, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"合計欄をクリック")) << DialogItemUtf8(dialog, 1004);
  EXPECT_EQ(DialogItemText(dialog, 1002), L"640");
  EXPECT_EQ(DialogItemText(dialog, 1001), L"3");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1004)));

  // Type at the end of the name.
  ClickControl(dialog, 1004);
  PressKey(VK_END);
  TypeText(L"X済");
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list, 2, 1) == L"合計欄をクリックX済"; }, 5000))
      << standin::ToUtf8(ListViewCell(list, 2, 1));

  // The action from the drop-down list: text input, shown masked in the list.
  ASSERT_NO_FATAL_FAILURE(ChooseFromDropDown(dialog, 1080, 2));
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(list, 2, 4) == L"文字を入力する"; }, 5000))
      << standin::ToUtf8(ListViewCell(list, 2, 4));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1005)));
  ClickControl(dialog, 1005);
  TypeText(L"say \"hi");
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list, 2, 5) == L"********"; }, 5000));

  // Backspace empties the stop seconds: the default comes back selected, so
  // "10" typed next replaces it.
  ClickControl(dialog, 1020);
  PressKey(VK_END);
  PressKey(VK_BACK);
  EXPECT_TRUE(FieldBecomes(dialog, 1020, L"4"));
  TypeText(L"10");
  EXPECT_TRUE(FieldBecomes(dialog, 1020, L"10")) << DialogItemUtf8(dialog, 1020);
  EXPECT_EQ(ListViewCell(list, 2, 10), L"10");

  // New: a fourth row, loaded, its stop seconds selected for typing.
  ClickControl(dialog, 1026);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 4; }, 5000));
  EXPECT_TRUE(FieldBecomes(dialog, 1001, L"4"));
  TypeText(L"7");
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list, 3, 10) == L"7"; }, 5000));

  // Insert before the first row, then delete the row that was first.
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 0, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"画面をクリア"));
  ClickControl(dialog, 1023);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 5; }, 5000));
  EXPECT_TRUE(FieldBecomes(dialog, 1004, L""));
  TypeText(L"3");
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list, 0, 10) == L"3"; }, 5000));
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 1, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"画面をクリア"));
  ClickControl(dialog, 1025);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 4; }, 5000));
  for (int row = 0; row < 4; ++row) EXPECT_EQ(ListViewCell(list, row, 0), std::to_wstring(row + 1));
  EXPECT_TRUE(FieldBecomes(dialog, 1001, L"1"));

  // Save and close.
  ClickControl(dialog, 1);
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(editor_.ExitCode(), 0u);
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Edit\\KeyRecord.def.psw"), stored));
  EXPECT_EQ(SwapNibbles(stored),
            ",,,マウスでクリックする,,,,,,3\r\n"
            "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
            "合計欄をクリックX済,640,480,文字を入力する,\"say \"\"hi\",,,,,10\r\n"
            ",,,マウスでクリックする,,,,,,7\r\n");
  EXPECT_FALSE(FileExists(folder_.Path(L"Edit\\KeyRecord.def")));
}

TEST_F(OperationEditor, RowsAndActionCellsShowTheirColours) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Colours",
                     "a,1,1,マウスでクリックする,,,,,,4\r\n"
                     "b,1,1,マウスでクリックする,,,,,,4\r\n"
                     "c,1,1,マウスでクリックする,,,,,,4\r\n"
                     "d,,,アプリケーションを実行する,x.exe,,,,,8\r\n");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 2, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1004, L"c"));
  // Editing a field: the list loses the focus and shows the current row in
  // the program's own colour rather than the selection's.
  ClickControl(dialog, 1004);
  Sleep(1500);

  auto pixelOf = [&](int row, int column, bool nearRight) {
    RECT cell = {};
    EXPECT_TRUE(ListViewCellRect(list, row, column, cell));
    POINT p = {nearRight ? cell.right - 4 : (cell.left + cell.right) / 2, cell.top + 3};
    ClientToScreen(list, &p);
    return ScreenPixel(p.x, p.y);
  };
  const std::wstring shot = GetConfig().screens + L"\\operation-colours.bmp";
  DeleteFileW(shot.c_str());
  SaveWindowScreenshot(dialog, shot);
  auto hex = [](COLORREF c) {
    char text[16];
    snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return std::string(text);
  };
  EXPECT_EQ(hex(pixelOf(0, 11, false)), hex(RGB(232, 243, 253))) << "even row";
  EXPECT_EQ(hex(pixelOf(1, 11, false)), hex(RGB(255, 255, 255))) << "odd row";
  EXPECT_EQ(hex(pixelOf(2, 11, false)), hex(RGB(100, 200, 255))) << "current row";
  EXPECT_EQ(hex(pixelOf(3, 4, true)), hex(RGB(200, 0, 0))) << "RunApplication action cell";
  EXPECT_EQ(hex(pixelOf(0, 4, true)), hex(RGB(255, 255, 120))) << "MouseClick action cell";

  // Another row picked: the former one is back to its colour within a second.
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 1, 1));
  ClickControl(dialog, 1004);
  Sleep(1500);
  EXPECT_EQ(hex(pixelOf(2, 11, false)), hex(RGB(232, 243, 253))) << "former current row";
  EXPECT_EQ(hex(pixelOf(1, 11, false)), hex(RGB(100, 200, 255))) << "new current row";

  // A RunApplication row keeps the stop seconds in view, clear of the save
  // button.
  auto rectOf = [&](int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  ASSERT_NO_FATAL_FAILURE(ClickCell(dialog, 3, 1));
  ASSERT_TRUE(FieldBecomes(dialog, 1005, L"x.exe"));
  // The click's later notifications load the row again: let them end.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(dialog, 1060)) != FALSE; }, 5000));
  Sleep(700);
  const RECT save = rectOf(1);
  for (int id : {1020, 1061}) {
    const RECT r = rectOf(id);
    RECT both;
    EXPECT_FALSE(IntersectRect(&both, &r, &save)) << id << " lies on the save button";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
  }
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1060)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1002)));
  EXPECT_EQ(DialogItemText(dialog, 1020), L"8");
  Sleep(500);
  const std::wstring runShot = GetConfig().screens + L"\\operation-run-application.bmp";
  DeleteFileW(runShot.c_str());
  SaveWindowScreenshot(dialog, runShot);
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

}  // namespace
}  // namespace e2e
