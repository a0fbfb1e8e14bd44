// The file system: existence tests, folders, listings, files by handle and
// the replacement of a file by another.
#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

namespace plat {
namespace {

using win32::ToWide;

// Open files; a handle of the interface is an index into this table.
std::vector<HANDLE>& OpenFiles() {
  static std::vector<HANDLE> files;
  return files;
}

HANDLE FileAt(int handle) {
  if (handle < 0 || static_cast<std::size_t>(handle) >= OpenFiles().size()) return INVALID_HANDLE_VALUE;
  return OpenFiles()[static_cast<std::size_t>(handle)];
}

constexpr DWORD kChunk = 1u << 30;  // ReadFile and WriteFile take 32-bit counts

// Errors that mean another program (a virus scanner, an indexer, an editor)
// holds the file for a moment.
bool IsTransientError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool MoveReplacing(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Moves the old file back from its backup name to the target's name,
// retrying briefly while another program holds it.
bool MoveBack(const std::wstring& backup, const std::wstring& target) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (attempt > 0) Sleep(50);
    if (MoveReplacing(backup, target)) return true;
    if (!IsTransientError(GetLastError())) return false;
  }
  return false;
}

}  // namespace

bool PathExists(const char* path) { return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const char* path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(ToWide(path).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint64_t FileWriteTime(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 0;
  }
  return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool IsReparsePoint(const char* path) {
  DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool CreateFolder(const char* path) { return CreateDirectoryW(ToWide(path).c_str(), nullptr) != FALSE; }

bool RemoveFolder(const char* path) { return RemoveDirectoryW(ToWide(path).c_str()) != FALSE; }

bool DeleteFileAt(const char* path) { return DeleteFileW(ToWide(path).c_str()) != FALSE; }

bool ListFolder(const char* pattern, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(ToWide(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    bool exact = true;
    std::string name = win32::ToSjis(data.cFileName, -1, &exact);
    if (!exact) continue;  // a name code page 932 cannot spell cannot be opened by it either
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

int OpenFile(const char* path, OpenMode mode) {
  const bool read = mode == OpenMode::Read;
  const bool append = mode == OpenMode::Append;
  HANDLE h = CreateFileW(ToWide(path).c_str(), read ? GENERIC_READ : append ? FILE_APPEND_DATA : GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         read ? OPEN_EXISTING : append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  std::vector<HANDLE>& files = OpenFiles();
  auto free = std::find(files.begin(), files.end(), INVALID_HANDLE_VALUE);
  if (free != files.end()) {
    *free = h;
    return static_cast<int>(free - files.begin());
  }
  files.push_back(h);
  return static_cast<int>(files.size() - 1);
}

long ReadFile(int handle, void* buffer, std::size_t size) {
  HANDLE h = FileAt(handle);
  if (h == INVALID_HANDLE_VALUE) return -1;
  auto* out = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < size) {
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - total, kChunk));
    DWORD got = 0;
    if (!::ReadFile(h, out + total, want, &got, nullptr)) return -1;
    if (got == 0) break;  // end of file
    total += got;
  }
  return static_cast<long>(total);
}

long WriteFile(int handle, const void* buffer, std::size_t size) {
  HANDLE h = FileAt(handle);
  if (h == INVALID_HANDLE_VALUE) return -1;
  const auto* in = static_cast<const char*>(buffer);
  std::size_t total = 0;
  while (total < size) {
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - total, kChunk));
    DWORD put = 0;
    if (!::WriteFile(h, in + total, want, &put, nullptr) || put == 0) break;
    total += put;
  }
  return static_cast<long>(total);
}

bool FlushFile(int handle) {
  HANDLE h = FileAt(handle);
  return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != FALSE;
}

bool CloseFile(int handle) {
  HANDLE h = FileAt(handle);
  if (h == INVALID_HANDLE_VALUE) return false;
  OpenFiles()[static_cast<std::size_t>(handle)] = INVALID_HANDLE_VALUE;
  return CloseHandle(h) != FALSE;
}

ReplaceResult ReplaceFileWith(const char* target, const char* replacement, const char* backup) {
  const std::wstring to = ToWide(target);
  const std::wstring from = ToWide(replacement);
  const std::wstring aside = ToWide(backup);
  constexpr int kAttempts = 20;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) Sleep(50);
    if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (MoveReplacing(from, to)) return ReplaceResult::Replaced;
      if (IsTransientError(GetLastError())) continue;
      return ReplaceResult::Unchanged;
    }
    // Replacing needs the right to delete the target. While another program
    // denies it, wait without starting a replacement that could only fail
    // halfway (and, on some systems, leave a temporary file behind).
    HANDLE probe = CreateFileW(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
      CloseHandle(probe);
    } else if (IsTransientError(GetLastError())) {
      continue;
    }
    // With a backup name the old file is never simply deleted: when the
    // replacement cannot be moved (another program holds it without delete
    // sharing), both files keep their names, or the old one has the backup
    // name and is put back here.
    if (ReplaceFileW(to.c_str(), from.c_str(), aside.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      DeleteFileW(aside.c_str());  // one that stays is removed at the next start
      return ReplaceResult::Replaced;
    }
    DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) continue;
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      if (!MoveBack(aside, to)) return ReplaceResult::TargetMoved;
      continue;
    }
    if (IsTransientError(error)) continue;
    // ReplaceFileW is not available here (a file system or share without
    // support): a plain move that replaces the target does the same.
    if (MoveReplacing(from, to)) return ReplaceResult::Replaced;
    if (!IsTransientError(GetLastError())) return ReplaceResult::Unchanged;
  }
  return ReplaceResult::Unchanged;
}

}  // namespace plat
