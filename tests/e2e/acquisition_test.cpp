// Screen acquisition with the companion stand-ins: points the picker puts on the
// clipboard, its "NEW ACTION", window rectangles set and read by the placement
// buttons, the title picker's text and the open-file dialog. Mouse clicks and keys
// go through SendInput, as a user's would.
//
// Every coordinate here is the one this test program sees; it declares no DPI
// awareness, like the stand-ins, so on a scaled display (the 144 DPI run) the
// editor must hand over the same coordinates.
#include "tests/e2e/harness.h"

#include <commctrl.h>

namespace e2e {
namespace {

// Replaces the text of an edit as a user does: click, select all, type.
void TypeInto(HWND dialog, int id, const std::wstring& text) {
  ClickControl(dialog, id);
  SendMessageW(GetDlgItem(dialog, id), EM_SETSEL, 0, -1);
  PressKey(VK_DELETE);
  TypeText(text);
}

class Acquisition : public EditorTest {
 protected:
  HWND Open(const std::wstring& job = L"Acquire") {
    MakeFolder(true);
    if (HasFatalFailure()) return nullptr;
    HWND dialog = StartEditorAndWait(editor_, job);
    if (dialog == nullptr) return nullptr;
    WaitUntil([&] { return Picker() != nullptr; }, 10000);
    return dialog;
  }
  // The picker stand-in's window.
  HWND Picker() {
    for (HWND w : TopLevelWindowsOf(PickerId(), false))
      if (WindowText(w).find(L"座標取得") != std::wstring::npos) return w;
    return nullptr;
  }
  DWORD PickerId() {
    for (const ProcessEntry& p : ListProcesses())
      if (_wcsicmp(p.exeName.c_str(), L"Pickmark.exe") == 0 && p.parentId == editor_.id()) return p.id;
    return 0;
  }
  // The picker stand-in puts the text on the clipboard.
  bool PickerSays(const std::string& text) {
    return WriteBytes(folder_.Path(L"picker-say.txt"), text) &&
           WaitUntil([&] { return !FileExists(folder_.Path(L"picker-say.txt")); }, 5000);
  }
  // The operation editor shows these controls for the actions that use them;
  // where it does not (yet), the test shows and enables them itself.
  static void Reveal(HWND dialog, std::initializer_list<int> ids) {
    for (int id : ids) {
      HWND item = GetDlgItem(dialog, id);
      if (!IsWindowVisible(item)) ShowWindow(item, SW_SHOW);
      if (!IsWindowEnabled(item)) EnableWindow(item, TRUE);
    }
    Sleep(100);
  }
  void Close(HWND dialog) { CloseWithCloseBoxAndExpectExitZero(editor_, dialog); }
  void CloseDroppingChanges(HWND dialog) { CloseDroppingChangesAndExpectExitZero(editor_, dialog); }

  Process editor_;
};

TEST_F(Acquisition, APickedPointReachesXAndYAndStaysOnTheClipboard) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(PickerSays("123,456"));
  EXPECT_TRUE(WaitUntil([&] { return DialogItemUtf8(dialog, 1002) == "123" && DialogItemUtf8(dialog, 1003) == "456"; }, 5000))
      << "X \"" << DialogItemUtf8(dialog, 1002) << "\", Y \"" << DialogItemUtf8(dialog, 1003) << "\"";
  Sleep(1500);
  std::string clip;
  EXPECT_TRUE(ReadClipboardText(clip));
  EXPECT_EQ(clip, "123,456");
  // Texts that are no answer change nothing.
  ASSERT_TRUE(PickerSays("0,5"));
  Sleep(1500);
  EXPECT_EQ(DialogItemUtf8(dialog, 1002), "123");
  // A comma empties both fields and resets the clipboard.
  ASSERT_TRUE(PickerSays(","));
  EXPECT_TRUE(WaitUntil([&] { return DialogItemUtf8(dialog, 1002).empty() && DialogItemUtf8(dialog, 1003).empty(); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText(clip) && clip == "0,0"; }, 3000)) << clip;
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

// Needs the operation editor's field handlers: a picked point rewrites the
// selected row's line. Enabled when they are in place.
TEST_F(Acquisition, APickedPointIsStoredInTheSelectedRowsLine) {
  MakeFolder(true);
  folder_.MakeJob(L"Stored", {{L"KeyRecord.def", "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n"}});
  HWND dialog = StartEditorAndWait(editor_, L"Stored");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  POINT p = {};
  ASSERT_TRUE(CellCentreOnScreen(list, 0, 1, p));
  ClickScreenPoint(p);
  ASSERT_TRUE(WaitUntil([&] { return DialogItemUtf8(dialog, 1002) == "640"; }, 5000));
  ASSERT_TRUE(PickerSays("123,456"));
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list, 0, 2) == L"123" && ListViewCell(list, 0, 3) == L"456"; },
                        5000));
  ClickControl(dialog, 1);  // save and close
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs));
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Stored\\KeyRecord.def.psw"), stored));
  stored = SwapNibbles(stored);
  EXPECT_EQ(stored.compare(0, 25, "合計欄をクリック,123,456,"), 0) << standin::ToUtf8(FromShiftJis(stored));
}

// Needs the row selection of the operation editor: selecting a row whose point is
// (100, 200) moves the picker's window, topmost, to (69, 148), in the coordinates
// the picker itself sees.
TEST_F(Acquisition, SelectingARowMovesThePickerNearItsPoint) {
  MakeFolder(true);
  folder_.MakeJob(L"Near", {{L"KeyRecord.def", "合計欄をクリック,100,200,マウスでクリックする,,,,,,4\r\n"}});
  HWND dialog = StartEditorAndWait(editor_, L"Near");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Picker() != nullptr; }, 10000));
  HWND list = GetDlgItem(dialog, 1000);
  POINT p = {};
  ASSERT_TRUE(CellCentreOnScreen(list, 0, 1, p));
  ClickScreenPoint(p);
  RECT r = {};
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(Picker(), &r);
        return r.left == 69 && r.top == 148;
      },
      5000))
      << r.left << "," << r.top;
  EXPECT_TRUE(GetWindowLongW(Picker(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  std::string moves;
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadWholeFile(folder_.Path(L"picker-log.txt"), moves) && moves.find("69,148\n") != std::string::npos; },
      3000))
      << moves;
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(Acquisition, NewActionResetsTheClipboard) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(PickerSays("NEW ACTION"));
  std::string clip;
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText(clip) && clip == "0,0"; }, 5000)) << clip;
  ASSERT_NO_FATAL_FAILURE(CloseDroppingChanges(dialog));
}

// Needs the row command "新規", which this test counts in rows.
TEST_F(Acquisition, NewActionAddsExactlyOneRow) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  const int before = ListViewRowCount(list);
  ASSERT_TRUE(PickerSays("NEW ACTION"));
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == before + 1; }, 5000));
  Sleep(3000);
  EXPECT_EQ(ListViewRowCount(list), before + 1);
  ASSERT_NO_FATAL_FAILURE(CloseDroppingChanges(dialog));
}

TEST_F(Acquisition, PlacementButtonsSetAndReadAWindowRectangle) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  HWND picker = Picker();
  ASSERT_NE(picker, nullptr);
  Reveal(dialog, {1005, 1015, 1016, 1017, 1018, 1028, 1062});
  TypeInto(dialog, 1005, L"E2E STAND-IN");  // ASCII letters match without case
  TypeInto(dialog, 1015, L"40");
  TypeInto(dialog, 1016, L"60");
  TypeInto(dialog, 1017, L"300");
  TypeInto(dialog, 1018, L"120");
  ASSERT_EQ(DialogItemUtf8(dialog, 1005), "E2E STAND-IN");
  ASSERT_EQ(DialogItemUtf8(dialog, 1018), "120");
  ClickControl(dialog, 1028);
  RECT r = {};
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(picker, &r);
        return r.left == 40 && r.top == 60 && r.right == 340 && r.bottom == 180;
      },
      5000))
      << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  // The stand-in saw the same position in its own coordinates.
  std::string moves;
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadWholeFile(folder_.Path(L"picker-log.txt"), moves) && moves.find("40,60\n") != std::string::npos; },
      3000))
      << moves;

  ASSERT_TRUE(SetWindowPos(picker, nullptr, 100, 80, 250, 90, SWP_NOZORDER | SWP_NOACTIVATE));
  ClickControl(dialog, 1062);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return DialogItemUtf8(dialog, 1015) == "100" && DialogItemUtf8(dialog, 1016) == "80" && DialogItemUtf8(dialog, 1017) == "250" &&
               DialogItemUtf8(dialog, 1018) == "90";
      },
      5000))
      << DialogItemUtf8(dialog, 1015) << "," << DialogItemUtf8(dialog, 1016) << "," << DialogItemUtf8(dialog, 1017) << ","
      << DialogItemUtf8(dialog, 1018);

  // No window with that title: the fields stay.
  TypeInto(dialog, 1005, L"no such window");
  ClickControl(dialog, 1062);
  Sleep(300);
  EXPECT_EQ(DialogItemUtf8(dialog, 1015), "100");
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(Acquisition, TheTitlePickersTextReachesTheInputField) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  const std::string title = "請求書.xlsx - 表計算";
  ASSERT_TRUE(WriteBytes(folder_.Path(L"title-text.txt"), title));
  Reveal(dialog, {1005, 1039});
  ClickControl(dialog, 1039);
  EXPECT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1005) == FromShiftJis(title); }, 10000))
      << "field holds " << DialogItemUtf8(dialog, 1005);
  std::string log;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"titlescan-log.txt"), log));
  EXPECT_EQ(log, standin::ToUtf8(folder_.Path(L"Titlescan.exe")) + "\n");
  // The picker's window is back.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Picker()) != FALSE; }, 3000));
  ASSERT_NO_FATAL_FAILURE(Close(dialog));
}

TEST_F(Acquisition, TheOpenFileDialogGivesAPathAndCancelEmptiesTheField) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  Reveal(dialog, {1005, 1060});
  TypeInto(dialog, 1005, L"old");
  auto fileDialog = [&] {
    HWND found = nullptr;
    for (HWND w : TopLevelWindowsOf(editor_.id(), true))
      if (w != dialog && ClassOf(w) == L"#32770") found = w;
    return found;
  };
  ClickControl(dialog, 1060);
  ASSERT_TRUE(WaitUntil([&] { return fileDialog() != nullptr; }, 10000)) << DescribeWindowsOf(editor_.id());
  Sleep(500);
  SetForegroundWindow(fileDialog());
  const std::wstring path = folder_.Path(L"Runvane.exe");
  TypeText(path);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return fileDialog() == nullptr; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return _wcsicmp(DialogItemText(dialog, 1005).c_str(), path.c_str()) == 0; }, 5000))
      << DialogItemUtf8(dialog, 1005);

  // A file whose name Shift-JIS cannot write is refused with a message; the field
  // keeps the path it had.
  const std::wstring western = folder_.Path(L"caf\x00E9.exe");
  ASSERT_TRUE(WriteBytes(western, "MZ"));
  ClickControl(dialog, 1060);
  ASSERT_TRUE(WaitUntil([&] { return fileDialog() != nullptr; }, 10000));
  Sleep(500);
  SetForegroundWindow(fileDialog());
  TypeText(western);
  PressKey(VK_RETURN);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        box = fileDialog();
        return box != nullptr && WindowText(box) == FromShiftJis("データ検査");
      },
      5000))
      << DescribeWindowsOf(editor_.id());
  ClickControl(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return fileDialog() == nullptr; }, 5000));
  EXPECT_EQ(_wcsicmp(DialogItemText(dialog, 1005).c_str(), path.c_str()), 0) << DialogItemUtf8(dialog, 1005);

  // Escape cancels the file dialog and empties the field.
  ClickControl(dialog, 1060);
  ASSERT_TRUE(WaitUntil([&] { return fileDialog() != nullptr; }, 10000));
  Sleep(500);
  SetForegroundWindow(fileDialog());
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return fileDialog() == nullptr; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1005).empty(); }, 5000)) << DialogItemUtf8(dialog, 1005);

  // The Enter and Escape pressed in the file dialog belong to it: one click on
  // "保存して終了" ends the editor.
  ClickControl(dialog, 1);
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(editor_.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
