#include "companions/repeat.h"

#include <cstring>

#include "jobstore/files.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "text/csv.h"
#include "text/sjis.h"

namespace companions {

namespace {

constexpr std::size_t kLineBufferSize = 1024;  // a line read from a file
constexpr std::size_t kFieldSize = 8;          // a field: at most 7 bytes
constexpr char kCrLf[] = "\r\n";

// The three first lines of a file, each with its line end, cut at the read
// buffer's size; `overLong` tells which lines were longer.
struct FirstLines {
  std::array<std::string, kRepeatRuleCount> lines;
  std::array<bool, kRepeatRuleCount> overLong{};
};

FirstLines ReadFirstLines(int handle) {
  FirstLines out;
  std::size_t line = 0;
  char block[512];
  while (line < kRepeatRuleCount) {
    long got = plat::ReadFile(handle, block, sizeof block);
    if (got <= 0) break;
    for (long i = 0; i < got && line < kRepeatRuleCount; ++i) {
      std::string& text = out.lines[line];
      if (text.size() + 1 < kLineBufferSize) {
        text.push_back(block[i]);
      } else {
        out.overLong[line] = true;
      }
      if (block[i] == '\n') ++line;
    }
  }
  return out;
}

RepeatRuleText ReadRule(plat::Window dialog, const res::RepeatRuleControls& c) {
  RepeatRuleText rule;
  rule.checked = plat::GetButtonCheck(dialog, c.check) == 1;
  rule.from = plat::GetControlText(dialog, c.from, kFieldSize);
  rule.to = plat::GetControlText(dialog, c.to, kFieldSize);
  rule.count = plat::GetControlText(dialog, c.count, kFieldSize);
  return rule;
}

RepeatRanges ReadRanges(plat::Window dialog) {
  RepeatRanges ranges;
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const res::RepeatRuleControls& c = res::kRepeatRules[k];
    if (plat::GetButtonCheck(dialog, c.check) != 1) continue;
    ranges[k].from = text::LeadingNumber(plat::GetControlText(dialog, c.from, kFieldSize).c_str());
    ranges[k].to = text::LeadingNumber(plat::GetControlText(dialog, c.to, kFieldSize).c_str());
  }
  return ranges;
}

void ApplyChanges(plat::Window dialog, const RangeChanges& changes) {
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const res::RepeatRuleControls& c = res::kRepeatRules[k];
    const RangeChange& change = changes[k];
    if (change.kind == RangeChange::SwitchOff) {
      plat::SetButtonCheck(dialog, c.check, 0);
      ToggleRepeatRule(dialog, k + 1);
    } else if (change.kind == RangeChange::Renumber) {
      plat::SetControlText(dialog, c.from, std::to_string(change.from).c_str());
      plat::SetControlText(dialog, c.to, std::to_string(change.to).c_str());
    }
  }
}

bool AnyRangeReversed(const RepeatRanges& ranges) {
  for (const RepeatRange& r : ranges) {
    if (r.from > r.to) return true;
  }
  return false;
}

}  // namespace

bool RepeatRulesAreValid(const RepeatRuleSet& rules) { return FirstRepeatFault(rules).kind == RepeatFault::None; }

RepeatFault FirstRepeatFault(const RepeatRuleSet& rules) {
  RepeatRanges ranges;
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const RepeatRuleText& rule = rules[k];
    if (!rule.checked) continue;
    for (const std::string* field : {&rule.from, &rule.to, &rule.count}) {
      if (!text::IsAllDigits(field->c_str())) return {RepeatFault::NotNumber, k};
      if (text::LeadingNumber(field->c_str()) == 0) return {RepeatFault::Zero, k};
    }
    ranges[k].from = text::LeadingNumber(rule.from.c_str());
    ranges[k].to = text::LeadingNumber(rule.to.c_str());
    if (ranges[k].from > ranges[k].to) return {RepeatFault::Reversed, k};
    // No two ticked ranges share a row: nested, overlapping and
    // touching-on-a-row ranges are all refused.
    for (int j = 0; j < k; ++j) {
      if (ranges[j].from != 0 && ranges[j].from <= ranges[k].to && ranges[k].from <= ranges[j].to) {
        return {RepeatFault::Overlaps, k, j};
      }
    }
  }
  return {};
}

std::string RepeatFileText(const RepeatRuleSet& rules) {
  std::string out;
  for (const RepeatRuleText& rule : rules) {
    if (rule.checked) out += rule.from + "," + rule.to + "," + rule.count;
    out += kCrLf;
  }
  return out;
}

RepeatRuleText ReadRepeatRuleLine(const std::string& line, bool overLong) {
  RepeatRuleText rule;
  // The field reader sees the line up to its first NUL, as a C text.
  const char* text = line.c_str();
  if (overLong || text[0] == '\0' || std::strcmp(text, kCrLf) == 0) return rule;
  // Each field is read whole first, so that one too long for its 8 bytes is
  // seen, instead of being cut or running into the next.
  char field[kLineBufferSize];
  std::string* targets[] = {&rule.from, &rule.to, &rule.count};
  for (int n = 1; n <= 3; ++n) {
    text::GetCsvItem(n, text, field, sizeof field);
    if (std::strlen(field) >= kFieldSize) return RepeatRuleText{};
    *targets[n - 1] = field;
  }
  rule.checked = true;
  return rule;
}

RangeChanges RenumberAfterInsert(const RepeatRanges& ranges, long n) {
  RangeChanges changes;
  if (AnyRangeReversed(ranges)) return changes;
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const RepeatRange& r = ranges[k];
    if (r.from == 0) continue;
    changes[k].kind = RangeChange::Renumber;
    changes[k].from = n > r.from ? r.from : r.from + 1;
    changes[k].to = n > r.to ? r.to : r.to + 1;
  }
  return changes;
}

RangeChanges RenumberAfterDelete(const RepeatRanges& ranges, long n) {
  RangeChanges changes;
  if (AnyRangeReversed(ranges)) return changes;
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const RepeatRange& r = ranges[k];
    if (r.from == 0) continue;
    if (r.from == n && r.to == n) {
      changes[k].kind = RangeChange::SwitchOff;
      continue;
    }
    changes[k].kind = RangeChange::Renumber;
    changes[k].from = n >= r.from ? r.from : r.from - 1;
    if (changes[k].from < 1) changes[k].from = 1;
    changes[k].to = n > r.to ? r.to : r.to - 1;
  }
  return changes;
}

void LoadRepeatRules(plat::Window dialog) {
  for (const res::RepeatRuleControls& c : res::kRepeatRules) {
    plat::SetButtonCheck(dialog, c.check, 0);
    for (int id : {c.from, c.to, c.count}) plat::SetControlText(dialog, id, "");
  }
  int handle = plat::OpenFile(jobstore::RepeatFilePath, plat::OpenMode::Read);
  if (handle < 0) return;
  FirstLines file = ReadFirstLines(handle);
  plat::CloseFile(handle);
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    RepeatRuleText rule = ReadRepeatRuleLine(file.lines[k], file.overLong[k]);
    if (!rule.checked) continue;
    const res::RepeatRuleControls& c = res::kRepeatRules[k];
    plat::SetButtonCheck(dialog, c.check, 1);
    if (!rule.from.empty()) plat::SetControlText(dialog, c.from, rule.from.c_str());
    if (!rule.to.empty()) plat::SetControlText(dialog, c.to, rule.to.c_str());
    if (!rule.count.empty()) plat::SetControlText(dialog, c.count, rule.count.c_str());
  }
}

void ToggleRepeatRule(plat::Window dialog, int rule) {
  if (rule < 1 || rule > kRepeatRuleCount) return;
  const res::RepeatRuleControls& c = res::kRepeatRules[rule - 1];
  bool checked = plat::GetButtonCheck(dialog, c.check) == 1;
  for (int id : {c.from, c.to, c.count}) {
    plat::SetEditReadOnly(dialog, id, !checked);
    if (!checked) plat::SetControlText(dialog, id, "");
  }
}

RepeatSave ValidateAndSaveRepeatRules(plat::Window dialog) {
  if (jobstore::LineCount() == 0) {
    for (int k = 0; k < kRepeatRuleCount; ++k) {
      plat::SetButtonCheck(dialog, res::kRepeatRules[k].check, 0);
      ToggleRepeatRule(dialog, k + 1);
    }
  }
  const RepeatRuleSet rules = ReadRepeatRules(dialog);
  if (!RepeatRulesAreValid(rules)) return RepeatSave::Invalid;

  // A new file takes the old one's place only when it was written whole, so
  // a failing write keeps the rules saved before.
  const std::string bytes = RepeatFileText(rules);
  jobstore::SafeFileWriter file(jobstore::RepeatFilePath);
  if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    return RepeatSave::WriteFailed;
  }
  return RepeatSave::Saved;
}

namespace {

// The rules after `count` renumberings, read once and written once.
void Shift(plat::Window dialog, int n, int count, RangeChanges (*renumber)(const RepeatRanges&, long)) {
  RepeatRanges ranges = ReadRanges(dialog);
  RangeChanges total;
  for (int i = 0; i < count; ++i) {
    const RangeChanges changes = renumber(ranges, n);
    for (int k = 0; k < kRepeatRuleCount; ++k) {
      if (changes[k].kind == RangeChange::Keep) continue;
      // A rule switched off stays off; a later change cannot bring it back.
      if (total[k].kind != RangeChange::SwitchOff) total[k] = changes[k];
      ranges[k] = changes[k].kind == RangeChange::SwitchOff ? RepeatRange{}
                                                             : RepeatRange{changes[k].from, changes[k].to};
    }
  }
  ApplyChanges(dialog, total);
}

}  // namespace

void ShiftRangesAfterInsert(plat::Window dialog, int n, int count) {
  Shift(dialog, n, count, RenumberAfterInsert);
}

void ShiftRangesAfterDelete(plat::Window dialog, int d, int count) {
  Shift(dialog, d, count, RenumberAfterDelete);
}

RepeatRuleSet ReadRepeatRules(plat::Window dialog) {
  RepeatRuleSet rules;
  for (int k = 0; k < kRepeatRuleCount; ++k) rules[k] = ReadRule(dialog, res::kRepeatRules[k]);
  return rules;
}

void WriteRepeatRules(plat::Window dialog, const RepeatRuleSet& rules) {
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    const res::RepeatRuleControls& c = res::kRepeatRules[k];
    plat::SetButtonCheck(dialog, c.check, rules[k].checked ? 1 : 0);
    ToggleRepeatRule(dialog, k + 1);
    if (!rules[k].checked) continue;
    plat::SetControlText(dialog, c.from, rules[k].from.c_str());
    plat::SetControlText(dialog, c.to, rules[k].to.c_str());
    plat::SetControlText(dialog, c.count, rules[k].count.c_str());
  }
}

bool SameRules(const RepeatRuleSet& a, const RepeatRuleSet& b) {
  for (int k = 0; k < kRepeatRuleCount; ++k) {
    if (a[k].checked != b[k].checked || a[k].from != b[k].from || a[k].to != b[k].to ||
        a[k].count != b[k].count) {
      return false;
    }
  }
  return true;
}

}  // namespace companions
