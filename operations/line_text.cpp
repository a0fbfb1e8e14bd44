#include "operations/line_text.h"

#include <vector>

#include "operations/records.h"
#include "text/csv.h"

namespace ops {

bool IsOperationLine(const std::string& line) {
  if (line.empty() || line.size() > kLongestStoredLine) return false;
  if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  if (line.compare(0, 2, "//") == 0) return false;
  std::vector<char> field(line.size() + 1);
  if (!text::GetCsvItem(kFieldCount, line.c_str(), field.data(), field.size()) ||
      text::GetCsvItem(kFieldCount + 1, line.c_str(), field.data(), field.size())) {
    return false;
  }
  text::GetCsvItem(FieldAction, line.c_str(), field.data(), field.size());
  return FindActionKind(field.data()) >= 0;
}

}  // namespace ops
