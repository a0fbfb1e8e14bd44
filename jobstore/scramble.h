// Converting the job's definition files to and from their scrambled ".psw"
// form (operations/scrambled.h holds the byte rule and reads such a file).
#pragma once

namespace jobstore {

// Converts the plain file at `path` into `path` + ".psw" and deletes the
// plain file. The input is deleted only when the whole copy succeeded; the
// scrambled file appears only complete. True on success.
bool ScrambleFile(const char* path);

// Converts RecordScrambledPath back into RecordFilePath (replacing a plain
// file that may exist) and deletes the scrambled file, again only after a
// complete copy. True on success; false also when there is no scrambled file.
bool UnscrambleRecordFile();

}  // namespace jobstore
