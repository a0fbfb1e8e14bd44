#include "jobstore/files.h"

#include <cstring>

#include "jobstore/paths.h"
#include "operations/scrambled.h"
#include "platform/platform.h"

namespace jobstore {

namespace {

// The target with its last extension replaced by `extension`.
std::string SiblingPath(const char* target, const char* extension) {
  std::string path(target);
  long slash = FindLastChar(target, '\\');
  long dot = FindLastChar(target, '.');
  if (dot > slash) path.erase(static_cast<std::size_t>(dot));
  return path + extension;
}

bool IsFile(const std::string& path) { return plat::PathExists(path.c_str()) && !plat::IsDirectory(path.c_str()); }

}  // namespace

std::string TemporaryPathFor(const char* target) { return SiblingPath(target, ".tmp"); }

std::string BackupPathFor(const char* target) { return SiblingPath(target, ".bak"); }

std::vector<std::string> StrandedCopiesOf(const char* target) {
  // A backup alone beside a missing target is one that stayed after a
  // replacement that finished (the record file is then removed once it is
  // scrambled); a stranded replacement always leaves both copies.
  if (target[0] == '\0' || plat::PathExists(target)) return {};
  std::vector<std::string> copies = {TemporaryPathFor(target), BackupPathFor(target)};
  if (!IsFile(copies[0]) || !IsFile(copies[1])) return {};
  return copies;
}

void RemoveLeftoverTemporaries() {
  for (const char* file : JobFilePaths) {
    if (file[0] == '\0' || !IsFile(file)) continue;
    // A leftover's name is never one of the job's own files: "KeyRecord.tmp"
    // for "KeyRecord.def", "KeyRecord.def.tmp" for "KeyRecord.def.psw".
    for (const std::string& leftover : {TemporaryPathFor(file), BackupPathFor(file)}) {
      if (IsFile(leftover)) plat::DeleteFileAt(leftover.c_str());
    }
  }
}

void DeleteTestRunFiles() {
  plat::DeleteFileAt(InspectFilePath);
  plat::DeleteFileAt(InspectScrambledPath);
  plat::DeleteFileAt(CaptureFilePath);
}

SafeFileWriter::SafeFileWriter(const char* target)
    : target_(target), temporary_(TemporaryPathFor(target)) {}

SafeFileWriter::~SafeFileWriter() { Abandon(); }

bool SafeFileWriter::Open() {
  // Writing the temporary of a stranded target would overwrite a copy.
  if (target_.empty() || !StrandedCopiesOf(target_.c_str()).empty()) return false;
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
  plat::ReplaceResult result = plat::ReplaceResult::Unchanged;
  if (flushed && closed) {
    result = plat::ReplaceFileWith(target_.c_str(), temporary_.c_str(), BackupPathFor(target_.c_str()).c_str());
  }
  // With the target moved away, the temporary and the backup are the only
  // copies: both stay.
  if (result != plat::ReplaceResult::TargetMoved) plat::DeleteFileAt(temporary_.c_str());
  temporary_.clear();
  return result == plat::ReplaceResult::Replaced;
}

void SafeFileWriter::Abandon() {
  if (handle_ >= 0) {
    plat::CloseFile(handle_);
    handle_ = -1;
    plat::DeleteFileAt(temporary_.c_str());
  }
}

FileSnapshot::FileSnapshot(const char* path) : path_(path) {
  existed_ = IsFile(path_);
  read_ = existed_ && ops::ReadFileBytes(path, &bytes_);
}

bool FileSnapshot::Restore() const {
  if (!existed_) return !plat::PathExists(path_.c_str()) || plat::DeleteFileAt(path_.c_str());
  if (!read_) return false;
  SafeFileWriter file(path_.c_str());
  return file.Open() && file.Write(bytes_.data(), bytes_.size()) && file.Commit();
}

}  // namespace jobstore
