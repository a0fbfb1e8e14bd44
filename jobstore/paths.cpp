#include "jobstore/paths.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "jobstore/files.h"
#include "platform/platform.h"
#include "text/sjis.h"

namespace jobstore {

char JobName[kJobNameSize];
const char DraftJobName[] = "＿作業作成中＿〔下書き〕";

char ModulePath[kPathSize];
char RecordFilePath[kPathSize];
char RecordScrambledPath[kPathSize];
char InspectFilePath[kPathSize];
char InspectScrambledPath[kPathSize];
char RepeatFilePath[kPathSize];
char CaptureFilePath[kPathSize];

char* const JobFilePaths[kJobFileCount] = {RecordFilePath,       RecordScrambledPath, InspectFilePath,
                                           InspectScrambledPath, RepeatFilePath,      CaptureFilePath};

namespace {

char sharedFolder[kPathSize];

// The longest file name a job folder receives, with its separator.
constexpr std::size_t kLongestFileSuffix = std::char_traits<char>::length("\\KeyInspec.def.psw");

// Copies `a` followed by `b` into a buffer of `size` bytes; false (and the
// buffer left empty) when the result would not fit.
bool JoinInto(char* out, std::size_t size, const char* a, const char* b) {
  std::size_t la = std::strlen(a), lb = std::strlen(b);
  if (la + lb + 1 > size) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, a, la);
  std::memcpy(out + la, b, lb + 1);
  return true;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Creates the folder and every missing folder above it, component by
// component: a one-letter first component is a drive (nothing is created
// when the drive is missing), any other is a network server.
void CreateFolderChain(const char* folder) {
  char working[kPathSize] = "";
  char component[kPathSize];
  const char* rest = folder;
  for (int index = 0; (rest = NextPathComponent(rest, component)) != nullptr; ++index) {
    if (index == 0) {
      if (std::strlen(component) == 1 && IsAsciiLetter(component[0])) {
        std::snprintf(working, sizeof working, "%c:", component[0]);
        if (!plat::PathExists(working)) return;
      } else if (std::strcmp(component, ".") == 0 && folder[0] == '.') {
        working[0] = '.', working[1] = '\0';  // a relative program folder
      } else if (!JoinInto(working, sizeof working, "\\\\", component)) {
        return;
      }
      continue;
    }
    std::size_t len = std::strlen(working);
    if (len + 1 + std::strlen(component) + 1 > sizeof working) return;
    working[len] = '\\';
    std::strcpy(working + len + 1, component);
    if (!plat::PathExists(working) && !plat::CreateFolder(working)) return;
  }
}

// Paths of a job named with `nameLength` bytes fit beside the program folder.
bool Fits(std::size_t folderLength, std::size_t nameLength) {
  return folderLength + nameLength + kLongestFileSuffix < kPathSize;
}

}  // namespace

std::string ProgramFolder() {
  EnsureModulePath();
  return ModulePath[0] == '\0' ? std::string(".\\") : std::string(FolderOfPath(ModulePath));
}

long FindLastChar(const char* text, char c) {
  if (text == nullptr || text[0] == '\0') return -1;
  for (long i = static_cast<long>(std::strlen(text)) - 1; i >= 0; --i) {
    if (text[i] == c && text::BeginsCharacter(text, static_cast<std::size_t>(i))) return i;
  }
  return -1;
}

const char* NextPathComponent(const char* text, char* component) {
  component[0] = '\0';
  if (text == nullptr || text[0] == '\0') return nullptr;
  bool quoted = false, begun = false;
  std::size_t copied = 0;
  std::size_t i = 0;
  for (; text[i] != '\0' && copied < kPathSize - 1; ++i) {
    char b = text[i];
    if (b == '"') {
      quoted = !quoted;
      if (quoted) begun = true;
    } else if (quoted) {
      component[copied++] = b;
    } else if ((b == ':' || b == '\\') && text::BeginsCharacter(text, i)) {
      if (begun) break;
    } else {
      component[copied++] = b;
      begun = true;
    }
  }
  component[copied] = '\0';
  return copied == 0 ? nullptr : text + i;
}

const char* FolderOfPath(const char* path) {
  if (path == nullptr || path[0] == '\0') {
    std::strcpy(sharedFolder, ".\\");
    return sharedFolder;
  }
  if (plat::IsDirectory(path)) return path;
  std::strncpy(sharedFolder, path, kPathSize - 1);
  sharedFolder[kPathSize - 1] = '\0';
  long slash = FindLastChar(sharedFolder, '\\');
  if (slash < 0) {
    std::strcpy(sharedFolder, ".\\");
  } else {
    sharedFolder[slash + 1] = '\0';
  }
  return sharedFolder;
}

ModulePathStatus EnsureModulePath(std::string* shown) {
  if (ModulePath[0] != '\0') return ModulePathStatus::Known;
  bool exact = true;
  std::string path = plat::ModuleFileName(&exact);
  if (shown != nullptr) *shown = path;
  if (path.empty()) return ModulePathStatus::Unknown;
  if (!exact) return ModulePathStatus::NotShiftJis;
  if (path.size() >= kPathSize) return ModulePathStatus::TooLong;
  std::strcpy(ModulePath, path.c_str());
  return ModulePathStatus::Known;
}

std::size_t LongestJobName() {
  if (EnsureModulePath() != ModulePathStatus::Known) return 0;
  std::size_t folder = ProgramFolder().size();
  return Fits(folder, 1) ? kPathSize - 1 - kLongestFileSuffix - folder : 0;
}

std::size_t DeepestProgramFolderFor(const char* name) {
  std::size_t used = std::strlen(name) + kLongestFileSuffix;
  return used < kPathSize - 1 ? kPathSize - 1 - used : 0;
}

bool JobPathsFit(const char* name) {
  return EnsureModulePath() == ModulePathStatus::Known && Fits(ProgramFolder().size(), std::strlen(name));
}

bool PrepareJobPaths() {
  char folder[kPathSize];
  std::string program = ProgramFolder();
  bool fits = JoinInto(folder, sizeof folder, program.c_str(), JobName) &&
              std::strlen(folder) + kLongestFileSuffix < kPathSize;
  if (!fits) {
    for (char* path : JobFilePaths) path[0] = '\0';
    return false;
  }
  if (!plat::PathExists(folder)) CreateFolderChain(folder);
  // The fit was checked above: none of these is cut.
  std::string base(folder);
  JoinInto(RecordFilePath, kPathSize, base.c_str(), "\\KeyRecord.def");
  JoinInto(RecordScrambledPath, kPathSize, RecordFilePath, ".psw");
  JoinInto(InspectFilePath, kPathSize, base.c_str(), "\\KeyInspec.def");
  JoinInto(InspectScrambledPath, kPathSize, InspectFilePath, ".psw");
  JoinInto(RepeatFilePath, kPathSize, base.c_str(), "\\KeyRepeat.def");
  JoinInto(CaptureFilePath, kPathSize, base.c_str(), "\\KeyCapture.def");
  RemoveLeftoverTemporaries();
  return true;
}

void ResetPaths() {
  JobName[0] = ModulePath[0] = sharedFolder[0] = '\0';
  for (char* path : JobFilePaths) path[0] = '\0';
}

}  // namespace jobstore
