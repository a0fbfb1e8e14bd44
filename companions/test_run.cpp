#include "companions/test_run.h"

#include <cstring>

#include "jobstore/files.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"

namespace companions {

const char PickerTitleText[] = "座標取得";

namespace {

enum class Need { Visible, Any };

// The first unowned top-level window whose title holds `text`.
plat::Window FindWindowByTitle(const char* text, Need need) {
  if (text == nullptr) return plat::kNoWindow;
  for (const plat::TopLevelWindow& w : plat::TopLevelWindows()) {
    if (w.owned) continue;
    if (need == Need::Visible && !w.visible) continue;
    if (w.title.find(text) != std::string::npos) return w.window;
  }
  return plat::kNoWindow;
}

bool ShowByTitle(const char* text, Need need, int showCommand) {
  plat::Window window = FindWindowByTitle(text, need);
  if (window == plat::kNoWindow) return false;
  plat::ShowWindowCmd(window, showCommand);
  return true;
}

void RemoveTestRunFiles() {
  plat::DeleteFileAt(jobstore::InspectFilePath);
  plat::DeleteFileAt(jobstore::InspectScrambledPath);
}

}  // namespace

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
  RemoveTestRunFiles();
  const std::string bytes = TestRunFileText(ticked);
  jobstore::SafeFileWriter file(jobstore::InspectFilePath);
  if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    return TestRunFile::NotWritten;
  }
  if (!jobstore::ScrambleFile(jobstore::InspectFilePath)) {
    RemoveTestRunFiles();  // the plain file never stays on disk
    return TestRunFile::NotScrambled;
  }
  return TestRunFile::Written;
}

bool IsProcessAlive(std::uint32_t processId) {
  return processId != 0 && plat::IsProcessRunning(processId);
}

bool HideWindowByTitle(const char* text) { return ShowByTitle(text, Need::Visible, plat::kSwHide); }
bool ShowWindowByTitle(const char* text) { return ShowByTitle(text, Need::Any, plat::kSwShow); }
bool RestoreWindowByTitle(const char* text) {
  return ShowByTitle(text, Need::Visible, plat::kSwRestore);
}

}  // namespace companions
