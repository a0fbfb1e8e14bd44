#include "editor/list_colors.h"

#include <cstring>
#include <string>

#include "editor/list_view.h"
#include "editor/state.h"
#include "operations/records.h"
#include "resources/control_ids.h"

namespace editor {

const CColoredListCtrl OperationList = {plat::Rgb(255, 255, 255), plat::Rgb(232, 243, 253),
                                        plat::Rgb(255, 200, 200)};

namespace {

struct ActionColors {
  plat::Color text;
  plat::Color back;
};
// In the order of the action kinds.
constexpr ActionColors kActionCellColors[ops::kActionKindCount] = {
    {plat::Rgb(0, 0, 0), plat::Rgb(255, 255, 120)},        // MouseClick
    {plat::Rgb(0, 0, 0), plat::Rgb(255, 235, 120)},        // MouseDoubleClick
    {plat::Rgb(255, 255, 255), plat::Rgb(100, 100, 100)},  // TypeText
    {plat::Rgb(0, 0, 0), plat::Rgb(255, 220, 120)},        // MouseRightClick
    {plat::Rgb(0, 0, 0), plat::Rgb(80, 255, 80)},          // CopyText
    {plat::Rgb(255, 255, 255), plat::Rgb(0, 120, 0)},      // PasteText
    {plat::Rgb(0, 0, 0), plat::Rgb(240, 240, 240)},        // Pause
    {plat::Rgb(255, 255, 255), plat::Rgb(80, 80, 255)},    // PressKey
    {plat::Rgb(255, 255, 255), plat::Rgb(0, 0, 160)},      // Shortcut
    {plat::Rgb(255, 255, 255), plat::Rgb(200, 0, 0)},      // RunApplication
    {plat::Rgb(255, 255, 255), plat::Rgb(255, 80, 80)},    // ArrangeWindow
};

constexpr int kActionColumn = 4;

}  // namespace

bool ActionCellColors(const char* action, plat::Color* text, plat::Color* back) {
  int kind = ops::FindActionKind(action);
  if (kind < 0) return false;
  *text = kActionCellColors[kind].text;
  *back = kActionCellColors[kind].back;
  return true;
}

CColoredListCtrl::CellColors CColoredListCtrl::ColorsOf(int row, int column, const char* repeatMark,
                                                        const char* action, int currentRow) const {
  CellColors c{plat::Rgb(0, 0, 0), 0};
  if (repeatMark != nullptr && repeatMark[0] != '\0') {
    c.back = RepeatRowBackground;
  } else if (row == currentRow) {
    c.back = kCurrentRowBackground;
  } else {
    c.back = (row % 2 != 0) ? OddRowBackground : EvenRowBackground;
  }
  if (column == kActionColumn) ActionCellColors(action, &c.text, &c.back);
  return c;
}

long CColoredListCtrl::OnCustomDraw(plat::Window dialog, const plat::Notification& n) const {
  if (n.drawStage == plat::kCddsPrepaint) return plat::kCdrfNotifyItemDraw;
  if (n.drawStage == plat::kCddsItemPrepaint) return plat::kCdrfNotifySubItemDraw;
  if (n.drawStage != (plat::kCddsItemPrepaint | plat::kCddsSubItem)) return plat::kCdrfDoDefault;
  const std::string mark = plat::ListGetCell(dialog, res::kOperationList, n.item, kRepeatMarkColumn, 512);
  std::string action;
  if (n.subItem == kActionColumn) action = plat::ListGetCell(dialog, res::kOperationList, n.item, kActionColumn, 512);
  CellColors c = ColorsOf(n.item, n.subItem, mark.c_str(), action.c_str(), CurrentRow);
  if (n.textColor != nullptr) *n.textColor = c.text;
  if (n.backColor != nullptr) *n.backColor = c.back;
  return plat::kCdrfDoDefault;
}

void QueueFormerCurrentRow(plat::Window dialog, int newRow) {
  if (newRow == CurrentRow || CurrentRow == -1) return;
  for (int& slot : RedrawQueue) {
    if (slot == -1) {
      slot = CurrentRow;
      break;
    }
  }
  plat::StartTimer(dialog, kRedrawTimer, 1000);
}

void RedrawQueuedRows(plat::Window dialog) {
  for (int& slot : RedrawQueue) {
    if (slot >= 0) {
      plat::ListRedrawRow(dialog, res::kOperationList, slot);
      slot = -1;
    }
  }
}

}  // namespace editor
