// File helpers of the job store: whole-or-nothing writing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace jobstore {

// The temporary file a target is written to before it takes the target's
// place: the target's last extension replaced by ".tmp" ("KeyRecord.def"
// gives "KeyRecord.tmp", "KeyRecord.def.psw" gives "KeyRecord.def.tmp"), so
// it is never longer than the target.
std::string TemporaryPathFor(const char* target);
// The name the old target passes through while the temporary takes its place:
// ".bak" in place of the last extension ("KeyRecord.bak", "KeyRecord.def.bak").
std::string BackupPathFor(const char* target);

// The files that hold a target's content after a replacement that could
// neither finish nor be undone: the target is missing and its former content
// lies at the backup name; the content that was being saved is at the
// temporary name. Both, temporary first; empty when the target is not in
// that state (both copies are there).
std::vector<std::string> StrandedCopiesOf(const char* target);

// Deletes the temporary and backup files of the job's five files
// (JobFilePaths) that a failed or interrupted save left behind, but only
// beside an existing file: without it such a file may be the only copy. A
// temporary may be cut short, so it is never read. A folder of that name is
// left alone.
void RemoveLeftoverTemporaries();

// Deletes the files a companion's run leaves in the job folder: the test
// run's (InspectFilePath, InspectScrambledPath) and a recording's
// (CaptureFilePath). A missing file is no error.
void DeleteTestRunFiles();

// Writes a file so that it is replaced only when every write succeeded: the
// bytes go to the temporary file, which is flushed, closed and then put in
// place of the target. Until Commit() succeeds the target is untouched; a
// writer destroyed without a successful Commit() removes its temporary file,
// except when the target was left missing (StrandedCopiesOf names what holds
// its content then). A stranded target is not written again until the user
// has put one of its copies back.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(const char* target);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool Open();  // false when the temporary file cannot be created or the target is stranded
  bool Write(const void* bytes, std::size_t size);
  bool Commit();  // false when any step failed; the target then stays as it was, or is stranded

 private:
  void Abandon();

  std::string target_;
  std::string temporary_;
  int handle_ = -1;
  bool failed_ = false;
};

// A file's bytes, or its absence, as they were when taken: put back when a
// change of several files fails half way.
class FileSnapshot {
 public:
  explicit FileSnapshot(const char* path);
  // Writes the bytes back (whole or not at all), or deletes the file when
  // there was none. False when that failed or the file could not be read.
  bool Restore() const;

 private:
  std::string path_, bytes_;
  bool existed_ = false, read_ = false;
};

}  // namespace jobstore
