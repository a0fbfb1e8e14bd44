// One line of KeyRepeat.def, whatever its bytes: reading it never ends the
// program, a rule read as ticked has fields of at most 7 bytes, and a
// ticked rule that passes validation is written back as it was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "companions/repeat.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool overLong = (data[0] & 1) != 0;
  std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
  if (line.size() > 1023) line.resize(1023);

  const companions::RepeatRuleText rule = companions::ReadRepeatRuleLine(line, overLong);
  if (!rule.checked) {
    Check(rule.from.empty() && rule.to.empty() && rule.count.empty());
    return 0;
  }
  Check(!overLong);
  for (const std::string* field : {&rule.from, &rule.to, &rule.count}) Check(field->size() <= 7);

  companions::RepeatRuleSet rules;
  rules[0] = rule;
  if (!companions::RepeatRulesAreValid(rules)) return 0;
  const std::string file = companions::RepeatFileText(rules);
  const std::string first = file.substr(0, file.find("\r\n") + 2);
  const companions::RepeatRuleText again = companions::ReadRepeatRuleLine(first, false);
  Check(again.checked && again.from == rule.from && again.to == rule.to && again.count == rule.count);
  return 0;
}
