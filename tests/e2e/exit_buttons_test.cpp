// "保存して終了" and "キャンセル" under real key presses and mouse clicks: Enter and
// Escape in the main dialog end nothing, and a key pressed in another dialog
// never swallows the next click on either button.
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

// The about box: a visible dialog of the editor owned by its main window.
HWND FindAboutBox(const Process& editor, HWND main) {
  for (HWND window : TopLevelWindowsOf(editor.id(), true)) {
    if (ClassOf(window) == L"#32770" && GetWindow(window, GW_OWNER) == main) return window;
  }
  return nullptr;
}

struct KeyThenButton {
  const char* label;
  WORD keyInAboutBox;
  int button;  // 1 "保存して終了", 2 "キャンセル"
};

class MainDialogKeys : public EditorTest {};

class ExitButtons : public EditorTest, public ::testing::WithParamInterface<KeyThenButton> {};

TEST_F(MainDialogKeys, EnterAndEscapeInTheMainDialogEndNothing) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"KeyJob");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(BringToFront(dialog)) << "the editor does not come to the front";

  for (WORD key : {VK_RETURN, VK_ESCAPE, VK_RETURN}) PressKey(key);
  // Enter on the focused "保存して終了" itself.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 1)), TRUE);
  PressKey(VK_RETURN);
  Sleep(500);
  EXPECT_TRUE(editor.Running()) << "Enter or Escape ended the editor";
  EXPECT_TRUE(IsWindow(dialog));

  // Space on the focused button acts.
  PressKey(VK_SPACE);
  EXPECT_TRUE(editor.WaitForExit(kExitTimeoutMs)) << "Space on \"保存して終了\" did not end the editor";
  EXPECT_EQ(editor.ExitCode(), 0u);
}

TEST_P(ExitButtons, AKeyInTheAboutBoxDoesNotSwallowTheFirstClick) {
  const KeyThenButton& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"ClickJob");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(BringToFront(dialog)) << "the editor does not come to the front";

  // The about box through the system menu: its last entry.
  PressAltSpace();
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (about = FindAboutBox(editor, dialog)) != nullptr; }, 10000))
      << "no about box; the editor's windows:\n"
      << DescribeWindowsOf(editor.id());
  ASSERT_TRUE(BringToFront(about));
  PressKey(c.keyInAboutBox);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 5000))
      << "the about box did not close";
  Sleep(300);

  // One click on the button: the editor ends at once.
  ClickControl(dialog, c.button);
  EXPECT_TRUE(editor.WaitForExit(5000)) << "the first click on button " << c.button
                                        << " did nothing; the editor's windows:\n"
                                        << DescribeWindowsOf(editor.id());
  EXPECT_EQ(editor.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, ExitButtons,
                         ::testing::Values(KeyThenButton{"EnterThenSave", VK_RETURN, 1},
                                           KeyThenButton{"EscapeThenCancel", VK_ESCAPE, 2}),
                         [](const ::testing::TestParamInfo<KeyThenButton>& info) {
                           return std::string(info.param.label);
                         });

}  // namespace
}  // namespace e2e
