#include "titlescan/choices.h"

#include <cstring>

#include "text/sjis.h"

namespace titlescan {
namespace {

bool IsEditorProgram(const std::string& name) {
  for (const char* own : {"Tavolex.exe", "Pickmark.exe", "Titlescan.exe"}) {
    if (name.size() == std::strlen(own) && text::FindTextNoCase(name.c_str(), own) == 0) return true;
  }
  return false;
}

}  // namespace

unsigned TimeLimitMs(const std::vector<std::string>& arguments) {
  unsigned seconds = kLimitSeconds;
  const std::string prefix = "/limit=";
  for (const std::string& a : arguments) {
    if (a.compare(0, prefix.size(), prefix) != 0) continue;
    const char* digits = a.c_str() + prefix.size();
    if (!text::IsAllDigits(digits)) continue;
    const long n = text::LeadingNumber(digits);
    if (n >= 1 && n <= static_cast<long>(kLimitSeconds)) seconds = static_cast<unsigned>(n);
  }
  return seconds * 1000;
}

std::vector<plat::ProgramWindow> WindowsToList(const std::vector<plat::ProgramWindow>& windows,
                                               std::uint32_t ownProcess, std::uint32_t parentProcess) {
  std::vector<plat::ProgramWindow> listed;
  for (const plat::ProgramWindow& w : windows) {
    if (!w.visible || w.title.empty() || w.processId == ownProcess) continue;
    if (parentProcess != 0 && w.processId == parentProcess) continue;
    if (IsEditorProgram(w.programName)) continue;
    listed.push_back(w);
  }
  return listed;
}

int RowOfWindow(const std::vector<plat::ProgramWindow>& listed, plat::Window window) {
  if (window == plat::kNoWindow) return -1;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (listed[i].window == window) return static_cast<int>(i);
  }
  return -1;
}

const char* RefusalOfTitle(const std::string& title, bool exact) {
  if (title.empty()) {
    return "タイトルが空です。\n\n一覧からウィンドウを選ぶか、照準をウィンドウへドラッグしてください。";
  }
  if (!exact) {
    return "このタイトルには、日本語(シフトJIS)で表せない文字が含まれています。\n\n"
           "その文字を消して短くするか、別のウィンドウを選んでください。";
  }
  return nullptr;
}

}  // namespace titlescan
