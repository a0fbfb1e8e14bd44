// Runvane.log: every run appends a header line, one line per step and a
// closing line (Shift-JIS, tab-separated: time, row, action, result). The
// oldest runs are dropped whole so that the file stays within kLogLimit.
#pragma once

#include <cstddef>
#include <string>

namespace runvane {

constexpr char kLogName[] = "Runvane.log";
constexpr std::size_t kLogLimit = 1024 * 1024;
// What a trim keeps at most, so that trimming is rare while a run appends.
constexpr std::size_t kLogKeptByTrim = kLogLimit / 4 * 3;

// The log without its oldest runs, so that it holds at most `limit` bytes.
// Lines before the first header count as one run. When the newest run alone
// is too long, its header stays, a line tells that lines were left out, and
// its newest lines follow.
std::string TrimRunLog(const std::string& log, std::size_t limit);

// The log file of one run. Lines are appended; when the next line would pass
// kLogLimit, the file is replaced by its trimmed copy (written beside it and
// put in its place whole), so a failed write never damages what was logged.
// When the file cannot be written, the run goes on without it.
class RunLog {
 public:
  explicit RunLog(const std::string& path);  // empty: no log
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // The run's first line: "開始: " and what runs with its options.
  void Header(const std::string& what);
  void Line(const std::string& row, const std::string& action, const std::string& result);

 private:
  void Append(const std::string& line);
  bool Trim();

  std::string path_;
  int handle_ = -1;
  std::size_t size_ = 0;
  bool broken_ = false;
};

}  // namespace runvane
