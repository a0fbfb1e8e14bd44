// FindTextNoCase on arbitrary text and pattern: a reported position really
// holds the pattern (letters folded), and the result is the first character
// position, stepping over whole characters, where the pattern matches
// character by character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/sjis.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

unsigned char Fold(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b - 'A' + 'a' : b; }

bool FoldedEqualAt(const char* text, std::size_t pos, const char* pattern) {
  for (std::size_t k = 0; pattern[k] != '\0'; ++k) {
    if (Fold(static_cast<unsigned char>(text[pos + k])) !=
        Fold(static_cast<unsigned char>(pattern[k]))) {
      return false;
    }
  }
  return true;
}

// Whether the pattern matches at `pos`, each character of the text compared
// whole (two bytes exactly, one byte folded).
bool MatchesByCharacter(const char* text, std::size_t pos, const char* pattern) {
  std::size_t i = pos, j = 0;
  while (pattern[j] != '\0') {
    if (text[i] == '\0') return false;
    if (text::IsLeadByte(static_cast<unsigned char>(text[i]))) {
      // Both bytes compared, terminators included.
      if (text[i] != pattern[j] || text[i + 1] != pattern[j + 1]) return false;
      if (pattern[j + 1] == '\0') return true;
      i += 2, j += 2;
    } else {
      if (Fold(static_cast<unsigned char>(text[i])) != Fold(static_cast<unsigned char>(pattern[j]))) return false;
      ++i, ++j;
    }
  }
  return true;
}

long FirstByCharacter(const char* text, const char* pattern) {
  if (pattern[0] == '\0') return -1;
  for (std::size_t i = 0; text[i] != '\0';) {
    bool lead = text::IsLeadByte(static_cast<unsigned char>(text[i]));
    if (lead && text[i + 1] == '\0') return -1;
    if (MatchesByCharacter(text, i, pattern)) return static_cast<long>(i);
    i += lead ? 2 : 1;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t patternLength = data[0] % (size);  // at most size - 1
  const std::string pattern(reinterpret_cast<const char*>(data + 1), patternLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + patternLength),
                         size - 1 - patternLength);
  const char* t = text.c_str();
  const char* p = pattern.c_str();
  const std::size_t tlen = std::strlen(t), plen = std::strlen(p);

  const long found = text::FindTextNoCase(t, p);
  Check(found >= -1);
  if (found >= 0) {
    const std::size_t pos = static_cast<std::size_t>(found);
    Check(plen > 0);
    Check(pos < tlen && plen <= tlen - pos);
    Check(FoldedEqualAt(t, pos, p));
    Check(text::BeginsCharacter(t, pos));
  }
  Check(found == FirstByCharacter(t, p));

  bool singleByteOnly = true;
  for (std::size_t i = 0; i < tlen; ++i) {
    if (text::IsLeadByte(static_cast<unsigned char>(t[i]))) singleByteOnly = false;
  }
  if (singleByteOnly) {
    long first = -1;
    if (plen > 0) {
      for (std::size_t i = 0; i + plen <= tlen; ++i) {
        if (FoldedEqualAt(t, i, p)) {
          first = static_cast<long>(i);
          break;
        }
      }
    }
    Check(found == first);
  }
  return 0;
}
