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

// The program named by a command line: a quoted first token or everything
// up to the first blank.
std::string FirstToken(const std::string& commandLine) {
  std::size_t start = commandLine.find_first_not_of(" \t");
  if (start == std::string::npos) return std::string();
  if (commandLine[start] == '"') {
    std::size_t close = commandLine.find('"', start + 1);
    return commandLine.substr(start + 1, close == std::string::npos ? std::string::npos
                                                                     : close - start - 1);
  }
  std::size_t end = commandLine.find_first_of(" \t", start);
  return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
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
  std::string program = headless::FirstToken(start.commandLine);
  if (program.empty() || !PathExists(program.c_str()) || IsDirectory(program.c_str())) return 0;
  headless::ProcessRecord record;
  record.id = headless::NextId();
  record.start = start;
  record.running = true;
  record.startedByProgram = true;
  headless::Table().records.push_back(record);
  headless::ProcessRecord& stored = headless::Table().records.back();
  auto hook = headless::Table().startHook;  // a copy: the hook may replace itself
  if (hook) hook(stored);
  return record.id;
}

void WaitForStartedProcess(std::uint32_t processId) {
  headless::Table().waits.push_back(processId);
  headless::ProcessRecord* record = headless::Latest(processId, true);
  if (record == nullptr || !record->running) return;
  auto hook = headless::Table().waitHook;
  if (hook) hook(*record);
}

void TerminateStartedProcess(std::uint32_t processId, unsigned exitCode) {
  headless::ProcessRecord* record = headless::Latest(processId, true);
  if (processId == 0 || record == nullptr || !record->running) return;
  record->terminated = true;
  record->exitCode = exitCode;
  headless::End(*record);
}

bool IsProcessRunning(std::uint32_t processId) {
  return headless::AnyRunning(processId);
}

}  // namespace plat
