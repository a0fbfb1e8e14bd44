// Jobs as a user handles them: switching with the job list, naming the draft
// through the name dialog with the keyboard, deleting a job; and the colours
// of the main dialog on the screen.
#include "tests/e2e/harness.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <functional>

namespace e2e {
namespace {

const std::wstring kDraft = L"＿作業作成中＿〔下書き〕";
const std::wstring kAppCaption = L"タヴォレクス";
const std::string kLineA = "Aの操作,10,20,マウスでクリックする,,,,,,4\r\n";
const std::string kLineB = "Bの操作,30,40,マウスでクリックする,,,,,,2\r\n";

// ---------------------------------------------------------------- the screen

// The screen's pixels in a rectangle, as COLORREF values.
std::vector<COLORREF> Capture(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<COLORREF> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
      DWORD v = p[i];  // 0x00RRGGBB
      pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The share of the pixels that pass the test.
double Share(const std::vector<COLORREF>& pixels, const std::function<bool(COLORREF)>& test) {
  if (pixels.empty()) return 0;
  std::size_t n = 0;
  for (COLORREF c : pixels) n += test(c) ? 1 : 0;
  return static_cast<double>(n) / static_cast<double>(pixels.size());
}

std::function<bool(COLORREF)> Is(COLORREF wanted) {
  return [wanted](COLORREF c) { return c == wanted; };
}

bool IsRedText(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 90 && GetBValue(c) < 90; }

RECT ClientRectOnScreen(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Describe(COLORREF c) {
  return "(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
         std::to_string(GetBValue(c)) + ")";
}

// ---------------------------------------------------------------- the tests

class Jobs : public EditorTest {
 protected:
  Process editor_;
};

TEST_F(Jobs, SwitchingWithTheJobListSavesAndOpensTheOtherJob) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"A", {{L"KeyRecord.def.psw", SwapNibbles(kLineA)}}));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"B", {{L"KeyRecord.def", kLineB}}));
  HWND dialog = StartEditorAndWait(editor_, L"B");
  ASSERT_NE(dialog, nullptr);
  HWND jobs = GetDlgItem(dialog, 1082);
  ASSERT_EQ(SendMessageW(jobs, CB_GETCOUNT, 0, 0), 2);
  ASSERT_EQ(SendMessageW(jobs, CB_GETCURSEL, 0, 0), 1);

  // Drop the list down and click the first entry, "A".
  ClickControl(dialog, 1082);
  HWND list = WaitForDroppedList(editor_);
  ASSERT_NE(list, nullptr) << "the job list did not drop down";
  const RECT items = ClientRectOnScreen(list);
  const int itemHeight = static_cast<int>(SendMessageW(jobs, CB_GETITEMHEIGHT, 0, 0));
  ClickScreenPoint({(items.left + items.right) / 2, items.top + itemHeight / 2});

  HWND question = WaitForWindow(editor_, L"#32770", kAppCaption);
  ASSERT_NE(question, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(MessageBoxText(question), L"処理作業の操作定義を切り替えます。\n\n作業中の操作定義は保存されます。")
      << standin::ToUtf8(MessageBoxText(question));
  ClickControl(question, IDYES);

  HWND rows = GetDlgItem(dialog, 1000);
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(rows, 0, 1) == L"Aの操作"; }, 5000))
      << standin::ToUtf8(ListViewCell(rows, 0, 1));
  EXPECT_EQ(SendMessageW(jobs, CB_GETCURSEL, 0, 0), 0);
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"B\\KeyRecord.def"), bytes));
  EXPECT_EQ(bytes, kLineB);
  EXPECT_FALSE(FileExists(folder_.Path(L"B\\KeyRecord.def.psw")));
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"A\\KeyRecord.def"), bytes));
  EXPECT_EQ(bytes, kLineA);
  EXPECT_FALSE(FileExists(folder_.Path(L"A\\KeyRecord.def.psw")));
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

// What a shortcut file holds, read back through the shell.
struct ShortcutFields {
  bool read = false;
  std::wstring target, arguments, folder;
};
ShortcutFields ReadShortcut(const std::wstring& path) {
  ShortcutFields fields;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    fields.read = SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
                  SUCCEEDED(link->GetArguments(arguments, MAX_PATH)) &&
                  SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  fields.target = target;
  fields.arguments = arguments;
  fields.folder = folder;
  return fields;
}

std::wstring DesktopFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// The system menu's entry, chosen with Alt+Space and D, puts a shortcut that
// runs the job on the desktop.
TEST_F(Jobs, TheSystemMenuMakesADesktopShortcutThatRunsTheJob) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"近道の作業", {{L"KeyRecord.def", kLineA}}));
  const std::wstring desktop = DesktopFolder();
  ASSERT_FALSE(desktop.empty());
  const std::wstring lnk = desktop + L"\\近道の作業.lnk";
  DeleteFileW(lnk.c_str());
  HWND dialog = StartEditorAndWait(editor_, L"近道の作業");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(BringToFront(dialog));

  PressAltSpace();
  HWND menu = WaitForWindow(editor_, L"#32768", L"", 5000);
  ASSERT_NE(menu, nullptr) << DescribeWindowsOf(editor_.id());
  SaveScreenshot(menu, L"system-menu");
  PressKey('D');
  HWND box = WaitForWindow(editor_, L"#32770", kAppCaption);
  ASSERT_NE(box, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(MessageBoxText(box).rfind(L"デスクトップにショートカットを作成しました。", 0), 0u)
      << standin::ToUtf8(MessageBoxText(box));
  SaveScreenshot(box, L"desktop-shortcut");
  ClickControl(box, IDOK);

  const ShortcutFields made = ReadShortcut(lnk);
  DeleteFileW(lnk.c_str());
  ASSERT_TRUE(made.read) << standin::ToUtf8(lnk);
  EXPECT_EQ(lstrcmpiW(made.target.c_str(), folder_.Path(L"Runvane.exe").c_str()), 0)
      << standin::ToUtf8(made.target);
  EXPECT_EQ(made.arguments, L"\"近道の作業\" /delay=3");
  EXPECT_EQ(lstrcmpiW(made.folder.c_str(), folder_.root().c_str()), 0) << standin::ToUtf8(made.folder);
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

TEST_F(Jobs, TheDraftIsNamedWithTheKeyboard) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(kDraft, {{L"KeyRecord.def", kLineA}}));
  HWND dialog = StartEditorAndWait(editor_, L"");
  ASSERT_NE(dialog, nullptr);
  ClickControl(dialog, 1);  // "保存して終了"

  HWND name = WaitForWindow(editor_, L"#32770", L"");
  ASSERT_NE(name, nullptr) << "no name dialog; " << DescribeWindowsOf(editor_.id());
  SetForegroundWindow(name);
  Sleep(200);
  // ".." is refused with the reason; Enter closes the message, and the name
  // typed next replaces the refused one.
  TypeText(L"..");
  PressKey(VK_RETURN);
  HWND refusal = WaitForWindow(editor_, L"#32770", L"データ検査");
  ASSERT_NE(refusal, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_NE(MessageBoxText(refusal).find(L"「.」と「..」"), std::wstring::npos)
      << standin::ToUtf8(MessageBoxText(refusal));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(refusal); }, 5000));
  EXPECT_TRUE(IsWindowVisible(name));
  Sleep(200);
  TypeText(L"受注/出荷:2024");
  Sleep(300);
  // Its caption: red text on grey.
  RECT caption = {};
  GetWindowRect(GetDlgItem(name, 1039), &caption);
  InflateRect(&caption, -2, -2);
  const std::vector<COLORREF> pixels = Capture(caption);
  EXPECT_GT(Share(pixels, Is(RGB(220, 220, 220))), 0.4);
  EXPECT_GT(Share(pixels, IsRedText), 0.02);
  SaveScreenshot(name, L"job-name-dialog");
  PressKey(VK_RETURN);

  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(editor_.ExitCode(), 0u);
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"受注出荷2024\\KeyRecord.def.psw"), bytes));
  EXPECT_EQ(bytes, SwapNibbles(kLineA));
  EXPECT_EQ(ListNames(folder_.Path(kDraft)), std::vector<std::wstring>{});
  EXPECT_FALSE(FileExists(folder_.root() + L"\\..\\KeyRecord.def.psw"));
}

TEST_F(Jobs, ANamingThatFailsLeavesTheOtherJobAsItWasWhileTheUserIsTold) {
  const std::string rules = "1,1,1,2\r\n0,,,\r\n0,,,\r\n";
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(kDraft, {{L"KeyRecord.def", kLineA}}));
  ASSERT_NO_FATAL_FAILURE(
      folder_.MakeJob(L"A", {{L"KeyRecord.def.psw", SwapNibbles(kLineB)}, {L"KeyRepeat.def", rules}}));
  // A folder where A's lines would first be written: they cannot be.
  ASSERT_TRUE(CreateDirectoryW(folder_.Path(L"A\\KeyRecord.tmp").c_str(), nullptr));
  HWND dialog = StartEditorAndWait(editor_, L"");
  ASSERT_NE(dialog, nullptr);
  ClickControl(dialog, 1);  // "保存して終了"
  HWND name = WaitForWindow(editor_, L"#32770", L"");
  ASSERT_NE(name, nullptr) << DescribeWindowsOf(editor_.id());
  SetDlgItemTextW(name, 1019, L"A");
  ClickControl(name, 1);
  HWND question = WaitForWindow(editor_, L"#32770", kAppCaption);
  ASSERT_NE(question, nullptr) << DescribeWindowsOf(editor_.id());
  ClickControl(question, IDYES);

  // The process ends while the failure is shown, as a logoff would end it.
  HWND told = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    for (HWND w : TopLevelWindowsOf(editor_.id(), true)) {
      if (MessageBoxText(w).find(L"操作定義を保存できませんでした。") != std::wstring::npos) told = w;
    }
    return told != nullptr;
  }, 10000)) << DescribeWindowsOf(editor_.id());
  editor_.Kill();
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"A\\KeyRepeat.def"), bytes));
  EXPECT_EQ(bytes, rules);
  EXPECT_TRUE(ReadWholeFile(folder_.Path(L"A\\KeyRecord.def.psw"), bytes));
  EXPECT_EQ(bytes, SwapNibbles(kLineB));
  EXPECT_FALSE(FileExists(folder_.Path(L"A\\KeyRecord.def")));
}

TEST_F(Jobs, DeletingAJobRemovesItsFolderAndEndsTheEditor) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Old", {{L"KeyRecord.def", kLineA}}));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Old\\notes", {{L"memo.txt", "memo"}}));
  HWND dialog = StartEditorAndWait(editor_, L"Old");
  ASSERT_NE(dialog, nullptr);
  ClickControl(dialog, 1029);
  HWND question = WaitForWindow(editor_, L"#32770", kAppCaption);
  ASSERT_NE(question, nullptr) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(MessageBoxText(question), L"処理作業の内容が完全に失われます。\n\nよろしいですか？");
  ClickControl(question, IDYES);
  ASSERT_TRUE(editor_.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor_.id());
  EXPECT_EQ(editor_.ExitCode(), 0u);
  EXPECT_FALSE(DirectoryExists(folder_.Path(L"Old")));
  EXPECT_TRUE(FileExists(folder_.Editor()));
}

TEST_F(Jobs, TheDialogShowsItsColours) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(
      folder_.MakeJob(L"Colours", {{L"KeyRecord.def", kLineA + "Cの操作,50,60,テキストを複写する,,,,,,4\r\n"}}));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Other", {}));
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Third", {}));
  HWND dialog = StartEditorAndWait(editor_, L"Colours");
  ASSERT_NE(dialog, nullptr);
  SetForegroundWindow(dialog);
  Sleep(800);
  auto controlPixels = [&](int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    InflateRect(&r, -2, -2);  // inside the border
    return Capture(r);
  };
  const COLORREF black = RGB(0, 0, 0), grey = RGB(220, 220, 220);
  // Caption bars: black.
  for (int id : {1030, 1031, 1033, 1034}) {
    double share = Share(controlPixels(id), Is(black));
    EXPECT_GT(share, 0.5) << "caption bar " << id << ": " << share << " black";
  }
  // A field caption: grey.
  double captionGrey = Share(controlPixels(1036), Is(grey));
  EXPECT_GT(captionGrey, 0.5) << "field caption 1036: " << captionGrey << " grey";

  // The stop-seconds field: red text while it can be written. The row's
  // fields come with a click on the row; when they stay disabled, the test
  // opens the field itself (only its colour is checked here).
  ClickInWindow(GetDlgItem(dialog, 1000), 60, 30);
  HWND seconds = GetDlgItem(dialog, 1020);
  if (!IsWindowEnabled(seconds)) {
    EnableWindow(seconds, TRUE);
    SendMessageW(seconds, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"8888"));
  }
  InvalidateRect(seconds, nullptr, TRUE);
  Sleep(500);
  double red = Share(controlPixels(1020), IsRedText);
  EXPECT_GT(red, 0.02) << "stop seconds: " << red << " red";

  // The lists dropped down, in the colour of the action shown in 1080: the job
  // list for the first row's action; for the second row's, the job list and
  // the action list itself once its timer has passed over the entries.
  auto expectDroppedColour = [&](int comboId, COLORREF expected, const wchar_t* screenshot) {
    ClickControl(dialog, comboId);
    HWND list = WaitForDroppedList(editor_);
    ASSERT_NE(list, nullptr) << "list " << comboId << " did not drop down";
    Sleep(800);
    std::vector<COLORREF> listPixels = Capture(ClientRectOnScreen(list));
    double coloured = Share(listPixels, Is(expected));
    EXPECT_GT(coloured, 0.3) << "drop-down list " << comboId << ": " << coloured << " in " << Describe(expected)
                             << "; first pixel " << (listPixels.empty() ? "none" : Describe(listPixels[0]));
    if (screenshot) SaveScreenshot(dialog, screenshot);
    ClickControl(dialog, comboId);  // closes the list (Escape would keep the close box from ending the editor)
    Sleep(200);
  };
  ASSERT_EQ(DialogItemText(dialog, 1080), L"マウスでクリックする");
  ASSERT_NO_FATAL_FAILURE(expectDroppedColour(1082, RGB(255, 255, 220), L"job-colours"));
  RECT second = {};
  ASSERT_TRUE(ListViewCellRect(GetDlgItem(dialog, 1000), 1, 1, second));
  ClickInWindow(GetDlgItem(dialog, 1000), (second.left + second.right) / 2, (second.top + second.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1080) == L"テキストを複写する"; }, 5000))
      << standin::ToUtf8(DialogItemText(dialog, 1080));
  ASSERT_NO_FATAL_FAILURE(expectDroppedColour(1082, RGB(200, 255, 200), nullptr));
  ASSERT_NO_FATAL_FAILURE(expectDroppedColour(1080, RGB(200, 255, 200), L"action-list-colours"));
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor_, dialog));
}

}  // namespace
}  // namespace e2e
