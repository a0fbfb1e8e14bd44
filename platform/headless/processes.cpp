// The process table, named mutexes and the process's own end.
#include <cstdlib>
#include <deque>
#include <set>

#include "platform/headless/internal.h"

namespace headless {
namespace {

struct ProcessTable {
  std::deque<ProcessRecord> records;  // start order; a deque keeps references stable
  std::uint32_t nextId = 1000;
  std::function<void(ProcessRecord&)> startHook;
  std::function<void(ProcessRecord&)> waitHook;
  std::vector<std::uint32_t> waits;
  std::set<std::string> heldElsewhere;  // HoldMutex
  std::set<std::string> ownedHere;      // AcquireSingleInstance
};

ProcessTable& Table() {
  static ProcessTable table;
  return table;
}

std::uint32_t NextId() {
  std::uint32_t id = Table().nextId;
  Table().nextId += 4;
  return id;
}

// The latest record with this id; with startedOnly, only one that
// StartProcess started (the handle the program keeps).
ProcessRecord* Latest(std::uint32_t id, bool startedOnly) {
  for (auto it = Table().records.rbegin(); it != Table().records.rend(); ++it) {
    if (it->id == id && (!startedOnly || it->startedByProgram)) return &*it;
  }
  return nullptr;
}

bool AnyRunning(std::uint32_t id) {
  for (const ProcessRecord& record : Table().records) {
    if (record.id == id && record.running) return true;
  }
  return false;
}

// A process ends; its windows go away with it.
void End(ProcessRecord& record) {
  record.running = false;
  if (!AnyRunning(record.id)) detail::RemoveWindowsOf(record.id);
}

bool IsProgramFile(const std::string& path) {
  return !path.empty() && plat::PathExists(path.c_str()) && !plat::IsDirectory(path.c_str());
}

// The file CreateProcess starts for a command line without an application
// name: the quoted first token, or else the line cut at each blank in turn
// (and finally whole), ".exe" added to a name without an extension; the first
// that exists. Empty when none does.
std::string ProgramOfCommandLine(const std::string& commandLine) {
  std::size_t start = commandLine.find_first_not_of(" \t");
  if (start == std::string::npos) return std::string();
  if (commandLine[start] == '"') {
    std::size_t close = commandLine.find('"', start + 1);
    std::string quoted = commandLine.substr(start + 1, close == std::string::npos ? std::string::npos
                                                                                  : close - start - 1);
    return IsProgramFile(quoted) ? quoted : std::string();
  }
  for (std::size_t end = start;; ++end) {
    if (end < commandLine.size() && commandLine[end] != ' ' && commandLine[end] != '\t') continue;
    std::string candidate = commandLine.substr(start, end - start);
    std::size_t slash = candidate.find_last_of('\\');
    if (candidate.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos) candidate += ".exe";
    if (IsProgramFile(candidate)) return candidate;
    if (end >= commandLine.size()) return std::string();
  }
}

}  // namespace

namespace detail {
void ResetProcesses() { Table() = ProcessTable(); }
}  // namespace detail

void OnProcessStart(const std::function<void(ProcessRecord&)>& hook) { Table().startHook = hook; }
void OnProcessWait(const std::function<void(ProcessRecord&)>& hook) { Table().waitHook = hook; }
std::vector<std::uint32_t> ProcessWaits() { return Table().waits; }
std::uint32_t OwnProcessId() { return detail::kOwnProcessId; }

std::uint32_t AddForeignProcess() {
  ProcessRecord record;
  record.id = NextId();
  record.running = true;
  Table().records.push_back(record);
  return record.id;
}

void EndProcess(std::uint32_t id) {
  for (ProcessRecord& record : Table().records) {
    if (record.id == id && record.running) End(record);
  }
}

const ProcessRecord* FindProcess(std::uint32_t id) { return Latest(id, false); }

std::vector<ProcessRecord> Processes() {
  return std::vector<ProcessRecord>(Table().records.begin(), Table().records.end());
}

void SetNextProcessId(std::uint32_t id) { Table().nextId = id; }

void HoldMutex(const std::string& name) { Table().heldElsewhere.insert(name); }

bool MutexHeld(const std::string& name) {
  return Table().heldElsewhere.count(name) > 0 || Table().ownedHere.count(name) > 0;
}

void ReleaseOwnedMutexes() { Table().ownedHere.clear(); }

}  // namespace headless

namespace plat {

[[noreturn]] void ExitProcess(int exitCode) { std::_Exit(exitCode); }

bool AcquireSingleInstance(const char* name) {
  std::string key = name != nullptr ? name : "";
  if (headless::MutexHeld(key)) return false;  // ERROR_ALREADY_EXISTS
  headless::Table().ownedHere.insert(key);
  return true;
}

std::uint32_t StartProcess(const ProcessStart& start) {
  std::string program = start.applicationName.empty() ? headless::ProgramOfCommandLine(start.commandLine)
                                                      : start.applicationName;
  if (!headless::IsProgramFile(program)) return 0;
  headless::ProcessRecord record;
  record.id = headless::NextId();
  record.start = start;
  record.program = program;
  record.running = true;
  record.startedByProgram = true;
  headless::Table().records.push_back(record);
  headless::ProcessRecord& stored = headless::Table().records.back();
  auto hook = headless::Table().startHook;  // a copy: the hook may replace itself
  if (hook) hook(stored);
  return record.id;
}

unsigned WaitForStartedProcess(std::uint32_t processId) {
  headless::Table().waits.push_back(processId);
  headless::ProcessRecord* record = headless::Latest(processId, true);
  if (record == nullptr) return 0;
  auto hook = headless::Table().waitHook;
  if (record->running && hook) hook(*record);
  return record->exitCode;
}

void TerminateStartedProcess(std::uint32_t processId, unsigned exitCode) {
  headless::ProcessRecord* record = headless::Latest(processId, true);
  if (processId == 0 || record == nullptr || !record->running) return;
  record->terminated = true;
  record->exitCode = exitCode;
  headless::End(*record);
}

bool StartedProcessEnded(std::uint32_t processId, unsigned* exitCode) {
  *exitCode = kUnknownExitCode;
  headless::ProcessRecord* record = headless::Latest(processId, true);
  if (processId == 0 || record == nullptr || record->endReported) return true;
  if (record->running) return false;
  *exitCode = record->exitCode;
  record->endReported = true;  // the handle is closed
  return true;
}

bool IsProcessRunning(std::uint32_t processId) {
  return headless::AnyRunning(processId);
}

}  // namespace plat
