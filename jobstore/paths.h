// The job folder beside the program and the paths of the job's files.
#pragma once

#include <cstddef>
#include <string>

namespace jobstore {

constexpr std::size_t kPathSize = 260;  // 259 bytes of text and the terminator
constexpr std::size_t kJobNameSize = 512;

extern char JobName[kJobNameSize];
extern const char DraftJobName[];  // "＿作業作成中＿〔下書き〕"

extern char ModulePath[kPathSize];
extern char RecordFilePath[kPathSize];
extern char RecordScrambledPath[kPathSize];
extern char InspectFilePath[kPathSize];
extern char InspectScrambledPath[kPathSize];
extern char RepeatFilePath[kPathSize];
// What a recording of the user's input brings back (KeyCapture.def), there
// only until the editor has taken its lines.
extern char CaptureFilePath[kPathSize];

// The job's six files, in this order: RecordFilePath, RecordScrambledPath,
// InspectFilePath, InspectScrambledPath, RepeatFilePath, CaptureFilePath.
constexpr int kJobFileCount = 6;
extern char* const JobFilePaths[kJobFileCount];

// Last position where byte c stands as a whole character; -1 for none.
long FindLastChar(const char* text, char c);

// Copies the next path component (separators ':' and '\', quotes toggle
// quoting and are dropped) into `component` (at least kPathSize bytes) and
// returns where to continue; nullptr when no component was produced.
const char* NextPathComponent(const char* text, char* component);

// The folder part of a path, ending with a backslash, in a shared buffer that
// every call overwrites; the path itself when it names an existing folder;
// ".\" when there is no path or no backslash.
const char* FolderOfPath(const char* path);

// Why ModulePath could not be filled.
enum class ModulePathStatus {
  Known,
  Unknown,      // the system gives no path
  NotShiftJis,  // a character of the path has no Shift-JIS form
  TooLong,      // 260 bytes or more in Shift-JIS
};

// Fills ModulePath from the system when it is empty. When it stays empty,
// `shown` (if given) receives the path as far as it can be shown to the user,
// with '?' for characters that Shift-JIS cannot spell.
ModulePathStatus EnsureModulePath(std::string* shown = nullptr);

// The program folder as FolderOfPath(ModulePath) gives it (ending with a
// backslash), copied; ".\" when the program's path is unknown.
std::string ProgramFolder();

// The longest job name whose paths fit beside the program; 0 when none
// fits (or the program's path is not known).
std::size_t LongestJobName();

// Rebuilds the job folder from JobName, creates it when missing, fills the
// paths and removes what an interrupted save left in the folder
// (RemoveLeftoverTemporaries). False when a path would not fit its buffer: the
// paths are then empty and nothing was created.
bool PrepareJobPaths();

// The deepest program folder (in bytes, with its closing backslash) beside
// which the paths of job `name` still fit.
std::size_t DeepestProgramFolderFor(const char* name);

// Whether the paths of job `name` fit beside the program (false while
// the program's path is not known). The rest of the rule for a job's name is
// in job_names.h.
bool JobPathsFit(const char* name);

// Back to the state before start-up (for the tests).
void ResetPaths();

}  // namespace jobstore
