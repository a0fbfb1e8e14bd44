#include "companions/test_run.h"

#include <cstring>

#include "jobstore/files.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"

namespace companions {

const char PickerTitleText[] = "座標取得";

std::string TestRunFileText(const std::vector<bool>& ticked) {
  std::string out;
  const int count = jobstore::LineCount();
  for (int i = 0; i < count; ++i) {
    if (static_cast<std::size_t>(i) >= ticked.size() || !ticked[static_cast<std::size_t>(i)]) {
      out += "\r\n";
      continue;
    }
    const char* line = jobstore::LineAt(i);
    std::size_t len = std::strlen(line);
    out.append(line, len);
    if (len == 0 || line[len - 1] != '\n') out += "\r\n";
  }
  return out;
}

TestRunFile WriteTestRunFile(const std::vector<bool>& ticked) {
  jobstore::DeleteTestRunFiles();
  const std::string bytes = TestRunFileText(ticked);
  jobstore::SafeFileWriter file(jobstore::InspectFilePath);
  if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    return TestRunFile::NotWritten;
  }
  if (!jobstore::ScrambleFile(jobstore::InspectFilePath)) {
    jobstore::DeleteTestRunFiles();  // the plain file never stays on disk
    return TestRunFile::NotScrambled;
  }
  return TestRunFile::Written;
}

bool IsProcessAlive(std::uint32_t processId) {
  return processId != 0 && plat::IsProcessRunning(processId);
}

}  // namespace companions
