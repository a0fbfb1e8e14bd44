// Start and end of the editor: the job folder named on the command line, the close
// box, and the single-instance rule.
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

struct JobNameCase {
  const char* label;      // test name suffix
  const wchar_t* argument;  // empty: no argument
  const wchar_t* folder;    // the job folder expected beside the executable
};

class StartUp : public EditorTest {};

class StartWithJobName : public EditorTest, public ::testing::WithParamInterface<JobNameCase> {};

TEST_P(StartWithJobName, CreatesJobFolderAndCloseBoxEndsWithExitCodeZero) {
  const JobNameCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  Process editor;
  HWND dialog = StartEditorAndWait(editor, c.argument);
  ASSERT_NE(dialog, nullptr);

  EXPECT_TRUE(DirectoryExists(folder_.Path(c.folder)))
      << "no job folder " << standin::ToUtf8(c.folder) << " while the editor runs; the program folder holds:"
      << [&] {
           std::string names;
           for (const std::wstring& name : ListNames(folder_.root())) names += " " + standin::ToUtf8(name);
           return names;
         }();

  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));
  EXPECT_TRUE(DirectoryExists(folder_.Path(c.folder)));
  // Closing without changes writes no definition file.
  EXPECT_EQ(ListNames(folder_.Path(c.folder)), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Names, StartWithJobName,
    ::testing::Values(JobNameCase{"Ascii", L"Invoice2024", L"Invoice2024"},
                      JobNameCase{"Japanese", L"請求書", L"請求書"},
                      // 表 ends in the byte of a backslash in Shift-JIS.
                      JobNameCase{"JapaneseWithBackslashByte", L"月次表", L"月次表"},
                      JobNameCase{"NoArgumentIsDraft", L"", L"＿作業作成中＿〔下書き〕"}),
    [](const ::testing::TestParamInfo<JobNameCase>& info) { return std::string(info.param.label); });

TEST_F(StartUp, SecondCopyEndsAtOnceWithoutWindowAndChangesNoFile) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  Process first;
  HWND dialog = StartEditorAndWait(first, L"FirstJob");
  ASSERT_NE(dialog, nullptr);
  const auto before = SnapshotTree(folder_.root());

  Process second = StartEditor(L"SecondJob");
  ASSERT_TRUE(second.started());
  std::string windowsSeen;
  const bool ended = WaitUntil(
      [&] {
        // Any window counts, shown or not, except the input-method window that the
        // system itself may give a thread.
        for (HWND window : TopLevelWindowsOf(second.id(), false)) {
          if (ClassOf(window) == L"IME") continue;
          windowsSeen += "  [" + standin::ToUtf8(ClassOf(window)) + "] \"" + standin::ToUtf8(WindowText(window)) + "\"\n";
        }
        return !second.Running();
      },
      10000, 10);
  EXPECT_TRUE(ended) << "the second copy still runs after 10 s; its windows:\n"
                     << DescribeWindowsOf(second.id());
  EXPECT_EQ(windowsSeen, "") << "the second copy showed windows";
  EXPECT_FALSE(DirectoryExists(folder_.Path(L"SecondJob")));
  EXPECT_TRUE(SnapshotTree(folder_.root()) == before) << "the second copy changed files";

  // The first copy is unaffected and still ends normally.
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsWindow(dialog));
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(first, dialog));
}

TEST_F(StartUp, StartsAgainAfterTheFirstCopyEnded) {
  // The single-instance lock goes with the process: a later start is not refused.
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("start " + std::to_string(round + 1));
    Process editor;
    HWND dialog = StartEditorAndWait(editor, L"Again");
    ASSERT_NE(dialog, nullptr);
    ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));
  }
}

}  // namespace
}  // namespace e2e
