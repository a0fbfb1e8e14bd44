// File helpers of the job store: whole-or-nothing writing and line reading.
#pragma once

#include <cstddef>
#include <string>

namespace jobstore {

// The temporary file a target is written to before it takes the target's
// place: the target's last extension replaced by ".tmp" ("KeyRecord.def"
// gives "KeyRecord.tmp", "KeyRecord.def.psw" gives "KeyRecord.def.tmp"), so
// it is never longer than the target.
std::string TemporaryPathFor(const char* target);

// Deletes the temporary files of the job's five files (TemporaryPathFor each
// of JobFilePaths) that a save interrupted by a crash or a power cut left
// behind. Such a file may be cut short, so it is never read: only deleted. A
// folder of that name is left alone.
void RemoveLeftoverTemporaries();

// Deletes the test run's files, InspectFilePath and InspectScrambledPath (a
// missing file is no error).
void DeleteTestRunFiles();

// Writes a file so that it is replaced only when every write succeeded: the
// bytes go to the temporary file, which is flushed, closed and then put in
// place of the target. Until Commit() succeeds the target is untouched; a
// writer destroyed without a successful Commit() removes its temporary file.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(const char* target);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool Open();  // false when the temporary file cannot be created
  bool Write(const void* bytes, std::size_t size);
  bool Commit();  // false when any step failed; the target then stays as it was

 private:
  void Abandon();

  std::string target_;
  std::string temporary_;
  int handle_ = -1;
  bool failed_ = false;
};

// Reads a file line by line as fgets does: each read takes at most size - 1
// bytes, up to and including the next LF.
class LineReader {
 public:
  explicit LineReader(int handle) : handle_(handle) {}
  // False at the end of the file (or on a read error) when nothing was read.
  bool ReadLine(char* out, std::size_t size);

 private:
  bool Fill();

  int handle_;
  char buffer_[4096];
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
};

}  // namespace jobstore
