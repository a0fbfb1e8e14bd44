// Recording the user's input as rows: the runner records while the editor is
// hidden, and the rows it brings back are inserted as one step.
#include <string>
#include <vector>

#include "companions/contract.h"
#include "companions/recording.h"
#include "companions/screen.h"
#include "companions/test_run.h"
#include "companions/window_titles.h"
#include "editor/features.h"
#include "editor/messages.h"
#include "editor/row_clipboard.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "operations/scrambled.h"

namespace editor {

namespace {

constexpr int kRecorderTimer = 778;
constexpr unsigned kRecorderPollMs = 1000;

void Tell(plat::Window dialog, const std::string& message, unsigned icon) {
  plat::ShowMessageBox(dialog, message.c_str(), kAppCaption, plat::kMbOk | icon);
}

// The closing word: how many rows came, and what the recorder skipped.
std::string RecordingReport(const companions::Recording& recording) {
  std::string message =
      recording.lines.empty()
          ? std::string("記録された操作はありません。")
          : std::to_string(recording.lines.size()) +
                " 件の操作を記録して追加しました。\n\n元に戻すときは Ctrl+Z を押してください。";
  if (!recording.skipped.empty() || recording.refusedLines > 0) {
    message += "\n\n記録しなかった操作：";
    for (const std::string& note : recording.skipped) message += "\n・" + note;
    if (recording.refusedLines > 0) {
      message += "\n・操作の定義の形式に合わない行 " + std::to_string(recording.refusedLines) + "件";
    }
  }
  return message;
}

// The runner has ended: its rows, or why there are none. The file goes
// whatever it holds.
void TakeRecording(plat::Window dialog, unsigned exitCode) {
  std::string bytes;
  const bool read = exitCode == companions::kRecordingDone && ops::ReadFileBytes(jobstore::CaptureFilePath, &bytes);
  const bool unreadable = exitCode == companions::kRecordingDone && !read && plat::PathExists(jobstore::CaptureFilePath);
  plat::DeleteFileAt(jobstore::CaptureFilePath);
  if (unreadable) {
    Tell(dialog, std::string("記録した操作のファイルを読み込めませんでした。\n\n") + jobstore::CaptureFilePath +
                     "\n\n操作は追加していません。",
         plat::kMbIconWarning);
    return;
  }
  if (exitCode == companions::kRunnerBusy) {
    Tell(dialog,
         "ほかの操作を実行中のため、記録を始められませんでした。\n\n実行が終わってから、もう一度記録してください。",
         plat::kMbIconWarning);
    return;
  }
  if (exitCode != companions::kRecordingDone) {
    Tell(dialog, "記録は最後まで行われませんでした（終了コード " + std::to_string(static_cast<long long>(exitCode)) +
                     "）。\n\n操作は追加していません。",
         plat::kMbIconWarning);
    return;
  }
  const companions::Recording recording = companions::ReadRecording(bytes);
  if (!recording.lines.empty()) InsertLinesAtEditedRow(dialog, recording.lines);
  Tell(dialog, RecordingReport(recording), plat::kMbIconInformation);
}

}  // namespace

void StartRecording(plat::Window dialog) {
  if (companions::IsProcessAlive(companions::RunnerProcessId)) {
    Tell(dialog, "動作試験の実行中は操作を記録できません。\n\n実行が終わってから、もう一度記録してください。",
         plat::kMbIconWarning);
    return;
  }
  // A file an earlier recording left must not pass for this one's.
  plat::DeleteFileAt(jobstore::CaptureFilePath);
  if (plat::PathExists(jobstore::CaptureFilePath)) {
    Tell(dialog, std::string("前の記録のファイルを削除できないため、記録を始められません。\n\n") +
                     jobstore::CaptureFilePath + "\n\nファイルが読み取り専用になっていないか確認してください。",
         plat::kMbIconWarning);
    return;
  }
  plat::ShowWindowCmd(dialog, plat::kSwHide);
  companions::HideWindowByTitle(companions::PickerTitleText);
  // What the user copies while recording must not reach the edited row.
  companions::HoldAnswersForTestRun();
  companions::RunnerProcessId = companions::StartRecorder(jobstore::CaptureFilePath);
  if (companions::RunnerProcessId == 0) {
    ShowEditorAfterRun(dialog);
    Tell(dialog, std::string("操作を記録するプログラムを起動できませんでした。\n\n") + companions::RunnerToolPath +
                     "\n\nプログラムがこの場所にあるか確認してください。",
         plat::kMbIconWarning);
    return;
  }
  plat::StartTimer(dialog, kRecorderTimer, kRecorderPollMs);
}

bool RecordingTimer(plat::Window dialog, int timerId) {
  if (timerId != kRecorderTimer) return false;
  unsigned exitCode = plat::kUnknownExitCode;
  if (!plat::StartedProcessEnded(companions::RunnerProcessId, &exitCode)) {
    plat::StartTimer(dialog, kRecorderTimer, kRecorderPollMs);
    return true;
  }
  companions::RunnerProcessId = 0;
  ShowEditorAfterRun(dialog);
  TakeRecording(dialog, exitCode);
  return true;
}

}  // namespace editor
