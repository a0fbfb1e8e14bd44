#include "companions/screen.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "companions/contract.h"
#include "companions/picker_answers.h"
#include "companions/test_run.h"
#include "companions/window_titles.h"
#include "resources/control_ids.h"
#include "text/sjis.h"

namespace companions {

char ClipboardTextBuffer[kClipboardBufferSize];

namespace {

// The clipboard change on which a command answer was last acted.
bool commandActed = false;
std::uint32_t commandSequence = 0;

// Answers held back for a test run: during it, and after it while the
// clipboard still holds what it held at the end (its sequence number, known
// once a reading gives one).
enum class RunHold { None, During, After };
RunHold runHold = RunHold::None;
std::uint32_t runEndSequence = 0;

// Reads the clipboard into the buffer; the reading's sequence number.
std::uint32_t ReadClipboardIntoBuffer() {
  ClipboardTextBuffer[0] = '\0';
  plat::ClipboardReading reading = plat::ReadClipboard(kClipboardBufferSize);
  if (!reading.cut) {
    std::memcpy(ClipboardTextBuffer, reading.text.c_str(), reading.text.size() + 1);
  }
  return reading.sequence;
}

// The value of a window-rectangle field: "-8" is the left edge of a
// maximised window.
int FieldValue(plat::Window dialog, int controlId) {
  long v = text::SignedLeadingNumber(plat::GetControlText(dialog, controlId).c_str());
  if (v > 1000000) v = 1000000;  // far beyond any screen; keeps the sums in range
  if (v < -1000000) v = -1000000;
  return static_cast<int>(v);
}

}  // namespace

const char* ReadClipboardText() {
  ReadClipboardIntoBuffer();
  return ClipboardTextBuffer;
}

void ResetClipboard() { plat::WriteClipboardText("0,0"); }

void MovePickerWindow(int x, int y) {
  if (PickerProcessId == 0) return;
  for (const plat::TopLevelWindow& w : plat::TopLevelWindows()) {
    if (w.owned || !w.visible || w.processId != PickerProcessId) continue;
    plat::PlaceWindow(w.window, x, y, true);
    return;
  }
}

namespace {

// True while the clipboard may still hold a test run's text.
bool HeldForTestRun(std::uint32_t sequence) {
  if (runHold == RunHold::After) {
    if (runEndSequence == 0) runEndSequence = sequence;
    if (sequence != 0 && sequence != runEndSequence) runHold = RunHold::None;
  }
  return runHold != RunHold::None;
}

}  // namespace

PollOutcome PollClipboard(plat::Window dialog) {
  const std::uint32_t sequence = ReadClipboardIntoBuffer();
  if (HeldForTestRun(sequence)) return PollOutcome::Nothing;
  // A sequence number of 0 means the system does not tell: every poll is fresh.
  const bool fresh = !commandActed || sequence == 0 || sequence != commandSequence;
  const std::string shownX = plat::GetControlText(dialog, res::kXEdit);
  const std::string shownY = plat::GetControlText(dialog, res::kYEdit);
  PollDecision d = DecidePoll(ClipboardTextBuffer, shownX.c_str(), shownY.c_str(), fresh);
  switch (d.action) {
    case PollAction::None:
      return PollOutcome::Nothing;
    case PollAction::SetPoint:
      // Each write raises the field's change notification: the selected
      // operation takes the point as if typed.
      plat::SetControlText(dialog, res::kXEdit, d.x.c_str());
      plat::SetControlText(dialog, res::kYEdit, d.y.c_str());
      return PollOutcome::Nothing;
    case PollAction::ClearPoint:
      commandActed = true;
      commandSequence = sequence;
      plat::SetControlText(dialog, res::kXEdit, "");
      plat::SetControlText(dialog, res::kYEdit, "");
      ResetClipboard();
      return PollOutcome::Nothing;
    case PollAction::NewOperation:
    case PollAction::InsertOperation:
      commandActed = true;
      commandSequence = sequence;
      return d.action == PollAction::NewOperation ? PollOutcome::NewOperation
                                                  : PollOutcome::InsertOperation;
  }
  return PollOutcome::Nothing;
}

void HoldAnswersForTestRun() { runHold = RunHold::During; }

void ReleaseAnswersAfterTestRun() {
  runHold = RunHold::After;
  runEndSequence = plat::ReadClipboard(kClipboardBufferSize).sequence;
}

void WatchPicker() {
  if (IsProcessAlive(PickerProcessId)) return;
  PickerProcessId = StartPicker();
  RestoreWindowByTitle(PickerTitleText);
}

void ConfirmWindowPlacement(plat::Window dialog) {
  const std::string title = plat::GetControlText(dialog, res::kInputEdit);
  if (title.empty()) return;
  const int x = FieldValue(dialog, res::kWindowLeftEdit);
  const int y = FieldValue(dialog, res::kWindowTopEdit);
  const int width = FieldValue(dialog, res::kWindowWidthEdit);
  const int height = FieldValue(dialog, res::kWindowHeightEdit);
  if (width == 0 || height == 0) return;
  plat::Window w = FindPlacedWindow(title.c_str());
  if (w != plat::kNoWindow) plat::SetWindowBounds(w, x, y, width, height, true);
}

void AcquireWindowPlacement(plat::Window dialog) {
  const std::string title = plat::GetControlText(dialog, res::kInputEdit);
  if (title.empty()) return;
  std::string texts[4];
  for (int i = 0; i < 4; ++i) texts[i] = plat::GetControlText(dialog, res::kWindowEdits[i]);
  plat::Window w = FindPlacedWindow(title.c_str());
  if (w != plat::kNoWindow) {
    const plat::Rect r = plat::WindowRect(w);
    texts[0] = std::to_string(r.left);
    texts[1] = std::to_string(r.top);
    texts[2] = std::to_string(r.right - r.left);
    texts[3] = std::to_string(r.bottom - r.top);
  }
  for (int i = 0; i < 4; ++i) plat::SetControlText(dialog, res::kWindowEdits[i], texts[i].c_str());
}

void PickWindowTitle(plat::Window dialog) {
  plat::StopTimer(dialog, kClipboardPollTimer);
  HideWindowByTitle(PickerTitleText);
  // A cancelled picker leaves the clipboard as it was, often the neutral
  // "0,0": the field keeps the user's title then.
  if (RunTitlePicker() != TitlePickerEnd::Cancelled) {
    plat::SetControlText(dialog, res::kInputEdit, ReadClipboardText());
  }
  ShowWindowByTitle(PickerTitleText);
  plat::StartTimer(dialog, kClipboardPollTimer, kClipboardPollPeriod);
}

void PickApplicationFile(plat::Window dialog) {
  const unsigned flags =
      plat::kOfnHideReadOnly | plat::kOfnCreatePrompt | plat::kOfnExplorer | plat::kOfnEnableSizing;
  plat::OpenFileChoice choice = plat::ChooseFileToOpen(dialog, "(*.*)", "*.*", flags);
  if (choice.chosen && !choice.exact) {
    // Stored with '?' in its place, the path could never be started.
    plat::ShowMessageBox(dialog,
                         "選択したファイルのパスに、使用できない文字が含まれています。\n\n"
                         "日本語(シフトJIS)で表せない文字を含まない場所とファイル名の"
                         "ファイルを選んでください。",
                         "データ検査", plat::kMbOk);
    return;
  }
  plat::SetControlText(dialog, res::kInputEdit, choice.chosen ? choice.path.c_str() : "");
}

void ResetAcquisition() {
  commandActed = false;
  commandSequence = 0;
  runHold = RunHold::None;
  runEndSequence = 0;
  ClipboardTextBuffer[0] = '\0';
}

}  // namespace companions
