#include "jobstore/jobs.h"

#include <cstring>
#include <string>
#include <vector>

#include "jobstore/paths.h"

namespace jobstore {

void FillJobList(plat::Window dialog, int comboId) {
  EnsureModulePath();
  std::string pattern = FolderOfPath(ModulePath);
  plat::ComboReset(dialog, comboId);
  // A backslash that is the second byte of a two-byte character does not end the folder.
  if (FindLastChar(pattern.c_str(), '\\') != static_cast<long>(pattern.size()) - 1) pattern += '\\';
  pattern += "*.*";
  std::vector<plat::FolderEntry> entries;
  if (plat::ListFolder(pattern.c_str(), entries)) {
    for (const plat::FolderEntry& e : entries) {
      if (e.isDirectory && e.name != "." && e.name != "..") plat::ComboAdd(dialog, comboId, e.name.c_str());
    }
  }
  plat::ComboSetSelection(dialog, comboId, 0);
  SelectCurrentJob(dialog, comboId);
}

void SelectCurrentJob(plat::Window dialog, int comboId) {
  int count = plat::ComboCount(dialog, comboId);
  for (int i = 0; i < count; ++i) {
    if (plat::ComboItemText(dialog, comboId, i) == JobName) {
      plat::ComboSetSelection(dialog, comboId, i);
      return;
    }
  }
  plat::ComboSetSelection(dialog, comboId, -1);
}

}  // namespace jobstore
