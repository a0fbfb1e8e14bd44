// Loading arbitrary bytes as the job's record file: the list holds exactly
// the file's non-comment, non-empty reads of at most 1023 bytes, saving
// writes each of them with its line end, and a saved file reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "platform/headless/headless.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The elements a file must give: reads of at most 1023 bytes up to and
// including LF, each taken up to its first NUL, without comments and empty
// lines.
std::vector<std::string> ExpectedLines(const std::string& file) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < file.size()) {
    std::size_t end = pos;
    while (end < file.size() && end - pos < 1023) {
      if (file[end++] == '\n') break;
    }
    const std::string read = file.substr(pos, end - pos);
    pos = end;
    const std::string text = read.substr(0, read.find('\0'));
    if (text.empty() || text.compare(0, 2, "//") == 0 || text.compare(0, 2, "\r\n") == 0) {
      continue;
    }
    lines.push_back(text);
  }
  return lines;
}

std::vector<std::string> ListedLines() {
  std::vector<std::string> lines;
  const int count = jobstore::LineCount();
  Check(count >= 0);
  for (int i = 0; i < count; ++i) {
    const char* line = jobstore::LineAt(i);
    Check(line != jobstore::MissingLinePlaceholder);
    Check(line[0] != '\0');
    lines.push_back(line);
  }
  Check(jobstore::LineAt(count) == jobstore::MissingLinePlaceholder);
  Check(jobstore::LineAt(-1) == jobstore::MissingLinePlaceholder);
  return lines;
}

std::string WithLineEnd(const std::string& line) {
  return (!line.empty() && line.back() == '\n') ? line : line + "\r\n";
}

// Saves, checks the file and the in-place line ends, and returns the file.
std::string SaveAndCheck(const std::vector<std::string>& loaded) {
  Check(jobstore::SaveDefinitionLines());
  Check(headless::OpenFileCount() == 0);
  std::string expected;
  for (const std::string& line : loaded) expected += WithLineEnd(line);
  const std::string file = headless::FileBytes(jobstore::RecordFilePath);
  Check(file == expected);
  const std::vector<std::string> after = ListedLines();
  Check(after.size() == loaded.size());
  for (std::size_t i = 0; i < after.size(); ++i) Check(after[i] == WithLineEnd(loaded[i]));
  return file;
}

std::vector<std::string> Reload() {
  jobstore::FreeDefinitionLines();
  Check(jobstore::LineCount() == 0);
  jobstore::LoadDefinitionLines();
  Check(headless::OpenFileCount() == 0);
  return ListedLines();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  headless::Reset();
  jobstore::ResetPaths();
  jobstore::FreeDefinitionLines();
  std::strcpy(jobstore::JobName, "job");
  Check(jobstore::PrepareJobPaths());

  const std::string file(reinterpret_cast<const char*>(data), size);
  headless::PutFile(jobstore::RecordFilePath, file);
  jobstore::LoadDefinitionLines();
  Check(headless::OpenFileCount() == 0);
  const std::vector<std::string> first = ListedLines();
  Check(first == ExpectedLines(file));

  // A line of 1022 or 1023 bytes without LF no longer fits one read once
  // CR LF is added; every other line reads back as it was saved.
  bool allFit = true;
  for (const std::string& line : first) {
    if (line.back() != '\n' && line.size() > 1021) allFit = false;
  }
  const std::string saved1 = SaveAndCheck(first);
  const std::vector<std::string> second = Reload();
  Check(second == ExpectedLines(saved1));
  const std::string saved2 = SaveAndCheck(second);
  if (allFit) Check(saved2 == saved1);
  // After two rounds the file is a fixed point in every case.
  const std::vector<std::string> third = Reload();
  Check(SaveAndCheck(third) == saved2);

  jobstore::FreeDefinitionLines();
  return 0;
}
