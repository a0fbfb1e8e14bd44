#include "operations/scrambled.h"

#include "platform/platform.h"

namespace ops {

bool ReadFileBytes(const char* path, std::string* bytes) {
  bytes->clear();
  if (path == nullptr || path[0] == '\0') return false;
  const int handle = plat::OpenFile(path, plat::OpenMode::Read);
  if (handle < 0) return false;
  char block[4096];
  long got;
  while ((got = plat::ReadFile(handle, block, sizeof block)) > 0) bytes->append(block, static_cast<std::size_t>(got));
  plat::CloseFile(handle);
  if (got < 0) bytes->clear();
  return got == 0;
}

bool ReadScrambledFile(const char* path, std::string* plain) {
  if (!ReadFileBytes(path, plain)) return false;
  for (char& c : *plain) c = static_cast<char>(SwapNibbles(static_cast<unsigned char>(c)));
  return true;
}

}  // namespace ops
