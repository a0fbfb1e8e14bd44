// Clipboard, the program's own process (command line, path, exit, single
// instance) and the child processes it starts.
#include <cstring>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <shellapi.h>
#include <tlhelp32.h>

namespace plat {
namespace {

// Handles of the processes started by StartProcess, by process id. Holding
// the handle also keeps the system from giving the id to another process.
std::map<std::uint32_t, HANDLE>& StartedProcesses() {
  static std::map<std::uint32_t, HANDLE> table;
  return table;
}

HANDLE StartedProcess(std::uint32_t processId) {
  auto it = StartedProcesses().find(processId);
  return it == StartedProcesses().end() ? nullptr : it->second;
}

void ForgetProcess(std::uint32_t processId) {
  auto it = StartedProcesses().find(processId);
  if (it == StartedProcesses().end()) return;
  CloseHandle(it->second);
  StartedProcesses().erase(it);
}

// Reads the text in a clipboard memory block without trusting a terminator.
template <typename Char>
std::basic_string<Char> ClipboardBlockText(HANDLE data) {
  std::basic_string<Char> text;
  const void* p = data ? GlobalLock(data) : nullptr;
  if (!p) return text;
  std::size_t maxChars = GlobalSize(data) / sizeof(Char);
  const Char* s = static_cast<const Char*>(p);
  std::size_t n = 0;
  while (n < maxChars && s[n] != 0) ++n;
  text.assign(s, n);
  GlobalUnlock(data);
  return text;
}

}  // namespace

// ---------------------------------------------------------------- clipboard

namespace {

// Another program (the picker, a clipboard manager) may hold the clipboard
// for a moment: a few short tries, never a long wait on the dialog's thread.
bool OpenClipboardBriefly(HWND owner) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

// The text format the writer put on the clipboard: the system lists the
// formats in the order they were put, its own conversions after them.
UINT OriginalTextFormat() {
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
    if (f == CF_TEXT || f == CF_UNICODETEXT) return f;
    if (f == CF_OEMTEXT) return CF_UNICODETEXT;  // the system's conversion of OEM text
  }
  return 0;
}

}  // namespace

ClipboardReading ReadClipboard(std::size_t maxBytes) {
  ClipboardReading reading;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) && !IsClipboardFormatAvailable(CF_TEXT)) {
    reading.sequence = GetClipboardSequenceNumber();
    return reading;
  }
  if (!OpenClipboardBriefly(GetFocus())) return reading;
  reading.sequence = GetClipboardSequenceNumber();
  std::string text;
  if (OriginalTextFormat() == CF_UNICODETEXT) {
    // Written as Unicode: convert it ourselves, without best-fit look-alikes.
    std::wstring wide = ClipboardBlockText<wchar_t>(GetClipboardData(CF_UNICODETEXT));
    text = win32::ToSjis(wide.c_str(), static_cast<int>(wide.size()));
  } else {
    // Written as CF_TEXT (Shift-JIS by the companions' contract): the bytes
    // as they stand. The system's Unicode copy of it was made with the
    // writer's keyboard locale and may hold '?' for every Japanese character.
    text = ClipboardBlockText<char>(GetClipboardData(CF_TEXT));
  }
  CloseClipboard();
  if (maxBytes == 0) {
    reading.cut = !text.empty();
    return reading;
  }
  reading.cut = text.size() > maxBytes - 1;
  win32::CutToBytes(text, maxBytes - 1);
  reading.text = std::move(text);
  return reading;
}

std::string ReadClipboardText(std::size_t maxBytes) { return ReadClipboard(maxBytes).text; }

namespace {

// Movable global memory holding a copy of the bytes; nullptr when there is no memory.
HGLOBAL GlobalCopyOf(const void* bytes, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return nullptr;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(p, bytes, size);
  GlobalUnlock(memory);
  return memory;
}

// Empties the clipboard and puts the blocks on it in their formats, in order;
// the clipboard owns each block it took, the others are freed. False when the
// clipboard stayed held, a block is missing or one was refused.
bool PutOnClipboard(std::initializer_list<std::pair<UINT, HGLOBAL>> blocks) {
  bool ok = true;
  for (const auto& block : blocks) ok = ok && block.second != nullptr;
  if (!ok || !OpenClipboardBriefly(nullptr)) {
    for (const auto& block : blocks) {
      if (block.second) GlobalFree(block.second);
    }
    return false;
  }
  EmptyClipboard();
  for (const auto& block : blocks) {
    if (SetClipboardData(block.first, block.second) == nullptr) {
      GlobalFree(block.second);
      ok = false;
    }
  }
  CloseClipboard();
  return ok;
}

HGLOBAL UnicodeBlockOf(const char* text) {
  std::wstring wide = win32::ToWide(text);
  return GlobalCopyOf(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

}  // namespace

bool WriteClipboardText(const char* text) {
  if (!text) return false;
  return PutOnClipboard({{CF_UNICODETEXT, UnicodeBlockOf(text)}});
}

bool WriteClipboardTextBoth(const char* text) {
  if (!text) return false;
  return PutOnClipboard({{CF_TEXT, GlobalCopyOf(text, std::strlen(text) + 1)},
                         {CF_UNICODETEXT, UnicodeBlockOf(text)}});
}

// ---------------------------------------------------------------- this process

std::vector<std::string> CommandLineArguments() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(win32::ToSjis(argv[i]));
  if (argv) LocalFree(argv);
  return args;
}

std::string ModuleFileName(bool* exact) {
  if (exact) *exact = true;
  std::vector<wchar_t> buf(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  if (n == 0 || n >= buf.size()) return {};
  bool sjis = true;
  std::string path = win32::ToSjis(buf.data(), static_cast<int>(n), &sjis);
  if (exact) {
    *exact = sjis;
    return path;
  }
  return sjis ? path : std::string();
}

void ExitProcess(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

bool AcquireSingleInstance(const char* name) {
  // The handle is never closed: the mutex lives as long as the process.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, win32::ToWide(name).c_str());
  if (!mutex) return false;
  return GetLastError() != ERROR_ALREADY_EXISTS;
}

// ---------------------------------------------------------------- child processes

std::uint32_t StartProcess(const ProcessStart& start) {
  std::wstring commandLine = win32::ToWide(start.commandLine.c_str());
  std::vector<wchar_t> buf(commandLine.begin(), commandLine.end());  // CreateProcessW may write into it
  buf.push_back(L'\0');
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  if (start.useShowWindow) {
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(start.showWindow);
  }
  PROCESS_INFORMATION pi = {};
  const std::wstring application = win32::ToWide(start.applicationName.c_str());
  if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), buf.data(), nullptr, nullptr,
                      start.inheritHandles, start.creationFlags, nullptr, nullptr, &si, &pi)) {
    return 0;
  }
  CloseHandle(pi.hThread);
  ForgetProcess(pi.dwProcessId);  // a handle of an ended process with the same id
  StartedProcesses()[pi.dwProcessId] = pi.hProcess;
  return pi.dwProcessId;
}

unsigned WaitForStartedProcess(std::uint32_t processId) {
  HANDLE h = StartedProcess(processId);
  if (!h) return 0;
  WaitForInputIdle(h, INFINITE);
  WaitForSingleObject(h, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(h, &code);
  ForgetProcess(processId);
  return code;
}

void TerminateStartedProcess(std::uint32_t processId, unsigned exitCode) {
  HANDLE h = StartedProcess(processId);
  if (!h || WaitForSingleObject(h, 0) != WAIT_TIMEOUT) return;
  if (TerminateProcess(h, exitCode)) {
    // Termination completes asynchronously; wait briefly so that the files
    // the process had open can be deleted right after.
    WaitForSingleObject(h, 2000);
  }
  DWORD code = 0;
  GetExitCodeProcess(h, &code);
  ForgetProcess(processId);
}

bool StartedProcessEnded(std::uint32_t processId, unsigned* exitCode) {
  *exitCode = kUnknownExitCode;
  HANDLE h = StartedProcess(processId);
  if (!h) return true;
  if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) return false;
  DWORD code = 0;
  if (GetExitCodeProcess(h, &code)) *exitCode = code;
  ForgetProcess(processId);
  return true;
}

bool IsProcessRunning(std::uint32_t processId) {
  if (processId == 0) return false;
  // A process of ours is asked directly: while its handle is held, an ended
  // process may still be listed by the snapshot.
  if (HANDLE h = StartedProcess(processId)) {
    if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) return true;
    ForgetProcess(processId);
    return false;
  }
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    found = entry.th32ProcessID == processId;
  }
  CloseHandle(snapshot);
  return found;
}

}  // namespace plat
