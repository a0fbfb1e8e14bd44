// Shift-JIS text routines and the CSV field reader.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "text/csv.h"
#include "text/sjis.h"

namespace {

// Two-byte characters written as bytes so that the tests do not depend on
// the literal encoding: 表 is 95 5C (second byte a backslash), ア is 83 41
// (second byte 'A'), 示 is 8E A6.
#define HYO "\x95\x5C"
#define A_KANA "\x83\x41"
#define JI "\x8E\xA6"

struct CsvCase {
  const char* line;
  int n;
  const char* expected;
  bool found;
};

TEST(GetCsvItem, FieldsQuotingAndTrimming) {
  const CsvCase cases[] = {
      // Blanks and the line end are trimmed; a missing field is false.
      {"a, b ,c\r\n", 1, "a", true},
      {"a, b ,c\r\n", 2, "b", true},
      {"a, b ,c\r\n", 3, "c", true},
      {"a, b ,c\r\n", 4, "", false},
      {"c \r\n", 1, "c", true},
      {"a\n", 1, "a", true},
      {"\r\n", 1, "", true},
      {"\ta\t", 1, "\ta\t", true},  // only blanks are trimmed
      // Empty fields exist.
      {"  ", 1, "", true},
      {"a,,", 2, "", true},
      {"a,,", 3, "", true},
      {"a,,", 4, "", false},
      // Quotes: commas inside do not separate, one enclosing pair goes,
      // a doubled quote becomes one.
      {"\"x,y\",z", 1, "x,y", true},
      {"\"x,y\",z", 2, "z", true},
      {"\"a\"\"b\"", 1, "a\"b", true},
      {"\"\"a\"\"", 1, "\"a\"", true},
      {"\"a\" b", 1, "\"a\" b", true},
      {" \" a \" \r\n", 1, " a ", true},
      {"\"", 1, "", true},
      {"x,\"", 2, "", true},
      {"a\"\",b", 1, "a\"", true},
      {"a\"\",b", 2, "b", true},
      // An unpaired quote swallows the rest of the line.
      {"a\"b,c", 1, "a\"b,c", true},
      {"a\"b,c", 2, "", false},
      // Two-byte characters, one with a backslash second byte.
      {HYO "," A_KANA JI ",x", 1, HYO, true},
      {HYO "," A_KANA JI ",x", 2, A_KANA JI, true},
      {HYO "," A_KANA JI ",x", 3, "x", true},
  };
  for (const CsvCase& c : cases) {
    char out[64];
    std::memset(out, 'Z', sizeof out);
    const bool found = text::GetCsvItem(c.n, c.line, out, sizeof out);
    EXPECT_EQ(found, c.found) << "line [" << c.line << "] field " << c.n;
    EXPECT_STREQ(out, c.expected) << "line [" << c.line << "] field " << c.n;
  }
}

struct CutCase {
  const char* line;
  std::size_t size;
  const char* expected;
};

TEST(GetCsvItem, CutsAtBufferSizeNeverHalfACharacter) {
  const CutCase cases[] = {
      {"abcdef", 4, "abc"},
      {"abc", 1, ""},
      {HYO JI, 4, HYO},                  // 8E would be left alone
      {"a" HYO, 3, "a"},
      {HYO, 3, HYO},                     // fits exactly
      {"\"a\"\"b\"", 3, "a\""},          // the doubled quote counts once
      {"\x81\x81\x81\x41", 4, "\x81\x81"},
      {"A\x81\x81" "A", 4, "A\x81\x81"},  // the last 81 is a second byte
      {"A\x81\x81" "A", 3, "A"},
  };
  for (const CutCase& c : cases) {
    char buffer[16];
    std::memset(buffer, 'Z', sizeof buffer);
    EXPECT_TRUE(text::GetCsvItem(1, c.line, buffer, c.size));
    EXPECT_STREQ(buffer, c.expected) << "size " << c.size;
    for (std::size_t i = c.size; i < sizeof buffer; ++i) {
      ASSERT_EQ(buffer[i], 'Z') << "wrote past the buffer at " << i;
    }
  }
}

TEST(GetCsvItemDeathTest, WrongArgumentsEndTheProcess) {
  char out[8];
  EXPECT_EXIT(text::GetCsvItem(0, "a", out, sizeof out), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(text::GetCsvItem(-1, "a", out, sizeof out), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(text::GetCsvItem(1, nullptr, out, sizeof out), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(text::GetCsvItem(1, "", out, sizeof out), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(text::GetCsvItem(1, "a", nullptr, sizeof out), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(text::GetCsvItem(1, "a", out, 0), testing::ExitedWithCode(1), "");
}

struct FindCase {
  const char* text;
  const char* pattern;
  long expected;
};

TEST(FindTextNoCase, Cases) {
  const FindCase cases[] = {
      {"NOTEPAD", "Pad", 4},
      {"notepad", "PAD", 4},
      {"aab", "ab", 1},     // a failed candidate does not hide the next one
      {"abc", "abcd", -1},  // the text ends first
      {"abc", "", -1},
      {"", "a", -1},
      {"a@b", "A`B", -1},   // only letters fold
      // Two-byte characters compare exactly and only at character starts.
      {HYO, "\\", -1},
      {HYO "\\", "\\", 2},
      {A_KANA HYO, HYO, 2},
      {A_KANA "x", "Ax", -1},  // 'A' is only ア's second byte here
      {A_KANA, "\x83\x61", -1},  // a second byte is never folded
      {"\x82\x60", "\x82\x81", -1},  // full-width letters do not fold
      {"a" HYO, "A" HYO, 0},
      // After a failed two-byte candidate the scan goes on at the next
      // character: no match straddles a character, none is skipped.
      {"\x95\x95\x95\x41", "\x95\x95\x41", -1},
      {"\x95\x96\x95\x96\x41", "\x95\x96\x41", 2},
      {"ab\x95", "\x95", -1},  // a lead byte before the terminator ends the scan
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(text::FindTextNoCase(c.text, c.pattern), c.expected)
        << "text [" << c.text << "] pattern [" << c.pattern << "]";
  }
  EXPECT_EQ(text::FindTextNoCase(nullptr, "a"), -1);
  EXPECT_EQ(text::FindTextNoCase("a", nullptr), -1);
}

TEST(BeginsCharacter, WholeCharacterPositions) {
  EXPECT_TRUE(text::BeginsCharacter(HYO "\\", 0));
  EXPECT_FALSE(text::BeginsCharacter(HYO "\\", 1));
  EXPECT_TRUE(text::BeginsCharacter(HYO "\\", 2));
  EXPECT_FALSE(text::BeginsCharacter("a" HYO, 2));
  // 95 95 is one character, so the 95 that follows begins the next one.
  EXPECT_TRUE(text::BeginsCharacter("\x95\x95\x95\x41", 2));
  EXPECT_FALSE(text::BeginsCharacter("\x95\x95\x95\x41", 3));
}

TEST(Digits, AllDigitsAndLeadingNumber) {
  EXPECT_FALSE(text::IsAllDigits(""));
  EXPECT_FALSE(text::IsAllDigits(nullptr));
  EXPECT_TRUE(text::IsAllDigits("012"));
  EXPECT_FALSE(text::IsAllDigits("1 2"));
  EXPECT_FALSE(text::IsAllDigits("12a"));
  EXPECT_FALSE(text::IsAllDigits("\xB1"));

  const char unterminated[2] = {'1', '2'};
  EXPECT_TRUE(text::IsAllDigitsN(unterminated, 2));
  EXPECT_TRUE(text::IsAllDigitsN("12x", 2));
  EXPECT_FALSE(text::IsAllDigitsN("12x", 3));
  EXPECT_TRUE(text::IsAllDigitsN("abc", 0));
  EXPECT_TRUE(text::IsAllDigitsN("abc", -1));

  EXPECT_EQ(text::LeadingNumber(""), 0);
  EXPECT_EQ(text::LeadingNumber("abc"), 0);
  EXPECT_EQ(text::LeadingNumber(" 5"), 0);
  EXPECT_EQ(text::LeadingNumber("-3"), 0);
  EXPECT_EQ(text::LeadingNumber("007"), 7);
  EXPECT_EQ(text::LeadingNumber("42x"), 42);
  EXPECT_EQ(text::LeadingNumber("99999999999999999999999999"), LONG_MAX);
  // A window edge may be negative; a repeat range is read as the C runtime does.
  EXPECT_EQ(text::SignedLeadingNumber("-8"), -8);
  EXPECT_EQ(text::SignedLeadingNumber("+12x"), 12);
  EXPECT_EQ(text::SignedLeadingNumber(" 5"), 0);
  EXPECT_EQ(text::DecimalValue(" \t-5"), -5);
  EXPECT_EQ(text::DecimalValue("+ 5"), 0);
}

}  // namespace
