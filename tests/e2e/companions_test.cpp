// The companion programs beside the editor: the coordinate picker's lifetime with the
// editor, and the stand-ins' own behaviour that the other tests rely on.
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

class Companions : public EditorTest {};

TEST_F(Companions, PickerStartsWithTheEditorAndIsEndedAtExit) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Picking");
  ASSERT_NE(dialog, nullptr);

  DWORD pickerId = 0;
  WaitUntil(
      [&] {
        for (const ProcessEntry& p : ListProcesses())
          if (_wcsicmp(p.exeName.c_str(), L"Pickmark.exe") == 0 && p.parentId == editor.id())
            pickerId = p.id;
        return pickerId != 0;
      },
      10000, 100);
  ASSERT_NE(pickerId, 0u) << "no Pickmark.exe started by the editor";
  HANDLE picker = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pickerId);
  ASSERT_NE(picker, nullptr);

  // Started with its path alone, unquoted.
  std::string started;
  WaitUntil([&] { return ReadWholeFile(folder_.Path(L"picker-start.txt"), started) && !started.empty(); },
            5000);
  EXPECT_EQ(started, standin::ToUtf8(folder_.Path(L"Pickmark.exe")) + "\n");
  EXPECT_NE(FindWindowWithTitlePart(L"座標取得"), nullptr);

  CloseWithCloseBoxAndExpectExitZero(editor, dialog);
  EXPECT_EQ(WaitForSingleObject(picker, 5000), static_cast<DWORD>(WAIT_OBJECT_0))
      << "the picker still runs after the editor ended";
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(picker, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(picker);
}

// The program in "...\My Tools\" with a program "...\My.exe" beside that folder:
// the picker is started by its own path, never "My.exe" (which, a copy of the
// picker stand-in, would note its start in "...\picker-start.txt").
TEST_F(Companions, NoProgramBesideAFolderWithABlankStartsInsteadOfThePicker) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::wstring tools = folder_.Path(L"My Tools");
  ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr));
  for (const wchar_t* name : {L"Tavolex.exe", L"Pickmark.exe", L"Runvane.exe", L"Titlescan.exe"}) {
    ASSERT_TRUE(MoveFileW(folder_.Path(name).c_str(), (tools + L"\\" + name).c_str()));
  }
  ASSERT_TRUE(CopyFileW((tools + L"\\Pickmark.exe").c_str(), folder_.Path(L"My.exe").c_str(), FALSE));

  Process editor = Process::Start(tools + L"\\Tavolex.exe", L"\"Picking\"");
  ASSERT_TRUE(editor.started());
  HWND dialog = WaitForDialog(editor, kDialogTimeoutMs);
  ASSERT_NE(dialog, nullptr);
  std::string started;
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadWholeFile(tools + L"\\picker-start.txt", started) && !started.empty(); }, 10000))
      << "the picker did not start";
  EXPECT_EQ(started, standin::ToUtf8(tools + L"\\Pickmark.exe") + "\n");  // its path alone, unquoted
  Sleep(500);
  EXPECT_FALSE(FileExists(folder_.Path(L"picker-start.txt"))) << "My.exe was started";
  for (const ProcessEntry& p : ListProcesses()) EXPECT_NE(_wcsicmp(p.exeName.c_str(), L"My.exe"), 0);
  CloseWithCloseBoxAndExpectExitZero(editor, dialog);
}

TEST_F(Companions, RunnerStandInDecodesTheScrambledFileAndWaitsForRelease) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::string lines = "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n\r\n";
  const std::string repeat = "1,1,2,3\r\n0,,,\r\n0,,,\r\n";
  ASSERT_TRUE(WriteBytes(folder_.Path(L"KeyInspec.def.psw"), SwapNibbles(lines)));
  ASSERT_TRUE(WriteBytes(folder_.Path(L"KeyRepeat.def"), repeat));

  const std::wstring arguments =
      L"\"" + folder_.Path(L"KeyInspec.def") + L"\" \"" + folder_.Path(L"KeyRepeat.def") + L"\"";
  Process runner = Process::Start(folder_.Path(L"Runvane.exe"), arguments);
  ASSERT_TRUE(runner.started());
  std::string log;
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(folder_.Path(L"runner-log.txt"), log) && !log.empty(); },
                        10000));
  Sleep(300);
  EXPECT_TRUE(runner.Running()) << "the runner ended before it was released";

  ASSERT_TRUE(WriteBytes(folder_.Path(L"runner-release"), ""));
  EXPECT_TRUE(runner.WaitForExit(5000));
  EXPECT_FALSE(FileExists(folder_.Path(L"runner-release")));

  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"runner-log.txt"), log));
  RunnerLog parsed = ParseRunnerLog(log);
  ASSERT_TRUE(parsed.complete) << log;
  EXPECT_EQ(parsed.command, standin::ToUtf8(L"\"" + folder_.Path(L"Runvane.exe") + L"\" " + arguments));
  EXPECT_TRUE(parsed.haveInspect);
  EXPECT_TRUE(parsed.inspect == lines) << "decoded test-run lines differ";
  EXPECT_TRUE(parsed.haveRepeat);
  EXPECT_EQ(parsed.repeat, repeat);
  EXPECT_EQ(parsed.end, "END released");
}

TEST_F(Companions, PickerStandInAnswersOnTheClipboardAndLogsMoves) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  Process picker = Process::Start(folder_.Path(L"Pickmark.exe"), L"");
  ASSERT_TRUE(picker.started());
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(picker.id(), true))
          if (WindowText(w).find(L"座標取得") != std::wstring::npos) window = w;
        return window != nullptr;
      },
      10000));

  ASSERT_TRUE(WriteBytes(folder_.Path(L"picker-say.txt"), "NEW ACTION"));
  ASSERT_TRUE(WaitUntil([&] { return !FileExists(folder_.Path(L"picker-say.txt")); }, 5000));
  std::string text;
  ASSERT_TRUE(ReadClipboardText(text));
  EXPECT_EQ(text, "NEW ACTION");

  ASSERT_TRUE(SetWindowPos(window, HWND_TOPMOST, 309, 428, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW));
  std::string moves;
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadWholeFile(folder_.Path(L"picker-log.txt"), moves) && moves == "309,428\n"; },
      5000))
      << "picker-log.txt holds \"" << moves << "\"";
}

TEST_F(Companions, TitlePickerStandInPutsTheChosenTitleAndEnds) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::string title = "請求書.xlsx - 表計算";
  ASSERT_TRUE(WriteBytes(folder_.Path(L"title-text.txt"), title));
  Process picker = Process::Start(folder_.Path(L"Titlescan.exe"), L"");
  ASSERT_TRUE(picker.started());
  // The editor waits for input idle and then for the end, both without a time-out.
  EXPECT_EQ(WaitForInputIdle(picker.handle(), 10000), 0u);
  ASSERT_TRUE(picker.WaitForExit(10000));
  std::string text;
  ASSERT_TRUE(ReadClipboardText(text));
  EXPECT_TRUE(text == title) << "clipboard holds " << standin::ToUtf8(FromShiftJis(text));
}

}  // namespace
}  // namespace e2e
