#include "jobstore/lines.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "jobstore/files.h"
#include "jobstore/paths.h"
#include "operations/line_text.h"
#include "operations/scrambled.h"
#include "platform/platform.h"

namespace jobstore {

const char MissingLinePlaceholder[] = "There is no target data";

namespace {

// Each text block is three bytes longer than its text, which leaves room to
// append CR LF and the terminator in place when the list is saved. Blocks
// never move, so a text handed out by LineAt stays valid while the list
// grows or shrinks elsewhere.
std::vector<std::unique_ptr<char[]>> lines;

std::unique_ptr<char[]> CopyText(const char* text) {
  std::size_t len = std::strlen(text);
  std::unique_ptr<char[]> block(new char[len + 3]);
  std::memcpy(block.get(), text, len + 1);
  return block;
}

bool HasIndex(int index) { return index >= 0 && static_cast<std::size_t>(index) < lines.size(); }

}  // namespace

int LineCount() { return static_cast<int>(lines.size()); }

std::vector<std::string> DefinitionLinesOf(const std::string& bytes) {
  constexpr std::size_t kLongestRead = 1023;  // a 1024-byte buffer and its terminator
  std::vector<std::string> out;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    end = std::min(end == std::string::npos ? bytes.size() : end + 1, start + kLongestRead);
    std::string line = bytes.substr(start, end - start);
    start = end;
    // A NUL ends the text as the list keeps it.
    line.resize(std::strlen(line.c_str()));
    if (line.empty() || ops::IsCommentLine(line.c_str()) || line == "\r\n") continue;
    out.push_back(std::move(line));
  }
  return out;
}

void LoadDefinitionLines() {
  std::string bytes;
  if (!ops::ReadFileBytes(RecordFilePath, &bytes)) return;
  for (const std::string& line : DefinitionLinesOf(bytes)) AppendLine(line.c_str());
}

bool SaveDefinitionLines() {
  SafeFileWriter file(RecordFilePath);
  if (!file.Open()) return false;
  for (auto& block : lines) {
    char* text = block.get();
    std::size_t len = std::strlen(text);
    if (len == 0 || text[len - 1] != '\n') {
      std::memcpy(text + len, "\r\n", 3);
      len += 2;
    }
    if (!file.Write(text, len)) return false;
  }
  return file.Commit();
}

void FreeDefinitionLines() { lines.clear(); }

void AppendLine(const char* text) { lines.push_back(CopyText(text)); }

void InsertLineAt(int index, const char* text) {
  if (index < 0 || index > LineCount()) return;
  lines.insert(lines.begin() + index, CopyText(text));
}

void ReplaceLineAt(int index, const char* text) {
  if (HasIndex(index)) lines[static_cast<std::size_t>(index)] = CopyText(text);
}

void RemoveLineAt(int index) {
  if (HasIndex(index)) lines.erase(lines.begin() + index);
}

const char* LineAt(int index) {
  return HasIndex(index) ? lines[static_cast<std::size_t>(index)].get() : MissingLinePlaceholder;
}

}  // namespace jobstore
