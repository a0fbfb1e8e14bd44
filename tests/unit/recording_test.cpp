// A recording's decisions over lists of hooked events: which input becomes
// which row, the double-click merge, text runs, keys and shortcuts, waits,
// window placements, password fields and what is skipped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operations/line_text.h"
#include "operations/records.h"
#include "runvane/recording.h"

namespace {

using plat::HookedInput;
using runvane::SeenInput;
using runvane::SeenWindow;

const SeenWindow kMemo{1, "メモ帳, 下書き", {100, 50, 900, 650}, false};
const SeenWindow kMail{2, "メール", {0, 0, 800, 600}, false};
const SeenWindow kMarker{3, "座標取得", {10, 10, 110, 110}, true};
const SeenWindow kUntitled{4, "", {5, 5, 50, 50}, false};

// A user's hand: each gesture takes 40 ms and the clock goes on by itself.
struct Hand {
  std::vector<SeenInput> events;
  std::uint64_t now = 1000;

  void Put(HookedInput::Kind kind, const SeenWindow& w, int x = 0, int y = 0, int vk = 0) {
    SeenInput e;
    e.input.kind = kind;
    e.input.ms = now;
    e.input.x = x;
    e.input.y = y;
    e.input.virtualKey = vk;
    e.window = w;
    events.push_back(e);
  }
  Hand& Wait(std::uint64_t ms) {
    now += ms;
    return *this;
  }
  Hand& Click(const SeenWindow& w, int x, int y, bool right = false, int moved = 0) {
    Put(right ? HookedInput::RightDown : HookedInput::LeftDown, w, x, y);
    now += 40;
    Put(right ? HookedInput::RightUp : HookedInput::LeftUp, w, x + moved, y);
    now += 40;
    return *this;
  }
  Hand& Key(const SeenWindow& w, int vk, const std::string& text = "", bool password = false, bool exact = true) {
    Put(HookedInput::KeyDown, w, 0, 0, vk);
    events.back().text = text;
    events.back().password = password;
    events.back().textExact = exact;
    now += 40;
    Put(HookedInput::KeyUp, w, 0, 0, vk);
    now += 40;
    return *this;
  }
  Hand& Type(const SeenWindow& w, const std::string& chars, bool password = false) {
    for (char c : chars) Key(w, c == ' ' ? 0x20 : std::toupper(static_cast<unsigned char>(c)), {c}, password);
    return *this;
  }
  Hand& Hold(const SeenWindow& w, int vk, bool down) {
    Put(down ? HookedInput::KeyDown : HookedInput::KeyUp, w, 0, 0, vk);
    return *this;
  }
  runvane::Recording Recording() const { return runvane::RecordRows(events, plat::ClickMetrics()); }
  std::vector<std::string> Lines() const { return runvane::RecordedLines(Recording()); }
};

TEST(Recording, ClicksMergeIntoDoubleClicksAndEachNewWindowIsPlacedFirst) {
  Hand h;
  h.Click(kMemo, 200, 100).Wait(2000);
  h.Click(kMemo, 300, 120).Wait(100).Click(kMemo, 301, 121).Wait(100).Click(kMemo, 301, 121).Wait(3000);
  h.Click(kMail, 40, 30, true).Wait(600).Click(kMail, 40, 30).Wait(600).Click(kMail, 40, 30);  // too slow to merge
  h.Wait(1000).Click(kMemo, 500, 400).Click(kMemo, 510, 400);  // too far apart to merge
  h.Click(kUntitled, 20, 20);
  const std::vector<std::string> expected = {
      "メモ帳 下書き,,,アプリケーションの表示設定,メモ帳 下書き,100,50,800,600,1",
      "メモ帳 下書き,200,100,マウスでクリックする,,,,,,2",
      // Triple: a double click, then a click; waits count from the end of each.
      "メモ帳 下書き,300,120,マウスでダブルクリックする,,,,,,1",
      "メモ帳 下書き,301,121,マウスでクリックする,,,,,,3",
      "メール,,,アプリケーションの表示設定,メール,0,0,800,600,1",
      "メール,40,30,マウスで右クリックする,,,,,,1",
      "メール,40,30,マウスでクリックする,,,,,,1",
      "メール,40,30,マウスでクリックする,,,,,,1",
      "メモ帳 下書き,,,アプリケーションの表示設定,メモ帳 下書き,100,50,800,600,1",
      "メモ帳 下書き,500,400,マウスでクリックする,,,,,,1",
      "メモ帳 下書き,510,400,マウスでクリックする,,,,,,1",
      ",20,20,マウスでクリックする,,,,,,4",  // a window without a title cannot be placed
  };
  EXPECT_EQ(h.Lines(), expected);

  // Long titles and texts still give lines that the file reads back whole.
  SeenWindow longTitle = kMail;
  longTitle.handle = 5;
  longTitle.title = std::string(300, 'a') + std::string(300, 'b');
  Hand longHand;
  longHand.Click(longTitle, 10, 10).Type(longTitle, std::string(700, 'x'));
  const std::vector<std::string> lines = longHand.Lines();
  ASSERT_EQ(lines.size(), 4u);
  for (const std::string& line : lines) EXPECT_TRUE(ops::IsOperationLine(line)) << line.size();
  EXPECT_EQ(ops::ReadOperationLine(lines[2].c_str()).field[ops::FieldInputData].size() +
                ops::ReadOperationLine(lines[3].c_str()).field[ops::FieldInputData].size(),
            700u);
}

TEST(Recording, TypedCharactersMakeOneTextAndKeysOfTheTablesTheirRows) {
  Hand h;
  h.Type(kMemo, "hely").Key(kMemo, 0x08, "\b").Type(kMemo, "lo w");
  h.Hold(kMemo, 0xA0, true).Key(kMemo, 'O', "O").Hold(kMemo, 0xA0, false);
  h.Key(kMemo, 0xBC, ",").Type(kMemo, "rld ").Key(kMemo, 0xBB, "\x82\xa0", false, false);  // comma, unwritable
  h.Key(kMemo, 0x0D, "\r").Wait(3000);
  h.Hold(kMemo, 0xA2, true).Key(kMemo, 'A').Key(kMemo, 'Q').Hold(kMemo, 0xA2, false);
  h.Hold(kMemo, 0x10, true).Key(kMemo, 0x09, "\t").Hold(kMemo, 0x10, false);  // Shift+Tab
  h.Key(kMemo, 0x14).Key(kMemo, 0xE5).Key(kMemo, 0xE5).Key(kMemo, 0x20, " ").Key(kMemo, 0x25);
  h.Hold(kMemo, 0x5B, true).Key(kMemo, 0x28).Hold(kMemo, 0x5B, false);
  // AltGr (Ctrl+Alt) that types a character types it.
  h.Hold(kMemo, 0xA2, true).Hold(kMemo, 0xA5, true).Key(kMemo, 'E', "@").Hold(kMemo, 0xA5, false);
  h.Hold(kMemo, 0xA2, false);
  const std::vector<std::string> expected = {
      "メモ帳 下書き,,,文字を入力する,hello wOrld,,,,,1",
      "メモ帳 下書き,,,各種キーを入力する,Space,,,,,1",
      "メモ帳 下書き,,,各種キーを入力する,Enter,,,,,3",
      "メモ帳 下書き,,,ショートカットを入力する,Ctrl+A (全選),,,,,1",
      "メモ帳 下書き,,,各種キーを入力する,Space,,,,,1",
      "メモ帳 下書き,,,各種キーを入力する,←,,,,,1",
      "メモ帳 下書き,,,ショートカットを入力する,Win+↓ (最大化解除),,,,,1",
      "メモ帳 下書き,,,文字を入力する,@,,,,,4",
  };
  EXPECT_EQ(h.Lines(), expected);
  std::string file;
  for (const std::string& line : expected) file += line + "\r\n";
  file += "//表にないキーの組み合わせ 2件\r\n//表にないキー 1件\r\n//IME での入力 1件\r\n"
          "//記録できない文字（カンマ、引用符、Shift-JIS にない文字） 2件\r\n";
  EXPECT_EQ(runvane::RecordingFileText(h.Recording()), file);
}

TEST(Recording, PasswordsOwnWindowsAndWhatTheFormatCannotHoldAreNotRecorded) {
  Hand h;
  h.Click(kMarker, 50, 50).Type(kMarker, "x");  // the kit's own window
  h.Type(kMail, "secret", true).Key(kMail, 0x08, "\b", true).Key(kMail, 0x0D, "\r", true);
  h.Click(kMemo, 200, 100, false, 30);                                   // a drag
  h.Put(HookedInput::OtherButtonDown, kMemo, 200, 100);                  // middle button
  h.Put(HookedInput::Wheel, kMemo, 200, 100);
  h.Put(HookedInput::Wheel, kMemo, 200, 100);                            // one turn of the wheel
  h.Hold(kMemo, 0xA2, true).Click(kMemo, 200, 100).Hold(kMemo, 0xA2, false);  // Ctrl+click
  const runvane::Recording r = h.Recording();
  const std::vector<std::string> expected = {
      std::string(runvane::kPasswordRowName) + ",,,文字を入力する,,,,,,1",
      "メール,,,各種キーを入力する,Enter,,,,,4",
  };
  EXPECT_EQ(runvane::RecordedLines(r), expected);
  std::string skipped;
  for (const runvane::SkippedInput& s : r.skipped) skipped += s.what + "=" + std::to_string(s.count) + " ";
  EXPECT_EQ(skipped, "ドラッグ=1 中ボタンなどのクリック=1 ホイールの回転=1 キーを押しながらのクリック=1 ");
  EXPECT_EQ(runvane::RecordingStatus(r), "記録中 2 件（記録しない操作 4 件）　Shift+Esc で終了");
  EXPECT_EQ(runvane::RecordingStatus(runvane::Recording()), "記録中 0 件　Shift+Esc で終了");
  EXPECT_EQ(runvane::RecordingFileText(runvane::Recording()), "");
  EXPECT_TRUE(runvane::IsKitProgram("PICKMARK.EXE"));
  EXPECT_FALSE(runvane::IsKitProgram("notepad.exe"));
}

}  // namespace
