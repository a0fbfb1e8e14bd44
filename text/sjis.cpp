// Shift-JIS (code page 932) text routines.
#include "text/sjis.h"

#include <climits>

namespace text {

namespace {

unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// Only the ASCII capitals fold; every other byte compares as it is.
unsigned char Fold(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

bool IsDigit(unsigned char b) { return b >= '0' && b <= '9'; }

// Compares `text` and `pattern` from the candidate onwards, the width of each
// step taken from the text's character. True when the pattern runs out first.
bool MatchesAt(const char* text, const char* pattern) {
  std::size_t i = 0, j = 0;
  for (;;) {
    if (pattern[j] == '\0') return true;
    if (text[i] == '\0') return false;
    if (IsLeadByte(Byte(text + i))) {
      if (text[i] != pattern[j] || text[i + 1] != pattern[j + 1]) return false;
      // A lead byte at the very end matched the pattern's last byte and its
      // terminator: the pattern has run out.
      if (text[i + 1] == '\0') return true;
      i += 2;
      j += 2;
    } else {
      if (Fold(Byte(text + i)) != Fold(Byte(pattern + j))) return false;
      ++i;
      ++j;
    }
  }
}

}  // namespace

bool BeginsCharacter(const char* text, std::size_t pos) {
  if (pos == 0) return true;
  if (!IsLeadByte(Byte(text + pos - 1))) return true;
  std::size_t i = 0;
  while (i < pos) i += IsLeadByte(Byte(text + i)) ? 2 : 1;
  return i == pos;
}

std::string CutToCharacters(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && !BeginsCharacter(text.c_str(), bytes)) --bytes;
  return text.substr(0, bytes);
}

long FindTextNoCase(const char* text, const char* pattern) {
  if (text == nullptr || pattern == nullptr || text[0] == '\0') return -1;
  if (pattern[0] == '\0') return -1;

  std::size_t p = 0;
  while (text[p] != '\0') {
    bool candidate;
    std::size_t width;
    if (IsLeadByte(Byte(text + p))) {
      if (text[p + 1] == '\0') return -1;  // a lone lead byte ends the text
      candidate = text[p] == pattern[0] && text[p + 1] == pattern[1];
      width = 2;
    } else {
      candidate = Fold(Byte(text + p)) == Fold(Byte(pattern));
      width = 1;
    }
    if (!candidate) {
      p += width;
      continue;
    }
    if (MatchesAt(text + p, pattern)) return static_cast<long>(p);
    // Resume at the next character: resuming inside a two-byte character
    // would misread the rest of the text and miss real occurrences.
    p += width;
  }
  return -1;
}

bool IsAllDigits(const char* text) {
  if (text == nullptr || text[0] == '\0') return false;
  for (; *text != '\0'; ++text) {
    if (!IsDigit(Byte(text))) return false;
  }
  return true;
}

bool IsAllDigitsN(const char* bytes, int n) {
  if (n <= 0) return true;
  if (bytes == nullptr) return false;
  for (int i = 0; i < n; ++i) {
    if (!IsDigit(Byte(bytes + i))) return false;
  }
  return true;
}

long LeadingNumber(const char* text) {
  if (text == nullptr) return 0;
  long value = 0;
  for (; IsDigit(Byte(text)); ++text) {
    const long digit = *text - '0';
    if (value > (LONG_MAX - digit) / 10) return LONG_MAX;
    value = value * 10 + digit;
  }
  return value;
}

long SignedLeadingNumber(const char* text) {
  if (text == nullptr) return 0;
  bool negative = false;
  if (*text == '-' || *text == '+') negative = *text++ == '-';
  long value = LeadingNumber(text);
  return negative ? -value : value;
}

long DecimalValue(const char* text) {
  if (text == nullptr) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  return SignedLeadingNumber(text);
}

}  // namespace text
