// The job folder beside the program and the paths of the job's files.
#pragma once

#include <cstddef>

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

// Fills ModulePath from the system when it is empty.
void EnsureModulePath();

// Rebuilds the job folder from JobName, creates it when missing and fills the
// five paths. False when a path would not fit its buffer: the five paths are
// then empty and nothing was created.
bool PrepareJobPaths();

// Whether `name` may name a job: a plain folder name whose paths fit.
bool IsUsableJobName(const char* name);

// Back to the state before start-up (for the tests).
void ResetPaths();

}  // namespace jobstore
