// The jobs beside the program: every subfolder of the program folder.
#pragma once

#include "platform/platform.h"

namespace jobstore {

// Fills the job list (a sorted drop-down list) with the program folder's
// subfolders and selects the current job; no entry is selected when the
// current job is not among them.
void FillJobList(plat::Window dialog, int comboId);

// Selects the entry whose text is JobName; none when there is no such entry.
void SelectCurrentJob(plat::Window dialog, int comboId);

}  // namespace jobstore
