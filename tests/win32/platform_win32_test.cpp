// Tests of the Win32 platform layer and the compiled resources, run under
// Wine (or Windows). The program also serves as its own child process:
//   --sleep            waits a minute (a process to terminate)
//   --exit N           ends with exit code N
//   --mutex NAME       ends with 1 when it is the first owner of NAME, else 0
//   --hold SECONDS     shows the main dialog with sample rows (for screenshots)
//   --module-path EXACT TAIL  checks ModuleFileName in a copy of the program
#include "platform/win32/win32_common.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "resources/templates.h"

namespace {

int g_failures = 0;
int g_checks = 0;

#define CHECK(cond)                                                         \
  do {                                                                      \
    ++g_checks;                                                             \
    if (!(cond)) {                                                          \
      ++g_failures;                                                         \
      std::printf("FAIL %s:%d: %s\n", __FILE__, __LINE__, #cond);           \
    }                                                                       \
  } while (0)

#define CHECK_EQ(a, b)                                                                 \
  do {                                                                                 \
    ++g_checks;                                                                        \
    if (!((a) == (b))) {                                                               \
      ++g_failures;                                                                    \
      std::printf("FAIL %s:%d: %s == %s\n", __FILE__, __LINE__, #a, #b);               \
    }                                                                                  \
  } while (0)

using plat::Window;

using plat::H;
using plat::W;

std::string TempFolder() {
  wchar_t buf[MAX_PATH];
  GetTempPathW(MAX_PATH, buf);
  std::string base = plat::win32::ToSjis(buf);
  return base + "tavolex_platform_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
}

std::string ReadAll(const std::string& path) {
  int h = plat::OpenFile(path.c_str(), plat::OpenMode::Read);
  if (h < 0) return "<missing>";
  std::string out;
  char buf[7];  // small on purpose: reads continue across calls
  long n;
  while ((n = plat::ReadFile(h, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  plat::CloseFile(h);
  return out;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  int h = plat::OpenFile(path.c_str(), plat::OpenMode::WriteTruncate);
  if (h < 0) return false;
  bool ok = plat::WriteFile(h, bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
  return plat::FlushFile(h) && plat::CloseFile(h) && ok;
}

// ------------------------------------------------------------------ text

void TestTextConversion() {
  using plat::win32::CutToBytes;
  using plat::win32::ToSjis;
  using plat::win32::ToWide;
  // "表" has 0x5C as its second byte; the conversion must keep it whole.
  const char* japanese = "表示\\処理作業名";
  CHECK(ToSjis(ToWide(japanese).c_str()) == japanese);
  CHECK(ToWide("～") == L"\xFF5E");  // the fullwidth tilde of the templates

  bool exact = true;
  CHECK(ToSjis(L"caf\x00E9", -1, &exact) == "caf?");  // no best fit to 'e'
  CHECK(!exact);
  CHECK(ToSjis(L"\xD83D\xDE00", -1, &exact).find('?') != std::string::npos);
  CHECK(!exact);
  ToSjis(L"abc", -1, &exact);
  CHECK(exact);

  std::string s = "ab表";  // 4 bytes
  CutToBytes(s, 3);
  CHECK_EQ(s, std::string("ab"));
  s = "ab表";
  CutToBytes(s, 4);
  CHECK_EQ(s, std::string("ab表"));
}

// ------------------------------------------------------------------ files

void TestFiles() {
  const std::string dir = TempFolder() + "_作業";
  CHECK(!plat::PathExists(dir.c_str()));
  CHECK(plat::CreateFolder(dir.c_str()));
  CHECK(!plat::CreateFolder(dir.c_str()));
  CHECK(plat::PathExists(dir.c_str()));
  CHECK(plat::IsDirectory(dir.c_str()));
  CHECK(plat::PathExists("C:"));
  CHECK(plat::PathExists("C:\\"));

  const std::string file = dir + "\\KeyRecord.def";
  CHECK(plat::OpenFile(file.c_str(), plat::OpenMode::Read) == -1);
  CHECK(WriteAll(file, "line 1\r\n表示,2\r\n"));
  CHECK_EQ(ReadAll(file), std::string("line 1\r\n表示,2\r\n"));
  CHECK(plat::PathExists(file.c_str()));
  CHECK(!plat::IsDirectory(file.c_str()));
  CHECK(WriteAll(file, "x"));  // truncates
  CHECK_EQ(ReadAll(file), std::string("x"));
  // Appending keeps the content and writes at its end; a missing file is made.
  for (const std::string& target : {file, dir + "\\Runvane.log"}) {
    int log = plat::OpenFile(target.c_str(), plat::OpenMode::Append);
    CHECK(log >= 0 && plat::WriteFile(log, "yz", 2) == 2 && plat::CloseFile(log));
  }
  CHECK_EQ(ReadAll(file), std::string("xyz"));
  CHECK_EQ(ReadAll(dir + "\\Runvane.log"), std::string("yz"));
  CHECK(plat::DeleteFileAt((dir + "\\Runvane.log").c_str()));

  // Handles are reused after closing; a closed handle is refused.
  int a = plat::OpenFile(file.c_str(), plat::OpenMode::Read);
  CHECK(a >= 0);
  CHECK(plat::CloseFile(a));
  CHECK(!plat::CloseFile(a));
  char c;
  CHECK_EQ(plat::ReadFile(a, &c, 1), -1L);
  int b = plat::OpenFile(file.c_str(), plat::OpenMode::Read);
  CHECK_EQ(a, b);
  plat::CloseFile(b);

  // Listing: names converted, a name code page 932 cannot spell is left out.
  HANDLE odd = CreateFileW(plat::win32::ToWide((dir + "\\").c_str()).append(L"caf\x00E9").c_str(), GENERIC_WRITE, 0,
                           nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(odd);
  CHECK(plat::CreateFolder((dir + "\\請求書").c_str()));
  std::vector<plat::FolderEntry> entries = {{"stale", false}};
  CHECK(plat::ListFolder((dir + "\\*.*").c_str(), entries));
  int dots = 0, folders = 0, files = 0;
  for (const auto& e : entries) {
    if (e.name == "." || e.name == "..") ++dots;
    if (e.name == "請求書" && e.isDirectory) ++folders;
    if (e.name == "KeyRecord.def" && !e.isDirectory) ++files;
    CHECK(e.name.find('?') == std::string::npos);
    CHECK(e.name != "stale");
  }
  CHECK_EQ(dots, 2);
  CHECK_EQ(folders, 1);
  CHECK_EQ(files, 1);
  CHECK_EQ(entries.size(), std::size_t(4));  // ".", "..", the file, the folder
  CHECK(!plat::ListFolder((dir + "\\none*.*").c_str(), entries));

  // Replacing: into a missing target, over an existing one, and a target held
  // open by another program for a moment. The backup name is free again after.
  using plat::ReplaceResult;
  const std::string target = dir + "\\KeyRepeat.def";
  const std::string temp = dir + "\\KeyRepeat.tmp";
  const std::string backup = dir + "\\KeyRepeat.bak";
  auto replace = [&](const std::string& from) {
    return plat::ReplaceFileWith(target.c_str(), from.c_str(), backup.c_str());
  };
  CHECK(WriteAll(temp, "new"));
  CHECK(replace(temp) == ReplaceResult::Replaced);
  CHECK_EQ(ReadAll(target), std::string("new"));
  CHECK(!plat::PathExists(temp.c_str()));
  CHECK(WriteAll(temp, "newer"));
  CHECK(replace(temp) == ReplaceResult::Replaced);
  CHECK_EQ(ReadAll(target), std::string("newer"));
  CHECK(!plat::PathExists(temp.c_str()));
  CHECK(!plat::PathExists(backup.c_str()));

  auto hold = [](const std::string& path, DWORD share) {
    return CreateFileW(plat::win32::ToWide(path.c_str()).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0,
                       nullptr);
  };
  auto releaseLater = [](HANDLE held) {
    return std::thread([held] {
      Sleep(300);
      CloseHandle(held);
    });
  };
  CHECK(WriteAll(temp, "third"));
  HANDLE held = hold(target, 0);
  CHECK(held != INVALID_HANDLE_VALUE);
  std::thread release = releaseLater(held);
  CHECK(replace(temp) == ReplaceResult::Replaced);
  release.join();
  CHECK_EQ(ReadAll(target), std::string("third"));

  CHECK(replace(dir + "\\missing.tmp") == ReplaceResult::Unchanged);
  CHECK_EQ(ReadAll(target), std::string("third"));

  // The replacement held by another program without delete sharing (a virus
  // scanner, an indexer): for a moment, then for longer than the retries. The
  // old file is never lost on the way, whatever the system does first.
  CHECK(WriteAll(temp, "fourth"));
  held = hold(temp, FILE_SHARE_READ | FILE_SHARE_WRITE);
  release = releaseLater(held);
  CHECK(replace(temp) == ReplaceResult::Replaced);
  release.join();
  CHECK_EQ(ReadAll(target), std::string("fourth"));
  CHECK(WriteAll(temp, "fifth"));
  held = hold(temp, FILE_SHARE_READ | FILE_SHARE_WRITE);
  CHECK(replace(temp) == ReplaceResult::Unchanged);
  CloseHandle(held);
  CHECK_EQ(ReadAll(target), std::string("fourth"));
  CHECK_EQ(ReadAll(temp), std::string("fifth"));
  CHECK(!plat::PathExists(backup.c_str()));
  // The same failure after the old file was moved aside, as Windows meets it
  // with a held replacement; Wine refuses a held one before moving anything,
  // but fails the same way with a replacement on another volume.
  const std::string elsewhere = "Z:\\dev\\shm\\tavolex_replacement_" + std::to_string(GetCurrentProcessId());
  if (WriteAll(elsewhere, "sixth")) {
    CHECK(replace(elsewhere) == ReplaceResult::Unchanged);
    CHECK_EQ(ReadAll(target), std::string("fourth"));
    CHECK_EQ(ReadAll(elsewhere), std::string("sixth"));
    CHECK(!plat::PathExists(backup.c_str()));
    plat::DeleteFileAt(elsewhere.c_str());
  } else {
    std::printf("note: no second volume at Z:\\dev\\shm; the replacement across volumes is not tried\n");
  }

  // Write times: a later write is later; a replaced file has its
  // replacement's time; no file, or a folder, has none.
  const std::uint64_t earlier = plat::FileWriteTime(target.c_str());
  Sleep(30);
  CHECK(WriteAll(temp, "seventh"));
  const std::uint64_t written = plat::FileWriteTime(temp.c_str());
  CHECK(earlier != 0 && earlier < written);
  Sleep(30);
  CHECK(replace(temp) == ReplaceResult::Replaced);
  CHECK_EQ(plat::FileWriteTime(target.c_str()), written);
  CHECK_EQ(plat::FileWriteTime(temp.c_str()), 0u);
  CHECK_EQ(plat::FileWriteTime(dir.c_str()), 0u);

  // Removal.
  CHECK(!plat::RemoveFolder(dir.c_str()));  // not empty
  for (const char* name : {"\\KeyRecord.def", "\\KeyRepeat.def"}) CHECK(plat::DeleteFileAt((dir + name).c_str()));
  DeleteFileW(plat::win32::ToWide((dir + "\\").c_str()).append(L"caf\x00E9").c_str());
  CHECK(!plat::DeleteFileAt((dir + "\\KeyRecord.def").c_str()));
  CHECK(plat::RemoveFolder((dir + "\\請求書").c_str()));
  if (!plat::RemoveFolder(dir.c_str())) {
    CHECK(false);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(plat::win32::ToWide((dir + "\\*").c_str()).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do std::printf("left in the test folder: %ls\n", data.cFileName);
      while (FindNextFileW(find, &data));
      FindClose(find);
    }
  }
  CHECK(!plat::PathExists(dir.c_str()));
}

// ------------------------------------------------------------------ clipboard

void TestClipboard() {
  CHECK(plat::WriteClipboardText("0,0"));
  CHECK_EQ(plat::ReadClipboardText(65536), std::string("0,0"));
  CHECK(plat::WriteClipboardText("座標取得 12,34"));
  CHECK_EQ(plat::ReadClipboardText(65536), std::string("座標取得 12,34"));
  CHECK_EQ(plat::ReadClipboardText(4), std::string("座"));  // 3 bytes allowed: never half a character
  CHECK_EQ(plat::ReadClipboardText(1), std::string());
  // Another program's text that Shift-JIS cannot spell arrives with '?'.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    const wchar_t text[] = L"caf\x00E9";
    HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    std::memcpy(GlobalLock(m), text, sizeof text);
    GlobalUnlock(m);
    SetClipboardData(CF_UNICODETEXT, m);
    CloseClipboard();
  }
  CHECK_EQ(plat::ReadClipboardText(65536), std::string("caf?"));
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  CHECK_EQ(plat::ReadClipboardText(65536), std::string());
}

// Puts one clipboard format, as another program would.
void PutClipboardFormat(UINT format, const void* data, std::size_t bytes) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(m), data, bytes);
  GlobalUnlock(m);
  SetClipboardData(format, m);
  CloseClipboard();
}

// What the coordinate picker's answers rely on: the writer's own format wins,
// the sequence number tells a new text from the same one, a long text is
// reported as cut, and a clipboard held elsewhere costs only a short wait.
void TestClipboardReadings() {
  // Shift-JIS put as CF_TEXT: the bytes as they stand, even where the
  // system's Unicode copy of them would be made with a Western code page.
  const char sjis[] = "請求書.xlsx - 表計算";
  PutClipboardFormat(CF_TEXT, sjis, sizeof sjis);
  CHECK_EQ(plat::ReadClipboardText(65536), std::string(sjis));
  // Unicode put as CF_UNICODETEXT: converted without best fit (a yen sign
  // never becomes the path separator).
  const wchar_t yen[] = L"C:\x00A5" L"Tools\x00A5" L"a.exe";
  PutClipboardFormat(CF_UNICODETEXT, yen, sizeof yen);
  CHECK_EQ(plat::ReadClipboardText(65536), std::string("C:?Tools?a.exe"));

  plat::ClipboardReading first = plat::ReadClipboard(65536);
  CHECK(first.sequence != 0);
  CHECK(!first.cut);
  CHECK_EQ(plat::ReadClipboard(65536).sequence, first.sequence);  // reading changes nothing
  CHECK(plat::WriteClipboardText("NEW ACTION"));
  plat::ClipboardReading second = plat::ReadClipboard(65536);
  CHECK(second.sequence != first.sequence);
  CHECK(plat::WriteClipboardText("NEW ACTION"));  // the same text again is a new change
  CHECK(plat::ReadClipboard(65536).sequence != second.sequence);

  std::string big(65536, 'a');
  PutClipboardFormat(CF_TEXT, big.c_str(), big.size() + 1);
  plat::ClipboardReading cut = plat::ReadClipboard(65536);
  CHECK(cut.cut);
  CHECK_EQ(cut.text.size(), static_cast<std::size_t>(65535));
  big.pop_back();
  PutClipboardFormat(CF_TEXT, big.c_str(), big.size() + 1);
  cut = plat::ReadClipboard(65536);
  CHECK(!cut.cut);
  CHECK_EQ(cut.text.size(), static_cast<std::size_t>(65535));

  // Another thread keeps the clipboard open.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND own = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    OpenClipboard(own);
    SetEvent(opened);
    WaitForSingleObject(release, 10000);
    CloseClipboard();
    DestroyWindow(own);
  });
  WaitForSingleObject(opened, 10000);
  const DWORD start = GetTickCount();
  CHECK(plat::ReadClipboard(65536).text.empty());
  CHECK(!plat::WriteClipboardText("0,0"));
  CHECK(GetTickCount() - start < 1000);
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  CHECK_EQ(plat::ReadClipboardText(65536), big);  // untouched
  CHECK(plat::WriteClipboardText("0,0"));
}

// ------------------------------------------------------------------ the pickers

// Windows come with their program; a title copied into an edit tells whether
// Shift-JIS can write it, '?' standing in for what it cannot.
void TestPickers() {
  HWND exact = CreateWindowExW(0, L"STATIC", L"\x8ACB\x6C42\x66F8 - Memo", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20,
                               nullptr, nullptr, nullptr, nullptr);
  HWND cafe = CreateWindowExW(0, L"STATIC", L"caf\x00E9 - Memo", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                              nullptr, nullptr, nullptr);
  HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, holder, reinterpret_cast<HMENU>(100), nullptr, nullptr);

  int seen = 0;
  for (const plat::ProgramWindow& w : plat::ProgramWindows()) {
    if (w.window != W(exact) && w.window != W(cafe)) continue;
    ++seen;
    CHECK_EQ(w.processId, GetCurrentProcessId());
    CHECK(lstrcmpiA(w.programName.c_str(), "platform_win32_tests.exe") == 0);
  }
  CHECK_EQ(seen, 2);
  CHECK_EQ(plat::CurrentProcessId(), GetCurrentProcessId());

  bool isExact = false;
  CHECK(plat::CopyWindowTitleToControl(W(exact), W(holder), 100));
  CHECK_EQ(plat::GetControlTextExact(W(holder), 100, 256, &isExact), "請求書 - Memo");
  CHECK(isExact);
  CHECK(plat::CopyWindowTitleToControl(W(cafe), W(holder), 100));
  CHECK_EQ(plat::GetControlTextExact(W(holder), 100, 256, &isExact), "caf? - Memo");
  CHECK(!isExact);
  DestroyWindow(exact);
  DestroyWindow(cafe);
  DestroyWindow(holder);
}

// ------------------------------------------------------------------ processes

DWORD ChildExitCode(const std::string& self, const std::string& args) {
  std::uint32_t id = plat::StartProcess({"\"" + self + "\" " + args, false, plat::kCreateNoWindow, false, 0, {}});
  if (id == 0) return 0xFFFFFFFFu;
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  const unsigned waited = plat::WaitForStartedProcess(id);
  DWORD code = 0xFFFFFFFEu;
  if (h) {
    GetExitCodeProcess(h, &code);
    CloseHandle(h);
  }
  CHECK_EQ(waited, code);  // the wait tells the exit code
  return code;
}

bool WaitUntilEnded(std::uint32_t id, unsigned* exitCode) {
  for (int i = 0; i < 200; ++i) {
    if (plat::StartedProcessEnded(id, exitCode)) return true;
    Sleep(50);
  }
  return false;
}

void TestProcesses() {
  const std::string self = plat::ModuleFileName();
  CHECK(self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0);
  CHECK(plat::PathExists(self.c_str()));

  CHECK_EQ(ChildExitCode(self, "--exit 3"), DWORD(3));
  CHECK_EQ(plat::StartProcess({"C:\\no such folder\\none.exe", true, 0, false, 0, {}}), 0u);

  // Terminating: only a running process of our own, with the code given.
  std::uint32_t id = plat::StartProcess({"\"" + self + "\" --sleep", true, plat::kNormalPriorityClass, true, SW_HIDE, {}});
  CHECK(id != 0);
  CHECK(plat::IsProcessRunning(id));
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  plat::TerminateStartedProcess(id, 7);
  CHECK(!plat::IsProcessRunning(id));
  DWORD code = 0;
  if (h) {
    WaitForSingleObject(h, 5000);
    GetExitCodeProcess(h, &code);
    CloseHandle(h);
  }
  CHECK_EQ(code, DWORD(7));
  plat::TerminateStartedProcess(id, 9);  // ended: nothing happens
  plat::TerminateStartedProcess(GetCurrentProcessId(), 9);  // not started by us: nothing happens
  plat::TerminateStartedProcess(0, 9);
  CHECK(plat::IsProcessRunning(GetCurrentProcessId()));
  CHECK(!plat::IsProcessRunning(0));

  // The end of a started process, with its exit code, told once.
  unsigned exitCode = 0;
  id = plat::StartProcess({"\"" + self + "\" --exit 4", true, 0, true, SW_HIDE, {}});
  CHECK(id != 0);
  CHECK(WaitUntilEnded(id, &exitCode));
  CHECK_EQ(exitCode, 4u);
  CHECK(plat::StartedProcessEnded(id, &exitCode));
  CHECK_EQ(exitCode, plat::kUnknownExitCode);
  id = plat::StartProcess({"\"" + self + "\" --sleep", true, 0, true, SW_HIDE, {}});
  CHECK(!plat::StartedProcessEnded(id, &exitCode));
  plat::TerminateStartedProcess(id, 0);

  // Single instance: the second owner of the name is told so.
  const std::string name = "TavolexPlatformTest" + std::to_string(GetCurrentProcessId());
  CHECK(plat::AcquireSingleInstance(name.c_str()));
  CHECK_EQ(ChildExitCode(self, "--mutex " + name), DWORD(0));
  CHECK_EQ(ChildExitCode(self, "--mutex " + name + "x"), DWORD(1));
}

// A shortcut on the desktop reads back through the shell with its fields,
// and a second one of the same name replaces it.
void TestDesktopShortcut() {
  const std::string self = plat::ModuleFileName();
  const std::string name = "TavolexPlatformTest" + std::to_string(GetCurrentProcessId());
  plat::ShortcutSpec shortcut{name, self, "\"見積\" /delay=3", "C:\\windows", self};
  plat::CreateDesktopShortcut({name, self, "old", "C:\\", self});
  const plat::ShortcutOutcome made = plat::CreateDesktopShortcut(shortcut);
  CHECK(made.result == plat::ShortcutOutcome::Created);
  CHECK(made.path.size() > name.size() + 4 &&
        made.path.compare(made.path.size() - name.size() - 5, std::string::npos, "\\" + name + ".lnk") == 0);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {}, icon[MAX_PATH] = {};
  int iconIndex = -1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(plat::win32::ToWide(made.path.c_str()).c_str(), STGM_READ))) {
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &iconIndex);
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  CHECK_EQ(lstrcmpiW(target, plat::win32::ToWide(self.c_str()).c_str()), 0);
  CHECK_EQ(plat::win32::ToSjis(arguments), shortcut.arguments);
  CHECK_EQ(lstrcmpiW(folder, L"C:\\windows"), 0);
  CHECK_EQ(lstrcmpiW(icon, plat::win32::ToWide(self.c_str()).c_str()), 0);
  CHECK_EQ(iconIndex, 0);
  CHECK(DeleteFileW(plat::win32::ToWide(made.path.c_str()).c_str()));
}

// The program's own path in a folder whose name code page 932 cannot spell:
// a copy of this program runs there and checks what ModuleFileName gives
// (--module-path, below). Exit code 0 is a pass.
DWORD RunCopyIn(const std::wstring& folderName, const std::wstring& expectExact, const std::wstring& tail) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"tavolex_module_" + std::to_wstring(GetCurrentProcessId()) +
                              L"_" + folderName;
  const std::wstring copy = folder + L"\\child.exe";
  std::vector<wchar_t> self(32768);
  GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  CreateDirectoryW(folder.c_str(), nullptr);
  if (!CopyFileW(self.data(), copy.c_str(), FALSE)) return 0xFFFFFFF0u;
  std::wstring command = L"\"" + copy + L"\" --module-path " + expectExact + L" \"" + tail + L"\"";
  std::vector<wchar_t> buf(command.begin(), command.end());
  buf.push_back(L'\0');
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  DWORD code = 0xFFFFFFF1u;
  if (CreateProcessW(copy.c_str(), buf.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                     &pi)) {
    WaitForSingleObject(pi.hProcess, 30000);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
  return code;
}

// In the copy: the path ends with `tail` (Shift-JIS, '?' for what it cannot
// spell) and is exact or not as expected; without the flag an inexact path
// is empty.
int CheckModulePath(bool expectExact, const std::string& tail) {
  bool exact = !expectExact;
  const std::string shown = plat::ModuleFileName(&exact);
  const std::string strict = plat::ModuleFileName();
  if (exact != expectExact) return 10;
  if (shown.size() < tail.size() || shown.compare(shown.size() - tail.size(), tail.size(), tail) != 0) return 11;
  if (strict != (expectExact ? shown : std::string())) return 12;
  return 0;
}

void TestModulePath() {
  CHECK_EQ(RunCopyIn(L"Jos\u00E9", L"0", L"_Jos?\\child.exe"), DWORD(0));
  CHECK_EQ(RunCopyIn(L"\uD55C\uAE00", L"0", L"_??\\child.exe"), DWORD(0));
  CHECK_EQ(RunCopyIn(L"\u8868\u793A", L"1", L"_\u8868\u793A\\child.exe"), DWORD(0));  // 表示: 0x5C in 表
}

// ------------------------------------------------------------------ dialogs

// A dialog handler whose reactions the tests set; records what arrives.
struct TestHandler : plat::DialogHandler {
  std::function<bool(Window)> init;
  std::function<void(Window, int)> timer;
  std::function<long(Window, const plat::Notification&)> notify;
  std::function<plat::CtlColorAnswer(Window, plat::CtlColorKind, int)> color;
  std::function<bool(Window, const plat::DrawItem&)> draw;
  std::vector<std::pair<int, int>> commands;

  bool OnInitDialog(Window d) override { return init ? init(d) : true; }
  void OnCommand(Window, int id, int code) override { commands.emplace_back(id, code); }
  long OnNotify(Window d, const plat::Notification& n) override { return notify ? notify(d, n) : 0; }
  void OnTimer(Window d, int id) override {
    if (timer) timer(d, id);
  }
  plat::CtlColorAnswer OnCtlColor(Window d, plat::CtlColorKind k, int id) override {
    return color ? color(d, k, id) : plat::CtlColorAnswer{};
  }
  bool OnDrawItem(Window d, const plat::DrawItem& item) override { return draw ? draw(d, item) : false; }
};

const char* ClassOf(res::ControlClass cls) {
  switch (cls) {
    case res::ControlClass::Static: return "Static";
    case res::ControlClass::Edit: return "Edit";
    case res::ControlClass::Button: return "Button";
    case res::ControlClass::ComboBox: return "ComboBox";
    case res::ControlClass::ListView: return "SysListView32";
    case res::ControlClass::Animation: return "SysAnimate32";
  }
  return "";
}

// Every addressed control of a template exists with its class, styles, text and place.
void CheckAgainstTemplate(Window dialog, int templateId) {
  const res::DialogTemplate& t = *res::FindDialogTemplate(templateId);
  CHECK_EQ(plat::win32::WindowText(H(dialog), 512), std::string(t.caption));
  for (std::size_t i = 0; i < t.controlCount; ++i) {
    const res::ControlTemplate& c = t.controls[i];
    if (c.id == -1) continue;
    HWND h = H(plat::ControlWindow(dialog, c.id));
    CHECK(h != nullptr);
    if (!h) continue;
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (lstrcmpiW(cls, plat::win32::ToWide(ClassOf(c.cls)).c_str()) != 0) {
      std::printf("control %d has class %ls\n", c.id, cls);
      CHECK(false);
    }
    // Dialogs turn WS_BORDER of controls into a client edge; the rest stays.
    auto style = static_cast<std::uint32_t>(GetWindowLongPtrW(h, GWL_STYLE));
    // Combo boxes hand their scroll bar to their drop-down list.
    std::uint32_t want = (c.style | res::kWsChild | res::kWsVisible) & ~res::kWsBorder;
    if (c.cls == res::ControlClass::ComboBox) want &= ~res::kWsVScroll;
    if ((style & want) != want) {
      std::printf("control %d has style %08X, template %08X\n", c.id, style, want);
      CHECK(false);
    }
    auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    CHECK((exStyle & c.exStyle) == c.exStyle);
    if (c.cls == res::ControlClass::Static || c.cls == res::ControlClass::Button) {
      CHECK_EQ(plat::GetControlText(dialog, c.id), std::string(c.text));
    }
    RECT r = {c.x, c.y, c.x + c.width, c.y + c.height};
    MapDialogRect(H(dialog), &r);
    plat::Rect got = plat::ControlRect(dialog, c.id);
    // The dialog manager rounds the width and height, not the right and bottom edge.
    bool same = got.left == r.left && got.top == r.top && std::abs(got.right - r.right) <= 1 &&
                (std::abs(got.bottom - r.bottom) <= 1 || c.cls == res::ControlClass::ComboBox);
    if (!same) {
      std::printf("control %d at %ld,%ld,%ld,%ld, template %ld,%ld,%ld,%ld\n", c.id, static_cast<long>(got.left),
                  static_cast<long>(got.top), static_cast<long>(got.right), static_cast<long>(got.bottom), r.left,
                  r.top, r.right, r.bottom);
      CHECK(false);
    }
  }
}

COLORREF PixelOf(Window dialog, int controlId, int x, int y) {
  HWND h = H(plat::ControlWindow(dialog, controlId));
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  HDC dc = GetDC(h);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(h, dc);
  return c;
}

void TestMainDialogControls(Window d, TestHandler& handler) {
  CheckAgainstTemplate(d, res::kMainDialog);
  CHECK((GetWindowLongPtrW(H(d), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0);
  CHECK(plat::HasSystemMenu(d));
  CHECK_EQ(plat::LoadResourceString(res::kAboutMenuString), std::string(res::FindString(res::kAboutMenuString)));
  CHECK_EQ(plat::LoadResourceString(9999), std::string());
  HMENU menu = GetSystemMenu(H(d), FALSE);
  int items = GetMenuItemCount(menu);
  plat::AppendSystemMenuItem(d, 16, "ラディモについて(&A)...");
  CHECK_EQ(GetMenuItemCount(menu), items + 2);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 16, text, 64, MF_BYCOMMAND);
  CHECK_EQ(plat::win32::ToSjis(text), std::string("ラディモについて(&A)..."));
  plat::EnableSystemMenuItem(d, 16, false);
  CHECK((GetMenuState(menu, 16, MF_BYCOMMAND) & MF_GRAYED) != 0);
  plat::EnableSystemMenuItem(d, 16, true);
  CHECK((GetMenuState(menu, 16, MF_BYCOMMAND) & MF_GRAYED) == 0);
  plat::AppendSystemMenuItem(d, 32, "x", false);  // no separator before it
  CHECK_EQ(GetMenuItemCount(menu), items + 3);

  plat::SetDialogIcon(d, res::kIcon);
  CHECK(SendMessageW(H(d), WM_GETICON, ICON_BIG, 0) != 0);
  CHECK(SendMessageW(H(d), WM_GETICON, ICON_SMALL, 0) != 0);
  CHECK(plat::AnimationOpen(d, 106, res::kStatusAnimation));
  plat::AnimationPlay(d, 106, 0, -1, -1);
  CHECK(!plat::AnimationOpen(d, 106, 9999));

  // Edits: writes raise EN_CHANGE at once; reads never cut a character in two.
  handler.commands.clear();
  plat::SetControlText(d, 1004, "画面をクリア");
  int enChanges = 0;
  for (const auto& [id, code] : handler.commands) enChanges += id == 1004 && code == plat::kEnChange;
  CHECK_EQ(enChanges, 1);
  CHECK_EQ(plat::GetControlText(d, 1004), std::string("画面をクリア"));
  CHECK_EQ(plat::GetControlText(d, 1004, 4), std::string("画"));
  // The caret after the last character (6 UTF-16 units), nothing selected.
  plat::PutCaretAtEnd(d, 1004);
  DWORD selStart = 0, selEnd = 0;
  SendDlgItemMessageW(H(d), 1004, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  CHECK(selStart == 6 && selEnd == 6);
  plat::LimitText(d, 1004, 512);
  CHECK_EQ(SendDlgItemMessageW(H(d), 1004, EM_GETLIMITTEXT, 0, 0), LRESULT(512));
  plat::SetEditReadOnly(d, 1004, true);
  CHECK(plat::IsEditReadOnly(d, 1004));
  plat::SetEditReadOnly(d, 1004, false);
  CHECK(!plat::IsEditReadOnly(d, 1004));
  plat::EnableControl(d, 1004, false);
  CHECK(!plat::IsControlEnabled(d, 1004));
  plat::ShowControl(d, 1005, false);
  CHECK(!plat::IsControlVisible(d, 1005));
  plat::MoveControlToTop(d, 1020, 635, 473, 45, 16);
  plat::Rect r = plat::ControlRect(d, 1020);
  CHECK(r.left == 635 && r.top == 473 && r.right == 680 && r.bottom == 489);
  plat::SetButtonCheck(d, 1044, 1);
  CHECK_EQ(plat::GetButtonCheck(d, 1044), 1);
  // Setting a check box raises no command: loading the repeat rules ticks
  // their boxes without running the click handler.
  handler.commands.clear();
  plat::SetButtonCheck(d, 1045, 1);
  CHECK_EQ(plat::GetButtonCheck(d, 1045), 1);
  CHECK(handler.commands.empty());
  plat::SetButtonCheck(d, 1045, 0);

  // Combo box 1082 keeps its entries sorted.
  CHECK_EQ(plat::ComboAdd(d, 1082, "請求書"), 0);
  CHECK_EQ(plat::ComboAdd(d, 1082, "Alpha"), 0);
  CHECK_EQ(plat::ComboCount(d, 1082), 2);
  CHECK_EQ(plat::ComboItemText(d, 1082, 1), std::string("請求書"));
  CHECK_EQ(plat::ComboItemText(d, 1082, 5), std::string());
  plat::ComboSetSelection(d, 1082, 1);
  CHECK_EQ(plat::ComboGetSelection(d, 1082), 1);
  plat::ComboReset(d, 1082);
  CHECK_EQ(plat::ComboCount(d, 1082), 0);
  CHECK_EQ(plat::ComboGetSelection(d, 1082), -1);

  // List view.
  plat::ListAddExtendedStyle(d, 1000, 0x20100E5);
  CHECK((plat::ListExtendedStyle(d, 1000) & 0x20100E5) == 0x20100E5);
  plat::ListInsertColumn(d, 1000, 0, "番号", 40, plat::kAlignLeft);
  plat::ListInsertColumn(d, 1000, 1, "操作する名称", 120, plat::kAlignCenter);
  CHECK_EQ(plat::ListColumnCount(d, 1000), 2);
  CHECK_EQ(plat::ListColumnWidth(d, 1000, 1), 120);
  CHECK_EQ(plat::ListInsertRow(d, 1000, 0, "1"), 0);
  CHECK_EQ(plat::ListInsertRow(d, 1000, 1, "2"), 1);
  plat::ListSetCell(d, 1000, 0, 1, "画面をクリア");
  CHECK_EQ(plat::ListGetCell(d, 1000, 0, 1), std::string("画面をクリア"));
  CHECK_EQ(plat::ListGetCell(d, 1000, 0, 1, 6), std::string("画面"));
  std::string longText(700, 'a');
  longText += "表";
  plat::ListSetCell(d, 1000, 1, 1, longText.c_str());
  CHECK_EQ(plat::ListGetCell(d, 1000, 1, 1, 2048), longText);
  CHECK_EQ(plat::ListGetCell(d, 1000, 1, 1).size(), std::size_t(511));
  CHECK_EQ(plat::ListRowCount(d, 1000), 2);

  std::vector<plat::Notification> changes;
  handler.notify = [&](Window, const plat::Notification& n) {
    if (n.code == plat::kLvnItemChanged) changes.push_back(n);
    return 0L;
  };
  plat::ListSetChecked(d, 1000, 1, true);
  CHECK(plat::ListIsChecked(d, 1000, 1));
  CHECK(!plat::ListIsChecked(d, 1000, 0));
  CHECK(!changes.empty() && changes.back().item == 1 && changes.back().controlId == 1000 &&
        (changes.back().changedMask & LVIF_STATE) && (changes.back().newState & plat::kLvisStateImageMask) == 0x2000);
  plat::ListSetChecked(d, 1000, 1, false);
  CHECK(!plat::ListIsChecked(d, 1000, 1));
  CHECK_EQ(plat::ListFirstSelected(d, 1000), -1);
  changes.clear();
  plat::ListSelectRow(d, 1000, 1);
  CHECK_EQ(plat::ListFirstSelected(d, 1000), 1);
  CHECK(!changes.empty() && (changes.back().newState & plat::kLvisSelected));
  plat::ListEnsureVisible(d, 1000, 1);
  plat::ListRedrawRow(d, 1000, 1);
  handler.notify = nullptr;
}

// LVN_ITEMCHANGED of list 1000 as "row old>new mask, first selected row as
// the handler sees it"; the headless twin's test expects the same strings.
std::string Change(int row, unsigned oldState, unsigned newState, unsigned mask, int firstSelected) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%d %x>%x m%x s%d", row, oldState, newState, mask, firstSelected);
  return buf;
}

using Changes = std::vector<std::string>;

#define CHECK_CHANGES(got, ...)                                        \
  do {                                                                 \
    CHECK_EQ(got, (Changes __VA_ARGS__));                              \
    if (got != Changes __VA_ARGS__) {                                  \
      for (const std::string& c : got) std::printf("  got %s\n", c.c_str()); \
    }                                                                  \
  } while (0)

// The notification rules that the headless twin reproduces, row by row.
void TestListNotificationRules(Window d, TestHandler& handler) {
  Changes got;
  handler.notify = [&](Window w, const plat::Notification& n) {
    if (n.controlId == 1000 && n.code == plat::kLvnItemChanged) {
      got.push_back(Change(n.item, n.oldState, n.newState, n.changedMask, plat::ListFirstSelected(w, 1000)));
    }
    return 0L;
  };
  plat::ListDeleteAllRows(d, 1000);
  got.clear();
  // Inserting unselected rows raises nothing; they come unchecked.
  CHECK_EQ(plat::ListInsertRow(d, 1000, 0, "1"), 0);
  CHECK_EQ(plat::ListInsertRow(d, 1000, 1, "2"), 1);
  CHECK_EQ(plat::ListInsertRow(d, 1000, 2, "3"), 2);
  CHECK(got.empty());
  CHECK(!plat::ListIsChecked(d, 1000, 0));
  // A new column-0 text is notified; the same text and other cells are not.
  plat::ListSetCell(d, 1000, 1, 0, "x");
  plat::ListSetCell(d, 1000, 1, 0, "x");
  plat::ListSetCell(d, 1000, 1, 1, "name");
  CHECK_CHANGES(got, {Change(1, 0, 0, plat::kLvifText, -1)});
  got.clear();
  // Moving the single selection: three notifications.
  plat::ListSelectRow(d, 1000, 0);
  plat::ListSelectRow(d, 1000, 0);
  plat::ListSelectRow(d, 1000, 2);
  CHECK_CHANGES(got, {Change(0, 0x1000, 0x1003, plat::kLvifState, 0), Change(0, 0x1003, 0x1001, plat::kLvifState, -1),
                         Change(0, 0x1001, 0x1000, plat::kLvifState, 2), Change(2, 0x1000, 0x1003, plat::kLvifState, 2)});
  got.clear();

  // Numbered rows: their column 0 follows their position; inserting raises nothing.
  plat::ListDeleteAllRows(d, 1000);
  plat::ListReserveRows(d, 1000, 100);
  plat::ListSetRedraw(d, 1000, false);
  CHECK_EQ(plat::ListInsertNumberedRow(d, 1000, 0), 0);
  CHECK_EQ(plat::ListInsertNumberedRow(d, 1000, 1), 1);
  CHECK_EQ(plat::ListInsertNumberedRow(d, 1000, 0), 0);
  plat::ListSetRedraw(d, 1000, true);
  CHECK_EQ(plat::ListRowCount(d, 1000), 3);
  CHECK(got.empty());
  CHECK_EQ(plat::ListGetCell(d, 1000, 0, 0), std::string("1"));
  CHECK_EQ(plat::ListGetCell(d, 1000, 2, 0), std::string("3"));
  CHECK(!plat::ListIsChecked(d, 1000, 0));
  // Ticking all notifies each row that changes, in order.
  plat::ListSetCheckedAll(d, 1000, true);
  plat::ListSetChecked(d, 1000, 1, false);
  got.clear();
  plat::ListSetCheckedAll(d, 1000, true);
  CHECK_CHANGES(got, {Change(1, 0x1000, 0x2000, plat::kLvifState, -1)});
  CHECK(plat::ListIsChecked(d, 1000, 2));
  got.clear();
  // Deleting: a selected row first loses selection and focus; the rows below move up.
  plat::ListSelectRow(d, 1000, 1);
  got.clear();
  plat::ListDeleteRow(d, 1000, 1);
  plat::ListDeleteRow(d, 1000, 0);
  CHECK_CHANGES(got, {Change(1, 0x2003, 0x2000, plat::kLvifState, -1)});
  got.clear();
  CHECK_EQ(plat::ListRowCount(d, 1000), 1);
  CHECK_EQ(plat::ListGetCell(d, 1000, 0, 0), std::string("1"));
  CHECK_EQ(plat::ListFirstSelected(d, 1000), -1);
  // Autosizing measures the number; writing column 0 of a numbered row is a new text.
  plat::ListSetColumnWidth(d, 1000, 0, plat::kColumnAutosize);
  CHECK(plat::ListColumnWidth(d, 1000, 0) > 0);
  plat::ListSetCell(d, 1000, 0, 0, "1");
  CHECK_CHANGES(got, {Change(0, 0, 0, plat::kLvifText, -1)});
  CHECK_EQ(plat::ListGetCell(d, 1000, 0, 0), std::string("1"));
  plat::ListSetCheckedAll(d, 1000, false);
  CHECK(!plat::ListIsChecked(d, 1000, 0));
  // Ticking silently tells the dialog nothing.
  plat::ListInsertNumberedRow(d, 1000, 1);
  got.clear();
  plat::ListSetCheckedAllSilently(d, 1000, true);
  CHECK(got.empty());
  CHECK(plat::ListIsChecked(d, 1000, 0) && plat::ListIsChecked(d, 1000, 1));
  // Clearing the selection: the selected and focused row loses both at once.
  plat::ListSelectRow(d, 1000, 1);
  got.clear();
  plat::ListClearSelection(d, 1000);
  plat::ListClearSelection(d, 1000);
  CHECK_CHANGES(got, {Change(1, 0x2003, 0x2000, plat::kLvifState, -1)});
  // A row made ticked is ticked, and the dialog is not told.
  got.clear();
  plat::ListInsertNumberedRow(d, 1000, 2, true);
  CHECK(got.empty());
  CHECK(plat::ListIsChecked(d, 1000, 2));
  plat::ListDeleteAllRows(d, 1000);
  handler.notify = nullptr;

  // Fitting a column gives the width the list's own LVSCW_AUTOSIZE gives,
  // for a few rows and for many.
  const std::string texts[] = {"画面をクリア", "W", "", std::string(300, 'm') + "表", "マウスでダブルクリックする"};
  for (int rows : {12, 40}) {
    for (int i = plat::ListRowCount(d, 1000); i < rows; ++i) {
      plat::ListInsertNumberedRow(d, 1000, i);
      plat::ListSetCell(d, 1000, i, 1, texts[i % 5].c_str());
    }
    for (int column : {0, 1}) {
      plat::ListSetColumnWidth(d, 1000, column, plat::kColumnAutosize);
      int fitted = plat::ListColumnWidth(d, 1000, column);
      SendDlgItemMessageW(H(d), 1000, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
      int own = plat::ListColumnWidth(d, 1000, column);
      CHECK_EQ(fitted, own);
      if (fitted != own) std::printf("  %d rows, column %d: fitted %d, LVSCW_AUTOSIZE %d\n", rows, column, fitted, own);
      CHECK(fitted > 0);
      // The same from the texts, given instead of read back.
      std::vector<std::string> cells;
      for (int i = 0; i < rows; ++i) cells.push_back(plat::ListGetCell(d, 1000, i, column));
      plat::ListFitColumnToTexts(d, 1000, column, cells);
      CHECK_EQ(plat::ListColumnWidth(d, 1000, column), own);
    }
  }
  plat::ListDeleteAllRows(d, 1000);

  // A drop-down list takes no text: nothing changes.
  plat::ComboReset(d, 1080);
  plat::ComboAdd(d, 1080, "A");
  plat::ComboAdd(d, 1080, "B");
  plat::ComboSetSelection(d, 1080, 0);
  handler.commands.clear();
  plat::SetControlText(d, 1080, "B");
  CHECK_EQ(plat::ComboGetSelection(d, 1080), 0);
  CHECK_EQ(plat::GetControlText(d, 1080), std::string("A"));
  CHECK(handler.commands.empty());
  CHECK_EQ(SendDlgItemMessageW(H(d), 1080, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"B")), LRESULT(CB_ERR));
  plat::ComboReset(d, 1080);
}

// Custom draw, control colours and owner drawing reach the handler and their
// answers reach the system.
void TestPainting(Window d, TestHandler& handler) {
  int itemStages = 0;
  handler.notify = [&](Window, const plat::Notification& n) -> long {
    if (n.controlId != 1000 || n.code != plat::kNmCustomDraw) return 0;
    if (n.drawStage == plat::kCddsPrepaint) return plat::kCdrfNotifyItemDraw;
    if (n.drawStage == plat::kCddsItemPrepaint && n.backColor) {
      ++itemStages;
      *n.backColor = plat::Rgb(255, 0, 0);
    }
    return 0;
  };
  handler.color = [](Window, plat::CtlColorKind kind, int id) {
    plat::CtlColorAnswer a;
    if (kind == plat::CtlColorKind::Static && id == 1030) a = {true, plat::Rgb(255, 255, 255), plat::Rgb(0, 0, 0)};
    return a;
  };
  handler.draw = [](Window, const plat::DrawItem& item) {
    plat::DrawFillRect(item, item.rect, plat::Rgb(100, 100, 100));
    plat::DrawCenteredText(item, item.rect, "実行", plat::Rgb(255, 255, 255));
    plat::DrawEdge(item, item.rect, false);
    return true;
  };
  plat::ListDeleteAllRows(d, 1000);
  CHECK_EQ(plat::ListRowCount(d, 1000), 0);
  plat::ListInsertRow(d, 1000, 0, "1");
  plat::Redraw(d, 1000);
  CHECK(itemStages > 0);
  RECT row = {};
  row.left = LVIR_BOUNDS;
  SendDlgItemMessageW(H(d), 1000, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  CHECK_EQ(PixelOf(d, 1000, row.left + 60, (row.top + row.bottom) / 2), RGB(255, 0, 0));
  CHECK_EQ(PixelOf(d, 1030, 1, 1), RGB(0, 0, 0));
  CHECK_EQ(PixelOf(d, 1027, 3, 3), RGB(100, 100, 100));
  handler.notify = nullptr;
  handler.color = nullptr;
  handler.draw = nullptr;
}

void TestWindows(Window d) {
  plat::Rect desk = plat::DesktopRect();
  CHECK(desk.right > 0 && desk.bottom > 0);
  plat::PlaceWindow(d, 5, 10, true);
  plat::Rect w = plat::WindowRect(d);
  CHECK(w.left == 5 && w.top == 10);
  CHECK(plat::IsTopmost(d));
  CHECK(plat::IsWindowVisible(d));
  bool found = false;
  for (const auto& t : plat::TopLevelWindows()) {
    if (t.window != d) continue;
    found = true;
    CHECK(t.visible && !t.owned && t.processId == GetCurrentProcessId());
    CHECK_EQ(t.title, std::string(res::FindDialogTemplate(res::kMainDialog)->caption));
  }
  CHECK(found);
  plat::PlaceWindow(d, 5, 10, false);
  CHECK(!plat::IsTopmost(d));
  plat::SetWindowBounds(d, 20, 30, 300, 200, true);
  w = plat::WindowRect(d);
  CHECK(w.left == 20 && w.top == 30 && w.right == 320 && w.bottom == 230);
  plat::ShowWindowCmd(d, plat::kSwHide);
  CHECK(!plat::IsWindowVisible(d));
  plat::ShowWindowCmd(d, plat::kSwShow);
}

// ------------------------------------------------------------------ key state

void SendKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

void SendClick(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  INPUT input[3] = {};
  for (INPUT& i : input) i.type = INPUT_MOUSE;
  input[0].mi.dx = static_cast<LONG>(((r.left + r.right) / 2) * 65535LL / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input[0].mi.dy = static_cast<LONG>(((r.top + r.bottom) / 2) * 65535LL / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
}

std::string KeysOfThisMessage() {
  return std::string(plat::KeyDownForCurrentMessage(plat::kVkReturn) ? " enter" : "") +
         (plat::KeyDownForCurrentMessage(plat::kVkEscape) ? " escape" : "");
}

// Buttons 1 and 2 of the main dialog under real input, one step a timer tick:
// the key state each command sees, as the headless twin models it.
struct KeyStateHandler : plat::DialogHandler {
  std::vector<std::string> seen;
  int step = 0;

  bool OnInitDialog(Window d) override {
    plat::StartTimer(d, 1, 400);
    return true;
  }
  void OnCommand(Window, int id, int code) override {
    if ((id == 1 || id == 2) && code == plat::kBnClicked) seen.push_back(std::to_string(id) + KeysOfThisMessage());
  }
  void Focus(Window d, int id) { SendMessageW(H(d), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(H(d), id)), TRUE); }
  void OnTimer(Window d, int) override {
    plat::StopTimer(d, 1);  // one step at a time, also while the about box runs
    switch (step++) {
      case 0:
        SetForegroundWindow(H(d));
        Focus(d, 1004);
        SendKey(VK_RETURN);  // the default button
        break;
      case 1: SendKey(VK_ESCAPE); break;
      case 2:
        Focus(d, 2);
        SendKey(VK_RETURN);  // a focused push button takes Enter itself
        break;
      case 3:
        Focus(d, 1);
        SendKey(VK_SPACE);
        break;
      case 4: SendClick(GetDlgItem(H(d), 2)); break;
      case 5: {
        // Enter confirms another dialog; then one click here.
        struct About : plat::DialogHandler {
          std::string seen;
          bool OnInitDialog(Window a) override {
            SetForegroundWindow(H(a));
            SendKey(VK_RETURN);
            return true;
          }
          void OnCommand(Window a, int id, int) override {
            // No key query here, as in the program's about box: nothing
            // takes away what the press might have left behind.
            seen = std::to_string(id);
            plat::EndModalDialog(a, id);
          }
        } about;
        plat::RunModalDialog(res::kAboutDialog, about, d);
        CHECK_EQ(about.seen, std::string("1"));
        SendClick(GetDlgItem(H(d), 1));
        break;
      }
      default:
        plat::EndModalDialog(d, 0);
        return;
    }
    plat::StartTimer(d, 1, 400);
  }
};

void TestKeyState() {
  KeyStateHandler h;
  plat::RunModalDialog(res::kMainDialog, h, plat::kNoWindow);
  const std::vector<std::string> expected = {"1 enter", "2 escape", "2 enter", "1", "2", "1"};
  CHECK(h.seen == expected);
  if (h.seen != expected) {
    for (const std::string& s : h.seen) std::printf("  seen: %s\n", s.c_str());
  }
}

void TestDialogs() {
  TestHandler main;
  int initCalls = 0, aboutResult = 0;
  main.init = [&](Window d) {
    ++initCalls;
    TestMainDialogControls(d, main);
    TestListNotificationRules(d, main);
    plat::StartTimer(d, 42, 50);
    return true;
  };
  main.timer = [&](Window d, int id) {
    plat::StopTimer(d, id);
    if (id != 42) return;
    TestPainting(d, main);
    // The about box runs modally over the main dialog and is an owned window.
    TestHandler about;
    about.init = [&](Window a) {
      CheckAgainstTemplate(a, res::kAboutDialog);
      plat::StartTimer(a, 1, 50);
      return true;
    };
    about.timer = [&](Window a, int) {
      plat::StopTimer(a, 1);
      bool owned = false;
      for (const auto& t : plat::TopLevelWindows()) owned |= t.window == a && t.owned;
      CHECK(owned);
      plat::EndModalDialog(a, 5);
    };
    aboutResult = plat::RunModalDialog(res::kAboutDialog, about, d);
    TestWindows(d);
    plat::EndModalDialog(d, 77);
  };
  CHECK_EQ(plat::RunModalDialog(res::kMainDialog, main, plat::kNoWindow), 77);
  CHECK_EQ(initCalls, 1);
  CHECK_EQ(aboutResult, 5);

  TestHandler name;
  name.init = [&](Window d) {
    CheckAgainstTemplate(d, res::kJobNameDialog);
    plat::EndModalDialog(d, plat::kIdCancel);
    return true;
  };
  CHECK_EQ(plat::RunModalDialog(res::kJobNameDialog, name, plat::kNoWindow), plat::kIdCancel);
  CHECK_EQ(plat::RunModalDialog(4242, name, plat::kNoWindow), -1);
}

// Shows the main dialog with some content for a while (screenshots).
int HoldMainDialog(int seconds) {
  TestHandler h;
  h.init = [&](Window d) {
    plat::SetDialogIcon(d, res::kIcon);
    plat::ListAddExtendedStyle(d, 1000, 0x20100E5);
    const char* titles[] = {"番号", "操作する名称", "横座標", "縦座標", "アクション"};
    for (int i = 0; i < 5; ++i) plat::ListInsertColumn(d, 1000, i, titles[i], i == 1 || i == 4 ? 150 : 50, 0);
    plat::ListInsertRow(d, 1000, 0, "1");
    plat::ListSetCell(d, 1000, 0, 1, "画面をクリア");
    plat::ListSetCell(d, 1000, 0, 4, "ショートカットを入力する");
    plat::ListSetChecked(d, 1000, 0, true);
    plat::ComboAdd(d, 1082, "＿作業作成中＿〔下書き〕");
    plat::ComboSetSelection(d, 1082, 0);
    plat::AnimationOpen(d, 106, res::kStatusAnimation);
    plat::AnimationPlay(d, 106, 0, -1, -1);
    plat::PlaceWindow(d, 5, 5, true);
    plat::StartTimer(d, 1, static_cast<unsigned>(seconds) * 1000);
    return true;
  };
  h.timer = [](Window d, int) { plat::EndModalDialog(d, 0); };
  h.color = [](Window, plat::CtlColorKind kind, int id) {
    plat::CtlColorAnswer a;
    if (kind == plat::CtlColorKind::Dialog) a = {true, 0, plat::Rgb(255, 255, 255)};
    if (kind == plat::CtlColorKind::Static && (id == 1031 || id == 1033 || id == 1034))
      a = {true, plat::Rgb(0, 255, 0), plat::Rgb(0, 0, 0)};
    return a;
  };
  h.draw = [](Window d, const plat::DrawItem& item) {
    plat::DrawFillRect(item, item.rect, plat::Rgb(100, 100, 100));
    plat::DrawCenteredText(item, item.rect, plat::GetControlText(d, item.controlId).c_str(),
                           plat::Rgb(255, 255, 255));
    plat::DrawEdge(item, item.rect, false);
    return true;
  };
  return plat::RunModalDialog(res::kMainDialog, h, plat::kNoWindow);
}

}  // namespace

// Links: the listing marks them, and removing one leaves its target alone.
void TestLinks() {
  const std::string dir = TempFolder() + "_links";
  CHECK(plat::CreateFolder(dir.c_str()));
  const std::string target = dir + "\\target", link = dir + "\\job", fileLink = dir + "\\file.lnk";
  CHECK(plat::CreateFolder(target.c_str()));
  CHECK(WriteAll(target + "\\keep.txt", "keep"));
  const std::wstring wideLink = plat::win32::ToWide(link.c_str());
  // Some systems (Wine 8) answer success without making a link.
  if (!CreateSymbolicLinkW(wideLink.c_str(), plat::win32::ToWide(target.c_str()).c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2 /* unprivileged */) ||
      GetFileAttributesW(wideLink.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("note: no symbolic links here (error %lu); the link checks are skipped\n", GetLastError());
  } else {
    CreateSymbolicLinkW(plat::win32::ToWide(fileLink.c_str()).c_str(),
                        plat::win32::ToWide((target + "\\keep.txt").c_str()).c_str(), 0x2);
    CHECK(plat::IsReparsePoint(link.c_str()));
    CHECK(!plat::IsReparsePoint(target.c_str()));
    CHECK(plat::IsDirectory(link.c_str()));
    std::vector<plat::FolderEntry> entries;
    CHECK(plat::ListFolder((dir + "\\*.*").c_str(), entries));
    int links = 0;
    for (const auto& e : entries) {
      if (e.name == "job") {
        CHECK(e.isDirectory && e.isReparsePoint);
        ++links;
      }
      if (e.name == "file.lnk") CHECK(!e.isDirectory && e.isReparsePoint);
      if (e.name == "target") CHECK(e.isDirectory && !e.isReparsePoint);
    }
    CHECK_EQ(links, 1);
    CHECK(plat::RemoveFolder(link.c_str()));  // the link goes although its target is not empty
    CHECK(!plat::PathExists(link.c_str()));
    if (plat::PathExists(fileLink.c_str())) CHECK(plat::DeleteFileAt(fileLink.c_str()));
    CHECK_EQ(ReadAll(target + "\\keep.txt"), std::string("keep"));
  }
  plat::DeleteFileAt((target + "\\keep.txt").c_str());
  plat::RemoveFolder(target.c_str());
  CHECK(plat::RemoveFolder(dir.c_str()));
}

// The action list: selecting by program raises no selection change; dropping
// it down raises CBN_DROPDOWN, and its list asks the dialog for its colours.
void TestActionListNotifications() {
  TestHandler h;
  std::vector<plat::CtlColorKind> kinds;
  int step = 0;
  h.color = [&](Window, plat::CtlColorKind kind, int) {
    kinds.push_back(kind);
    if (kind == plat::CtlColorKind::ListBox) return plat::CtlColorAnswer{true, 0, plat::Rgb(200, 255, 200)};
    return plat::CtlColorAnswer{};
  };
  h.init = [&](Window d) {
    plat::PrepareSolidBrushes({plat::Rgb(200, 255, 200), plat::Rgb(255, 255, 255)});
    plat::EnableControl(d, 1080, true);
    plat::ComboReset(d, 1080);
    for (const char* name : {"マウスでクリックする", "テキストを複写する", "指定秒間は停止する"}) {
      plat::ComboAdd(d, 1080, name);
    }
    plat::StartTimer(d, 1, 50);
    return true;
  };
  h.timer = [&](Window d, int) {
    plat::StopTimer(d, 1);
    HWND combo = H(plat::ControlWindow(d, 1080));
    if (step++ == 0) {
      for (int i = 0; i <= 10; ++i) plat::ComboSetSelection(d, 1080, i);
      plat::ComboSetSelection(d, 1080, 1);
      CHECK_EQ(plat::ComboGetSelection(d, 1080), 1);
      for (const auto& c : h.commands) CHECK(!(c.first == 1080 && c.second == plat::kCbnSelChange));
      SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
      bool dropped = false;
      for (const auto& c : h.commands) dropped |= c.first == 1080 && c.second == plat::kCbnDropDown;
      CHECK(dropped);
      plat::StartTimer(d, 1, 300);  // time to paint the list
      return;
    }
    bool listAsked = false;
    for (plat::CtlColorKind k : kinds) listAsked |= k == plat::CtlColorKind::ListBox;
    CHECK(listAsked);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    plat::EndModalDialog(d, 1);
  };
  CHECK_EQ(plat::RunModalDialog(res::kMainDialog, h, plat::kNoWindow), 1);
}

// ------------------------------------------------------------------ list keys and menus

void SendCombo(WORD modifier, WORD key) {
  INPUT input[4] = {};
  for (INPUT& i : input) i.type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[3].ki.wVk = modifier;
  input[1].ki.wVk = input[2].ki.wVk = key;
  input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, input, sizeof(INPUT));
}

void SendRightClick(HWND window, POINT client) {
  ClientToScreen(window, &client);
  INPUT input[3] = {};
  for (INPUT& i : input) i.type = INPUT_MOUSE;
  input[0].mi.dx = static_cast<LONG>(client.x * 65535LL / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input[0].mi.dy = static_cast<LONG>(client.y * 65535LL / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  input[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(3, input, sizeof(INPUT));
}

// The rules of the list's keys and menu that the headless twin reproduces:
// every key pressed in a list that reports its keys reaches the dialog with
// the modifiers held, Alt combinations included (a list view's LVN_KEYDOWN
// leaves them out), and a key the handler took goes no further, while Alt
// held with it opens no system menu afterwards; a right click selects the row
// under the pointer, then NM_RCLICK; a popup menu answers the chosen entry's
// id, 0 when it is dismissed.
void TestListKeysAndMenu() {
  TestHandler h;
  std::vector<std::string> seen;
  int answers[2] = {-1, -1};
  int step = 0;
  h.init = [&](Window d) {
    plat::ListInsertColumn(d, 1000, 0, "No.", 60, plat::kAlignLeft);
    for (int i = 0; i < 3; ++i) plat::ListInsertNumberedRow(d, 1000, i);
    plat::ReportListKeys(d, 1000);
    plat::StartTimer(d, 1, 300);
    return true;
  };
  h.notify = [&](Window d, const plat::Notification& n) -> long {
    if (n.controlId != 1000) return 0;
    if (n.code == plat::kListKeyDown) {
      const auto& k = static_cast<const plat::ListKeyNotification&>(n);
      if (k.key == VK_MENU || k.key == VK_CONTROL || k.key == VK_SHIFT) return 0;
      char text[32];
      std::snprintf(text, sizeof text, "key %x +%u", k.key, k.modifiers);
      seen.push_back(text);
      return k.key == VK_DOWN && k.modifiers == 0 ? 0 : 1;  // a plain Down stays the list's
    }
    if (n.code == plat::kNmRClick) {
      seen.push_back("right click, row " + std::to_string(plat::ListFirstSelected(d, 1000)) + " selected");
      // The keys wait in the queue until the menu reads them.
      SendKey(VK_DOWN);
      SendKey(VK_RETURN);
      answers[0] = plat::ShowListMenu(d, 1000, -1, {{7, "一\tCtrl+Z", true}, {}, {8, "二", false}});
      SendKey(VK_ESCAPE);
      answers[1] = plat::ShowListMenu(d, 1000, 2, {{7, "一", true}});
      return 1;
    }
    return 0;
  };
  h.timer = [&](Window d, int) {
    plat::StopTimer(d, 1);
    HWND list = H(plat::ControlWindow(d, 1000));
    switch (step++) {
      case 0:
        SetForegroundWindow(H(d));
        SendMessageW(H(d), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        plat::ListSelectRow(d, 1000, 1);
        SendCombo(VK_MENU, VK_UP);
        SendCombo(VK_CONTROL, 'C');
        SendKey(VK_DELETE);
        SendKey(VK_DOWN);
        break;
      case 1: {
        const std::vector<std::string> keys = {"key 26 +2", "key 43 +1", "key 2e +0", "key 28 +0"};
        CHECK(seen == keys);
        if (seen != keys) for (const std::string& k : seen) std::printf("  seen: %s\n", k.c_str());
        CHECK_EQ(plat::ListFirstSelected(d, 1000), 2);  // the Down the handler left to the list
        CHECK(GetFocus() == list);
        seen.clear();
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        SendRightClick(list, {row.left + 20, (row.top + row.bottom) / 2});
        break;
      }
      default:
        CHECK(seen == std::vector<std::string>{"right click, row 0 selected"});
        CHECK_EQ(answers[0], 7);
        CHECK_EQ(answers[1], 0);
        plat::EndModalDialog(d, 1);
        return;
    }
    plat::StartTimer(d, 1, 600);
  };
  CHECK_EQ(plat::RunModalDialog(res::kMainDialog, h, plat::kNoWindow), 1);

  // Rows for other programs: CF_TEXT with the Shift-JIS bytes as given,
  // CF_UNICODETEXT with the same text.
  const char rows[] = "表示,1,2,マウスでクリックする,,,,,,4\r\n";
  CHECK(plat::WriteClipboardTextBoth(rows));
  std::string ansi;
  std::wstring wide;
  if (OpenClipboard(nullptr)) {
    if (HANDLE a = GetClipboardData(CF_TEXT)) {
      ansi = static_cast<const char*>(GlobalLock(a));
      GlobalUnlock(a);
    }
    if (HANDLE w = GetClipboardData(CF_UNICODETEXT)) {
      wide = static_cast<const wchar_t*>(GlobalLock(w));
      GlobalUnlock(w);
    }
    CloseClipboard();
  }
  CHECK_EQ(ansi, std::string(rows));
  CHECK(wide == plat::win32::ToWide(rows));
  CHECK_EQ(plat::ReadClipboardText(65536), std::string(rows));
}

int TestRunnerSection();  // runner_section_test.cpp: the number of failures
int TestRecorderSection();  // recorder_section_test.cpp: the number of failures

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"--sleep") == 0) {
    Sleep(60000);
    return 0;
  }
  if (argc >= 3 && std::wcscmp(argv[1], L"--exit") == 0) return _wtoi(argv[2]);
  if (argc >= 3 && std::wcscmp(argv[1], L"--mutex") == 0) {
    return plat::AcquireSingleInstance(plat::win32::ToSjis(argv[2]).c_str()) ? 1 : 0;
  }
  if (argc >= 3 && std::wcscmp(argv[1], L"--hold") == 0) return HoldMainDialog(_wtoi(argv[2]));
  if (argc >= 4 && std::wcscmp(argv[1], L"--module-path") == 0) {
    return CheckModulePath(std::wcscmp(argv[2], L"1") == 0, plat::win32::ToSjis(argv[3]));
  }

  TestTextConversion();
  TestFiles();
  TestClipboard();
  TestClipboardReadings();
  TestProcesses();
  TestDesktopShortcut();
  TestPickers();
  TestModulePath();
  TestDialogs();
  TestLinks();
  TestActionListNotifications();
  TestKeyState();
  TestListKeysAndMenu();

  g_failures += TestRunnerSection();
  g_failures += TestRecorderSection();
  std::printf("%d checks, %d failures\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
