#include "editor/new_job_name.h"

#include "editor/colors.h"
#include "editor/messages.h"
#include "jobstore/job_names.h"
#include "jobstore/jobs.h"
#include "resources/control_ids.h"
#include "resources/templates.h"

namespace editor {

int NewJobName::DoModal(plat::Window owner) {
  name_.clear();
  return plat::RunModalDialog(res::kJobNameDialog, *this, owner);
}

bool NewJobName::OnInitDialog(plat::Window) { return true; }

void NewJobName::OnCommand(plat::Window dialog, int controlId, int code) {
  if (code != plat::kBnClicked) return;
  if (controlId == plat::kIdOk) {
    Confirm(dialog);
  } else if (controlId == plat::kIdCancel) {
    plat::EndModalDialog(dialog, plat::kIdCancel);
  }
}

// OK: an empty edit does nothing; a name that cannot be a new job's name
// keeps the dialog open with the reason; an existing job is written over
// only when the user says so.
void NewJobName::Confirm(plat::Window dialog) {
  std::string entered = plat::GetControlText(dialog, res::kJobNameEdit, 512);
  if (entered.empty()) return;
  std::string name = jobstore::CleanJobName(entered);

  auto tryAgain = [&](const std::string& message, const char* caption, unsigned type) {
    plat::ShowMessageBox(dialog, message.c_str(), caption, type);
    plat::SetFocusTo(dialog, res::kJobNameEdit);
    plat::SelectAllText(dialog, res::kJobNameEdit);
  };
  jobstore::JobNameProblem problem = jobstore::CheckNewJobName(name.c_str());
  if (problem != jobstore::JobNameProblem::None) {
    tryAgain(jobstore::JobNameProblemText(problem), kCheckCaption, plat::kMbOk);
    return;
  }
  std::string folder = jobstore::JobFolderOf(name.c_str());
  if (plat::PathExists(folder.c_str()) && !plat::IsDirectory(folder.c_str())) {
    tryAgain("同じ名前のファイルがあるため、この処理作業名は使えません。\n\n別の処理作業名を入力してください。",
             kCheckCaption, plat::kMbOk);
    return;
  }
  if (plat::IsDirectory(folder.c_str())) {
    std::string question = "処理作業「" + name +
                           "」は既にあります。\n\n作業中の操作定義で上書きしますか？";
    if (plat::ShowMessageBox(dialog, question.c_str(), kAppCaption, plat::kMbYesNo) !=
        plat::kIdYes) {
      plat::SetFocusTo(dialog, res::kJobNameEdit);
      plat::SelectAllText(dialog, res::kJobNameEdit);
      return;
    }
  }
  name_ = name;
  plat::EndModalDialog(dialog, plat::kIdOk);
}

plat::CtlColorAnswer NewJobName::OnCtlColor(plat::Window, plat::CtlColorKind kind, int) {
  return JobNameDialogColor(kind);
}

}  // namespace editor
