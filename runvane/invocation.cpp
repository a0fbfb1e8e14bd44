#include "runvane/invocation.h"

#include <cctype>

#include "jobstore/job_names.h"
#include "jobstore/paths.h"

namespace runvane {

namespace {

bool IsOption(const std::string& argument) { return !argument.empty() && argument[0] == '/'; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool IsFullPath(const std::string& path) {
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
    return true;
  }
  return path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
}

namespace {

// The delay's seconds from the text after "/delay="; -1 when it is not a
// whole number from 0 to kLongestDelaySeconds.
int DelaySeconds(const std::string& text) {
  if (text.empty()) return -1;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
    if (value > kLongestDelaySeconds) return -1;
  }
  return static_cast<int>(value);
}

// Reads the job argument into `out`; false with the reason when it is neither
// a usable job name nor a full folder path.
bool ReadJob(const std::string& argument, Invocation* out) {
  const char* text = argument.c_str();
  const bool path = jobstore::FindLastChar(text, '\\') >= 0 || jobstore::FindLastChar(text, ':') >= 0;
  if (!path) {
    const jobstore::JobNameProblem problem = jobstore::PlainJobNameProblem(text);
    if (problem != jobstore::JobNameProblem::None) {
      out->reason = "「" + argument + "」は処理作業名に使えません。\n" + jobstore::JobNameProblemText(problem);
      return false;
    }
    out->job = argument;
    return true;
  }
  if (!IsFullPath(argument)) {
    out->reason = "「" + argument + "」:\n処理作業のフォルダーは「C:\\作業\\処理作業」のような完全なパスで指定してください。";
    return false;
  }
  std::string folder = argument;
  // The closing backslash goes, but not the one of a drive's root.
  while (folder.size() > 3 && jobstore::FindLastChar(folder.c_str(), '\\') == static_cast<long>(folder.size()) - 1) {
    folder.pop_back();
  }
  out->job = folder;
  out->jobIsFolder = true;
  return true;
}

}  // namespace

Invocation ReadInvocation(const std::vector<std::string>& arguments) {
  Invocation out;
  for (const std::string& a : arguments) {
    if (Lower(a) == "/quiet") out.quiet = true;
  }
  // The editor always names the test-run file by its path; two bare words are
  // a job name with a blank that was not quoted.
  if (arguments.size() == 2 && !IsOption(arguments[0]) && !IsOption(arguments[1]) &&
      jobstore::FindLastChar(arguments[0].c_str(), '\\') >= 0) {
    out.kind = Invocation::TestRun;
    out.inspectPath = arguments[0];
    out.repeatPath = arguments[1];
    return out;
  }
  std::vector<std::string> jobs;
  bool delayGiven = false;
  std::string refusal;
  for (const std::string& a : arguments) {
    if (!IsOption(a)) {
      jobs.push_back(a);
      continue;
    }
    out.options += (out.options.empty() ? "" : " ") + a;
    const std::string option = Lower(a);
    if (!refusal.empty() || option == "/quiet") continue;
    if (option.rfind("/delay=", 0) == 0) {
      const int seconds = DelaySeconds(a.substr(7));
      if (seconds < 0) {
        refusal = "「" + a + "」: 待ち時間は 0 から " + std::to_string(kLongestDelaySeconds) +
                  " までの秒数で指定してください。";
      } else if (delayGiven) {
        refusal = "「/delay」が二度指定されています。";
      }
      out.delaySeconds = seconds;
      delayGiven = true;
    } else {
      refusal = "「" + a + "」は使えないオプションです。\n使えるのは /delay=秒数 と /quiet です。";
    }
  }
  if (jobs.empty()) {
    out.reason = "実行する処理作業を指定してください。\n\n"
                 "Runvane.exe 処理作業名 [/delay=秒数] [/quiet]\n\n"
                 "動作試験は、タヴォレクスの「選択した操作を実行」ボタンから始めてください。";
    return out;
  }
  if (jobs.size() > 1) {
    out.reason = "処理作業は一つだけ指定してください。\n名前やパスに空白があるときは \"\" で囲んでください。";
    return out;
  }
  if (!ReadJob(jobs[0], &out)) {
    out.job.clear();
    return out;
  }
  if (!refusal.empty()) {
    out.reason = refusal;
    return out;
  }
  if (out.delaySeconds < 0) out.delaySeconds = 0;
  out.kind = Invocation::SavedJob;
  return out;
}

}  // namespace runvane
