// The main window as Windows shows it: the controls of dialog 102 with their texts,
// the placement at the bottom left of the desktop, the state after initialisation,
// the rows of the job, and a screenshot for a person to look at.
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include "resources/templates.h"

namespace e2e {
namespace {

class MainDialog : public EditorTest {
 protected:
  // Opens the editor on a job with the given record file ("" for a job without one).
  HWND Open(const std::wstring& job, const std::string& record) {
    if (!record.empty()) folder_.MakeJob(job, {{L"KeyRecord.def", record}});
    if (HasFatalFailure()) return nullptr;
    return StartEditorAndWait(editor_, job);
  }

  void Close(HWND dialog) { CloseWithCloseBoxAndExpectExitZero(editor_, dialog); }

  Process editor_;
};

std::string ThreeRecords() {
  return std::string(
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
      "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n");
}

TEST_F(MainDialog, EveryLabelAndButtonShowsItsTemplateText) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Labels", "");
  ASSERT_NE(dialog, nullptr);

  const res::DialogTemplate* main = res::FindDialogTemplate(res::kMainDialog);
  ASSERT_NE(main, nullptr);
  int checked = 0;
  for (size_t i = 0; i < main->controlCount; ++i) {
    const res::ControlTemplate& control = main->controls[i];
    if (control.id <= 0 || !control.text) continue;
    if (control.cls != res::ControlClass::Static && control.cls != res::ControlClass::Button)
      continue;
    SCOPED_TRACE("control " + std::to_string(control.id));
    HWND item = GetDlgItem(dialog, control.id);
    EXPECT_NE(item, nullptr) << "missing control";
    if (!item) continue;
    const std::wstring expected = FromShiftJis(control.text);
    const std::wstring actual = DialogItemText(dialog, control.id);
    EXPECT_TRUE(actual == expected) << "text \"" << standin::ToUtf8(actual) << "\", expected \""
                                    << standin::ToUtf8(expected) << "\"";
    ++checked;
  }
  EXPECT_GT(checked, 40);
  EXPECT_EQ(WindowText(dialog), FromShiftJis(main->caption)) << standin::ToUtf8(WindowText(dialog));
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(MainDialog, SitsFivePixelsFromLeftAndFiftyAboveDesktopBottomTopmost) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Placement", "");
  ASSERT_NE(dialog, nullptr);

  RECT desktop, window;
  ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
  ASSERT_TRUE(GetWindowRect(dialog, &window));
  EXPECT_EQ(window.left, 5);
  EXPECT_EQ(window.bottom, desktop.bottom - 50)
      << "top " << window.top << ", outer height " << window.bottom - window.top
      << ", desktop height " << desktop.bottom;
  EXPECT_GT(window.top, 0) << "the dialog does not fit the desktop";
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(MainDialog, ControlsAreInTheirStartingState) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Initial", ThreeRecords());
  ASSERT_NE(dialog, nullptr);

  EXPECT_EQ(SendDlgItemMessageW(dialog, 1044, BM_GETCHECK, 0, 0), BST_CHECKED)
      << "the check-all box is not ticked";
  for (int id : {1004, 1002, 1003, 1080, 1081, 1005, 1020}) {
    HWND item = GetDlgItem(dialog, id);
    EXPECT_TRUE(item && !IsWindowEnabled(item)) << "editor field " << id << " is not disabled";
  }
  for (int id : {1037, 1002, 1003, 1061, 1020}) {
    HWND item = GetDlgItem(dialog, id);
    EXPECT_TRUE(item && IsWindowVisible(item)) << "control " << id << " is not shown";
  }
  for (int id : {1032, 1081, 1005, 1040, 1015, 1041, 1016, 1042, 1017, 1043, 1018, 1028, 1062,
                 1039, 1060}) {
    HWND item = GetDlgItem(dialog, id);
    EXPECT_TRUE(item && !IsWindowVisible(item)) << "control " << id << " is not hidden";
  }
  EXPECT_EQ(DialogItemText(dialog, 1020), L"") << "the stop-seconds field is not empty";

  // The stop-seconds caption and field take the place of the two coordinate buttons,
  // on top of them, and lie wholly inside the window.
  RECT client;
  GetClientRect(dialog, &client);
  auto childRect = [&](int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  auto zIndex = [&](int id) {
    int index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index)
      if (GetDlgCtrlID(child) == id) return index;
    return -1;
  };
  struct Covers {
    int top, below;
  };
  for (const Covers& c : {Covers{1061, 1028}, Covers{1020, 1062}}) {
    const RECT over = childRect(c.top), under = childRect(c.below);
    RECT both;
    EXPECT_TRUE(IntersectRect(&both, &over, &under))
        << "control " << c.top << " (" << over.left << "," << over.top << ") does not cover "
        << c.below << " (" << under.left << "," << under.top << ")";
    EXPECT_TRUE(over.left >= 0 && over.top >= 0 && over.right <= client.right &&
                over.bottom <= client.bottom)
        << "control " << c.top << " at (" << over.left << "," << over.top << ")-(" << over.right
        << "," << over.bottom << ") lies outside the client area " << client.right << "x"
        << client.bottom;
    EXPECT_LT(zIndex(c.top), zIndex(c.below)) << "control " << c.top << " is below " << c.below;
  }
  EXPECT_LT(childRect(1061).top, childRect(1020).top) << "the caption is not above its field";
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(MainDialog, EmptyJobShowsTheDefaultRowInTwelveColumns) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Fresh", "");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ClassOf(list), L"SysListView32");
  EXPECT_EQ(ListViewColumnCount(list), 12);
  ASSERT_EQ(ListViewRowCount(list), 1);

  const wchar_t* const expected[12] = {L"1", L"画面をクリア", L"", L"", L"ショートカットを入力する",
                                       L"Win+D  (画面消去)", L"", L"", L"", L"", L"2", L""};
  for (int column = 0; column < 12; ++column) {
    EXPECT_EQ(ListViewCell(list, 0, column), std::wstring(expected[column]))
        << "column " << column << ": " << standin::ToUtf8(ListViewCell(list, 0, column));
  }
  // The default row is not a change: the close box ends without a question and writes
  // nothing.
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
  EXPECT_EQ(ListNames(folder_.Path(L"Fresh")), std::vector<std::wstring>{});
}

TEST_F(MainDialog, JobLinesBecomeNumberedRows) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"Rows", ThreeRecords());
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(ListViewRowCount(list), 3);
  const wchar_t* const names[3] = {L"画面をクリア", L"見積書を開く", L"合計欄をクリック"};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(ListViewCell(list, row, 0), std::to_wstring(row + 1));
    EXPECT_EQ(ListViewCell(list, row, 1), std::wstring(names[row]))
        << "row " << row << ": " << standin::ToUtf8(ListViewCell(list, row, 1));
  }
  EXPECT_EQ(ListViewCell(list, 2, 2), L"640");
  EXPECT_EQ(ListViewCell(list, 2, 3), L"480");
  EXPECT_EQ(ListViewCell(list, 1, 4), L"アプリケーションを実行する");
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(MainDialog, ScreenshotIsSaved) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  HWND dialog = Open(L"請求書", ThreeRecords());
  ASSERT_NE(dialog, nullptr);
  // Give the controls time to paint after the move to the bottom of the desktop.
  Sleep(1500);
  const std::wstring path = GetConfig().screens + L"\\main-dialog.bmp";
  DeleteFileW(path.c_str());
  EXPECT_TRUE(SaveWindowScreenshot(dialog, path)) << standin::ToUtf8(path);
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

}  // namespace
}  // namespace e2e
