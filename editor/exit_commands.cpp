// Buttons 1 and 2 of the main dialog, and the naming of the draft job that
// saving it asks for.
#include "editor/exit_commands.h"

#include <cstring>
#include <string>

#include "editor/features.h"
#include "editor/messages.h"
#include "editor/new_job_name.h"
#include "editor/state.h"
#include "jobstore/files.h"
#include "jobstore/jobs.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"

namespace editor {

namespace {

// The five files of the job whose paths are current.
struct JobFiles {
  std::string paths[jobstore::kJobFileCount];
  JobFiles() {
    for (int i = 0; i < jobstore::kJobFileCount; ++i) paths[i] = jobstore::JobFilePaths[i];
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
  NewJobName ask;
  if (ask.DoModal(dialog) != plat::kIdOk) return true;

  const JobFiles draft;
  const std::string folder = jobstore::JobFolderOf(ask.Name().c_str());
  const bool folderExisted = plat::IsDirectory(folder.c_str());
  std::strcpy(jobstore::JobName, ask.Name().c_str());  // a usable name: shorter than 256 bytes
  bool saved = jobstore::PrepareJobPaths();
  // An existing job's repeat rules go back as they were when its lines fail.
  const jobstore::FileSnapshot repeatRules(jobstore::RepeatFilePath);
  saved = saved && SaveRepeatRulesOrTell(dialog);
  if (saved && !jobstore::SaveDefinitionLines()) {
    TellLinesNotSaved(plat::kNoWindow);
    saved = false;
  }
  if (!saved) {
    if (!folderExisted) {  // leave no half-made job behind
      JobFiles().Delete();
      plat::RemoveFolder(folder.c_str());
    } else if (!repeatRules.Restore()) {
      TellFileNotWritten(dialog, "繰返し処理の設定を元に戻せませんでした。", jobstore::RepeatFilePath);
    }
    std::strcpy(jobstore::JobName, jobstore::DraftJobName);
    jobstore::PrepareJobPaths();
    return false;
  }
  draft.Delete();
  MarkJobModified(dialog);  // the dialog ends with OK and the lines are stored scrambled
  return true;
}

}  // namespace

void SaveAndExit(plat::Window dialog) {
  // Enter in the dialog raises this command too; only a click or Space acts.
  if (plat::KeyDownForCurrentMessage(plat::kVkReturn)) return;
  if (!SaveRepeatRulesOrTell(dialog)) return;
  if (!NameDraftJob(dialog)) return;
  jobstore::PrepareJobPaths();
  plat::EndModalDialog(dialog, JobModified ? plat::kIdOk : plat::kIdCancel);
}

void CancelEditing(plat::Window dialog) {
  // Escape raises this command too; it never closes the editor.
  if (plat::KeyDownForCurrentMessage(plat::kVkEscape)) return;
  if (JobModified &&
      plat::ShowMessageBox(dialog, "処理作業で変更した定義は失われます。\n\nよろしいですか？",
                           kAppCaption, plat::kMbYesNo) != plat::kIdYes) {
    return;
  }
  plat::EndModalDialog(dialog, plat::kIdCancel);
}

}  // namespace editor
