// Converting the job's definition files to and from their scrambled ".psw"
// form (operations/scrambled.h holds the byte rule and reads such a file).
#pragma once

namespace jobstore {

// Converts the plain file at `path` into `path` + ".psw" and deletes the
// plain file. The input is deleted only when the whole copy succeeded; the
// scrambled file appears only complete. True on success.
bool ScrambleFile(const char* path);

// Which of the two forms of the operation lines a job's lines are read from:
// the one written last. A plain file newer than the scrambled one (saved after
// a scrambling that failed) wins; with equal times the scrambled form does.
enum class RecordForm { None, Plain, Scrambled };
RecordForm RecordFormToLoad(const char* plainPath, const char* scrambledPath);

// What UnscrambleRecordFile found and did.
enum class Unscramble {
  NoScrambledFile,
  PlainIsNewer,    // the plain file was written after the scrambled one: it stays,
                   // and the scrambled one is left for the next save to replace
  Done,            // the scrambled file became the plain file and was deleted
  ScrambledStays,  // the scrambled file became the plain file but could not be deleted
  Failed,          // the copy failed; both files are as they were
};

// Converts RecordScrambledPath back into RecordFilePath (replacing a plain
// file that may exist) and deletes the scrambled file, again only after a
// complete copy, when RecordFormToLoad chooses the scrambled form.
Unscramble UnscrambleRecordFile();

}  // namespace jobstore
