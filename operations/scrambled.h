// Operation files as they lie on disk: their bytes, and the scrambled ".psw"
// form (the same length, every byte with its two 4-bit halves exchanged; the
// rule is its own inverse).
#pragma once

#include <string>

namespace ops {

constexpr unsigned char SwapNibbles(unsigned char b) {
  return static_cast<unsigned char>((b << 4) | (b >> 4));
}

// Reads the whole file at `path` into `bytes`. False when it cannot be opened
// or read (`bytes` is then empty).
bool ReadFileBytes(const char* path, std::string* bytes);

// Reads the whole scrambled file at `path` (the ".psw" file itself) into
// `plain`, unscrambled; the file stays as it is. False when it cannot be
// opened or read (`plain` is then empty).
bool ReadScrambledFile(const char* path, std::string* plain);

}  // namespace ops
