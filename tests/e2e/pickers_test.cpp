// The real pickers beside the editor: Pickmark.exe, whose marker is dragged
// onto a point and whose menu sends commands, and Titlescan.exe, which lists
// the windows and gives the editor a chosen title. The user's mouse and keys
// go through SendInput.
//
// The Pickmark tests run on a display scaled to 150 % too: every coordinate
// here is that of a program without DPI awareness, as this test program is.
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include <functional>
#include <thread>

namespace e2e {
namespace {

// A window of this test program, shown until the object goes, with its own
// thread to keep it painted.
class TargetWindow {
 public:
  TargetWindow(const std::wstring& title, RECT where) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, title, where, ready] {
      standin::UseDpiUnawareCoordinates();  // this thread's too, where only threads can be told
      WNDCLASSW cls = {};
      cls.lpfnWndProc = DefWindowProcW;
      cls.hInstance = GetModuleHandleW(nullptr);
      cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      cls.lpszClassName = L"TavolexE2ePickerTarget";
      RegisterClassW(&cls);
      window_ = CreateWindowExW(0, cls.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, where.left,
                                where.top, where.right - where.left, where.bottom - where.top, nullptr, nullptr,
                                cls.hInstance, nullptr);
      SetEvent(ready);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
  }
  ~TargetWindow() {
    PostMessageW(window_, WM_QUIT, 0, 0);  // its thread ends, and the window with it
    thread_.join();
  }
  HWND window() const { return window_; }

 private:
  HWND window_ = nullptr;
  std::thread thread_;
};

// The mouse, as a user moves it: to a point, and a button down or up there.
void MouseAt(POINT p, DWORD buttons) {
  standin::SendMouse(p, 0);
  Sleep(40);
  if (buttons != 0) {
    standin::SendMouse(p, buttons);
    Sleep(80);
  }
}

// Presses the left button at `from`, moves to `to` in small steps, releases;
// `atEnd` runs before the release.
void Drag(POINT from, POINT to, const std::function<void()>& atEnd = {}) {
  MouseAt(from, 0);
  MouseAt(from, MOUSEEVENTF_LEFTDOWN);
  const int steps = 20;
  for (int i = 1; i <= steps; ++i) {
    MouseAt({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0);
  }
  if (atEnd) atEnd();
  MouseAt(to, MOUSEEVENTF_LEFTUP);
  Sleep(200);
}

// The rows of a list view, "title|program" each.
std::vector<std::wstring> Rows(HWND list) {
  std::vector<std::wstring> rows;
  for (int i = 0; i < ListViewRowCount(list); ++i) rows.push_back(ListViewCell(list, i, 0) + L"|" + ListViewCell(list, i, 1));
  return rows;
}

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

const char kClickRow[] = "合計欄をクリック,500,400,マウスでクリックする,,,,,,4\r\n";

class PickerTest : public EditorTest {
 protected:
  // A program folder with the editor and the real pickers, built beside it
  // (the runner is the stand-in).
  void Install() {
    MakeFolder(true);
    if (HasFatalFailure()) return;
    const std::wstring built = GetConfig().tavolex.substr(0, GetConfig().tavolex.find_last_of(L"\\/") + 1);
    for (const wchar_t* name : {L"Pickmark.exe", L"Titlescan.exe"}) {
      ASSERT_TRUE(CopyFileW((built + name).c_str(), folder_.Path(name).c_str(), FALSE)) << standin::ToUtf8(built + name);
    }
  }
  // The editor on a job of the given lines.
  HWND Open(const std::string& lines) {
    Install();
    if (HasFatalFailure()) return nullptr;
    folder_.MakeJob(L"Job", {{L"KeyRecord.def", lines}});
    HWND dialog = StartEditorAndWait(editor_, L"Job");
    if (dialog != nullptr) {
      EXPECT_TRUE(WaitUntil([&] { return Marker() != nullptr; }, 10000)) << "no marker window";
      list_ = GetDlgItem(dialog, 1000);
    }
    return dialog;
  }
  // The real picker's window.
  HWND Marker() {
    for (const ProcessEntry& p : ListProcesses()) {
      if (_wcsicmp(p.exeName.c_str(), L"Pickmark.exe") != 0 || p.parentId != editor_.id()) continue;
      for (HWND w : TopLevelWindowsOf(p.id, true))
        if (WindowText(w).find(L"座標取得") != std::wstring::npos) return w;
    }
    return nullptr;
  }
  POINT MarkerCentre() {
    RECT r = {};
    GetWindowRect(Marker(), &r);
    return {r.left + 31, r.top + 52};
  }
  // The marker's centre comes within a pixel of (x, y).
  void ExpectMarkerAt(int x, int y) {
    POINT c = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
          c = MarkerCentre();
          return std::abs(c.x - x) <= 1 && std::abs(c.y - y) <= 1;
        },
        5000))
        << c.x << "," << c.y;
  }
  void ClickRow(int row) {
    POINT p = {};
    ASSERT_TRUE(CellCentreOnScreen(list_, row, 1, p));
    ClickScreenPoint(p);
  }
  bool FieldsShow(HWND dialog, const std::string& x, const std::string& y) {
    return WaitUntil([&] { return DialogItemUtf8(dialog, 1002) == x && DialogItemUtf8(dialog, 1003) == y; }, 5000);
  }
  void CloseDroppingChanges(HWND dialog) { CloseDroppingChangesAndExpectExitZero(editor_, dialog); }
  // Drags the marker from a stored row's point onto another, then off the screen.
  void DragOntoAPoint(const wchar_t* screenshot) {
    HWND dialog = Open(kClickRow);
    ASSERT_NE(dialog, nullptr);
    TargetWindow target(L"ドラッグ先 (e2e)", {260, 200, 660, 520});
    ClickRow(0);
    ASSERT_TRUE(FieldsShow(dialog, "500", "400"));
    ExpectMarkerAt(500, 400);
    ASSERT_TRUE(BringToFront(dialog));
    const HWND focused = GetForegroundWindow();
    Sleep(1500);  // the moved marker settles above the editor
    Drag(MarkerCentre(), {321, 287}, [&] {
      Sleep(300);
      SaveScreenshot(Marker(), screenshot);  // with the magnified view
    });
    EXPECT_TRUE(FieldsShow(dialog, "321", "287"))
        << "X \"" << DialogItemUtf8(dialog, 1002) << "\", Y \"" << DialogItemUtf8(dialog, 1003) << "\"";
    EXPECT_TRUE(WaitUntil([&] { return ListViewCell(list_, 0, 2) == L"321" && ListViewCell(list_, 0, 3) == L"287"; },
                          3000));
    POINT c = MarkerCentre();
    EXPECT_EQ(c.x, 321);
    EXPECT_EQ(c.y, 287);
    // The marker never kept the focus.
    EXPECT_EQ(GetForegroundWindow(), focused);

    // Escape, though the editor has the keys, puts the marker back; the main
    // screen's first column, and what lies left of it, is no point to take.
    // Neither answers: the fields stay.
    Drag(MarkerCentre(), {400, 300}, [] { PressKey(VK_ESCAPE); });
    ExpectMarkerAt(321, 287);
    Drag(MarkerCentre(), {0, 287});
    Sleep(1500);
    EXPECT_EQ(DialogItemUtf8(dialog, 1002), "321");
    std::string clip;
    EXPECT_TRUE(ReadClipboardText(clip) && clip == "321,287") << clip;
    ASSERT_NO_FATAL_FAILURE(CloseDroppingChanges(dialog));
  }

  Process editor_;
  HWND list_ = nullptr;
};

using Pickmark = PickerTest;
using Titlescan = PickerTest;

const char kArrangeRow[] = "配置,,,アプリケーションの表示設定,古いタイトル,0,20,400,300,2\r\n";

TEST_F(Pickmark, SelectingAStoredRowPutsTheMarkerOnItsPoint) {
  HWND dialog = Open(kClickRow);
  ASSERT_NE(dialog, nullptr);
  ClickRow(0);
  ExpectMarkerAt(500, 400);
  EXPECT_TRUE(GetWindowLongW(Marker(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Pressed and released where it stands, the marker answers the stored point.
  Drag(MarkerCentre(), MarkerCentre());
  std::string clip;
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText(clip) && clip == "500,400"; }, 3000)) << clip;
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

// Wine's X11 driver in managed mode, as a Linux desktop with a window manager
// runs it, for the programs started while the object lives; the prefix's
// former setting comes back after.
class ManagedMode {
 public:
  ManagedMode() {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "no X11 driver key";
      return;
    }
    DWORD size = sizeof former_;
    had_ = RegQueryValueExW(key_, L"Managed", nullptr, &type_, reinterpret_cast<BYTE*>(former_), &size) ==
           ERROR_SUCCESS;
    formerSize_ = size;
    EXPECT_EQ(RegSetValueExW(key_, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Y"), 2 * sizeof(wchar_t)),
              ERROR_SUCCESS);
  }
  ~ManagedMode() {
    if (key_ == nullptr) return;
    if (had_) {
      RegSetValueExW(key_, L"Managed", 0, type_, reinterpret_cast<const BYTE*>(former_), formerSize_);
    } else {
      RegDeleteValueW(key_, L"Managed");
    }
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  bool had_ = false;
  DWORD type_ = REG_SZ, formerSize_ = 0;
  wchar_t former_[16] = {};
};

TEST_F(Pickmark, DraggingTheMarkerOntoAPointFillsXAndYAndTheRow) { DragOntoAPoint(L"pickmark"); }

// Under a window manager the drag must not depend on the foreground.
TEST_F(Pickmark, DraggingTheMarkerWorksInWinesManagedModeToo) {
  ManagedMode managed;
  DragOntoAPoint(L"pickmark-managed");
}

// The menu's entries, in order: 新規, 挿入, 座標クリア.
TEST_F(Pickmark, TheMenuAddsAndInsertsOneRowAndClearsThePoint) {
  HWND dialog = Open(kClickRow);
  ASSERT_NE(dialog, nullptr);
  ClickRow(0);
  ASSERT_TRUE(FieldsShow(dialog, "500", "400"));
  ASSERT_TRUE(BringToFront(dialog));
  auto choose = [&](int entry) {
    ExpectMarkerAt(500, 400);  // where the editor shows the selected row's point
    RECT r = {};
    GetWindowRect(Marker(), &r);
    const POINT at = {r.right - 20, r.bottom - 20};
    // Over the editor, the marker is back on top a moment after each move or
    // command.
    Sleep(1500);
    EXPECT_TRUE(WaitUntil([&] { return GetAncestor(WindowFromPoint(at), GA_ROOT) == Marker(); }, 3000));
    ClickScreenPoint(at, /*rightButton=*/true);
    HWND menu = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
          for (menu = FindWindowW(L"#32768", nullptr); menu != nullptr && !IsWindowVisible(menu);)
            menu = FindWindowExW(nullptr, menu, L"#32768", nullptr);
          return menu != nullptr;
        },
        5000));
    if (menu == nullptr) return;
    RECT m = {};
    GetWindowRect(menu, &m);
    const int item = (m.bottom - m.top - 6) / 3;
    ClickScreenPoint({m.left + 20, m.top + 3 + item * entry + item / 2});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 3000));
  };
  const int rows = ListViewRowCount(list_);
  choose(0);
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list_) == rows + 1; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000)) << "the focus did not come back";
  choose(1);
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list_) == rows + 2; }, 5000));
  ClickRow(0);
  ASSERT_TRUE(FieldsShow(dialog, "500", "400"));
  choose(2);
  EXPECT_TRUE(FieldsShow(dialog, "", ""));
  Sleep(2500);  // each command once
  EXPECT_EQ(ListViewRowCount(list_), rows + 2);
  ASSERT_NO_FATAL_FAILURE(CloseDroppingChanges(dialog));
}

// The title picker's dialog, once the editor has started it.
HWND WaitForTitleDialog(DWORD* processId) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (const ProcessEntry& p : ListProcesses()) {
          if (_wcsicmp(p.exeName.c_str(), L"Titlescan.exe") != 0) continue;
          for (HWND w : TopLevelWindowsOf(p.id, true)) {
            if (WindowText(w) == L"ウィンドウタイトル取得") {
              found = w;
              *processId = p.id;
            }
          }
        }
        return found != nullptr;
      },
      15000);
  return found;
}

TEST_F(Titlescan, ListsAWindowWithAJapaneseTitleAndTheFinderChoosesIt) {
  HWND dialog = Open(kArrangeRow);
  ASSERT_NE(dialog, nullptr);
  const std::wstring title = L"請求書.xlsx - 表計算 (e2e)";
  TargetWindow target(title, {700, 80, 1100, 380});
  ClickRow(0);
  ASSERT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1005) == L"古いタイトル"; }, 5000));
  ClickControl(dialog, 1039);
  DWORD id = 0;
  HWND picker = WaitForTitleDialog(&id);
  ASSERT_NE(picker, nullptr);
  EXPECT_TRUE(GetWindowLongW(picker, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND list = GetDlgItem(picker, 1101);
  const std::vector<std::wstring> rows = Rows(list);
  int row = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == title + L"|e2e_tests.exe") row = static_cast<int>(i);
    // Neither the editor nor the pickers are listed.
    EXPECT_EQ(rows[i].find(L"座標取得"), std::wstring::npos);
    EXPECT_EQ(rows[i].find(L"Tavolex.exe"), std::wstring::npos);
  }
  ASSERT_GE(row, 0) << standin::ToUtf8(rows.empty() ? L"(empty)" : rows[0]);

  // The finder dragged onto the window selects it and shows its title,
  // which the user shortens.
  RECT finder = {};
  GetWindowRect(GetDlgItem(picker, 1102), &finder);
  Drag({(finder.left + finder.right) / 2, (finder.top + finder.bottom) / 2}, {900, 250});
  EXPECT_EQ(SelectedRow(list), row);
  EXPECT_TRUE(WaitUntil([&] { return DialogItemText(picker, 1103) == title; }, 3000)) << DialogItemUtf8(picker, 1103);
  Sleep(300);
  SaveScreenshot(picker, L"titlescan");
  ClickControl(picker, 1103);
  SendMessageW(GetDlgItem(picker, 1103), EM_SETSEL, 0, -1);
  TypeText(L"請求書.xlsx");
  ClickControl(picker, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1005) == L"請求書.xlsx"; }, 10000))
      << DialogItemUtf8(dialog, 1005);
  ASSERT_NO_FATAL_FAILURE(CloseDroppingChanges(dialog));
}

TEST_F(Titlescan, ACancelLeavesTheTitleAndTheClipboard) {
  HWND dialog = Open(kArrangeRow);
  ASSERT_NE(dialog, nullptr);
  TargetWindow target(L"別のウィンドウ (e2e)", {700, 80, 1100, 380});
  ClickRow(0);
  ASSERT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1005) == L"古いタイトル"; }, 5000));
  std::string before;
  ASSERT_TRUE(ReadClipboardText(before));
  ClickControl(dialog, 1039);
  DWORD id = 0;
  HWND picker = WaitForTitleDialog(&id);
  ASSERT_NE(picker, nullptr);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  // A row chosen, then Escape.
  HWND list = GetDlgItem(picker, 1101);
  ASSERT_GT(ListViewRowCount(list), 0);
  POINT cell = {};
  ASSERT_TRUE(CellCentreOnScreen(list, 0, 0, cell));
  ClickScreenPoint(cell);
  EXPECT_TRUE(WaitUntil([&] { return !DialogItemText(picker, 1103).empty(); }, 3000));
  PressKey(VK_ESCAPE);
  ASSERT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  EXPECT_EQ(code, 1u);
  Sleep(1500);
  EXPECT_TRUE(DialogItemText(dialog, 1005) == L"古いタイトル") << DialogItemUtf8(dialog, 1005);
  std::string after;
  EXPECT_TRUE(ReadClipboardText(after) && after == before) << after;
  // The coordinate picker is shown again.
  EXPECT_TRUE(WaitUntil([&] { return Marker() != nullptr; }, 3000));
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

// Started as the editor starts it, the picker would wait 2 minutes; the
// tests' argument shortens that.
TEST_F(Titlescan, EndsByItselfAtItsLimit) {
  ASSERT_NO_FATAL_FAILURE(Install());
  standin::PutClipboardText(nullptr, "12,34");  // something on the clipboard to keep
  std::string before;
  ASSERT_TRUE(ReadClipboardText(before));
  const DWORD start = GetTickCount();
  Process picker = Process::Start(folder_.Path(L"Titlescan.exe"), L"/limit=3");
  ASSERT_TRUE(picker.started());
  DWORD id = 0;
  EXPECT_NE(WaitForTitleDialog(&id), nullptr);
  ASSERT_TRUE(picker.WaitForExit(15000));
  EXPECT_GE(GetTickCount() - start, 3000u);
  EXPECT_EQ(picker.ExitCode(), 1u);
  std::string after;
  EXPECT_TRUE(ReadClipboardText(after) && after == before) << after;
}

}  // namespace
}  // namespace e2e
