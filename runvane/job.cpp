#include "runvane/job.h"

#include <cstring>

#include "companions/repeat.h"
#include "operations/records.h"
#include "text/sjis.h"

namespace runvane {

namespace {

constexpr int kRepeatLines = 3;
constexpr std::size_t kRepeatLineBuffer = 1024;  // the editor's read buffer
constexpr int kMaxSecondsDigits = 6;            // up to 999,999 seconds
constexpr int kMaxPixelDigits = 6;

// An optional minus sign (when allowed) and 1 to maxDigits decimal digits.
bool ReadNumber(const std::string& text, bool allowSign, int maxDigits, long* value) {
  std::size_t digits = text.size();
  const bool negative = allowSign && !text.empty() && text[0] == '-';
  if (negative) --digits;
  if (digits == 0 || digits > static_cast<std::size_t>(maxDigits)) return false;
  const char* start = text.c_str() + (negative ? 1 : 0);
  if (!text::IsAllDigits(start)) return false;
  *value = negative ? -text::LeadingNumber(start) : text::LeadingNumber(start);
  return true;
}

// The text before the first blank: the keys of a shortcut name.
std::string KeysPart(const std::string& name) { return name.substr(0, name.find(' ')); }

int KeyCodeByName(const std::string& name) {
  for (const ops::KeyName& key : ops::kKeyNameTable) {
    if (name == key.name) return key.virtualKey;
  }
  return 0;
}

// Steps one row: a reason why it cannot run, or empty.
class RowReader {
 public:
  RowReader(const Screen& screen, Step* step) : screen_(screen), step_(*step) {}

  std::string Read(const std::string& line) {
    bool exact = true;
    ops::OperationRecord r = ops::ReadOperationLine(line.c_str());  // up to a NUL
    step_.name = r.field[ops::FieldName];
    if (line.find('\0') != std::string::npos) return "行の途中に文字として読めないバイト(00)があります。";
    const std::string& action = r.field[ops::FieldAction];
    step_.kind = ops::FindActionKind(action.c_str());
    if (step_.kind < 0) {
      return action.empty() ? "アクションが指定されていません。"
                            : "アクション「" + action + "」は使えません。";
    }
    std::string problem = ReadPoint(r.field[ops::FieldX], r.field[ops::FieldY]);
    if (!problem.empty()) return problem;
    if (!ReadSeconds(r.field[ops::FieldStopSeconds], "停止秒", &step_.hasStop, &step_.stopMs, &problem)) {
      return problem;
    }
    const std::string& input = r.field[ops::FieldInputData];
    switch (step_.kind) {
      case ops::TypeText:
        step_.text = input;
        step_.typed = plat::ToUtf16(input.c_str(), &exact);
        if (!exact) return "入力する文字に、文字として読めないバイトがあります。";
        return "";
      case ops::Pause: {
        bool given = false;
        if (!ReadSeconds(input, "停止する秒数", &given, &step_.pauseMs, &problem)) return problem;
        if (!given) step_.pauseMs = text::LeadingNumber(ops::kPauseDefaultSeconds) * 1000LL;
        return "";
      }
      case ops::PressKey:
        step_.virtualKey = KeyCodeByName(input);
        if (step_.virtualKey == 0) return "キー「" + input + "」は使えません。";
        return "";
      case ops::Shortcut:
        if (!ShortcutKeys(input, &step_.modifier, &step_.virtualKey)) {
          return "ショートカット「" + input + "」は使えません。";
        }
        return "";
      case ops::RunApplication:
        step_.text = input;
        if (input.empty()) return "実行するアプリケーションのパスが空です。";
        return "";
      case ops::ArrangeWindow:
        step_.text = input;
        if (input.empty()) return "表示設定するウィンドウのタイトルが空です。";
        return ReadWindowFields(r);
      default:
        return "";
    }
  }

 private:
  std::string ReadPoint(const std::string& x, const std::string& y) {
    if (!ops::UsesCoordinates(step_.kind)) return "";
    const bool needed = step_.kind == ops::MouseClick || step_.kind == ops::MouseDoubleClick ||
                        step_.kind == ops::MouseRightClick;
    if (x.empty() && y.empty()) {
      return needed ? "クリックする位置（X座標とY座標）が指定されていません。" : "";
    }
    if (x.empty() || y.empty()) return "X座標とY座標の一方だけが指定されています。";
    long vx = 0, vy = 0;
    if (!ReadNumber(x, true, kMaxPixelDigits, &vx) || !ReadNumber(y, true, kMaxPixelDigits, &vy)) {
      return "座標「" + x + "," + y + "」が数字ではありません。";
    }
    const std::string point = "座標(" + std::to_string(vx) + "," + std::to_string(vy) + ")";
    // The top-left pixel is the user's stop corner: the run would stop itself.
    if (vx == 0 && vy == 0) return point + "は停止の合図（画面の左上隅）なので使えません。";
    const plat::Rect& b = screen_.bounds;
    if (vx < b.left || vy < b.top || vx >= b.right || vy >= b.bottom) {
      return point + "は画面(" + std::to_string(b.right - b.left) + "×" + std::to_string(b.bottom - b.top) +
             ")の外です。";
    }
    step_.hasPoint = true;
    step_.x = static_cast<int>(vx);
    step_.y = static_cast<int>(vy);
    return "";
  }

  // Empty text: not given. False, with the problem, when not a number.
  static bool ReadSeconds(const std::string& text, const char* what, bool* given, long long* ms,
                          std::string* problem) {
    *given = !text.empty();
    if (!*given) return true;
    long seconds = 0;
    if (!ReadNumber(text, false, kMaxSecondsDigits, &seconds)) {
      *problem = std::string(what) + "「" + text + "」が秒数（" + std::to_string(kMaxSecondsDigits) +
                 "桁までの数字）ではありません。";
      return false;
    }
    *ms = seconds * 1000LL;
    return true;
  }

  // Left, top, width, height; an empty field takes the editor's default.
  std::string ReadWindowFields(const ops::OperationRecord& r) {
    const ops::WindowDefaults d = ops::ArrangeWindowDefaults(screen_.primaryWidth, screen_.primaryHeight);
    const char* defaults[] = {d.left, d.top, d.width, d.height};
    int* targets[] = {&step_.left, &step_.top, &step_.width, &step_.height};
    for (int i = 0; i < 4; ++i) {
      const std::string& field = r.field[ops::FieldWindowLeft + i];
      const std::string text = field.empty() ? defaults[i] : field;
      long value = 0;
      if (!ReadNumber(text, true, kMaxPixelDigits, &value)) {
        return "ウィンドウの位置と大きさ「" + text + "」が数字ではありません。";
      }
      *targets[i] = static_cast<int>(value);
    }
    if (step_.width <= 0 || step_.height <= 0) return "ウィンドウの横幅と縦高は1以上にしてください。";
    return "";
  }

  const Screen& screen_;
  Step& step_;
};

bool Refuse(Refusal* refusal, Refusal::Where where, int line, const std::string& reason) {
  refusal->where = where;
  refusal->line = line;
  refusal->reason = reason;
  return false;
}

// The repeat rules of KeyRepeat.def: three lines, each "from,to,count" or
// empty, checked line by line with the editor's own check.
bool ReadRepeats(const std::string& bytes, int rowCount, Job* job, Refusal* refusal) {
  const std::vector<std::string> lines = SplitLines(bytes);
  companions::RepeatRuleSet rules;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (lines[i].empty()) continue;
    if (line > kRepeatLines) return Refuse(refusal, Refusal::RepeatLine, line, "繰返し処理の設定は三行までです。");
    const bool overLong = lines[i].size() + 2 >= kRepeatLineBuffer;
    rules[i] = companions::ReadRepeatRuleLine(lines[i] + "\r\n", overLong);
    if (!rules[i].checked) {
      return Refuse(refusal, Refusal::RepeatLine, line, "値が長すぎるか、読めない文字があって読み取れません。");
    }
    // The earlier lines passed, so a fault is this line's.
    const companions::RepeatFault fault = companions::FirstRepeatFault(rules);
    switch (fault.kind) {
      case companions::RepeatFault::None:
        break;
      case companions::RepeatFault::NotNumber:
        return Refuse(refusal, Refusal::RepeatLine, line, "未入力の値か、数字でない値があります。");
      case companions::RepeatFault::Zero:
        return Refuse(refusal, Refusal::RepeatLine, line, "値にゼロがあります。");
      case companions::RepeatFault::Reversed:
        return Refuse(refusal, Refusal::RepeatLine, line, "FROM値がTO値より大きくなっています。");
      case companions::RepeatFault::Overlaps:
        return Refuse(refusal, Refusal::RepeatLine, line,
                      std::to_string(fault.other + 1) + "行目と範囲が重複しています。");
    }
  }
  for (const companions::RepeatRuleText& rule : rules) {
    if (!rule.checked) continue;
    RepeatRange r;
    r.from = static_cast<int>(text::LeadingNumber(rule.from.c_str()));
    r.to = static_cast<int>(text::LeadingNumber(rule.to.c_str()));
    r.count = text::LeadingNumber(rule.count.c_str());
    if (r.from > rowCount) continue;  // a range past the last row repeats nothing
    if (r.to > rowCount) r.to = rowCount;
    job->repeats.push_back(r);
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = next;
  }
  return lines;
}

bool ShortcutKeys(const std::string& name, int* modifier, int* key) {
  const std::string keys = KeysPart(name);
  for (const char* entry : ops::kShortcutTable) {
    if (keys != KeysPart(entry) || (name != keys && name != entry)) continue;
    const std::size_t plus = keys.find('+');
    const std::string mod = keys.substr(0, plus);
    const std::string rest = keys.substr(plus + 1);
    *modifier = mod == "Win" ? kVkLeftWin : mod == "Alt" ? kVkMenu : kVkControl;
    // A letter is its own key code; other keys are named as PressKey names them.
    *key = rest.size() == 1 && rest[0] >= 'A' && rest[0] <= 'Z' ? rest[0] : KeyCodeByName(rest);
    return *key != 0;
  }
  return false;
}

bool ReadJob(const std::string& testRunText, const std::string& repeatText, const Screen& screen, Job* job,
             Refusal* refusal) {
  *job = Job();
  *refusal = Refusal();
  const std::vector<std::string> lines = SplitLines(testRunText);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Step step;
    step.row = static_cast<int>(i) + 1;
    step.ticked = !lines[i].empty();
    if (step.ticked) {
      const std::string problem = RowReader(screen, &step).Read(lines[i]);
      if (!problem.empty()) {
        refusal->name = step.name;
        return Refuse(refusal, Refusal::Row, step.row, problem);
      }
    }
    job->rows.push_back(step);
  }
  return ReadRepeats(repeatText, static_cast<int>(job->rows.size()), job, refusal);
}

}  // namespace runvane
