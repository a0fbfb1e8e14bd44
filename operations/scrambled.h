// The scrambled ".psw" form in which operation files lie on disk: the same
// length, every byte with its two 4-bit halves exchanged. The rule is its own
// inverse.
#pragma once

#include <string>

namespace ops {

constexpr unsigned char SwapNibbles(unsigned char b) {
  return static_cast<unsigned char>((b << 4) | (b >> 4));
}

// Reads the whole scrambled file at `path` (the ".psw" file itself) into
// `plain`, unscrambled; the file stays as it is. False when it cannot be
// opened or read (`plain` is then empty).
bool ReadScrambledFile(const char* path, std::string* plain);

}  // namespace ops
