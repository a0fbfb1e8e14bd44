#include "tests/e2e/harness.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "tools/standins/standin.h"

namespace e2e {

Config& GetConfig() {
  static Config config;
  return config;
}

std::wstring ToWindowsPath(const std::wstring& path) {
  std::wstring out = path;
  std::replace(out.begin(), out.end(), L'/', L'\\');
  if (!path.empty() && path[0] == L'/') out = L"Z:" + out;
  while (out.size() > 3 && out.back() == L'\\') out.pop_back();
  return out;
}

// ---------------------------------------------------------------------------
// Text

std::wstring FromShiftJis(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

std::string ToShiftJis(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

// ---------------------------------------------------------------------------
// Files

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  // Written under a temporary name and renamed, so that a polling reader never sees a
  // part of the file.
  const std::wstring temporary = path + L".e2e-tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) return false;
  return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> ListNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    for (const std::wstring& name : ListNames(path)) RemoveTree(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
  } else {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
}

static void SnapshotInto(const std::wstring& root, const std::wstring& relative,
                         std::map<std::wstring, std::string>& out) {
  const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
  for (const std::wstring& name : ListNames(folder)) {
    const std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
    const std::wstring full = root + L"\\" + rel;
    if (DirectoryExists(full)) {
      out[rel] = "<dir>";
      SnapshotInto(root, rel, out);
    } else {
      std::string bytes;
      out[rel] = ReadWholeFile(full, bytes) ? bytes : std::string("<unreadable>");
    }
  }
}

std::map<std::wstring, std::string> SnapshotTree(const std::wstring& root) {
  std::map<std::wstring, std::string> out;
  SnapshotInto(root, L"", out);
  return out;
}

std::string SwapNibbles(std::string bytes) {
  for (char& c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    c = static_cast<char>(static_cast<unsigned char>((b << 4) | (b >> 4)));
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// Processes

Process::Process(Process&& other) noexcept
    : process_(other.process_), id_(other.id_), startError_(other.startError_) {
  other.process_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    if (process_) CloseHandle(process_);
    process_ = other.process_;
    id_ = other.id_;
    startError_ = other.startError_;
    other.process_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process::~Process() {
  Kill();
  if (process_) CloseHandle(process_);
}

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
  Process result;
  std::wstring command = L"\"" + exe + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  std::vector<wchar_t> buffer(command.begin(), command.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    result.startError_ = GetLastError();
    return result;
  }
  CloseHandle(info.hThread);
  result.process_ = info.hProcess;
  result.id_ = info.dwProcessId;
  return result;
}

Process Process::Run(const std::wstring& commandLine, bool hidden) {
  Process result;
  result.process_ = standin::StartProgram(commandLine, hidden, &result.id_);
  if (result.process_ == nullptr) result.startError_ = GetLastError();
  return result;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) const {
  return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

std::vector<ProcessEntry> ListProcesses() {
  std::vector<ProcessEntry> out;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return out;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    out.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  return out;
}

static bool SameNameIgnoringCase(const std::wstring& a, const wchar_t* b) {
  return _wcsicmp(a.c_str(), b) == 0;
}

void KillStrayPrograms() {
  static const wchar_t* const kNames[] = {L"Tavolex.exe", L"Pickmark.exe", L"Runvane.exe",
                                          L"Titlescan.exe", L"My.exe"};
  for (const ProcessEntry& entry : ListProcesses()) {
    for (const wchar_t* name : kNames) {
      if (!SameNameIgnoringCase(entry.exeName, name)) continue;
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.id);
      if (process) {
        TerminateProcess(process, 98);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Windows

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

namespace {
struct WindowQuery {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  WindowQuery* query = reinterpret_cast<WindowQuery*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == query->processId && (!query->visibleOnly || IsWindowVisible(window)))
    query->found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly) {
  WindowQuery query{processId, visibleOnly, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForWindow(const Process& process, const std::wstring& cls, const std::wstring& title,
                   DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(process.id(), true)) {
          if (ClassOf(w) == cls && WindowText(w) == title) {
            found = w;
            return true;
          }
        }
        return !process.Running();
      },
      timeoutMs);
  return found;
}

std::string DescribeWindowsOf(DWORD processId) {
  std::string out;
  for (HWND window : TopLevelWindowsOf(processId, false)) {
    out += "  [" + standin::ToUtf8(ClassOf(window)) + "] \"" + standin::ToUtf8(WindowText(window)) + "\"" +
           (IsWindowVisible(window) ? " visible" : " hidden") + "\n";
  }
  return out.empty() ? std::string("  (no top-level windows)\n") : out;
}

HWND WaitForDialog(const Process& process, DWORD timeoutMs) {
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(process.id(), true)) {
          if (ClassOf(window) == L"#32770" && GetWindow(window, GW_OWNER) == nullptr) {
            dialog = window;
            return true;
          }
        }
        return !process.Running();
      },
      timeoutMs, 100);
  return dialog;
}

HWND WaitForDroppedList(const Process& process, DWORD timeoutMs) {
  HWND list = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(process.id(), true))
          if (ClassOf(window) == L"ComboLBox") list = window;
        return list != nullptr;
      },
      timeoutMs);
  return list;
}

HWND FindWindowWithTitlePart(const std::wstring& part) {
  struct Query {
    const std::wstring* part;
    HWND found;
  } query{&part, nullptr};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        Query* q = reinterpret_cast<Query*>(context);
        if (IsWindowVisible(window) && WindowText(window).find(*q->part) != std::wstring::npos) {
          q->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::wstring DialogItemText(HWND dialog, int id) {
  wchar_t buffer[1024] = {};
  GetDlgItemTextW(dialog, id, buffer, 1024);
  return buffer;
}

std::string DialogItemUtf8(HWND dialog, int id) { return standin::ToUtf8(DialogItemText(dialog, id)); }

std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0) text += WindowText(child);
  }
  return text;
}

int ListViewColumnCount(HWND listView) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
  if (!header) return -1;
  return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

int ListViewRowCount(HWND listView) {
  return static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListViewCell(HWND listView, int row, int column) {
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
  if (!process) return L"<no access>";
  constexpr int kChars = 1024;
  const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  char* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::wstring result = L"<no memory>";
  if (remote) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = kChars;
    std::vector<wchar_t> text(kChars, L'\0');
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    WriteProcessMemory(process, remote + sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t),
                       nullptr);
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &answer) &&
        ReadProcessMemory(process, remote + sizeof(LVITEMW), text.data(),
                          kChars * sizeof(wchar_t), nullptr)) {
      text.back() = L'\0';
      result = text.data();
    } else {
      result = L"<no answer>";
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return result;
}

bool ListViewCellRect(HWND listView, int row, int column, RECT& rect) {
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = false;
  if (remote) {
    // LVM_GETSUBITEMRECT: top = subitem, left = LVIR_BOUNDS; column 0 gives the
    // whole row, so it is narrowed to the column's width.
    RECT ask = {LVIR_BOUNDS, column, 0, 0};
    DWORD_PTR answer = 0;
    ok = WriteProcessMemory(process, remote, &ask, sizeof ask, nullptr) &&
         SendMessageTimeoutW(listView, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &answer) &&
         answer != 0 && ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (ok && column == 0) {
      rect.right = rect.left + static_cast<int>(SendMessageW(listView, LVM_GETCOLUMNWIDTH, 0, 0));
    }
  }
  CloseHandle(process);
  return ok;
}

bool CellCentreOnScreen(HWND list, int row, int column, POINT& p) {
  RECT cell = {};
  if (!ListViewCellRect(list, row, column, cell)) return false;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const int dpi = getDpi != nullptr && getDpi(list) != 0 ? static_cast<int>(getDpi(list)) : 96;
  p.x = MulDiv((cell.left + cell.right) / 2, 96, dpi);
  p.y = MulDiv((cell.top + cell.bottom) / 2, 96, dpi);
  return ClientToScreen(list, &p) != FALSE;
}

// ---------------------------------------------------------------------------
// Real user input

void ClickScreenPoint(POINT point, bool rightButton) {
  // Move first and let the window see the hover, then press and release.
  standin::SendMouse(point, 0);
  Sleep(100);
  standin::SendMouse(point, rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Sleep(50);
  standin::SendMouse(point, rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Sleep(200);
}

void ClickInWindow(HWND window, int x, int y) {
  POINT point = {x, y};
  ClientToScreen(window, &point);
  ClickScreenPoint(point);
}

void ClickMiddleOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  ClickScreenPoint({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void ClickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  EXPECT_NE(control, nullptr) << "no control " << id;
  if (control != nullptr) ClickMiddleOf(control);
}

static void SendKey(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void PressKey(WORD vk) {
  SendKey(vk, false);
  Sleep(30);
  SendKey(vk, true);
  Sleep(200);
}

void PressKeyWith(WORD modifier, WORD key) {
  SendKey(modifier, false);
  Sleep(30);
  SendKey(key, false);
  Sleep(30);
  SendKey(key, true);
  Sleep(30);
  SendKey(modifier, true);
  Sleep(330);
}

void PressAltSpace() {
  SendKey(VK_MENU, false);
  Sleep(30);
  PressKey(VK_SPACE);
  SendKey(VK_MENU, true);
  Sleep(300);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(60);
  }
  Sleep(150);
}

bool BringToFront(HWND window) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
      },
      5000, 100);
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return color;
}

bool SaveWindowScreenshot(HWND window, const std::wstring& bmpPath) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);
  }
  if (ok) {
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    bytes.append(static_cast<const char*>(bits), imageSize);
    ok = WriteBytes(bmpPath, bytes);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool SaveScreenshot(HWND window, const std::wstring& name) {
  return SaveWindowScreenshot(window, GetConfig().screens + L"\\" + name + L".bmp");
}

bool ReadClipboardText(std::string& bytes) {
  bool open = false;
  for (int attempt = 0; attempt < 50 && !open; ++attempt) {
    open = OpenClipboard(nullptr) != FALSE;
    if (!open) Sleep(20);
  }
  if (!open) return false;
  bool ok = false;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (text) {
      bytes.assign(text, strnlen(text, GlobalSize(data)));
      ok = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return ok;
}

// ---------------------------------------------------------------------------
// The runner stand-in's log

static bool TakeBlock(const std::string& log, size_t& pos, const char* tag, std::string& bytes,
                      bool& present) {
  const std::string head = std::string(tag) + " ";
  if (log.compare(pos, head.size(), head) != 0) return false;
  size_t eol = log.find('\n', pos);
  if (eol == std::string::npos) return false;
  long n = std::strtol(log.substr(pos + head.size(), eol - pos - head.size()).c_str(), nullptr, 10);
  pos = eol + 1;
  present = n >= 0;
  if (n < 0) n = 0;
  if (pos + static_cast<size_t>(n) + 1 > log.size()) return false;
  bytes = log.substr(pos, static_cast<size_t>(n));
  pos += static_cast<size_t>(n) + 1;
  return true;
}

RunnerLog ParseRunnerLog(const std::string& log) {
  RunnerLog out;
  size_t pos = log.find('\n');  // past "RUN <pid>"
  if (log.compare(0, 4, "RUN ") != 0 || pos == std::string::npos) return out;
  ++pos;
  bool present = false;
  if (!TakeBlock(log, pos, "COMMAND", out.command, present)) return out;
  if (!TakeBlock(log, pos, "INSPECT", out.inspect, out.haveInspect)) return out;
  if (!TakeBlock(log, pos, "REPEAT", out.repeat, out.haveRepeat)) return out;
  size_t eol = log.find('\n', pos);
  if (eol == std::string::npos) return out;
  out.end = log.substr(pos, eol - pos);
  out.complete = true;
  return out;
}

// ---------------------------------------------------------------------------
// Program folders

void ProgramFolder::Create(const std::wstring& name, bool withStandIns) {
  const Config& config = GetConfig();
  CreateDirectoryW(config.work.c_str(), nullptr);
  root_ = config.work + L"\\" + name;
  RemoveTree(root_);
  ASSERT_FALSE(DirectoryExists(root_)) << "cannot clear " << standin::ToUtf8(root_);
  ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr)) << "cannot create " << standin::ToUtf8(root_);
  ASSERT_TRUE(CopyFileW(config.tavolex.c_str(), Editor().c_str(), FALSE))
      << "cannot copy " << standin::ToUtf8(config.tavolex);
  if (withStandIns) {
    for (const wchar_t* tool : {L"Pickmark.exe", L"Runvane.exe", L"Titlescan.exe"}) {
      const std::wstring from = config.standins + L"\\" + tool;
      ASSERT_TRUE(CopyFileW(from.c_str(), Path(tool).c_str(), FALSE))
          << "cannot copy " << standin::ToUtf8(from);
    }
  }
}

void ProgramFolder::MakeJob(const std::wstring& job,
                            const std::map<std::wstring, std::string>& files) const {
  const std::wstring folder = Path(job);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << standin::ToUtf8(folder);
  for (const auto& file : files)
    ASSERT_TRUE(WriteBytes(folder + L"\\" + file.first, file.second)) << standin::ToUtf8(file.first);
}

std::string CurrentTestFolderName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  return name;
}

void EditorTest::SetUp() { KillStrayPrograms(); }

void EditorTest::TearDown() { KillStrayPrograms(); }

void EditorTest::MakeFolder(bool withStandIns) {
  std::string name = CurrentTestFolderName();
  folder_.Create(std::wstring(name.begin(), name.end()), withStandIns);
}

Process EditorTest::StartEditor(const std::wstring& jobName) {
  Process editor = Process::Start(folder_.Editor(), jobName.empty() ? L"" : L"\"" + jobName + L"\"");
  EXPECT_TRUE(editor.started()) << "CreateProcessW failed with error " << editor.startError();
  return editor;
}

HWND EditorTest::StartEditorAndWait(Process& editor, const std::wstring& jobName) {
  editor = StartEditor(jobName);
  if (!editor.started()) return nullptr;
  HWND dialog = WaitForDialog(editor, kDialogTimeoutMs);
  if (dialog) {
    // Let the dialog finish its initialisation and first paint.
    WaitForInputIdle(editor.handle(), 10000);
    Sleep(300);
  }
  EXPECT_NE(dialog, nullptr) << "no dialog window within " << kDialogTimeoutMs / 1000
                             << " s; process "
                             << (editor.Running() ? "still running"
                                                  : "ended with code " +
                                                        std::to_string(editor.ExitCode()))
                             << "; its windows:\n"
                             << DescribeWindowsOf(editor.id());
  return dialog;
}

void EditorTest::CloseWithCloseBoxAndExpectExitZero(Process& editor, HWND dialog) {
  ASSERT_TRUE(PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
  const bool ended = editor.WaitForExit(kExitTimeoutMs);
  ASSERT_TRUE(ended) << "the editor did not end within " << kExitTimeoutMs / 1000
                     << " s of the close box; its windows:\n"
                     << DescribeWindowsOf(editor.id());
  EXPECT_EQ(editor.ExitCode(), 0u);
}

void EditorTest::CloseDroppingChangesAndExpectExitZero(Process& editor, HWND dialog) {
  ASSERT_TRUE(PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
  HWND question = WaitForWindow(editor, L"#32770", L"タヴォレクス");
  ASSERT_NE(question, nullptr) << DescribeWindowsOf(editor.id());
  ClickControl(question, IDYES);
  ASSERT_TRUE(editor.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor.id());
  EXPECT_EQ(editor.ExitCode(), 0u);
}

}  // namespace e2e
