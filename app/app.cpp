#include "app/app.h"

#include <cstring>
#include <new>
#include <string>

#include "app/commands.h"
#include "companions/contract.h"
#include "editor/main_dialog.h"
#include "editor/state.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"

namespace app {

namespace {

constexpr char kAppCaption[] = "タヴォレクス";
constexpr char kMutexName[] = "Tavolex";
constexpr std::size_t kJobNameCut = 255;

// Running out of memory ends the program at once, without saving anything.
void OutOfMemory() {
  plat::ShowMessageBox(plat::FocusWindow(), "SYSTEM RESOURCE EMPTY!", "SYSTEM ERROR!", plat::kMbOk);
  plat::ExitProcess(1);
}

// The job named on the command line: exactly one non-empty argument, cut to
// its first 255 bytes, that makes a plain folder name beside the program.
// Anything else edits the draft job.
void ChooseJob(const std::vector<std::string>& args) {
  std::strcpy(jobstore::JobName, jobstore::DraftJobName);
  if (args.size() != 1 || args[0].empty()) return;
  std::string name = args[0].substr(0, kJobNameCut);
  if (jobstore::IsUsableJobName(name.c_str())) std::strcpy(jobstore::JobName, name.c_str());
}

void ReportSaveFailure() {
  std::string message = "操作定義を保存できませんでした。\n\n";
  message += jobstore::RecordFilePath;
  message += "\n\n保存先のフォルダーとディスクの空き容量を確認してください。";
  plat::ShowMessageBox(plat::kNoWindow, message.c_str(), kAppCaption,
                       plat::kMbOk | plat::kMbIconWarning);
}

class CTavolexApp {
 public:
  // The start-up routine: runs the editor and always answers false, so no
  // message loop follows the dialog.
  bool InitInstance(const std::vector<std::string>& args) {
    if (!plat::AcquireSingleInstance(kMutexName)) return false;

    ChooseJob(args);
    jobstore::PrepareJobPaths();
    companions::BuildCompanionPaths();
    jobstore::UnscrambleRecordFile();
    jobstore::LoadDefinitionLines();

    editor::CTavolexDlg dialog;
    int result = dialog.DoModal();

    if (result == plat::kIdOk) {
      if (jobstore::SaveDefinitionLines()) {
        jobstore::ScrambleFile(jobstore::RecordFilePath);
      } else {
        ReportSaveFailure();
      }
    }
    jobstore::FreeDefinitionLines();
    companions::TerminateCompanion(companions::PickerProcessId);
    companions::TerminateCompanion(companions::RunnerProcessId);
    plat::DeleteFileAt(jobstore::InspectFilePath);
    plat::DeleteFileAt(jobstore::InspectScrambledPath);
    return false;
  }
};

}  // namespace

int RunTavolex(const std::vector<std::string>& args) {
  std::set_new_handler(OutOfMemory);
  CTavolexApp application;
  application.InitInstance(args);
  return 0;
}

void SaveAndExit(plat::Window dialog) {
  // Enter in the dialog raises this command too; only a click or Space acts.
  if (plat::KeyDownForCurrentMessage(plat::kVkReturn)) return;
  jobstore::PrepareJobPaths();
  plat::EndModalDialog(dialog, editor::JobModified ? plat::kIdOk : plat::kIdCancel);
}

void CancelEditing(plat::Window dialog) {
  // Escape raises this command too; it never closes the editor.
  if (plat::KeyDownForCurrentMessage(plat::kVkEscape)) return;
  if (editor::JobModified &&
      plat::ShowMessageBox(dialog, "処理作業で変更した定義は失われます。\n\nよろしいですか？",
                           kAppCaption, plat::kMbYesNo) != plat::kIdYes) {
    return;
  }
  plat::EndModalDialog(dialog, plat::kIdCancel);
}

}  // namespace app
