// Benchmark of the coordinate picker with the editor, under Wine or on
// Windows: the time from the release of a drag of the marker to the X and Y
// fields of the editor showing the point. A program, not a test (README,
// "Speed").
//
//   pickers_bench.exe [--repeat N]     (default 10 drags)
//
// It copies Tavolex.exe and Pickmark.exe from its own folder into
// pickers-bench\ beside itself, starts the editor on a job there, drags the
// marker N times with SendInput to points clear of the editor, and prints
// each time, the median and the largest, in ms. The editor polls the
// clipboard once a second, so the times spread over about a second.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/standins/standin.h"

namespace {

struct Found {
  DWORD processId;
  const wchar_t* part;  // of the title
  HWND window;
};

HWND VisibleWindowOf(DWORD processId, const wchar_t* titlePart) {
  Found f = {processId, titlePart, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Found*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t title[256] = {};
        GetWindowTextW(w, title, 256);
        if (pid == f->processId && IsWindowVisible(w) && wcsstr(title, f->part) != nullptr) {
          f->window = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.window;
}

DWORD ChildNamed(DWORD parent, const wchar_t* exe) {
  DWORD found = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e = {};
  e.dwSize = sizeof e;
  for (BOOL more = Process32FirstW(snapshot, &e); more; more = Process32NextW(snapshot, &e))
    if (e.th32ParentProcessID == parent && _wcsicmp(e.szExeFile, exe) == 0) found = e.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

template <typename Pred>
bool WaitFor(Pred pred, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5))
    if (pred()) return true;
  return pred();
}

std::wstring Text(HWND dialog, int id) {
  wchar_t text[64] = {};
  GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

}  // namespace

int main() {
  standin::UseDpiUnawareCoordinates();
  int repeat = 10;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i + 1 < argc; ++i)
    if (wcscmp(argv[i], L"--repeat") == 0) repeat = std::max(1, _wtoi(argv[i + 1]));

  const std::wstring built = standin::ModuleFolder();
  const std::wstring folder = built + L"pickers-bench\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"Bench").c_str(), nullptr);
  for (const wchar_t* exe : {L"Tavolex.exe", L"Pickmark.exe"}) {
    if (!CopyFileW((built + exe).c_str(), (folder + exe).c_str(), FALSE)) {
      std::fprintf(stderr, "cannot copy %s\n", standin::ToUtf8(built + exe).c_str());
      return 2;
    }
  }
  DeleteFileW((folder + L"Bench\\KeyRecord.def.psw").c_str());
  HANDLE job = CreateFileW((folder + L"Bench\\KeyRecord.def").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  const char line[] = "点,500,400,マウスでクリックする,,,,,,4\r\n";  // Shift-JIS
  DWORD written = 0;
  WriteFile(job, line, sizeof line - 1, &written, nullptr);
  CloseHandle(job);

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::wstring command = L"\"" + folder + L"Tavolex.exe\" Bench";
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start the editor\n");
    return 2;
  }
  HWND dialog = nullptr, marker = nullptr;
  WaitFor([&] { return (dialog = VisibleWindowOf(pi.dwProcessId, L"キーボード")) != nullptr; }, 60000);
  DWORD pickerId = 0;
  WaitFor([&] { return (pickerId = ChildNamed(pi.dwProcessId, L"Pickmark.exe")) != 0 &&
                       (marker = VisibleWindowOf(pickerId, L"座標取得")) != nullptr; }, 30000);
  if (!dialog || !marker) {
    std::fprintf(stderr, "no editor or no marker window\n");
    TerminateProcess(pi.hProcess, 1);
    return 2;
  }
  Sleep(1500);

  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    RECT r = {};
    GetWindowRect(marker, &r);
    const POINT from = {r.left + 31, r.top + 52};
    const POINT to = {800 + 13 * i, 200 + 11 * i};
    standin::SendMouse(from, 0);
    Sleep(50);
    standin::SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    for (int step = 1; step <= 10; ++step) {
      standin::SendMouse({from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10}, 0);
      Sleep(15);
    }
    const std::wstring x = std::to_wstring(to.x), y = std::to_wstring(to.y);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    standin::SendMouse(to, MOUSEEVENTF_LEFTUP);
    QueryPerformanceCounter(&start);
    const bool shown = WaitFor([&] { return Text(dialog, 1002) == x && Text(dialog, 1003) == y; }, 5000);
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("drag %2d to %ld,%ld: %s %.0f ms\n", i + 1, to.x, to.y, shown ? "shown after" : "NOT SHOWN within", ms);
    if (shown) times.push_back(ms);
    Sleep(300 + (97 * i) % 700);  // a user's pause, not in step with the editor's poll
  }
  TerminateProcess(pi.hProcess, 0);
  if (HANDLE picker = OpenProcess(PROCESS_TERMINATE, FALSE, pickerId)) {
    TerminateProcess(picker, 0);
    CloseHandle(picker);
  }
  if (times.empty()) return 1;
  std::sort(times.begin(), times.end());
  std::printf("release to X and Y shown, %zu drags: median %.0f ms, largest %.0f ms\n", times.size(),
              times[times.size() / 2], times.back());
  return static_cast<int>(times.size()) == repeat ? 0 : 1;
}
