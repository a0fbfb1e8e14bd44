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

// The draft job with lines gets a name before the editor ends: its lines and
// repeat rules are written under the new name first, and only then are the
// draft's files deleted. A cancelled name dialog leaves the job the draft.
// False when a write under the new name failed: what it changed is put back
// before the user is told (a message can outlive the process: a logoff, the
// Task Manager), the job is the draft again with its files, and the editor
// stays open.
bool NameDraftJob(plat::Window dialog) {
  if (std::strcmp(jobstore::JobName, jobstore::DraftJobName) != 0 || jobstore::LineCount() == 0) return true;
  NewJobName ask;
  if (ask.DoModal(dialog) != plat::kIdOk) return true;

  const JobFiles draft;
  const std::string folder = jobstore::JobFolderOf(ask.Name().c_str());
  const bool folderExisted = plat::IsDirectory(folder.c_str());
  std::strcpy(jobstore::JobName, ask.Name().c_str());  // a usable name: shorter than 256 bytes
  const bool pathsReady = jobstore::PrepareJobPaths();
  const std::string linesPath = jobstore::RecordFilePath, rulesPath = jobstore::RepeatFilePath;
  // An existing job's lines, to put back when its rules cannot follow them.
  const jobstore::FileSnapshot lines(jobstore::RecordFilePath);

  // The lines first: a failed write leaves its file as it was, so nothing has
  // changed yet when they fail. The rules were written for the draft a
  // moment ago.
  const bool linesSaved = pathsReady && jobstore::SaveDefinitionLines();
  const companions::RepeatSave rulesSaved =
      linesSaved ? SaveRepeatRules(dialog) : companions::RepeatSave::WriteFailed;
  if (linesSaved && rulesSaved == companions::RepeatSave::Saved) {
    draft.Delete();
    MarkJobModified(dialog);  // the dialog ends with OK and the lines are stored scrambled
    return true;
  }

  bool putBack = true;
  if (!folderExisted) {  // leave no half-made job behind
    JobFiles().Delete();
    plat::RemoveFolder(folder.c_str());
  } else if (linesSaved) {
    putBack = lines.Restore();
  }
  std::strcpy(jobstore::JobName, jobstore::DraftJobName);
  jobstore::PrepareJobPaths();

  if (!pathsReady) return false;
  if (!linesSaved) {
    TellLinesNotSaved(dialog, linesPath.c_str());
  } else {
    TellUnlessRulesSaved(dialog, rulesSaved, rulesPath.c_str());
  }
  if (!putBack) TellFileNotWritten(dialog, "操作定義を元に戻せませんでした。", linesPath.c_str());
  return false;
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
