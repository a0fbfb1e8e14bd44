// Colours of the operation list's cells and the deferred repaint of a row
// that stopped being the current row.
#pragma once

#include "platform/platform.h"

namespace editor {

// The list control's colours: two alternating row backgrounds and the
// background of rows inside a ticked repeat range.
class CColoredListCtrl {
 public:
  plat::Color OddRowBackground;
  plat::Color EvenRowBackground;
  plat::Color RepeatRowBackground;

  struct CellColors {
    plat::Color text;
    plat::Color back;
  };
  // The colours of cell (row, column), given the texts of the row's repeat
  // mark (column 11) and action (column 4) cells.
  CellColors ColorsOf(int row, int column, const char* repeatMark, const char* action,
                      int currentRow) const;

  // NM_CUSTOMDRAW of the list: asks for every cell and colours it.
  long OnCustomDraw(plat::Window dialog, const plat::Notification& n) const;
};

// The main dialog's list 1000.
extern const CColoredListCtrl OperationList;

// The current row's background.
constexpr plat::Color kCurrentRowBackground = plat::Rgb(100, 200, 255);

// Colours of the action cell by action name; false for a text that names no
// action.
bool ActionCellColors(const char* action, plat::Color* text, plat::Color* back);

// Row `newRow` becomes current: the former current row is queued for a
// repaint one second after the last selection change (timer 666).
void QueueFormerCurrentRow(plat::Window dialog, int newRow);
// Timer 666: repaints every queued row and empties the queue.
void RedrawQueuedRows(plat::Window dialog);

constexpr int kRedrawTimer = 666;

}  // namespace editor
