// The operation list made from the lines: the full fill and the one-row
// refills of the row commands, which must leave exactly what a full fill
// leaves.
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "jobstore/lines.h"
#include "operations/records.h"
#include "resources/control_ids.h"
#include "resources/templates.h"
#include "tests/support/fresh_state.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class ListHandler : public plat::DialogHandler {
 public:
  bool OnInitDialog(plat::Window dialog) override {
    plat::ListAddExtendedStyle(dialog, res::kOperationList, plat::kLvsExCheckBoxes);
    editor::InsertListColumns(dialog);
    return true;
  }
};

class ListFill : public FreshState {
 protected:
  // Runs `body` on the list of an open main-dialog template.
  void WithList(const std::function<void(plat::Window)>& body) {
    headless::OnDialog(res::kMainDialog, body);
    ListHandler handler;
    plat::RunModalDialog(res::kMainDialog, handler, 0);
  }
};

// Every cell of every row (the repeat mark when asked for), "ticked" or
// "unticked", and "selected".
Rows Snapshot(plat::Window d, bool withMarks = true) {
  Rows rows;
  for (int r = 0; r < plat::ListRowCount(d, 1000); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < (withMarks ? 12 : 11); ++c) cells.push_back(plat::ListGetCell(d, 1000, r, c));
    cells.push_back(plat::ListIsChecked(d, 1000, r) ? "ticked" : "unticked");
    if (plat::ListFirstSelected(d, 1000) == r) cells.push_back("selected");
    rows.push_back(cells);
  }
  return rows;
}

TEST_F(ListFill, RowsShowTheLinesNumberedTickedAndMasked) {
  jobstore::AppendLine("ログイン,10,20,マウスでクリックする,,,,,,4");
  jobstore::AppendLine("秘密,,,文字を入力する,p,a,s,s,,,1");  // more commas than fields
  jobstore::AppendLine("short");
  WithList([](plat::Window d) {
    editor::FillOperationList(d);
    using V = std::vector<std::string>;
    Rows rows = Snapshot(d);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (V{"1", "ログイン", "10", "20", "マウスでクリックする", "", "", "", "", "", "4", "",
                          "ticked"}));
    EXPECT_EQ(rows[1][5], "********");
    EXPECT_EQ(rows[1][6], "a");
    EXPECT_EQ(rows[2], (V{"3", "short", "", "", "", "", "", "", "", "", "", "", "ticked"}));
    EXPECT_FALSE(headless::Calls(d, 1000).redrawOff);

    // A refill starts from nothing: unticked rows and marks are gone.
    plat::ListSetChecked(d, 1000, 1, false);
    plat::ListSetCell(d, 1000, 0, editor::kRepeatMarkColumn, "■");
    editor::FillOperationList(d);
    EXPECT_EQ(Snapshot(d), rows);

    jobstore::FreeDefinitionLines();
    editor::FillOperationList(d);
    EXPECT_EQ(plat::ListRowCount(d, 1000), 0);
  });
}

// Random row commands on a job, each followed by its one-row refill, with
// some rows unticked in between: the list always equals a full fill.
TEST_F(ListFill, OneRowRefillsLeaveWhatAFullFillLeaves) {
  const char* lines[] = {"a,1,2,マウスでクリックする,,,,,,4", "b,,,文字を入力する,secret,,,,,1",
                         "c,,,指定秒間は停止する,60,,,,,", "d,,,各種キーを入力する,Enter,,,,,3"};
  for (int i = 0; i < 6; ++i) jobstore::AppendLine(lines[i % 4]);
  WithList([&](plat::Window d) {
    editor::FillOperationList(d);
    std::mt19937 random(7);
    for (int step = 0; step < 60; ++step) {
      int count = jobstore::LineCount();
      if (count > 0 && random() % 3 == 0) plat::ListSetChecked(d, 1000, static_cast<int>(random() % count), false);
      if (count > 0 && random() % 2 == 0) plat::ListSelectRow(d, 1000, static_cast<int>(random() % count));
      if (count > 0 && random() % 4 == 0) {
        plat::ListSetCell(d, 1000, static_cast<int>(random() % count), editor::kRepeatMarkColumn, "■");
      }
      const char* line = lines[random() % 4];
      switch (count == 0 ? 0 : random() % 3) {
        case 0:
          jobstore::AppendLine(line);
          editor::RefillAfterAppend(d);
          break;
        case 1: {
          int at = static_cast<int>(random() % count);
          jobstore::InsertLineAt(at, line);
          editor::RefillAfterInsert(d, at);
          break;
        }
        default: {
          int at = static_cast<int>(random() % count);
          jobstore::RemoveLineAt(at);
          editor::RefillAfterDelete(d, at);
          break;
        }
      }
      Rows incremental = Snapshot(d, false);
      editor::FillOperationList(d);
      ASSERT_EQ(incremental, Snapshot(d, false)) << "step " << step;
    }
  });
}

// Deleting the selected row, and the first and last rows; repeat marks move
// with their rows.
TEST_F(ListFill, DeletesRenumberTheRowsBelow) {
  for (const char* name : {"a", "b", "c", "d"}) jobstore::AppendLine((std::string(name) + ",,,,,,,,,4").c_str());
  WithList([](plat::Window d) {
    editor::FillOperationList(d);
    plat::ListSetCell(d, 1000, 2, editor::kRepeatMarkColumn, "■");
    plat::ListSelectRow(d, 1000, 1);
    jobstore::RemoveLineAt(1);
    editor::RefillAfterDelete(d, 1);
    EXPECT_EQ(plat::ListFirstSelected(d, 1000), -1);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 1, editor::kRepeatMarkColumn), "■");  // "c", now row 1
    jobstore::RemoveLineAt(2);
    editor::RefillAfterDelete(d, 2);
    jobstore::InsertLineAt(0, "z,,,,,,,,,4");
    editor::RefillAfterInsert(d, 0);
    ASSERT_EQ(plat::ListRowCount(d, 1000), 3);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "z");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 1, 0), "2");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 1, 1), "a");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 2, 0), "3");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 2, 1), "c");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 2, editor::kRepeatMarkColumn), "■");
  });
}

// A list that does not mirror the lines as a hook expects is rebuilt whole.
TEST_F(ListFill, AListOutOfStepIsRebuilt) {
  jobstore::AppendLine("a,,,,,,,,,4");
  WithList([](plat::Window d) {
    jobstore::AppendLine("b,,,,,,,,,4");
    editor::RefillAfterAppend(d);  // the list had no row for "a"
    ASSERT_EQ(plat::ListRowCount(d, 1000), 2);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "a");
    editor::RefillAfterInsert(d, 5);  // no such index
    editor::RefillAfterDelete(d, -1);
    EXPECT_EQ(plat::ListRowCount(d, 1000), 2);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 1, 0), "2");
  });
}

std::string Marks(plat::Window d) {
  std::string marks;
  for (int r = 0; r < plat::ListRowCount(d, 1000); ++r) {
    marks += plat::ListGetCell(d, 1000, r, editor::kRepeatMarkColumn) == "■" ? 'x' : '.';
  }
  return marks;
}

void SetRule(plat::Window d, int check, int from, const char* first, const char* last, bool ticked) {
  plat::SetControlText(d, from, first);
  plat::SetControlText(d, from + 1, last);
  plat::SetButtonCheck(d, check, ticked ? 1 : 0);
}

TEST_F(ListFill, RepeatMarksFollowTheTickedRules) {
  for (int i = 0; i < 5; ++i) jobstore::AppendLine("a,,,,,,,,,4");
  WithList([](plat::Window d) {
    editor::FillOperationList(d);
    editor::RefreshRepeatMarkers(d);  // no rule ticked: nothing
    EXPECT_EQ(Marks(d), ".....");
    SetRule(d, 1045, 1006, "2", "3", true);
    SetRule(d, 1046, 1009, " 4", "9", true);  // beyond the last row: up to it
    SetRule(d, 1047, 1012, "0", "2", true);   // first 0: nothing
    editor::RefreshRepeatMarkers(d);
    EXPECT_EQ(Marks(d), ".xxxx");
    EXPECT_EQ(headless::Calls(d, 1000).rowRedraws.count(0), 0u);
    EXPECT_EQ(headless::Calls(d, 1000).rowRedraws.at(4), 1);
    EXPECT_FALSE(headless::Calls(d, 1000).redrawOff);

    SetRule(d, 1046, 1009, "5", "4", true);  // last before first: nothing
    editor::UpdatingControls = true;
    editor::RefreshRepeatMarkers(d);
    EXPECT_EQ(Marks(d), ".xxxx");  // unchanged while the program writes
    editor::UpdatingControls = false;
    editor::RefreshRepeatMarkers(d);
    EXPECT_EQ(Marks(d), ".xx..");

    // Marks stay with their rows through a refill, and go when no rule wants them.
    jobstore::InsertLineAt(0, "b,,,,,,,,,4");
    editor::RefillAfterInsert(d, 0);
    EXPECT_EQ(Marks(d), "..xx..");
    SetRule(d, 1045, 1006, "2", "3", false);
    editor::RefreshRepeatMarkers(d);
    EXPECT_EQ(Marks(d), "......");
  });
}

}  // namespace
