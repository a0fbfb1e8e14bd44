#include "runvane/recording.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "operations/line_text.h"
#include "operations/records.h"
#include "runvane/job.h"
#include "text/sjis.h"

namespace runvane {

const char kPasswordRowName[] = "パスワード（記録していません）";

namespace {

using E = plat::HookedInput;

constexpr int kVkBack = 0x08;
constexpr int kVkSpace = 0x20;
constexpr int kVkProcessKey = 0xE5;  // an IME took the key
constexpr std::size_t kFieldBytes = 511;       // a field read into a 512-byte buffer
// A placement holds the title twice (its name and the window to find, which
// is found by a part of its title): both cut so the line stays readable whole.
constexpr std::size_t kPlacedTitleBytes = 470;
constexpr std::uint64_t kLongestWaitSeconds = 999999;  // what the runner reads

enum Skip { Drag, OtherButton, Wheel, ModifiedClick, Combination, OtherKey, Ime, Unwritable, kSkipKinds };
const char* const kSkipNames[kSkipKinds] = {
    "ドラッグ",
    "中ボタンなどのクリック",
    "ホイールの回転",
    "キーを押しながらのクリック",
    "表にないキーの組み合わせ",
    "表にないキー",
    "IME での入力",
    "記録できない文字（カンマ、引用符、Shift-JIS にない文字）",
};

std::string NameOf(const std::string& title) {
  std::string name = title;
  ops::RemoveCommas(&name[0]);
  name.resize(std::char_traits<char>::length(name.c_str()));
  return text::CutToCharacters(name, kFieldBytes);
}

// A character the line can hold as typed text: printable, Shift-JIS, and
// neither the field separator nor the quote that the reader takes apart.
bool Holdable(const SeenInput& e) {
  if (!e.textExact || e.text.empty()) return false;
  for (unsigned char c : e.text) {
    if (c < 0x20 || c == 0x7F || c == ',' || c == '"') return false;
  }
  return true;
}

bool Printable(const std::string& t) {
  if (t.empty()) return false;
  for (unsigned char c : t) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

const char* KeyTableName(int vk) {
  for (const ops::KeyName& k : ops::kKeyNameTable) {
    if (k.virtualKey == vk) return k.name;
  }
  return nullptr;
}

const char* ShortcutName(const HeldModifiers& held, int vk) {
  if (held.shift || (held.ctrl + held.alt + held.win) != 1) return nullptr;
  const int modifier = held.win ? kVkLeftWin : held.alt ? kVkMenu : kVkControl;
  for (const char* entry : ops::kShortcutTable) {
    int m = 0, k = 0;
    if (ShortcutKeys(entry, &m, &k) && m == modifier && k == vk) return entry;
  }
  return nullptr;
}

bool Within(int a, int b, int reach) { return std::abs(a - b) <= reach; }

class Recorder {
 public:
  explicit Recorder(const plat::ClickMetrics& m) : metrics_(m) {}

  Recording Take(const std::vector<SeenInput>& events) {
    for (const SeenInput& e : events) See(e);
    EndText();
    for (int i = 0; i < kSkipKinds; ++i) {
      if (counts_[i] > 0) out_.skipped.push_back({kSkipNames[i], counts_[i]});
    }
    return out_;
  }

 private:
  struct Press {
    bool down = false;
    SeenInput event;
    bool modified = false;
  };
  struct Click {
    bool mergeable = false;
    std::uint64_t ms = 0;
    int x = 0, y = 0;
    plat::Window window = plat::kNoWindow;
  };

  void See(const SeenInput& e) {
    const E& in = e.input;
    if (in.kind == E::KeyDown || in.kind == E::KeyUp) {
      if (held_.Note(in) || in.kind == E::KeyUp) return;
      if (!e.window.own) Key(e);
      return;
    }
    Press* press = in.kind == E::LeftDown || in.kind == E::LeftUp ? &left_
                   : in.kind == E::RightDown || in.kind == E::RightUp ? &right_
                                                                      : nullptr;
    if (e.window.own && (in.kind == E::LeftDown || in.kind == E::RightDown || in.kind == E::OtherButtonDown ||
                         in.kind == E::Wheel)) {
      if (press != nullptr) press->down = false;  // its release is not the user's click either
      return;
    }
    switch (in.kind) {
      case E::LeftDown:
      case E::RightDown:
        EndText();
        *press = {true, e, held_.Any()};
        break;
      case E::LeftUp:
      case E::RightUp:
        if (press->down) Release(*press, e, in.kind == E::LeftUp);
        press->down = false;
        break;
      case E::OtherButtonDown:
        EndText();
        Skipped(OtherButton);
        break;
      case E::Wheel:
        EndText();
        Skipped(Wheel, true);
        break;
      default:
        break;
    }
  }

  void Release(const Press& press, const SeenInput& up, bool leftButton) {
    const E& down = press.event.input;
    if (!Within(down.x, up.input.x, metrics_.dragWidth) || !Within(down.y, up.input.y, metrics_.dragHeight)) {
      Skipped(Drag);
      return;
    }
    if (press.modified) {
      Skipped(ModifiedClick);
      return;
    }
    const SeenWindow& window = press.event.window;
    if (leftButton && last_.mergeable && down.ms - last_.ms <= metrics_.doubleClickMs &&
        Within(down.x, last_.x, metrics_.doubleClickWidth / 2) &&
        Within(down.y, last_.y, metrics_.doubleClickHeight / 2) && window.handle == last_.window) {
      out_.rows.back().kind = ops::MouseDoubleClick;
      out_.rows.back().endMs = up.input.ms;
      last_.mergeable = false;
      lastSkip_ = -1;
      return;
    }
    if (!clicked_ || window.handle != clickedWindow_) Place(window, down.ms);
    clicked_ = true;
    clickedWindow_ = window.handle;
    RecordedRow row;
    row.kind = leftButton ? ops::MouseClick : ops::MouseRightClick;
    row.name = NameOf(window.title);
    row.hasPoint = true;
    row.x = down.x;
    row.y = down.y;
    row.startMs = down.ms;
    row.endMs = up.input.ms;
    Add(row);
    last_ = {leftButton, down.ms, down.x, down.y, window.handle};
  }

  // The window's placement before the first click into it; a window without
  // a title cannot be found again, so it gets none.
  void Place(const SeenWindow& window, std::uint64_t ms) {
    const std::string title = text::CutToCharacters(NameOf(window.title), kPlacedTitleBytes);
    if (title.empty() || window.rect.right <= window.rect.left || window.rect.bottom <= window.rect.top) return;
    RecordedRow row;
    row.kind = ops::ArrangeWindow;
    row.name = title;
    row.input = title;
    row.window = window.rect;
    row.startMs = row.endMs = ms;
    Add(row);
  }

  void Key(const SeenInput& e) {
    const int vk = e.input.virtualKey;
    if (vk == kVkProcessKey) {
      EndText();
      Skipped(Ime, true);
      return;
    }
    const bool altGr = held_.ctrl && held_.alt && !held_.win && Printable(e.text);
    if ((held_.ctrl || held_.alt || held_.win) && !altGr) {
      const char* shortcut = ShortcutName(held_, vk);
      if (shortcut == nullptr) {
        Skipped(Combination);
        return;
      }
      KeyRow(e, ops::Shortcut, shortcut);
      return;
    }
    if (e.password && (Printable(e.text) || (vk == kVkBack && textRow_ >= 0))) {
      Typed(e, "");  // the text is never kept, nor its length
      return;
    }
    if (vk == kVkBack && !held_.shift && textRow_ >= 0 && !password_) {
      std::string& t = out_.rows[static_cast<std::size_t>(textRow_)].input;
      std::size_t last = 0;
      for (std::size_t i = 0; i < t.size(); i += text::IsLeadByte(static_cast<unsigned char>(t[i])) ? 2 : 1) last = i;
      t.erase(last);
      if (t.empty()) {
        out_.rows.pop_back();
        textRow_ = -1;
      }
      return;
    }
    if (Printable(e.text) && !(vk == kVkSpace && textRow_ < 0 && !held_.shift)) {
      if (Holdable(e)) {
        Typed(e, e.text);
      } else {
        Skipped(Unwritable);
      }
      return;
    }
    const char* name = KeyTableName(vk);
    if (name == nullptr || held_.shift) {
      Skipped(name == nullptr ? OtherKey : Combination);
      return;
    }
    KeyRow(e, ops::PressKey, name);
  }

  void KeyRow(const SeenInput& e, int kind, const char* input) {
    EndText();
    RecordedRow row;
    row.kind = kind;
    row.name = NameOf(e.window.title);
    row.input = input;
    row.startMs = row.endMs = e.input.ms;
    Add(row);
  }

  // Characters join the text being typed into the same window; a new row
  // begins when the line would grow past what the file holds.
  void Typed(const SeenInput& e, const std::string& chars) {
    if (textRow_ >= 0 && (textWindow_ != e.window.handle || password_ != e.password)) EndText();
    if (textRow_ >= 0) {
      RecordedRow& row = out_.rows[static_cast<std::size_t>(textRow_)];
      if (row.input.size() + chars.size() <= TextRoom(row.name)) {
        row.input += chars;
        row.endMs = e.input.ms;
        return;
      }
      EndText();
    }
    RecordedRow row;
    row.kind = ops::TypeText;
    row.name = e.password ? kPasswordRowName : NameOf(e.window.title);
    row.input = chars;
    row.startMs = row.endMs = e.input.ms;
    Add(row);
    textRow_ = static_cast<int>(out_.rows.size()) - 1;
    textWindow_ = e.window.handle;
    password_ = e.password;
  }

  // Bytes of text a line with this name holds: the field's size, and the
  // whole line within the longest the file gives back (the stop seconds at
  // their longest).
  static std::size_t TextRoom(const std::string& name) {
    const std::size_t rest = name.size() + std::char_traits<char>::length(ops::kActionNames[ops::TypeText]) + 9 + 6;
    return std::min(kFieldBytes, ops::kLongestStoredLine - rest);
  }

  // Blanks at either end of a text would be trimmed when the line is read
  // back, so they are sent as Space keys around it.
  void EndText() {
    if (textRow_ < 0) return;
    const std::size_t index = static_cast<std::size_t>(textRow_);
    textRow_ = -1;
    if (password_) return;
    RecordedRow row = out_.rows[index];
    std::size_t lead = row.input.find_first_not_of(' ');
    if (lead == std::string::npos) lead = row.input.size();
    const std::size_t end = row.input.find_last_not_of(' ') + 1;
    const std::size_t trail = lead == row.input.size() ? 0 : row.input.size() - end;
    RecordedRow space = row;
    space.kind = ops::PressKey;
    space.input = KeyTableName(kVkSpace);
    out_.rows.erase(out_.rows.begin() + static_cast<long>(index));
    for (std::size_t i = 0; i < lead; ++i) out_.rows.push_back(space);
    if (lead < row.input.size()) {
      row.input = row.input.substr(lead, end - lead);
      out_.rows.push_back(row);
    }
    for (std::size_t i = 0; i < trail; ++i) out_.rows.push_back(space);
  }

  void Add(const RecordedRow& row) {
    out_.rows.push_back(row);
    last_.mergeable = false;
    lastSkip_ = -1;
  }

  // A run of wheel turns or of IME keys counts once.
  void Skipped(int kind, bool runCountsOnce = false) {
    if (!runCountsOnce || lastSkip_ != kind) ++counts_[kind];
    lastSkip_ = kind;
    last_.mergeable = false;
  }

  const plat::ClickMetrics metrics_;
  Recording out_;
  HeldModifiers held_;
  Press left_, right_;
  Click last_;
  bool clicked_ = false;
  plat::Window clickedWindow_ = plat::kNoWindow;
  int textRow_ = -1;  // the text being typed: always the last row
  plat::Window textWindow_ = plat::kNoWindow;
  bool password_ = false;
  int counts_[kSkipKinds] = {};
  int lastSkip_ = -1;
};

}  // namespace

bool HeldModifiers::Note(const plat::HookedInput& e) {
  if (e.kind != E::KeyDown && e.kind != E::KeyUp) return false;
  const bool down = e.kind == E::KeyDown;
  switch (e.virtualKey) {
    case 0x10: case 0xA0: case 0xA1: shift = down; return true;
    case 0x11: case 0xA2: case 0xA3: ctrl = down; return true;
    case 0x12: case 0xA4: case 0xA5: alt = down; return true;
    case 0x5B: case 0x5C: win = down; return true;
    default: return false;
  }
}

bool EndsRecording(const HeldModifiers& held, const plat::HookedInput& e) {
  return e.kind == E::KeyDown && e.virtualKey == plat::kVkEscape && held.shift && !held.ctrl && !held.alt &&
         !held.win;
}

int Recording::SkippedCount() const {
  int n = 0;
  for (const SkippedInput& s : skipped) n += s.count;
  return n;
}

Recording RecordRows(const std::vector<SeenInput>& events, const plat::ClickMetrics& metrics) {
  return Recorder(metrics).Take(events);
}

std::vector<std::string> RecordedLines(const Recording& recording) {
  std::vector<std::string> lines;
  const std::vector<RecordedRow>& rows = recording.rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RecordedRow& r = rows[i];
    std::string stop = ops::DefaultStopSeconds(r.kind);
    if (i + 1 < rows.size()) {
      const std::uint64_t gap = rows[i + 1].startMs > r.endMs ? rows[i + 1].startMs - r.endMs : 0;
      stop = std::to_string(std::min(kLongestWaitSeconds, std::max<std::uint64_t>(1, (gap + 500) / 1000)));
    }
    std::string line = r.name + ",";
    line += r.hasPoint ? std::to_string(r.x) + "," + std::to_string(r.y) + "," : ",,";
    line += std::string(ops::kActionNames[r.kind]) + "," + r.input + ",";
    if (r.kind == ops::ArrangeWindow) {
      line += std::to_string(r.window.left) + "," + std::to_string(r.window.top) + "," +
              std::to_string(r.window.right - r.window.left) + "," +
              std::to_string(r.window.bottom - r.window.top) + ",";
    } else {
      line += ",,,,";
    }
    lines.push_back(line + stop);
  }
  return lines;
}

std::string RecordingFileText(const Recording& recording) {
  std::string text = ops::LinesAsText(RecordedLines(recording));
  for (const SkippedInput& s : recording.skipped) text += "//" + s.what + " " + std::to_string(s.count) + "件\r\n";
  return text;
}

std::string RecordingStatus(const Recording& recording) {
  std::string status = "記録中 " + std::to_string(recording.rows.size()) + " 件";
  const int skipped = recording.SkippedCount();
  if (skipped > 0) status += "（記録しない操作 " + std::to_string(skipped) + " 件）";
  return status + "　Shift+Esc で終了";
}

bool IsKitProgram(const std::string& programName) {
  std::string lower;
  for (char c : programName) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "tavolex.exe" || lower == "runvane.exe" || lower == "pickmark.exe" || lower == "titlescan.exe";
}

}  // namespace runvane
