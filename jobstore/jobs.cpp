#include "jobstore/jobs.h"

#include <cstring>
#include <string>
#include <vector>

#include "jobstore/job_names.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"
#include "text/sjis.h"

namespace jobstore {

namespace {

// The folder's listing pattern: a backslash appended unless the folder ends
// with one (not a second byte of a two-byte character), then "*.*".
std::string ListingPattern(std::string folder) {
  if (FindLastChar(folder.c_str(), '\\') != static_cast<long>(folder.size()) - 1) folder += '\\';
  return folder + "*.*";
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Empties a folder and removes it. A link is removed as itself, never entered.
bool RemoveTree(const std::string& folder) {
  std::vector<plat::FolderEntry> entries;
  if (!plat::ListFolder((folder + "\\*.*").c_str(), entries)) return false;
  for (const plat::FolderEntry& e : entries) {
    if (IsDotEntry(e.name)) continue;
    std::string path = folder + "\\" + e.name;
    if (e.isDirectory && !e.isReparsePoint) {
      RemoveTree(path);
    } else if (e.isDirectory) {
      plat::RemoveFolder(path.c_str());
    } else {
      plat::DeleteFileAt(path.c_str());
    }
  }
  return plat::RemoveFolder(folder.c_str());
}

// True when `folder` is the program folder followed by one plain name.
bool IsDirectSubfolderOfProgram(const std::string& folder) {
  std::string program = ProgramFolder();
  if (folder.size() <= program.size() || folder.compare(0, program.size(), program) != 0) return false;
  std::string name = folder.substr(program.size());
  if (IsDotEntry(name)) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if ((name[i] == '\\' || name[i] == '/' || name[i] == ':') && text::BeginsCharacter(name.c_str(), i)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> ListJobs() {
  std::vector<std::string> jobs;
  std::vector<plat::FolderEntry> entries;
  if (!plat::ListFolder(ListingPattern(ProgramFolder()).c_str(), entries)) return jobs;
  for (const plat::FolderEntry& e : entries) {
    if (!e.isDirectory || IsDotEntry(e.name) || !IsUsableJobName(e.name.c_str())) continue;
    jobs.push_back(e.name);
  }
  return jobs;
}

std::string JobFolderOf(const char* name) { return ProgramFolder() + name; }

bool DeleteFolderTree(const char* folder) {
  std::string root = folder != nullptr ? folder : "";
  if (!IsDirectSubfolderOfProgram(root) || !plat::IsDirectory(root.c_str())) return false;
  if (plat::IsReparsePoint(root.c_str())) return plat::RemoveFolder(root.c_str());
  return RemoveTree(root);
}

bool SaveAndDropCurrentJob() {
  if (!SaveDefinitionLines()) return false;
  FreeDefinitionLines();
  return true;
}

void EnterJob(const char* name) {
  std::strncpy(JobName, name, kJobNameSize - 1);
  JobName[kJobNameSize - 1] = '\0';
  PrepareJobPaths();
}

Unscramble LoadCurrentJob() {
  Unscramble result = UnscrambleRecordFile();
  LoadDefinitionLines();
  return result;
}

}  // namespace jobstore
