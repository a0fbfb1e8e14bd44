// The job-name dialog (template 105): asks for the name of the draft job.
#pragma once

#include <string>

#include "platform/platform.h"

namespace editor {

class NewJobName : public plat::DialogHandler {
 public:
  // Runs the dialog modally over `owner`; kIdOk or kIdCancel. On OK, Name()
  // is the entered name, cleaned and usable as a new job's folder name.
  int DoModal(plat::Window owner);
  const std::string& Name() const { return name_; }

  bool OnInitDialog(plat::Window dialog) override;
  void OnCommand(plat::Window dialog, int controlId, int code) override;
  plat::CtlColorAnswer OnCtlColor(plat::Window dialog, plat::CtlColorKind kind,
                                  int controlId) override;

 private:
  void Confirm(plat::Window dialog);

  std::string name_;
};

}  // namespace editor
