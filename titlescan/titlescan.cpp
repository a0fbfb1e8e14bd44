#include "titlescan/titlescan.h"

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "resources/templates.h"
#include "titlescan/choices.h"

namespace titlescan {
namespace {

constexpr int kLimitTimer = 1;
constexpr int kChosen = 0;
constexpr int kNotChosen = 1;

class TitleDialog : public plat::DialogHandler {
 public:
  explicit TitleDialog(unsigned limitMs) : limitMs_(limitMs) {}

  bool OnInitDialog(plat::Window d) override {
    // Centred and above every other window, the editor included.
    const plat::Rect desk = plat::DesktopRect();
    const plat::Rect r = plat::WindowRect(d);
    plat::PlaceWindow(d, desk.left + (desk.right - desk.left - (r.right - r.left)) / 2,
                      desk.top + (desk.bottom - desk.top - (r.bottom - r.top)) / 2, true);
    plat::ListAddExtendedStyle(d, res::kTitleWindowList, plat::kLvsExFullRowSelect | plat::kLvsExGridLines);
    // The title takes what the program's column and a scroll bar leave.
    const plat::Rect list = plat::ControlRect(d, res::kTitleWindowList);
    const int program = (list.right - list.left) / 4;
    plat::ListInsertColumn(d, res::kTitleWindowList, 0, "ウィンドウタイトル",
                           list.right - list.left - program - 26, plat::kAlignLeft);
    plat::ListInsertColumn(d, res::kTitleWindowList, 1, "プログラム", program, plat::kAlignLeft);
    plat::LimitText(d, res::kTitleEdit, 512);  // as the editor's title field
    plat::MakeWindowFinder(d, res::kTitleFinder);
    Fill(d);
    plat::StartTimer(d, kLimitTimer, limitMs_);
    plat::SetFocusTo(d, res::kTitleWindowList);
    return false;
  }

  void OnCommand(plat::Window d, int id, int code) override {
    if (id == res::kTitleFinder && code == plat::kFinderPointed) {
      Pick(d, plat::FinderTarget(d, id));
      return;
    }
    if (code != plat::kBnClicked) return;
    if (id == plat::kIdOk) Answer(d);
    if (id == plat::kIdCancel) plat::EndModalDialog(d, kNotChosen);
    if (id == res::kTitleRefreshButton) Fill(d);
  }

  long OnNotify(plat::Window d, const plat::Notification& n) override {
    if (n.controlId != res::kTitleWindowList || filling_) return 0;
    if (n.code == plat::kLvnItemChanged && (n.changedMask & plat::kLvifState) &&
        (n.newState & plat::kLvisSelected) && !(n.oldState & plat::kLvisSelected)) {
      Show(d, n.item);
    } else if (n.code == plat::kNmDblClk && plat::ListFirstSelected(d, res::kTitleWindowList) >= 0) {
      Answer(d);
    }
    return 0;
  }

  void OnTimer(plat::Window d, int timerId) override {
    if (timerId != kLimitTimer) return;
    plat::StopTimer(d, kLimitTimer);
    // The editor waits for this program: it ends even under a message box.
    if (inMessage_) plat::ExitProcess(kNotChosen);
    plat::EndModalDialog(d, kNotChosen);
  }

 private:
  // The list anew, in the window system's order; the edit keeps its text.
  void Fill(plat::Window d) {
    filling_ = true;
    listed_ = WindowsToList(plat::ProgramWindows(), plat::CurrentProcessId(), plat::ParentProcessId());
    plat::ListDeleteAllRows(d, res::kTitleWindowList);
    for (std::size_t i = 0; i < listed_.size(); ++i) {
      const int row = plat::ListInsertRow(d, res::kTitleWindowList, static_cast<int>(i), listed_[i].title.c_str());
      plat::ListSetCell(d, res::kTitleWindowList, row, 1, listed_[i].programName.c_str());
    }
    filling_ = false;
  }

  // The finder points at a window: its row is selected, and its title shown.
  void Pick(plat::Window d, plat::Window window) {
    if (window == plat::kNoWindow) return;
    int row = RowOfWindow(listed_, window);
    if (row < 0) {  // a window that came after the list was made
      Fill(d);
      row = RowOfWindow(listed_, window);
    }
    if (row < 0) return;
    if (plat::ListFirstSelected(d, res::kTitleWindowList) == row) {
      Show(d, row);
    } else {
      plat::ListSelectRow(d, res::kTitleWindowList, row);  // shows it
    }
    plat::ListEnsureVisible(d, res::kTitleWindowList, row);
  }

  void Show(plat::Window d, int row) {
    if (row < 0 || row >= static_cast<int>(listed_.size())) return;
    const plat::ProgramWindow& w = listed_[static_cast<std::size_t>(row)];
    // The window's own title, so that a character Shift-JIS cannot write is
    // seen, and refused unless the user cuts it away.
    if (!plat::CopyWindowTitleToControl(w.window, d, res::kTitleEdit)) {
      plat::SetControlText(d, res::kTitleEdit, w.title.c_str());
    }
  }

  void Answer(plat::Window d) {
    bool exact = true;
    const std::string title = plat::GetControlTextExact(d, res::kTitleEdit, 512, &exact);
    if (const char* refusal = RefusalOfTitle(title, exact)) {
      Tell(d, refusal);
      return;
    }
    if (!plat::WriteClipboardTextBoth(title.c_str())) {  // CF_TEXT as these bytes
      Tell(d, "クリップボードがほかのプログラムに使用されているため、タイトルを送れませんでした。\n\n"
              "もう一度 OK を押してください。");
      return;
    }
    plat::EndModalDialog(d, kChosen);
  }

  void Tell(plat::Window d, const char* message) {
    inMessage_ = true;
    plat::ShowMessageBox(d, message, kTitle, plat::kMbOk | plat::kMbIconWarning);
    inMessage_ = false;
  }

  unsigned limitMs_;
  std::vector<plat::ProgramWindow> listed_;
  bool filling_ = false;
  bool inMessage_ = false;
};

}  // namespace

int RunTitlescan(const std::vector<std::string>& arguments) {
  TitleDialog dialog(TimeLimitMs(arguments));
  const int result = plat::RunModalDialog(res::kTitleScanDialog, dialog, plat::kNoWindow);
  return result == kChosen ? kChosen : kNotChosen;
}

}  // namespace titlescan
