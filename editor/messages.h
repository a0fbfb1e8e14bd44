// The captions and the file-write message the program shows.
#pragma once

#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"

namespace editor {

constexpr char kAppCaption[] = "タヴォレクス";  // questions and warnings
constexpr char kCheckCaption[] = "データ検査";  // refused input

// Warns that a file could not be written: `what` (the message's first
// sentence), the file's path, and where to look.
void TellFileNotWritten(plat::Window owner, const char* what, const char* path);

// The operation lines could not be saved to KeyRecord.def.
void TellLinesNotSaved(plat::Window owner, const char* path = jobstore::RecordFilePath);
// The lines were saved in plain form, but their scrambled form could not be
// written.
void TellLinesNotScrambled(plat::Window owner);
// The scrambled form of the lines could not be made plain, or not removed
// (at start-up or when switching to the job); other results need no word.
void TellUnscrambleProblem(plat::Window owner, jobstore::Unscramble result);

}  // namespace editor
