// Line assembly and the list's colour decision, without a window.
#include <gtest/gtest.h>

#include <string>

#include "editor/line_assembly.h"
#include "editor/list_colors.h"
#include "operations/records.h"
#include "text/csv.h"

namespace {

using ops::OperationRecord;

std::string Field(const std::string& line, int n) {
  char out[1024];
  text::GetCsvItem(n, line.c_str(), out, sizeof out);
  return out;
}

OperationRecord Fields(std::initializer_list<std::string> values) {
  OperationRecord f;
  int i = 1;
  for (const std::string& v : values) f.field[i++] = v;
  return f;
}

TEST(StoredFreeText, QuotesAreKeptOnlyWhenTheyReadBackAsTyped) {
  for (const std::string typed : {"plain", "a \"b\" c", "", "日本語\"x\"y"}) {
    EXPECT_EQ(editor::StoredFreeText(typed), typed) << typed;
  }
  // Each of these would not survive the reader: odd quotes, an enclosing
  // pair, a doubled quote.
  for (const std::string typed : {"say \"hi", "\"quoted\"", "a\"\"b", "\"", "x\"", "\"quoted\" and \"\"two\"\""}) {
    const std::string stored = editor::StoredFreeText(typed);
    EXPECT_EQ(stored.front(), '"') << typed;
    const std::string line = "n," + stored + ",after";
    EXPECT_EQ(Field(line, 2), typed) << stored;
    EXPECT_EQ(Field(line, 3), "after") << stored;
  }
}

TEST(JoinLine, KeepsTenFieldsAndQuotesOnlyFreeText) {
  OperationRecord f = Fields({"say \"hi", "1", "2", "文字を入力する", "in\"put", "", "", "", "", "4"});
  std::string line = editor::JoinLine(f, true, 0);
  EXPECT_EQ(line, "\"say \"\"hi\",1,2,文字を入力する,\"in\"\"put\",,,,,4");
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(Field(line, n), f.field[n]) << n;

  // A name that would make the line read as a comment is quoted.
  OperationRecord c = Fields({"//メモ", "", "", "指定秒間は停止する", "60", "", "", "", "", ""});
  line = editor::JoinLine(c, true, 0);
  EXPECT_NE(line.compare(0, 2, "//"), 0);
  EXPECT_EQ(Field(line, 1), "//メモ");

  // An input chosen from a list or digits is written byte for byte.
  OperationRecord g = Fields({"k", "", "", "各種キーを入力する", "Enter", "", "", "", "", "4"});
  EXPECT_EQ(editor::JoinLine(g, false, 0), "k,,,各種キーを入力する,Enter,,,,,4");
}

TEST(JoinLine, CutsTooLongLinesAtCharacterBoundaries) {
  // The field being edited is cut first: here the stop seconds.
  std::string name;
  for (int i = 0; i < 255; ++i) name += "名";
  OperationRecord f = Fields({name + "x", "", "", "文字を入力する", std::string(300, 'i'), "", "", "", "",
                         std::string(511, '9')});
  std::string line = editor::JoinLine(f, true, ops::FieldStopSeconds);
  EXPECT_EQ(line.size(), 1023u);
  EXPECT_EQ(f.field[5], std::string(300, 'i'));
  EXPECT_EQ(f.field[1], name + "x");
  EXPECT_EQ(f.field[10], std::string(189, '9'));
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(Field(line, n), f.field[n]) << n;

  // Without a field to prefer, the input goes first.
  OperationRecord g = Fields({name + "x", "", "", "文字を入力する", std::string(511, 'i'), "", "", "", "", "4"});
  line = editor::JoinLine(g, true, 0);
  EXPECT_EQ(line.size(), 1023u);
  EXPECT_EQ(g.field[5], std::string(488, 'i'));
  EXPECT_EQ(g.field[1], name + "x");
  // A name is cut by whole characters: 23 bytes too many take 12 characters.
  OperationRecord k = Fields({"x" + name, "", "", "文字を入力する", std::string(511, 'i'), "", "", "", "", "4"});
  line = editor::JoinLine(k, true, ops::FieldName);
  EXPECT_EQ(line.size(), 1022u);
  EXPECT_EQ(k.field[1], "x" + name.substr(0, 2 * 243));
  EXPECT_EQ(Field(line, 1), k.field[1]);
  // A quoted text is cut by its stored length, and stays readable.
  std::string quotes(500, '"');
  OperationRecord h = Fields({quotes, "", "", "文字を入力する", quotes + "\"", "", "", "", "", "4"});
  line = editor::JoinLine(h, true, 1);
  EXPECT_LE(line.size(), 1023u);
  EXPECT_EQ(Field(line, 4), "文字を入力する");
  EXPECT_EQ(Field(line, 1), h.field[1]);
  EXPECT_EQ(Field(line, 5), h.field[5]);
  EXPECT_EQ(Field(line, 10), "4");
  // Everything at its largest: the action stays.
  OperationRecord all = Fields({std::string(511, 'n'), std::string(511, '1'), std::string(511, '2'),
                           "アプリケーションの表示設定", std::string(511, 'i'), "1234", "1234", "1234",
                           "1234", std::string(511, '9')});
  line = editor::JoinLine(all, true, 0);
  EXPECT_LE(line.size(), 1023u);
  EXPECT_EQ(Field(line, 4), "アプリケーションの表示設定");
}

TEST(CellColors, RepeatMarkThenCurrentRowThenAlternatingRows) {
  const editor::CColoredListCtrl& list = editor::OperationList;
  const plat::Color black = plat::Rgb(0, 0, 0);
  const char* click = ops::kActionNames[ops::MouseClick];
  EXPECT_EQ(list.ColorsOf(0, 1, "", click, -1).back, plat::Rgb(232, 243, 253));
  EXPECT_EQ(list.ColorsOf(1, 1, "", click, -1).back, plat::Rgb(255, 255, 255));
  EXPECT_EQ(list.ColorsOf(1, 1, "", click, 1).back, plat::Rgb(100, 200, 255));
  EXPECT_EQ(list.ColorsOf(1, 1, "■", click, 1).back, plat::Rgb(255, 200, 200));
  EXPECT_EQ(list.ColorsOf(1, 1, "■", click, 1).text, black);
  // Column 4 by action; an unknown name keeps the row's colours.
  auto cell = list.ColorsOf(1, 4, "■", ops::kActionNames[ops::Shortcut], 1);
  EXPECT_EQ(cell.back, plat::Rgb(0, 0, 160));
  EXPECT_EQ(cell.text, plat::Rgb(255, 255, 255));
  cell = list.ColorsOf(2, 4, "", "マウスでクリック", 1);
  EXPECT_EQ(cell.back, plat::Rgb(232, 243, 253));
  EXPECT_EQ(cell.text, black);
  // The action text matters only in column 4.
  EXPECT_EQ(list.ColorsOf(2, 5, "", click, -1).back, plat::Rgb(232, 243, 253));

  const plat::Color backs[ops::kActionKindCount] = {
      plat::Rgb(255, 255, 120), plat::Rgb(255, 235, 120), plat::Rgb(100, 100, 100), plat::Rgb(255, 220, 120),
      plat::Rgb(80, 255, 80),   plat::Rgb(0, 120, 0),     plat::Rgb(240, 240, 240), plat::Rgb(80, 80, 255),
      plat::Rgb(0, 0, 160),     plat::Rgb(200, 0, 0),     plat::Rgb(255, 80, 80)};
  const bool whiteText[ops::kActionKindCount] = {false, false, true, false, false, true,
                                                    false, true,  true, true,  true};
  for (int k = 0; k < ops::kActionKindCount; ++k) {
    plat::Color text = 1, back = 1;
    ASSERT_TRUE(editor::ActionCellColors(ops::kActionNames[k], &text, &back));
    EXPECT_EQ(back, backs[k]) << k;
    EXPECT_EQ(text, whiteText[k] ? plat::Rgb(255, 255, 255) : black) << k;
  }
}

}  // namespace
