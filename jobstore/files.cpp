#include "jobstore/files.h"

#include <cstring>

#include "jobstore/paths.h"
#include "platform/platform.h"

namespace jobstore {

std::string TemporaryPathFor(const char* target) {
  std::string path(target);
  long slash = FindLastChar(target, '\\');
  long dot = FindLastChar(target, '.');
  if (dot > slash) path.erase(static_cast<std::size_t>(dot));
  return path + ".tmp";
}

void RemoveLeftoverTemporaries() {
  for (const char* file : JobFilePaths) {
    if (file[0] == '\0') continue;
    // A temporary's name is never one of the job's own files: "KeyRecord.tmp"
    // for "KeyRecord.def", "KeyRecord.def.tmp" for "KeyRecord.def.psw".
    std::string leftover = TemporaryPathFor(file);
    if (!plat::PathExists(leftover.c_str()) || plat::IsDirectory(leftover.c_str())) continue;
    plat::DeleteFileAt(leftover.c_str());
  }
}

void DeleteTestRunFiles() {
  plat::DeleteFileAt(InspectFilePath);
  plat::DeleteFileAt(InspectScrambledPath);
}

SafeFileWriter::SafeFileWriter(const char* target)
    : target_(target), temporary_(TemporaryPathFor(target)) {}

SafeFileWriter::~SafeFileWriter() { Abandon(); }

bool SafeFileWriter::Open() {
  if (target_.empty()) return false;
  handle_ = plat::OpenFile(temporary_.c_str(), plat::OpenMode::WriteTruncate);
  return handle_ >= 0;
}

bool SafeFileWriter::Write(const void* bytes, std::size_t size) {
  if (handle_ < 0 || failed_) return false;
  if (size == 0) return true;
  long written = plat::WriteFile(handle_, bytes, size);
  if (written < 0 || static_cast<std::size_t>(written) != size) failed_ = true;
  return !failed_;
}

bool SafeFileWriter::Commit() {
  if (handle_ < 0 || failed_) {
    Abandon();
    return false;
  }
  bool flushed = plat::FlushFile(handle_);
  bool closed = plat::CloseFile(handle_);
  handle_ = -1;
  if (!flushed || !closed || !plat::ReplaceFileWith(target_.c_str(), temporary_.c_str())) {
    plat::DeleteFileAt(temporary_.c_str());
    return false;
  }
  temporary_.clear();
  return true;
}

void SafeFileWriter::Abandon() {
  if (handle_ >= 0) {
    plat::CloseFile(handle_);
    handle_ = -1;
    plat::DeleteFileAt(temporary_.c_str());
  }
}

bool LineReader::Fill() {
  if (eof_) return false;
  long got = plat::ReadFile(handle_, buffer_, sizeof buffer_);
  if (got <= 0) {
    eof_ = true;
    return false;
  }
  pos_ = 0;
  end_ = static_cast<std::size_t>(got);
  return true;
}

bool LineReader::ReadLine(char* out, std::size_t size) {
  std::size_t n = 0;
  while (n + 1 < size) {
    if (pos_ == end_ && !Fill()) break;
    char c = buffer_[pos_++];
    out[n++] = c;
    if (c == '\n') break;
  }
  out[n] = '\0';
  return n > 0;
}

}  // namespace jobstore
