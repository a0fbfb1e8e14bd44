// The repeat rules' check boxes and the test run of the ticked rows: the
// run button 1027 and timer 777, which brings the editor back when the
// runner has ended.
#include <string>
#include <vector>

#include "companions/contract.h"
#include "companions/repeat.h"
#include "companions/screen.h"
#include "companions/test_run.h"
#include "companions/window_titles.h"
#include "editor/features.h"
#include "editor/messages.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "resources/control_ids.h"

namespace editor {

namespace {

constexpr int kRunnerTimer = 777;
constexpr unsigned kRunnerPollMs = 1000;

constexpr char kInvalidRepeatRules[] =
    "繰返し処理の設定値に不備があります。\n\n"
    "・チェック済で未入力項目がある\n"
    "・FROM値がTO値より大きい\n"
    "・FROM値とTO値の範囲が重複している\n"
    "・設定値にゼロがある\n\n"
    "修正してください。";
constexpr char kRepeatFileNotWritten[] = "繰返し処理の設定を保存できませんでした。";
constexpr char kRunFileNotWritten[] = "動作試験の操作をファイルに書き込めませんでした。";

void TellRunnerNotStarted(plat::Window dialog) {
  std::string message = std::string("動作試験を実行するプログラムを起動できませんでした。\n\n") +
                        companions::RunnerToolPath +
                        "\n\nプログラムがこの場所にあるか確認してください。";
  plat::ShowMessageBox(dialog, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

// Button 1027: writes the ticked rows to the test-run file, hides the editor
// and the picker's window and starts the runner on the file.
void StartTestRun(plat::Window dialog) {
  if (!SaveRepeatRulesOrTell(dialog)) return;

  std::vector<bool> ticked;
  for (int i = 0; i < jobstore::LineCount(); ++i) {
    ticked.push_back(plat::ListIsChecked(dialog, res::kOperationList, i));
  }
  switch (companions::WriteTestRunFile(ticked)) {
    case companions::TestRunFile::Written:
      break;
    case companions::TestRunFile::NotWritten:
      TellFileNotWritten(dialog, kRunFileNotWritten, jobstore::InspectFilePath);
      return;
    case companions::TestRunFile::NotScrambled:
      TellFileNotWritten(dialog, kRunFileNotWritten, jobstore::InspectScrambledPath);
      return;
  }

  plat::ShowWindowCmd(dialog, plat::kSwHide);
  companions::HideWindowByTitle(companions::PickerTitleText);
  // What the job copies must not reach the edited row (timer 888 keeps running).
  companions::HoldAnswersForTestRun();
  companions::RunnerProcessId =
      companions::StartRunner(jobstore::InspectFilePath, jobstore::RepeatFilePath);
  if (companions::RunnerProcessId == 0) {
    ShowEditorAfterRun(dialog);
    TellRunnerNotStarted(dialog);
    return;
  }
  plat::StartTimer(dialog, kRunnerTimer, kRunnerPollMs);
}

// Timer 777 (already stopped by the dialog): waits for the runner's end.
void WatchRunner(plat::Window dialog) {
  if (companions::IsProcessAlive(companions::RunnerProcessId)) {
    plat::StartTimer(dialog, kRunnerTimer, kRunnerPollMs);
    return;
  }
  // The id of an ended process may be given to another one: forget it, so
  // that the exit never ends that one.
  companions::RunnerProcessId = 0;
  ShowEditorAfterRun(dialog);
}

}  // namespace

void ShowEditorAfterRun(plat::Window dialog) {
  companions::ReleaseAnswersAfterTestRun();
  plat::ShowWindowCmd(dialog, plat::kSwShow);
  companions::ShowWindowByTitle(companions::PickerTitleText);
}

void RepeatRulesAtStart(plat::Window dialog) {
  companions::LoadRepeatRules(dialog);
  for (int rule = 1; rule <= companions::kRepeatRuleCount; ++rule) {
    companions::ToggleRepeatRule(dialog, rule);
  }
}

bool RepeatAndRunCommand(plat::Window dialog, int controlId, int code) {
  if (code != plat::kBnClicked) return false;
  for (int rule = 1; rule <= companions::kRepeatRuleCount; ++rule) {
    if (controlId != res::kRepeatRules[rule - 1].check) continue;
    companions::ToggleRepeatRule(dialog, rule);
    NoteChangeOutsideHistory(dialog);
    return true;
  }
  if (controlId == res::kRunButton) {
    StartTestRun(dialog);
    return true;
  }
  return false;
}

bool RepeatAndRunTimer(plat::Window dialog, int timerId) {
  if (timerId != kRunnerTimer) return false;
  WatchRunner(dialog);
  return true;
}

void RepeatFieldChanged(plat::Window dialog) {
  if (!UpdatingControls) NoteChangeOutsideHistory(dialog);
}

companions::RepeatSave SaveRepeatRules(plat::Window dialog) {
  // Switching the rules of a job without lines off is the program's own write.
  ProgramWrites writes;
  return companions::ValidateAndSaveRepeatRules(dialog);
}

bool TellUnlessRulesSaved(plat::Window dialog, companions::RepeatSave saved, const char* path) {
  switch (saved) {
    case companions::RepeatSave::Saved:
      return true;
    case companions::RepeatSave::Invalid:
      plat::ShowMessageBox(dialog, kInvalidRepeatRules, kCheckCaption, plat::kMbOk);
      return false;
    case companions::RepeatSave::WriteFailed:
      TellFileNotWritten(dialog, kRepeatFileNotWritten, path);
      return false;
  }
  return false;
}

bool SaveRepeatRulesOrTell(plat::Window dialog) {
  return TellUnlessRulesSaved(dialog, SaveRepeatRules(dialog), jobstore::RepeatFilePath);
}

}  // namespace editor
