// The program in a folder where no job could be saved: too deep for the draft
// job's paths, or named with characters Shift-JIS cannot spell. It says why
// and ends without opening the editor; at the deepest usable folder it opens.
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

// Bytes of a text in Shift-JIS.
std::size_t SjisBytes(const std::wstring& text) { return ToShiftJis(text).size(); }

// Below `root`, the folders that make a program folder of exactly `bytes`
// Shift-JIS bytes with its closing backslash, in components of two-byte
// characters; returns the folder without the closing backslash.
std::wstring DeepFolder(const std::wstring& root, std::size_t bytes) {
  std::wstring folder = root;
  CreateDirectoryW(folder.c_str(), nullptr);
  while (SjisBytes(folder) + 1 < bytes) {
    std::size_t remaining = bytes - SjisBytes(folder) - 1;  // for "\name", the closing "\" aside
    std::size_t component = remaining - 1 <= 60 ? remaining - 1 : (remaining == 62 ? 59 : 60);
    std::wstring name;
    while (SjisBytes(name) + 2 <= component) name += L"\x968E";  // 階
    if (SjisBytes(name) < component) name += L"x";
    folder += L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  return folder;
}

class ProgramFolderLimits : public EditorTest {
 protected:
  // Copies Tavolex.exe into `folder` and starts it there without a job name.
  Process StartIn(const std::wstring& folder) {
    const std::wstring exe = folder + L"\\Tavolex.exe";
    EXPECT_TRUE(CopyFileW(GetConfig().tavolex.c_str(), exe.c_str(), FALSE)) << standin::ToUtf8(exe);
    Process editor = Process::Start(exe, L"");
    EXPECT_TRUE(editor.started()) << "CreateProcessW failed with error " << editor.startError();
    return editor;
  }

  // The message box comes instead of the editor; it holds every one of
  // `parts`; OK (Enter) ends the program with exit code 1, having created nothing.
  void ExpectMessageAndEnd(Process& editor, const std::wstring& folder,
                           const std::vector<std::wstring>& parts, const std::wstring& screenshot) {
    HWND box = WaitForDialog(editor, kDialogTimeoutMs);
    ASSERT_NE(box, nullptr) << "no window; the program "
                            << (editor.Running() ? "still runs" : "ended with " + std::to_string(editor.ExitCode()));
    EXPECT_EQ(WindowText(box), L"タヴォレクス");
    const std::wstring text = MessageBoxText(box);
    for (const std::wstring& part : parts) {
      EXPECT_NE(text.find(part), std::wstring::npos)
          << "\"" << standin::ToUtf8(part) << "\" is not in the message:\n"
          << standin::ToUtf8(text);
    }
    HWND cancel = GetDlgItem(box, IDCANCEL);
    EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel)) << "the message has more than an OK button";
    Sleep(300);
    SaveScreenshot(box, screenshot);
    ASSERT_TRUE(BringToFront(box));
    PressKey(VK_RETURN);
    ASSERT_TRUE(editor.WaitForExit(kExitTimeoutMs)) << "the program did not end after OK; its windows:\n"
                                                    << DescribeWindowsOf(editor.id());
    EXPECT_EQ(editor.ExitCode(), 1u);
    EXPECT_EQ(ListNames(folder), std::vector<std::wstring>{L"Tavolex.exe"}) << "the program created files";
  }
};

TEST_F(ProgramFolderLimits, OneByteTooDeepForTheDraftJobSaysWhyAndEnds) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  if (SjisBytes(folder_.root()) > 200) GTEST_SKIP() << "the work folder itself is too deep for this test";
  const std::wstring folder = DeepFolder(folder_.root() + L"\\deep", 218);
  ASSERT_EQ(SjisBytes(folder + L"\\"), 218u);
  Process editor = StartIn(folder);
  ExpectMessageAndEnd(editor, folder, {folder + L"\\", L"218 バイト", L"217 バイト"}, L"deep-folder-message");
}

TEST_F(ProgramFolderLimits, AtTheDeepestFolderTheEditorOpens) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  if (SjisBytes(folder_.root()) > 200) GTEST_SKIP() << "the work folder itself is too deep for this test";
  const std::wstring folder = DeepFolder(folder_.root() + L"\\deep", 217);
  ASSERT_EQ(SjisBytes(folder + L"\\"), 217u);
  Process editor = StartIn(folder);
  HWND dialog = WaitForDialog(editor, kDialogTimeoutMs);
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(WindowText(dialog), L"タヴォレクス") << "a message came instead of the editor:\n"
                                                << standin::ToUtf8(MessageBoxText(dialog));
  EXPECT_TRUE(DirectoryExists(folder + L"\\＿作業作成中＿〔下書き〕"));
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));
}

TEST_F(ProgramFolderLimits, AFolderNameOutsideShiftJisSaysWhyAndEnds) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::wstring folder = folder_.root() + L"\\Jos\x00E9";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  Process editor = StartIn(folder);
  ExpectMessageAndEnd(editor, folder, {L"\\Jos?\\", L"シフトJIS"}, L"folder-outside-shift-jis-message");
}

// A job name on the command line that cannot be used: the message names it,
// then the draft job opens.
TEST_F(ProgramFolderLimits, AnUnusableJobNameIsReportedBeforeTheDraftOpens) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  for (const wchar_t* argument : {L"what?", L"Jos\x00E9"}) {
    SCOPED_TRACE(standin::ToUtf8(argument));
    Process editor = StartEditor(argument);
    HWND box = WaitForDialog(editor, kDialogTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"タヴォレクス");
    const std::wstring text = MessageBoxText(box);
    const std::wstring shown = argument[0] == L'J' ? L"Jos?" : argument;  // as Shift-JIS spells it
    EXPECT_NE(text.find(shown), std::wstring::npos) << standin::ToUtf8(text);
    EXPECT_NE(text.find(L"下書きの作業を開きます。"), std::wstring::npos) << standin::ToUtf8(text);
    ASSERT_TRUE(BringToFront(box));
    PressKey(VK_RETURN);

    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (dialog = WaitForDialog(editor, 1000)) != nullptr && dialog != box; }, kDialogTimeoutMs))
        << "no editor after the message; its windows:\n"
        << DescribeWindowsOf(editor.id());
    EXPECT_TRUE(DirectoryExists(folder_.Path(L"＿作業作成中＿〔下書き〕")));
    ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));
  }
  EXPECT_EQ(ListNames(folder_.root()), (std::vector<std::wstring>{L"Tavolex.exe", L"＿作業作成中＿〔下書き〕"}));
}

}  // namespace
}  // namespace e2e
