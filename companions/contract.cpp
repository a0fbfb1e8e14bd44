#include "companions/contract.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace companions {

char PickerToolPath[jobstore::kPathSize];
char RunnerToolPath[jobstore::kPathSize];
char TitleToolPath[jobstore::kPathSize];
std::uint32_t PickerProcessId = 0;
std::uint32_t RunnerProcessId = 0;

namespace {

void BuildToolPath(char* out, const char* fileName) {
  jobstore::EnsureModulePath();
  const char* folder = jobstore::FolderOfPath(jobstore::ModulePath);
  int n = std::snprintf(out, jobstore::kPathSize, "%s%s", folder, fileName);
  if (n < 0 || static_cast<std::size_t>(n) >= jobstore::kPathSize) out[0] = '\0';
}

}  // namespace

void BuildCompanionPaths() {
  BuildToolPath(PickerToolPath, "Pickmark.exe");
  BuildToolPath(RunnerToolPath, "Runvane.exe");
  BuildToolPath(TitleToolPath, "Titlescan.exe");
}

std::uint32_t StartPicker() {
  if (PickerToolPath[0] == '\0') return 0;
  plat::ProcessStart start;
  start.commandLine = PickerToolPath;
  start.applicationName = PickerToolPath;
  start.inheritHandles = true;
  start.creationFlags = plat::kNormalPriorityClass;
  return plat::StartProcess(start);
}

std::uint32_t StartRunner(const char* inspectFilePath, const char* repeatFilePath) {
  return StartRunnerWith(std::string("\"") + inspectFilePath + "\" \"" + repeatFilePath + "\"");
}

std::uint32_t StartRunnerWith(const std::string& arguments) {
  plat::ProcessStart start;
  start.commandLine = std::string("\"") + RunnerToolPath + "\" " + arguments;
  start.applicationName = RunnerToolPath;
  start.inheritHandles = true;
  start.creationFlags = plat::kCreateNoWindow;
  start.useShowWindow = true;
  start.showWindow = plat::kSwHide;
  return plat::StartProcess(start);
}

TitlePickerEnd RunTitlePicker() {
  if (TitleToolPath[0] == '\0') return TitlePickerEnd::NotStarted;
  plat::ProcessStart start;
  start.commandLine = TitleToolPath;
  start.applicationName = TitleToolPath;
  start.inheritHandles = true;
  start.creationFlags = plat::kNormalPriorityClass;
  std::uint32_t id = plat::StartProcess(start);
  if (id == 0) return TitlePickerEnd::NotStarted;
  return plat::WaitForStartedProcess(id) == 0 ? TitlePickerEnd::Chosen : TitlePickerEnd::Cancelled;
}

plat::ShortcutSpec JobShortcut(const char* jobName) {
  plat::ShortcutSpec shortcut;
  shortcut.name = jobName;
  shortcut.target = RunnerToolPath;
  shortcut.arguments = std::string("\"") + jobName + "\" /delay=3";
  shortcut.workingFolder = jobstore::ProgramFolder();
  // "C:\Tools\" as "C:\Tools"; a drive's root keeps its backslash.
  if (shortcut.workingFolder.size() > 3 && shortcut.workingFolder.back() == '\\') shortcut.workingFolder.pop_back();
  shortcut.iconFile = RunnerToolPath;
  return shortcut;
}

void TerminateCompanion(std::uint32_t processId) {
  if (processId != 0) plat::TerminateStartedProcess(processId, 0);
}

void ResetCompanions() {
  PickerToolPath[0] = RunnerToolPath[0] = TitleToolPath[0] = '\0';
  PickerProcessId = RunnerProcessId = 0;
}

}  // namespace companions
