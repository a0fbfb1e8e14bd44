// The main window as it opens.
#include <string>
#include <vector>

#include "app/app.h"
#include "companions/contract.h"
#include "editor/colors.h"
#include "editor/main_dialog.h"
#include "editor/state.h"
#include "jobstore/scramble.h"
#include "operations/records.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

class MainDialog : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    headless::MakeFolder("C:\\Tools");
    headless::PutFile("C:\\Tools\\Tavolex.exe", "MZ");
  }
  // Opens the editor on `job`, lets `inspect` look at the window, then
  // closes it with the close box.
  void Open(const std::string& job, const std::function<void(plat::Window)>& inspect) {
    headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
      inspect(d);
      headless::CloseBox(d);
    });
    app::RunTavolex({job});
    EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  }
};

std::vector<std::string> RowCells(plat::Window d, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < 12; ++c) cells.push_back(plat::ListGetCell(d, 1000, row, c));
  return cells;
}

TEST_F(MainDialog, AnEmptyJobOpensWithTheDefaultRowUnmodified) {
  Open("job", [](plat::Window d) {
    ASSERT_EQ(plat::ListRowCount(d, 1000), 1);
    EXPECT_EQ(RowCells(d, 0),
              (std::vector<std::string>{"1", "画面をクリア", "", "", "ショートカットを入力する",
                                        "Win+D  (画面消去)", "", "", "", "", "2", ""}));
    EXPECT_EQ(jobstore::LineCount(), 1);
    EXPECT_FALSE(editor::JobModified);
    EXPECT_TRUE(headless::Animation(d, 106).playing);
  });
  EXPECT_TRUE(headless::MessageBoxes().empty());  // Cancel asked nothing

  // "保存して終了" on the unchanged job ends without writing the file.
  SetUp();
  headless::OnDialog(res::kMainDialog, [](plat::Window d) { headless::Click(d, 1); });
  app::RunTavolex({"job"});
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def"));
  EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.psw"));
}

TEST_F(MainDialog, AJobWithLinesShowsThemWithTheColumnWidths) {
  headless::PutFile("C:\\Tools\\job\\KeyRecord.def",
                    "入力,10,20,文字を入力する,secret text,,,,,4\r\n"
                    "配置,,,アプリケーションの表示設定,メモ帳,0,20,400,300,2\r\n");
  Open("job", [](plat::Window d) {
    ASSERT_EQ(plat::ListRowCount(d, 1000), 2);
    EXPECT_EQ(RowCells(d, 0), (std::vector<std::string>{"1", "入力", "10", "20", "文字を入力する",
                                                        "********", "", "", "", "", "4", ""}));
    EXPECT_EQ(RowCells(d, 1),
              (std::vector<std::string>{"2", "配置", "", "", "アプリケーションの表示設定", "メモ帳",
                                        "0", "20", "400", "300", "2", ""}));
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 0));
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 1));
    auto columns = headless::ListColumns(d, 1000);
    ASSERT_EQ(columns.size(), 12u);
    const int fixed[] = {-1, -1, 50, 50, -1, -1, 0, 0, 0, 0, 40, 40};
    for (int c = 0; c < 12; ++c) {
      if (fixed[c] >= 0) {
        EXPECT_EQ(columns[c].width, fixed[c]) << c;
      }
    }
    // Columns 0, 1, 4 and 5 are fitted to their texts.
    EXPECT_NE(columns[4].width, 100);
    EXPECT_FALSE(editor::JobModified);
  });
}

TEST_F(MainDialog, ColumnsActionsAndLimits) {
  Open("job", [](plat::Window d) {
    auto columns = headless::ListColumns(d, 1000);
    const char* titles[] = {"No.", "操作する名称", "X座標", "Y座標", "アクション", "入力データ",
                            "左横", "左縦", "横幅", "縦高", "停止", "繰返"};
    const int aligns[] = {0, 0, 2, 2, 0, 0, 2, 2, 2, 2, 2, 0};
    for (int c = 0; c < 12; ++c) {
      EXPECT_EQ(columns[c].title, titles[c]);
      EXPECT_EQ(columns[c].align, aligns[c]);
    }
    EXPECT_EQ(plat::ListExtendedStyle(d, 1000) & 0x20100E5u, 0x20100E5u);

    ASSERT_EQ(plat::ComboCount(d, 1080), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(plat::ComboItemText(d, 1080, i), ops::kActionNames[i]);
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 0);

    EXPECT_EQ(headless::TextLimit(d, 1004), 512);
    EXPECT_EQ(headless::TextLimit(d, 1005), 512);
    for (int id = 1006; id <= 1018; ++id) EXPECT_EQ(headless::TextLimit(d, id), 4) << id;
    for (int id : {1001, 1002, 1003, 1020}) EXPECT_EQ(headless::TextLimit(d, id), 0) << id;
  });
}

TEST_F(MainDialog, EditorFieldsStartDisabledAndArrangedForNoInput) {
  Open("job", [](plat::Window d) {
    EXPECT_EQ(plat::GetControlText(d, 1020), "");
    for (int id : {1004, 1002, 1003, 1080, 1081, 1005, 1020}) {
      EXPECT_FALSE(plat::IsControlEnabled(d, id)) << id;
    }
    for (int id : {1037, 1002, 1003, 1061, 1020}) EXPECT_TRUE(plat::IsControlVisible(d, id)) << id;
    for (int id : {1032, 1081, 1005, 1040, 1015, 1041, 1016, 1042, 1017, 1043, 1018, 1028, 1062,
                   1039, 1060}) {
      EXPECT_FALSE(plat::IsControlVisible(d, id)) << id;
    }
    EXPECT_EQ(editor::inputMode, ops::InputNone);
    // On top of the placement buttons, at the place the template gives them.
    plat::Rect label = headless::ControlPixelRect(d, 1061);
    EXPECT_EQ(label.left, 362 * 3 / 2);
    EXPECT_EQ(label.top, 333 * 13 / 8);
    plat::Rect field = headless::ControlPixelRect(d, 1020);
    EXPECT_EQ(field.left, 362 * 3 / 2);
    EXPECT_EQ(field.top, 345 * 13 / 8);
    EXPECT_EQ(field.right, (362 + 24) * 3 / 2);
    auto z = headless::ZOrder(d);
    ASSERT_GE(z.size(), 2u);
    EXPECT_EQ(z[0], 1020);  // moved last, so on top
    EXPECT_EQ(z[1], 1061);
    EXPECT_EQ(plat::GetButtonCheck(d, 1044), 1);
    EXPECT_EQ(editor::CurrentRow, -1);
    EXPECT_EQ(headless::FocusedControl(d), 1082);
  });
}

TEST_F(MainDialog, SystemMenuIconAndAnimation) {
  Open("job", [](plat::Window d) {
    EXPECT_EQ(headless::SystemMenuItems(d), (std::vector<std::string>{"", "デスクトップにショートカットを作成(&D)",
                                                                      "ラディモについて(&A)..."}));
    EXPECT_EQ(headless::DialogIcon(d), 103);
    auto animation = headless::Animation(d, 106);
    EXPECT_TRUE(animation.open);
    EXPECT_EQ(animation.resourceId, 104);
    EXPECT_TRUE(animation.playing);
    EXPECT_EQ(animation.from, 0);
    EXPECT_EQ(animation.to, -1);
    EXPECT_EQ(animation.repeat, -1);
  });
}

TEST_F(MainDialog, TheAboutBoxOpensFromTheSystemMenu) {
  headless::OnDialog(res::kAboutDialog, [](plat::Window d) { headless::Click(d, 1); });
  Open("job", [](plat::Window d) { headless::SystemCommand(d, 16); });
  EXPECT_EQ(headless::DialogsShown(), (std::vector<int>{res::kMainDialog, res::kAboutDialog}));
}

// The system menu's shortcut: greyed for the draft job; for a named job the
// runner with the job's name, replacing a shortcut of that name; a word on
// unsaved changes; the reason when the file cannot be written.
TEST_F(MainDialog, TheDesktopShortcutRunsTheSavedJob) {
  constexpr unsigned kShortcut = 32;
  const std::string desktop = "C:\\Users\\user\\Desktop\\";
  auto prepare = [&] {
    headless::PutFile("C:\\Tools\\Runvane.exe", "MZ");
    headless::PutFile("C:\\Tools\\見積\\KeyRecord.def", "a,,,マウスでクリックする,,,,,,4\r\n");
    headless::PutFile(desktop + "見積.lnk", "old");
  };
  prepare();
  Open("", [&](plat::Window d) {
    EXPECT_TRUE(headless::SystemMenuItemGreyed(d, kShortcut));
    headless::SystemCommand(d, kShortcut);
  });
  EXPECT_TRUE(headless::Shortcuts().empty());

  SetUp();
  prepare();
  Open("見積", [&](plat::Window d) {
    EXPECT_FALSE(headless::SystemMenuItemGreyed(d, kShortcut));
    headless::SystemCommand(d, kShortcut);
    headless::ClickListRow(d, 1000, 0);
    headless::Type(d, 1004, "b");
    headless::SystemCommand(d, kShortcut);
    headless::QueueMessageBoxAnswer(plat::kIdYes);  // drop the change at the close box
  });
  const auto shortcuts = headless::Shortcuts();
  ASSERT_EQ(shortcuts.count(desktop + "見積.lnk"), 1u);
  const plat::ShortcutSpec& made = shortcuts.at(desktop + "見積.lnk");
  EXPECT_EQ(made.target, "C:\\Tools\\Runvane.exe");
  EXPECT_EQ(made.arguments, "\"見積\" /delay=3");
  EXPECT_EQ(made.workingFolder, "C:\\Tools");
  EXPECT_EQ(made.iconFile, "C:\\Tools\\Runvane.exe");
  EXPECT_NE(headless::FileBytes(desktop + "見積.lnk"), "old");
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);  // made, made with unsaved changes, the close box's question
  EXPECT_EQ(boxes[0].text.find("デスクトップにショートカットを作成しました。"), 0u);
  EXPECT_EQ(boxes[0].text.find("保存済みの操作定義を実行します"), std::string::npos);
  EXPECT_NE(boxes[1].text.find("保存済みの操作定義を実行します"), std::string::npos);

  SetUp();
  prepare();
  headless::FailCreate(desktop + "見積.lnk");
  Open("見積", [&](plat::Window d) { headless::SystemCommand(d, kShortcut); });
  boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.find("デスクトップにショートカットを作成できませんでした。\n\n" + desktop + "見積.lnk\n\n"
                               "ショートカットのファイルを保存できませんでした（エラー 0x80070005）。"),
            0u);
}

TEST_F(MainDialog, PlacedAboveTheBottomLeftOfTheDesktopAndTopmost) {
  EXPECT_EQ(editor::MainWindowPlacement({0, 0, 1920, 1080}, {0, 0, 619, 748}).y, 282);
  EXPECT_EQ(editor::MainWindowPlacement({0, 0, 800, 600}, {0, 0, 619, 748}).y, -198);
  EXPECT_EQ(editor::MainWindowPlacement({0, 0, 800, 600}, {0, 0, 619, 748}).x, 5);

  headless::SetDesktopSize(1280, 1024);
  headless::SetDialogOuterSize(res::kMainDialog, 619, 748);
  Open("job", [](plat::Window d) {
    plat::Rect r = plat::WindowRect(d);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 1024 - 748 - 50);
    EXPECT_EQ(r.bottom, 1024 - 50);
    EXPECT_EQ(r.right - r.left, 619);
    EXPECT_TRUE(plat::IsTopmost(d));
    EXPECT_EQ(editor::ScreenWidth, 1280);
    EXPECT_EQ(editor::ScreenHeight, 1024);
  });
}

TEST_F(MainDialog, TheJobListShowsTheFoldersAndSelectsTheCurrentJob) {
  headless::MakeFolder("C:\\Tools\\B");
  headless::MakeFolder("C:\\Tools\\A");
  headless::PutFile("C:\\Tools\\x.txt", "");
  Open("B", [](plat::Window d) {
    ASSERT_EQ(plat::ComboCount(d, 1082), 2);
    EXPECT_EQ(plat::ComboItemText(d, 1082, plat::ComboGetSelection(d, 1082)), "B");
  });
  SetUp();
  Open("", [](plat::Window d) {  // the draft job
    ASSERT_EQ(plat::ComboCount(d, 1082), 1);
    EXPECT_EQ(plat::ComboGetSelection(d, 1082), 0);
  });
}

TEST_F(MainDialog, TheRunButtonIsDrawnWithItsColours) {
  Open("job", [](plat::Window d) {
    (void)d;
    EXPECT_EQ(editor::RunButton.TextColor, plat::Rgb(255, 255, 255));
    EXPECT_EQ(editor::RunButton.FaceColor, plat::Rgb(100, 100, 100));
  });
}

}  // namespace
