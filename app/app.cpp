#include "app/app.h"

#include <cstring>
#include <new>
#include <string>

#include "app/commands.h"
#include "companions/contract.h"
#include "editor/colors.h"
#include "editor/features.h"
#include "editor/main_dialog.h"
#include "editor/new_job_name.h"
#include "editor/state.h"
#include "jobstore/jobs.h"
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

    editor::CreateDialogBrushes();
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

namespace {

// The five files of the job whose paths are current.
struct JobFiles {
  std::string paths[5];
  JobFiles() {
    const char* current[5] = {jobstore::RecordFilePath, jobstore::RecordScrambledPath, jobstore::InspectFilePath,
                              jobstore::InspectScrambledPath, jobstore::RepeatFilePath};
    for (int i = 0; i < 5; ++i) paths[i] = current[i];
  }
  void Delete() const {
    for (const std::string& path : paths) plat::DeleteFileAt(path.c_str());
  }
};

// The draft job with lines gets a name before the editor ends: its repeat
// rules and lines are written under the new name first, and only then are the
// draft's files deleted. A cancelled name dialog leaves the job the draft.
// False when a write under the new name failed: the user has been told, the
// job is the draft again with its files, and the editor stays open.
bool NameDraftJob(plat::Window dialog) {
  if (std::strcmp(jobstore::JobName, jobstore::DraftJobName) != 0 || jobstore::LineCount() == 0) return true;
  editor::NewJobName ask;
  if (ask.DoModal(dialog) != plat::kIdOk) return true;

  const JobFiles draft;
  const std::string folder = jobstore::JobFolderOf(ask.Name().c_str());
  const bool folderExisted = plat::IsDirectory(folder.c_str());
  std::strcpy(jobstore::JobName, ask.Name().c_str());  // a usable name: shorter than 256 bytes
  bool saved = jobstore::PrepareJobPaths() && editor::SaveRepeatRulesOrTell(dialog);
  if (saved && !jobstore::SaveDefinitionLines()) {
    ReportSaveFailure();
    saved = false;
  }
  if (!saved) {
    if (!folderExisted) {  // leave no half-made job behind
      JobFiles().Delete();
      plat::RemoveFolder(folder.c_str());
    }
    std::strcpy(jobstore::JobName, jobstore::DraftJobName);
    jobstore::PrepareJobPaths();
    return false;
  }
  draft.Delete();
  editor::MarkJobModified(dialog);  // the dialog ends with OK and the lines are stored scrambled
  return true;
}

}  // namespace

void SaveAndExit(plat::Window dialog) {
  if (plat::KeyPressedSinceLastQuery(plat::kVkReturn)) return;
  if (!editor::SaveRepeatRulesOrTell(dialog)) return;
  if (!NameDraftJob(dialog)) return;
  jobstore::PrepareJobPaths();
  plat::EndModalDialog(dialog, editor::JobModified ? plat::kIdOk : plat::kIdCancel);
}

void CancelEditing(plat::Window dialog) {
  if (plat::KeyPressedSinceLastQuery(plat::kVkEscape)) return;
  if (editor::JobModified &&
      plat::ShowMessageBox(dialog, "処理作業で変更した定義は失われます。\n\nよろしいですか？",
                           kAppCaption, plat::kMbYesNo) != plat::kIdYes) {
    return;
  }
  plat::EndModalDialog(dialog, plat::kIdCancel);
}

}  // namespace app
