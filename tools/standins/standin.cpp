#include "tools/standins/standin.h"

#include <cstring>
#include <vector>

namespace standin {

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
  std::wstring folder(path, n);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char block[4096];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(file);
  return true;
}

bool AppendToFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

bool PutClipboardText(HWND owner, const std::string& bytes) {
  bool open = false;
  for (int attempt = 0; attempt < 100 && !open; ++attempt) {
    open = OpenClipboard(owner) != FALSE;
    if (!open) Sleep(20);
  }
  if (!open) return false;
  bool ok = false;
  if (EmptyClipboard()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (memory) {
      char* target = static_cast<char*>(GlobalLock(memory));
      std::memcpy(target, bytes.data(), bytes.size());
      target[bytes.size()] = '\0';
      GlobalUnlock(memory);
      ok = SetClipboardData(CF_TEXT, memory) != nullptr;
      if (!ok) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return ok;
}

void UseDpiUnawareCoordinates() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  using SetThreadContext = HANDLE(WINAPI*)(HANDLE);
  const HANDLE unaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto setProcess = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (setProcess && setProcess(unaware)) return;
  auto setThread = reinterpret_cast<SetThreadContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
  if (setThread) setThread(unaware);
}

HANDLE StartProgram(const std::wstring& commandLine, bool hidden, DWORD* id) {
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, hidden ? CREATE_NO_WINDOW : 0, nullptr, nullptr,
                      &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  if (id != nullptr) *id = info.dwProcessId;
  return info.hProcess;
}

void SendMouse(POINT point, DWORD buttons) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((point.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((point.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof input);
}

}  // namespace standin
