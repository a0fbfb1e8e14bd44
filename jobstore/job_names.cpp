#include "jobstore/job_names.h"

#include <cstring>

#include "jobstore/paths.h"
#include "text/sjis.h"

namespace jobstore {

const char kForbiddenNameCharacters[] = "\\/:*?\"<>|";

std::string CleanJobName(const std::string& entered) {
  std::string name = entered;
  std::size_t i = 0;
  while (i < name.size()) {
    if (std::strchr(kForbiddenNameCharacters, name[i]) != nullptr && name[i] != '\0' &&
        text::BeginsCharacter(name.c_str(), i)) {
      name.erase(i, 1);  // the same position is looked at again
    } else {
      ++i;
    }
  }
  return name;
}

namespace {

constexpr std::size_t kLongestPlainName = 255;

// Device names are reserved with or without an extension: CON, CON.txt.
bool IsDeviceName(const char* name) {
  std::string base(name, std::strcspn(name, "."));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool HasBadCharacter(const char* name) {
  std::size_t len = std::strlen(name);
  for (std::size_t i = 0; i < len; ++i) {
    unsigned char b = static_cast<unsigned char>(name[i]);
    if (text::IsLeadByte(b)) {
      if (i + 1 >= len) return true;  // half a character at the end
      ++i;
    } else if (b < 0x20 || std::strchr(kForbiddenNameCharacters, b) != nullptr) {
      return true;
    }
  }
  return false;
}

}  // namespace

JobNameProblem PlainJobNameProblem(const char* name) {
  std::size_t len = std::strlen(name);
  if (len == 0) return JobNameProblem::Empty;
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return JobNameProblem::DotName;
  if (HasBadCharacter(name)) return JobNameProblem::BadCharacter;
  char last = name[len - 1];
  if ((last == '.' || last == ' ') && text::BeginsCharacter(name, len - 1)) {
    return JobNameProblem::BadEnding;
  }
  if (IsDeviceName(name)) return JobNameProblem::DeviceName;
  if (len > kLongestPlainName) return JobNameProblem::TooLong;
  return JobNameProblem::None;
}

bool IsPlainJobName(const char* name) { return PlainJobNameProblem(name) == JobNameProblem::None; }

bool IsUsableJobName(const char* name) { return IsPlainJobName(name) && JobPathsFit(name); }

JobNameProblem CheckNewJobName(const char* name) {
  JobNameProblem problem = PlainJobNameProblem(name);
  if (problem != JobNameProblem::None) return problem;
  if (!JobPathsFit(name)) return JobNameProblem::TooLong;
  if (std::strcmp(name, DraftJobName) == 0) return JobNameProblem::DraftName;
  return JobNameProblem::None;
}

std::string JobNameProblemText(JobNameProblem problem) {
  const char* why = nullptr;
  switch (problem) {
    case JobNameProblem::None: return std::string();
    case JobNameProblem::Empty:
      why = "処理作業名がありません。\n\n（\\ / : * ? \" < > | は使えないため取り除かれます）";
      break;
    case JobNameProblem::DotName: why = "「.」と「..」は処理作業名に使えません。"; break;
    case JobNameProblem::BadCharacter: why = "処理作業名に使えない文字が含まれています。"; break;
    case JobNameProblem::BadEnding:
      why = "処理作業名の最後を「.」（ピリオド）や空白にすることはできません。";
      break;
    case JobNameProblem::DeviceName:
      why = "CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9 は\nWindows の予約名のため処理作業名に使えません。";
      break;
    case JobNameProblem::TooLong:
      why = "処理作業名が長すぎます。\n\nフォルダーとファイルのパスが 259 バイトに収まるよう短くしてください。";
      break;
    case JobNameProblem::DraftName: why = "下書きの処理作業名は付けられません。"; break;
  }
  std::string text = why;
  text += "\n\n別の処理作業名を入力してください。";
  return text;
}

}  // namespace jobstore
