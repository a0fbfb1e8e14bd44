#include "jobstore/scramble.h"

#include <cstring>
#include <string>

#include "jobstore/files.h"
#include "jobstore/paths.h"
#include "operations/scrambled.h"
#include "platform/platform.h"

namespace jobstore {

namespace {

enum class Conversion { Failed, Done, InputKept };

// Copies `from` into `to` with the byte rule; `from` is deleted after the
// output has taken its place.
Conversion ConvertFile(const char* from, const char* to) {
  int input = plat::OpenFile(from, plat::OpenMode::Read);
  if (input < 0) return Conversion::Failed;
  SafeFileWriter output(to);
  bool ok = output.Open();
  unsigned char block[256];
  while (ok) {
    long got = plat::ReadFile(input, block, sizeof block);
    if (got == 0) break;
    if (got < 0) {
      ok = false;
      break;
    }
    for (long i = 0; i < got; ++i) block[i] = ops::SwapNibbles(block[i]);
    ok = output.Write(block, static_cast<std::size_t>(got));
  }
  plat::CloseFile(input);
  if (!ok || !output.Commit()) return Conversion::Failed;
  return plat::DeleteFileAt(from) ? Conversion::Done : Conversion::InputKept;
}

}  // namespace

bool ScrambleFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  std::string output = std::string(path) + ".psw";
  return ConvertFile(path, output.c_str()) != Conversion::Failed;
}

RecordForm RecordFormToLoad(const char* plainPath, const char* scrambledPath) {
  if (plat::PathExists(scrambledPath) && plat::FileWriteTime(plainPath) <= plat::FileWriteTime(scrambledPath)) {
    return RecordForm::Scrambled;
  }
  return plat::PathExists(plainPath) ? RecordForm::Plain : RecordForm::None;
}

Unscramble UnscrambleRecordFile() {
  if (RecordScrambledPath[0] == '\0' || !plat::PathExists(RecordScrambledPath)) return Unscramble::NoScrambledFile;
  char plain[kPathSize];
  std::strcpy(plain, RecordScrambledPath);
  long dot = FindLastChar(plain, '.');
  if (dot < 0) return Unscramble::Failed;
  plain[dot] = '\0';
  if (RecordFormToLoad(plain, RecordScrambledPath) != RecordForm::Scrambled) return Unscramble::PlainIsNewer;
  switch (ConvertFile(RecordScrambledPath, plain)) {
    case Conversion::Done:
      return Unscramble::Done;
    case Conversion::InputKept:
      return Unscramble::ScrambledStays;
    default:
      return Unscramble::Failed;
  }
}

}  // namespace jobstore
