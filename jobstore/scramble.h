// The scrambled ".psw" form of definition files: the same length, every
// byte with its two 4-bit halves exchanged.
#pragma once

namespace jobstore {

constexpr unsigned char SwapNibbles(unsigned char b) {
  return static_cast<unsigned char>((b << 4) | (b >> 4));
}

// Converts the plain file at `path` into `path` + ".psw" and deletes the
// plain file. The input is deleted only when the whole copy succeeded; the
// scrambled file appears only complete. True on success.
bool ScrambleFile(const char* path);

// Converts RecordScrambledPath back into RecordFilePath (replacing a plain
// file that may exist) and deletes the scrambled file, again only after a
// complete copy. True on success; false also when there is no scrambled file.
bool UnscrambleRecordFile();

}  // namespace jobstore
