// The repeat rules' decisions without a window: validation, the file's
// bytes, reading a line of it, and renumbering after a row command.
#include <gtest/gtest.h>

#include <string>

#include "companions/repeat.h"

namespace {

using companions::RangeChange;
using companions::RangeChanges;
using companions::RepeatRanges;
using companions::RepeatRuleSet;
using companions::RepeatRuleText;

RepeatRuleText On(const char* from, const char* to, const char* count) {
  return RepeatRuleText{true, from, to, count};
}
const RepeatRuleText kOff{};

TEST(RepeatRuleValidation, FollowsTheTable) {
  struct Case {
    const char* what;
    RepeatRuleSet rules;
    bool valid;
  } cases[] = {
      {"all off", {kOff, kOff, kOff}, true},
      {"one rule", {On("2", "5", "3"), kOff, On("8", "8", "10")}, true},
      {"one row", {On("4", "4", "1"), kOff, kOff}, true},
      {"touching", {On("1", "3", "2"), On("4", "6", "2"), kOff}, true},
      {"overlapping", {On("1", "3", "2"), On("3", "6", "2"), kOff}, false},
      {"nested", {On("1", "9", "2"), kOff, On("3", "4", "2")}, false},
      {"nested the other way", {On("3", "4", "2"), On("1", "9", "2"), kOff}, false},
      {"equal from", {kOff, On("5", "6", "2"), On("5", "9", "2")}, false},
      {"later rule before", {On("5", "8", "2"), On("1", "3", "2"), kOff}, true},
      {"overlap from below", {On("5", "8", "2"), On("1", "5", "2"), kOff}, false},
      {"rules 1 and 3 overlap", {On("1", "4", "2"), On("6", "7", "2"), On("4", "5", "2")}, false},
      {"from above to", {On("6", "5", "1"), kOff, kOff}, false},
      {"zero from", {On("0", "5", "1"), kOff, kOff}, false},
      {"zero to", {On("1", "0", "1"), kOff, kOff}, false},
      {"zero count", {On("1", "5", "0"), kOff, kOff}, false},
      {"zeros only", {On("000", "5", "1"), kOff, kOff}, false},
      {"empty from", {On("", "5", "1"), kOff, kOff}, false},
      {"empty to", {kOff, On("1", "", "1"), kOff}, false},
      {"empty count", {kOff, kOff, On("1", "5", "")}, false},
      {"leading zeros", {On("007", "009", "02"), kOff, kOff}, true},
      {"not digits", {On("1", "5", "2x"), kOff, kOff}, false},
      {"sign", {On("+1", "5", "2"), kOff, kOff}, false},
      {"blank", {On(" 1", "5", "2"), kOff, kOff}, false},
      {"largest", {On("9999", "9999", "9999"), kOff, kOff}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(companions::RepeatRulesAreValid(c.rules), c.valid) << c.what;
}

// A rule that is off takes no part, whatever its fields hold.
TEST(RepeatRuleValidation, ARuleThatIsOffIsNotLookedAt) {
  RepeatRuleText off{false, "3", "1", "0"};
  EXPECT_TRUE(companions::RepeatRulesAreValid({On("1", "5", "2"), off, kOff}));
}

TEST(RepeatFile, ThreeLinesTicksAsEnteredOthersEmpty) {
  EXPECT_EQ(companions::RepeatFileText({On("2", "5", "3"), kOff, On("8", "8", "10")}),
            "2,5,3\r\n\r\n8,8,10\r\n");
  EXPECT_EQ(companions::RepeatFileText({kOff, kOff, kOff}), "\r\n\r\n\r\n");
  EXPECT_EQ(companions::RepeatFileText({On("007", "0010", "01"), kOff, kOff}), "007,0010,01\r\n\r\n\r\n");
}

TEST(RepeatFile, LinesReadBack) {
  struct Case {
    const char* what;
    std::string line;
    bool overLong;
    RepeatRuleText rule;
  } cases[] = {
      {"ticked", "2,5,3\r\n", false, On("2", "5", "3")},
      {"last line without CR LF", "8,8,10", false, On("8", "8", "10")},
      {"unticked", "\r\n", false, kOff},
      {"missing", "", false, kOff},
      {"empty count", "2,5,\r\n", false, On("2", "5", "")},
      {"fewer fields", "2\r\n", false, On("2", "", "")},
      {"LF alone is a ticked rule with empty fields", "\n", false, On("", "", "")},
      {"blanks and quotes", " 2 ,\"5\", 3\r\n", false, On("2", "5", "3")},
      {"seven bytes fit", "1234567,1,1\r\n", false, On("1234567", "1", "1")},
      {"leading zeros kept", "007,009,02\r\n", false, On("007", "009", "02")},
      {"first byte NUL", std::string("\0,5,3\r\n", 7), false, kOff},
      {"NUL later ends the line", std::string("2,5\0,3\r\n", 8), false, On("2", "5", "")},
      {"over-long field", "12345678,1,1\r\n", false, kOff},
      {"over-long last field", "1,1,123456789\r\n", false, kOff},
      {"over-long line", "1,2,3" + std::string(1020, ' '), true, kOff},
  };
  for (const Case& c : cases) {
    RepeatRuleText got = companions::ReadRepeatRuleLine(c.line, c.overLong);
    EXPECT_EQ(got.checked, c.rule.checked) << c.what;
    EXPECT_EQ(got.from, c.rule.from) << c.what;
    EXPECT_EQ(got.to, c.rule.to) << c.what;
    EXPECT_EQ(got.count, c.rule.count) << c.what;
  }
}

std::string Describe(const RangeChanges& changes) {
  std::string out;
  for (const RangeChange& c : changes) {
    if (!out.empty()) out += " ";
    if (c.kind == RangeChange::Keep) out += "keep";
    if (c.kind == RangeChange::SwitchOff) out += "off";
    if (c.kind == RangeChange::Renumber) out += std::to_string(c.from) + "-" + std::to_string(c.to);
  }
  return out;
}

RepeatRanges R(long f1, long t1, long f2 = 0, long t2 = 0, long f3 = 0, long t3 = 0) {
  return RepeatRanges{{{f1, t1}, {f2, t2}, {f3, t3}}};
}

TEST(RepeatRenumbering, AfterDelete) {
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(5, 5), 5)), "off keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(3, 6), 5)), "3-5 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(7, 9), 5)), "6-8 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(1, 4), 5)), "1-4 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(3, 3, 4, 5, 6, 8), 3)), "off 3-4 5-7");
  // The first row of a longer range: the range starts at the next row.
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(2, 4), 2)), "2-3 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(1, 3), 1)), "1-2 keep keep");
  // Rule 2 off (from 0) is left alone.
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(4, 6, 0, 0, 8, 9), 2)), "3-5 keep 7-8");
}

TEST(RepeatRenumbering, AfterInsert) {
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(5, 7), 5)), "6-8 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(3, 6), 5)), "3-7 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(1, 4), 5)), "1-4 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(1, 3), 1)), "2-4 keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(1, 1, 2, 2, 3, 3), 2)), "1-1 3-3 4-4");
}

TEST(RepeatRenumbering, NothingMovesWhenARangeIsReversedOrNoneIsTicked) {
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(2, 4, 9, 7), 1)), "keep keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(2, 4, 0, 0, 5, 0), 1)), "keep keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterDelete(R(0, 0), 1)), "keep keep keep");
  EXPECT_EQ(Describe(companions::RenumberAfterInsert(R(0, 0), 1)), "keep keep keep");
}

}  // namespace
