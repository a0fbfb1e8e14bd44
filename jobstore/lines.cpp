#include "jobstore/lines.h"

#include <cstring>
#include <memory>
#include <vector>

#include "jobstore/files.h"
#include "jobstore/paths.h"
#include "operations/line_text.h"
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

void LoadDefinitionLines() {
  int handle = plat::OpenFile(RecordFilePath, plat::OpenMode::Read);
  if (handle < 0) return;
  LineReader reader(handle);
  char buffer[1024];
  while (reader.ReadLine(buffer, sizeof buffer)) {
    if (buffer[0] == '\0') continue;
    if (ops::IsCommentLine(buffer)) continue;
    if (buffer[0] == '\r' && buffer[1] == '\n') continue;
    AppendLine(buffer);
  }
  plat::CloseFile(handle);
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
