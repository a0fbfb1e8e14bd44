// The three repeat rules: check boxes 1045-1047 with their from and to
// fields, and their file KeyRepeat.def.
#pragma once

#include <array>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "resources/control_ids.h"

namespace companions {

enum class RepeatSave {
  Saved,        // valid, and KeyRepeat.def written
  Invalid,      // the rules break a validation rule; nothing written
  WriteFailed,  // valid, but KeyRepeat.def could not be written
};

// The rules, in the order of their lines in KeyRepeat.def and of their
// controls (res::kRepeatRules).
constexpr int kRepeatRuleCount = static_cast<int>(std::size(res::kRepeatRules));

// Loads KeyRepeat.def into the controls; a missing file leaves every rule
// off. The callers then run ToggleRepeatRule for rules 1, 2 and 3.
void LoadRepeatRules(plat::Window dialog);
// Applies rule `rule`'s check box (1, 2 or 3) to its three fields: writable
// when ticked, read-only and emptied when not. It does not mark the job
// modified: a click on the check box does (the editor's part); loading the
// rules, renumbering them after a row command (which marks the job itself)
// and switching them off for a job without lines do not.
void ToggleRepeatRule(plat::Window dialog, int rule);
RepeatSave ValidateAndSaveRepeatRules(plat::Window dialog);
// Renumbers the ticked rules after row n (1-based) was inserted or deleted,
// `count` times over (rows n to n + count - 1 inserted, or that many rows
// deleted one after another at n).
void ShiftRangesAfterInsert(plat::Window dialog, int n, int count = 1);
void ShiftRangesAfterDelete(plat::Window dialog, int d, int count = 1);

// --- The decisions, as plain functions of their inputs

// One rule as its controls hold it.
struct RepeatRuleText {
  bool checked = false;
  std::string from, to, count;
};
using RepeatRuleSet = std::array<RepeatRuleText, kRepeatRuleCount>;

// The rules as their controls hold them, and written back into the controls
// (check boxes, the fields' texts and whether they can be typed in).
RepeatRuleSet ReadRepeatRules(plat::Window dialog);
void WriteRepeatRules(plat::Window dialog, const RepeatRuleSet& rules);
bool SameRules(const RepeatRuleSet& a, const RepeatRuleSet& b);

// The validation of the ticked rules: every field digits only and not 0,
// from not above to, and no two ranges sharing a row.
bool RepeatRulesAreValid(const RepeatRuleSet& rules);
// The first rule that breaks the validation, rule by rule in order (its
// fields in order, then from above to, then a row shared with an earlier
// rule); kind None when the rules are valid. Rules are 0-based.
struct RepeatFault {
  enum Kind { None, NotNumber, Zero, Reversed, Overlaps } kind = None;
  int rule = 0;
  int other = 0;  // Overlaps: the earlier rule
};
RepeatFault FirstRepeatFault(const RepeatRuleSet& rules);
// The bytes of KeyRepeat.def: "from,to,count" CR LF for a ticked rule, CR LF
// alone for one that is not, three lines.
std::string RepeatFileText(const RepeatRuleSet& rules);
// One line of KeyRepeat.def as read (line end kept; `overLong` when the line
// did not fit the 1,024-byte read buffer). A line that cannot be read (empty,
// over-long, first byte NUL, a field longer than 7 bytes) gives a rule that
// is off and empty.
RepeatRuleText ReadRepeatRuleLine(const std::string& line, bool overLong);

// The range of a rule for renumbering: from and to as values, both 0 for a
// rule that is off.
struct RepeatRange {
  long from = 0, to = 0;
};
struct RangeChange {
  enum Kind { Keep, Renumber, SwitchOff } kind = Keep;
  long from = 0, to = 0;  // the new values for Renumber
};
using RangeChanges = std::array<RangeChange, kRepeatRuleCount>;
using RepeatRanges = std::array<RepeatRange, kRepeatRuleCount>;
// What happens to each rule when row n (1-based) is inserted or deleted.
// Nothing changes when no rule is ticked or any range has from above to.
RangeChanges RenumberAfterInsert(const RepeatRanges& ranges, long n);
RangeChanges RenumberAfterDelete(const RepeatRanges& ranges, long n);

}  // namespace companions
