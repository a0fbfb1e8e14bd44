// Shift-JIS (code page 932) text routines shared by the whole program.
#pragma once

#include <cstddef>
#include <string>

namespace text {

// A byte 0x81-0x9F or 0xE0-0xFC begins a two-byte character; the next byte is
// its second half, whatever its value (0x5C and 0x7C included).
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when the byte at `pos` begins a character of `text`: position 0, a byte
// after a non-lead byte, or a byte reached by stepping over whole characters
// from the start.
bool BeginsCharacter(const char* text, std::size_t pos);

// At most `bytes` bytes of a text, never half a character.
std::string CutToCharacters(const std::string& text, std::size_t bytes);

// Position of the first occurrence of `pattern` in `text`, ASCII letters
// compared without case, two-byte characters exactly; -1 for none.
long FindTextNoCase(const char* text, const char* pattern);

// Not empty and every byte '0'-'9'.
bool IsAllDigits(const char* text);
// True when n <= 0 or each of the first n bytes is '0'-'9'.
bool IsAllDigitsN(const char* bytes, int n);

// Value of the leading decimal digits, 0 when there are none; LONG_MAX when
// they do not fit. The program's one reading of a number from a text.
long LeadingNumber(const char* text);
// An optional sign, then the leading digits ("-8" is -8).
long SignedLeadingNumber(const char* text);
// Leading blanks (spaces, tabs) skipped, then as SignedLeadingNumber: the C
// runtime's decimal conversion.
long DecimalValue(const char* text);

}  // namespace text
