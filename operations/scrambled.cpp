#include "operations/scrambled.h"

#include "platform/platform.h"

namespace ops {

bool ReadScrambledFile(const char* path, std::string* plain) {
  plain->clear();
  if (path == nullptr || path[0] == '\0') return false;
  int handle = plat::OpenFile(path, plat::OpenMode::Read);
  if (handle < 0) return false;
  char block[4096];
  long got;
  while ((got = plat::ReadFile(handle, block, sizeof block)) > 0) {
    for (long i = 0; i < got; ++i) block[i] = static_cast<char>(SwapNibbles(static_cast<unsigned char>(block[i])));
    plain->append(block, static_cast<std::size_t>(got));
  }
  plat::CloseFile(handle);
  if (got < 0) plain->clear();
  return got == 0;
}

}  // namespace ops
