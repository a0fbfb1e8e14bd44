// Operation line tables, fixed lines, comma removal and defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "operations/records.h"
#include "text/csv.h"

namespace {

std::string Field(const char* line, int n) {
  char out[512];
  text::GetCsvItem(n, line, out, sizeof out);
  return out;
}

TEST(Records, ActionNamesFindTheirKind) {
  for (int kind = 0; kind < ops::kActionKindCount; ++kind) {
    EXPECT_EQ(ops::FindActionKind(ops::kActionNames[kind]), kind);
  }
  EXPECT_EQ(ops::kActionNames[ops::ArrangeWindow], std::string("アプリケーションの表示設定"));
  // Exact bytes only: no trimming, no prefix.
  const std::string click = ops::kActionNames[ops::MouseClick];
  EXPECT_EQ(ops::FindActionKind((click + " ").c_str()), -1);
  EXPECT_EQ(ops::FindActionKind(click.substr(0, 4).c_str()), -1);
  EXPECT_EQ(ops::FindActionKind(""), -1);
  EXPECT_EQ(ops::FindActionKind(nullptr), -1);
}

TEST(Records, KeyNameTable) {
  struct Row {
    int row;
    const char* name;
    int key;
  };
  // Home before End; the arrows are single Shift-JIS characters.
  const Row rows[] = {
      {0, "PageUp", 0x21},    {2, "Home", 0x24},      {3, "End", 0x23},
      {4, "BackSpace", 0x08}, {8, "Enter", 0x0D},     {11, "\x81\xA9", 0x25},
      {12, "\x81\xAA", 0x26}, {13, "\x81\xA8", 0x27}, {14, "\x81\xAB", 0x28},
  };
  for (const Row& r : rows) {
    EXPECT_STREQ(ops::kKeyNameTable[r.row].name, r.name) << "row " << r.row;
    EXPECT_EQ(ops::kKeyNameTable[r.row].virtualKey, r.key) << "row " << r.row;
  }
  for (int f = 1; f <= 12; ++f) {
    const ops::KeyName& k = ops::kKeyNameTable[14 + f];
    EXPECT_EQ(k.name, "F" + std::to_string(f));
    EXPECT_EQ(k.virtualKey, 0x6F + f);
  }
  for (const ops::KeyName& k : ops::kKeyNameTable) {
    EXPECT_GT(std::strlen(k.name), 0u);
    EXPECT_LE(std::strlen(k.name), 31u);
  }
}

TEST(Records, ShortcutTable) {
  // Win+D, two blanks, (画面消去).
  EXPECT_STREQ(ops::kShortcutTable[0], "Win+D  (\x89\xE6\x96\xCA\x8F\xC1\x8B\x8E)");
  EXPECT_EQ(std::string(ops::kShortcutTable[1]).substr(0, 8), "Win+\x81\xAB (");
  EXPECT_EQ(std::string(ops::kShortcutTable[2]).substr(0, 8), "Win+\x81\xAA (");
  EXPECT_EQ(std::string(ops::kShortcutTable[10]), "Ctrl+S (保存)");
  for (const char* name : ops::kShortcutTable) {
    EXPECT_LE(std::strlen(name), 31u);
    EXPECT_EQ(std::strchr(name, ','), nullptr);
  }
}

TEST(Records, FixedLinesReadBackAsTenFields) {
  // Nine commas and no line end in both.
  for (const char* line : {ops::kBlankOperationLine, ops::kDefaultOperationLine}) {
    const std::string s = line;
    EXPECT_EQ(std::count(s.begin(), s.end(), ','), 9) << s;
    EXPECT_EQ(s.find_first_of("\r\n"), std::string::npos);
  }
  const char* blank = ops::kBlankOperationLine;
  EXPECT_EQ(Field(blank, ops::FieldName), "");
  EXPECT_EQ(Field(blank, ops::FieldAction), ops::kActionNames[ops::MouseClick]);
  EXPECT_EQ(Field(blank, ops::FieldStopSeconds), "4");

  const char* start = ops::kDefaultOperationLine;
  EXPECT_EQ(Field(start, ops::FieldName), "画面をクリア");
  EXPECT_EQ(Field(start, ops::FieldAction), ops::kActionNames[ops::Shortcut]);
  EXPECT_EQ(Field(start, ops::FieldInputData), ops::kShortcutTable[0]);
  EXPECT_EQ(Field(start, ops::FieldStopSeconds), "2");

  EXPECT_STREQ(ops::kMaskedText, "********");
}

TEST(Records, AStoredLineReadsIntoItsTenFields) {
  ops::OperationRecord r =
      ops::ReadOperationLine("\"a,b\", 12 ,34,文字を入力する,say \"\"hi\"\",,,,,4\r\n");
  EXPECT_EQ(r.field[ops::FieldName], "a,b");
  EXPECT_EQ(r.field[ops::FieldX], "12");
  EXPECT_EQ(r.field[ops::FieldAction], ops::kActionNames[ops::TypeText]);
  EXPECT_EQ(r.field[ops::FieldInputData], "say \"hi\"");
  EXPECT_EQ(r.field[ops::FieldStopSeconds], "4");
  // Missing fields, and every field of an unticked test-run row, are empty.
  r = ops::ReadOperationLine("x,1");
  EXPECT_EQ(r.field[ops::FieldX], "1");
  EXPECT_EQ(r.field[ops::FieldStopSeconds], "");
  for (const char* empty : {"", "\r\n"}) {
    r = ops::ReadOperationLine(empty);
    for (const std::string& f : r.field) EXPECT_EQ(f, "");
  }
  // One field cut to a size, never inside a character.
  EXPECT_EQ(ops::ReadOperationField(",,,a,表表", ops::FieldInputData, 3), "表");
  EXPECT_EQ(ops::ReadOperationField("", ops::FieldName, 10), "");
}

TEST(Records, RemoveCommas) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"a,b,,c", "abc"},
      {",,,", ""},
      {"x, y", "x y"},
      {"\"a,b\"", "\"ab\""},  // quotes and blanks stay
      {"", ""},
      // Two-byte characters keep every byte; 表 ends in a backslash.
      {"\x95\x5C,\x8E\xA6", "\x95\x5C\x8E\xA6"},
      // A comma right after a lead byte is that character's second byte...
      {"\x95,a,b", "\x95,ab"},
      // ...unless the lead byte is itself a second byte: 95 95 is one character.
      {"\x95\x95,a", "\x95\x95" "a"},
  };
  for (const Case& c : cases) {
    char buffer[32];
    std::strcpy(buffer, c.in);
    ops::RemoveCommas(buffer);
    EXPECT_STREQ(buffer, c.out) << "input [" << c.in << "]";
  }
  ops::RemoveCommas(nullptr);
}

TEST(Records, FieldUseAndDefaultsByKind) {
  // Indexed by kind: x and y used; input none (0), list (1) or edit (2).
  const char coordinates[] = "11111101100";
  const char input[] = "00200021122";
  const char* const stop[] = {"4", "4", "4", "4", "4", "4", "", "4", "4", "8", "2"};
  for (int kind = 0; kind < ops::kActionKindCount; ++kind) {
    EXPECT_EQ(ops::UsesCoordinates(kind), coordinates[kind] == '1') << "kind " << kind;
    EXPECT_EQ(ops::InputModeOf(kind), input[kind] - '0') << "kind " << kind;
    EXPECT_EQ(ops::UsesWindowFields(kind), kind == ops::ArrangeWindow) << "kind " << kind;
    EXPECT_STREQ(ops::DefaultStopSeconds(kind), stop[kind]) << "kind " << kind;
  }
  EXPECT_STREQ(ops::kPauseDefaultSeconds, "60");
}

TEST(Records, ArrangeWindowDefaults) {
  struct Case {
    int w, h;
    const char *left, *width, *height;
  };
  const Case cases[] = {
      {800, 600, "400", "400", "400"},
      {800, 700, "400", "400", "466"},  // divide by 3 before doubling
      {1025, 769, "512", "512", "512"},
      {-7, -700, "-3", "-3", "-466"},   // truncation toward zero
  };
  for (const Case& c : cases) {
    const ops::WindowDefaults d = ops::ArrangeWindowDefaults(c.w, c.h);
    EXPECT_STREQ(d.left, c.left);
    EXPECT_STREQ(d.top, "20");
    EXPECT_STREQ(d.width, c.width);
    EXPECT_STREQ(d.height, c.height);
  }
}

}  // namespace
