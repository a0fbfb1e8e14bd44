// The main window: a modal dialog built from template 102.
#pragma once

#include "platform/platform.h"

namespace editor {

class CTavolexDlg : public plat::DialogHandler {
 public:
  // Runs the dialog modally; the result is kIdOk or kIdCancel.
  int DoModal();
  plat::Window Handle() const { return window_; }

  bool OnInitDialog(plat::Window dialog) override;
  void OnCommand(plat::Window dialog, int controlId, int code) override;
  long OnNotify(plat::Window dialog, const plat::Notification& n) override;
  void OnTimer(plat::Window dialog, int timerId) override;
  bool OnSysCommand(plat::Window dialog, unsigned command) override;
  bool OnDrawItem(plat::Window dialog, const plat::DrawItem& item) override;
  plat::CtlColorAnswer OnCtlColor(plat::Window dialog, plat::CtlColorKind kind,
                                  int controlId) override;

 private:
  plat::Window window_ = plat::kNoWindow;
};

// Enables or disables the seven editor fields 1004, 1002, 1003, 1080, 1081,
// 1005 and 1020, in this order.
void EnableEditorFields(plat::Window dialog, bool enable);
// Empties the editor fields and sets the stop seconds to "4".
void ClearEditorFields(plat::Window dialog);

// Where the dialog goes: 5 pixels from the left of the desktop and 50 pixels
// above its bottom, for a dialog created at the top of the screen.
struct Placement {
  int x, y;
};
Placement MainWindowPlacement(const plat::Rect& desktop, const plat::Rect& dialog);

}  // namespace editor
