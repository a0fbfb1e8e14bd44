#include "editor/acquisition.h"

#include "companions/screen.h"
#include "editor/features.h"
#include "editor/row_commands.h"
#include "editor/undo.h"
#include "resources/control_ids.h"

namespace editor {

void (*PickerNewOperation)(plat::Window dialog) = NewOperation;
void (*PickerInsertOperation)(plat::Window dialog) = InsertOperation;

// The picker has just been started: watch it, put the neutral answer on the
// clipboard, then poll the clipboard.
void AcquisitionAtStart(plat::Window dialog) {
  companions::ResetAcquisition();
  plat::StartTimer(dialog, companions::kPickerWatchTimer, companions::kPickerWatchPeriod);
  companions::ResetClipboard();
  plat::StartTimer(dialog, companions::kClipboardPollTimer, companions::kClipboardPollPeriod);
}

bool AcquisitionCommand(plat::Window dialog, int controlId, int code) {
  if (code != plat::kBnClicked) return false;
  HistoryStepScope step(dialog);  // the fields a button fills: one change
  switch (controlId) {
    case res::kCheckPlacementButton: companions::ConfirmWindowPlacement(dialog); return true;
    case res::kTakePlacementButton: companions::AcquireWindowPlacement(dialog); return true;
    case res::kTitleSearchButton: companions::PickWindowTitle(dialog); return true;
    case res::kAppSearchButton: companions::PickApplicationFile(dialog); return true;
    default: return false;
  }
}

// Both timers were stopped by the dialog; each starts again here.
bool AcquisitionTimer(plat::Window dialog, int timerId) {
  if (timerId == companions::kClipboardPollTimer) {
    HistoryStepScope step(dialog);  // a picked point: X and Y in one change
    switch (companions::PollClipboard(dialog)) {
      case companions::PollOutcome::NewOperation:
        PickerNewOperation(dialog);
        companions::ResetClipboard();
        break;
      case companions::PollOutcome::InsertOperation:
        PickerInsertOperation(dialog);
        companions::ResetClipboard();
        break;
      case companions::PollOutcome::Nothing:
        break;
    }
    plat::StartTimer(dialog, companions::kClipboardPollTimer, companions::kClipboardPollPeriod);
    return true;
  }
  if (timerId == companions::kPickerWatchTimer) {
    companions::WatchPicker();
    plat::StartTimer(dialog, companions::kPickerWatchTimer, companions::kPickerWatchPeriod);
    return true;
  }
  return false;
}

}  // namespace editor
