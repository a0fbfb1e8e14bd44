// The jobs beside the program: every subfolder of the program folder.
#pragma once

#include <string>
#include <vector>

#include "jobstore/scramble.h"

namespace jobstore {

// The jobs beside the program: the names of the program folder's subfolders,
// as the system lists them. Folders that cannot be a job's name (one the
// command line would refuse too) are left out.
std::vector<std::string> ListJobs();

// The folder of the job `name`: the program folder followed by the name.
std::string JobFolderOf(const char* name);

// Removes a job's folder with everything in it, depth first. Only a direct
// subfolder of the program folder is removed; links (junctions, symbolic
// links) met on the way are removed themselves and never entered, so nothing
// outside the folder is touched. True when the folder is gone.
bool DeleteFolderTree(const char* folder);

// Switching jobs, the job store's steps. Writes the current job's lines in
// plain form and frees them; false (the lines kept) when the write failed.
bool SaveAndDropCurrentJob();
// Makes `name` (a listed job, shorter than 256 bytes) the current job and
// points the paths into its folder, which is created when it has gone.
void EnterJob(const char* name);
// Reads the current job's lines, its scrambled file made plain first; what
// the unscrambling did.
Unscramble LoadCurrentJob();


}  // namespace jobstore
