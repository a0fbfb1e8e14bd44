#include "operations/line_text.h"

#include <vector>

#include "operations/records.h"
#include "text/csv.h"

namespace ops {

bool IsOperationLine(const std::string& line) {
  if (line.empty() || line.size() > kLongestStoredLine) return false;
  if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  if (IsCommentLine(line.c_str())) return false;
  std::vector<char> field(line.size() + 1);
  if (!text::GetCsvItem(kFieldCount, line.c_str(), field.data(), field.size()) ||
      text::GetCsvItem(kFieldCount + 1, line.c_str(), field.data(), field.size())) {
    return false;
  }
  text::GetCsvItem(FieldAction, line.c_str(), field.data(), field.size());
  return FindActionKind(field.data()) >= 0;
}

std::size_t LengthWithoutLineEnd(const std::string& line) {
  std::size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n')) --end;
  return end;
}

std::string LinesAsText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text.append(line, 0, LengthWithoutLineEnd(line));
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string::npos) end = text.size();
    if (end > begin) lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

std::vector<std::string> OperationLinesOf(const std::string& text) {
  std::vector<std::string> lines = LinesOf(text);
  for (const std::string& line : lines) {
    if (!IsOperationLine(line)) return {};
  }
  return lines;
}

}  // namespace ops
