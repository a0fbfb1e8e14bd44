#include "runvane/run_log.h"

#include <algorithm>
#include <vector>

#include "jobstore/files.h"
#include "operations/scrambled.h"
#include "platform/platform.h"

namespace runvane {

namespace {

constexpr char kHeaderMark[] = "\t-\t-\t開始: ";
constexpr char kLeftOut[] = "-\t-\t-\t（この実行の古い行は省略しました）\r\n";

}  // namespace

std::string TrimRunLog(const std::string& log, std::size_t limit) {
  if (log.size() <= limit) return log;
  // Where each run begins: the first line, and each header line after it.
  std::vector<std::size_t> runs{0};
  for (std::size_t nl = log.find('\n'); nl != std::string::npos && nl + 1 < log.size(); nl = log.find('\n', nl + 1)) {
    const std::size_t end = log.find('\n', nl + 1);
    if (log.substr(nl + 1, end == std::string::npos ? end : end - nl - 1).find(kHeaderMark) != std::string::npos) {
      runs.push_back(nl + 1);
    }
  }
  for (std::size_t run : runs) {
    if (log.size() - run <= limit) return log.substr(run);
  }
  // The newest run alone is too long: its header, then its newest lines.
  const std::size_t last = runs.back();
  std::size_t headerEnd = log.find('\n', last);
  headerEnd = headerEnd == std::string::npos ? log.size() : headerEnd + 1;
  std::string out = log.substr(last, headerEnd - last) + kLeftOut;
  if (out.size() > limit) return std::string();
  std::size_t from = log.size() - (limit - out.size());
  if (from > 0 && log[from - 1] != '\n') {
    from = log.find('\n', from);
    from = from == std::string::npos ? log.size() : from + 1;
  }
  return out + log.substr(std::max(from, headerEnd));
}

RunLog::RunLog(const std::string& path) : path_(path) {
  if (path_.empty()) return;
  std::string bytes;
  const bool existed = plat::PathExists(path_.c_str());
  if (existed && !ops::ReadFileBytes(path_.c_str(), &bytes)) {
    broken_ = true;  // never append to a file whose size is not known
    return;
  }
  size_ = bytes.size();
  handle_ = plat::OpenFile(path_.c_str(), plat::OpenMode::Append);
  // A line cut short by an earlier failed write is ended first.
  if (!bytes.empty() && bytes.back() != '\n') Append("\r\n");
}

RunLog::~RunLog() {
  if (handle_ >= 0) plat::CloseFile(handle_);
}

void RunLog::Header(const std::string& what) { Line("-", "-", "開始: " + what); }

void RunLog::Line(const std::string& row, const std::string& action, const std::string& result) {
  // A reason of several lines stays on the run's one line.
  std::string text = result;
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  Append(plat::LocalTimeText() + "\t" + row + "\t" + action + "\t" + text + "\r\n");
}

void RunLog::Append(const std::string& line) {
  if (handle_ < 0 || broken_) return;
  if (size_ + line.size() > kLogLimit && !Trim()) return;
  const long written = plat::WriteFile(handle_, line.data(), line.size());
  if (written > 0) size_ += static_cast<std::size_t>(written);
  // A disk that is full takes no more: the lines before stay as they are.
  if (written != static_cast<long>(line.size())) broken_ = true;
}

bool RunLog::Trim() {
  plat::CloseFile(handle_);
  handle_ = -1;
  std::string bytes;
  broken_ = true;
  if (!ops::ReadFileBytes(path_.c_str(), &bytes)) return false;
  const std::string kept = TrimRunLog(bytes, kLogKeptByTrim);
  // Stopped half way, the old log lies at the backup's name: both copies are kept.
  jobstore::SafeFileWriter file(path_.c_str());
  if (!file.Open() || !file.Write(kept.data(), kept.size()) || !file.Commit()) return false;
  handle_ = plat::OpenFile(path_.c_str(), plat::OpenMode::Append);
  if (handle_ < 0) return false;
  size_ = kept.size();
  broken_ = false;
  return true;
}

}  // namespace runvane
