// The runner's benchmark under Wine (README, "Speed"): a program, not a test.
// It runs Runvane.exe (beside this program) on prepared jobs against
// InputTarget.exe (standins\ beside it), which logs what it receives with the
// performance counter's time, and prints:
//
//   empty     ms from starting the runner on a job without rows to its end
//   start     ms from starting the runner to the first input (a key) at the target,
//             Wine's start of a process included
//   typing    characters a second of a 200-character text, and whether it
//             arrived whole and in order
//   waits     how far a row's stop seconds and a pause were off, in ms
//   clicks    the largest distance between the point of a row and the point
//             the target got, in pixels
//
//   bash tools/wine/run-under-wine.sh -- build/windows/runvane_bench.exe [--repeat N]
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tools/standins/standin.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Sjis(const std::wstring& text) {
  const int n = WideCharToMultiByte(932, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(932, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  DeleteFileW(path.c_str());
  return standin::AppendToFile(path, bytes);
}

struct Event {
  double ms;
  std::string text;
};

std::vector<Event> ReadLog(const std::wstring& path) {
  std::string bytes;
  standin::ReadWholeFile(path, bytes);
  std::vector<Event> events;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    events.push_back({std::stod(line.substr(0, space)), line.substr(space + 1)});
  }
  return events;
}

// The time of the first event that begins with the text; 0 for none.
double FirstTime(const std::vector<Event>& events, const char* text) {
  for (const Event& e : events)
    if (e.text.rfind(text, 0) == 0) return e.ms;
  return 0;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

class Bench {
 public:
  bool Prepare() {
    const std::wstring folder = standin::ModuleFolder();
    runner_ = folder + L"Runvane.exe";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    work_ = std::wstring(temp) + L"runvane_bench_" + std::to_wstring(GetCurrentProcessId());
    job_ = work_ + L"\\job";
    CreateDirectoryW(work_.c_str(), nullptr);
    CreateDirectoryW(job_.c_str(), nullptr);
    log_ = work_ + L"\\target.log";
    DeleteFileW(log_.c_str());
    target_ = standin::StartProgram(L"\"" + folder + L"standins\\InputTarget.exe\" \"--log=" + log_ +
                        L"\" --title=BenchTarget --rect=100,100,800,600",
                    false);
    if (target_ == nullptr) return false;
    for (int i = 0; i < 100; ++i) {
      if (HWND w = FindWindowW(L"TavolexInputTarget", L"BenchTarget")) {
        SetForegroundWindow(w);
        Sleep(300);
        return true;
      }
      Sleep(100);
    }
    return false;
  }
  double lastEnded() const { return ended_; }
  void End() {
    if (target_ != nullptr) {
      TerminateProcess(target_, 0);
      CloseHandle(target_);
    }
  }

  // Runs the lines as a job; the start time and the target's events after it.
  std::vector<Event> Run(const std::string& lines, double* started, DWORD* exitCode) {
    std::string scrambled = lines;
    for (char& c : scrambled) c = static_cast<char>(((c & 0x0F) << 4) | ((c >> 4) & 0x0F));
    WriteFileBytes(job_ + L"\\KeyInspec.def.psw", scrambled);
    WriteFileBytes(job_ + L"\\KeyRepeat.def", "\r\n\r\n\r\n");
    const std::size_t before = ReadLog(log_).size();
    *started = NowMs();
    HANDLE run = standin::StartProgram(
        L"\"" + runner_ + L"\" \"" + job_ + L"\\KeyInspec.def\" \"" + job_ + L"\\KeyRepeat.def\"", true);
    *exitCode = 99;
    if (run != nullptr) {
      WaitForSingleObject(run, 120000);
      ended_ = NowMs();
      GetExitCodeProcess(run, exitCode);
      CloseHandle(run);
    }
    Sleep(200);
    std::vector<Event> events = ReadLog(log_);
    events.erase(events.begin(), events.begin() + static_cast<long>(std::min(before, events.size())));
    return events;
  }

 private:
  std::wstring runner_, work_, job_, log_;
  HANDLE target_ = nullptr;
  double ended_ = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  standin::UseDpiUnawareCoordinates();
  int repeat = 5;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::wstring(argv[i]) == L"--repeat") repeat = std::max(1, _wtoi(argv[i + 1]));
  Bench bench;
  if (!bench.Prepare()) {
    std::printf("the target window did not come\n");
    return 1;
  }
  std::vector<double> empties, starts, speeds, stopErrors, pauseErrors;
  int worstPixels = 0;
  bool textWhole = true;
  // Mixed text: ASCII and two-byte characters.
  std::wstring text;
  for (int i = 0; i < 20; ++i) text += L"請求書 No.12 ";
  text.resize(199);
  text += L'.';
  for (int round = 0; round < repeat; ++round) {
    double started = 0;
    DWORD code = 0;
    // A job without rows: the runner's start and end alone.
    bench.Run("", &started, &code);
    empties.push_back(bench.lastEnded() - started);
    // Start to first input: one key press.
    std::vector<Event> events = bench.Run("k,,,各種キーを入力する,F5,,,,,\r\n", &started, &code);
    if (const double first = FirstTime(events, "keydown 0x74")) starts.push_back(first - started);
    // Typing: from the first character to the last.
    events = bench.Run("t,,,文字を入力する," + Sjis(text) + ",,,,,\r\n", &started, &code);
    std::wstring got;
    double first = 0, last = 0;
    for (const Event& e : events) {
      if (e.text.rfind("char ", 0) != 0) continue;
      if (got.empty()) first = e.ms;
      last = e.ms;
      got += static_cast<wchar_t>(std::stoul(e.text.substr(5), nullptr, 16));
    }
    if (got != text) {
      std::printf("typed: %s\n", standin::ToUtf8(got).c_str());
      std::printf("sent:  %s\n", standin::ToUtf8(text).c_str());
    }
    textWhole = textWhole && got == text;
    if (got.size() > 1) speeds.push_back((got.size() - 1) * 1000.0 / (last - first));
    // Waits: one stop second after F5, a two-second pause, then F6.
    events = bench.Run("a,,,各種キーを入力する,F5,,,,,1\r\nb,,,指定秒間は停止する,2,,,,,\r\n"
                       "c,,,各種キーを入力する,F6,,,,,\r\n",
                       &started, &code);
    const double f5Up = FirstTime(events, "keyup 0x74"), f6Down = FirstTime(events, "keydown 0x75");
    if (f5Up > 0 && f6Down > 0) stopErrors.push_back(std::fabs(f6Down - f5Up - 3000.0));
    // A pause alone: between two clicks, 1 second.
    events = bench.Run("a,150,150,マウスでクリックする,,,,,,0\r\nb,,,指定秒間は停止する,1,,,,,\r\n"
                       "c,160,160,マウスでクリックする,,,,,,\r\n",
                       &started, &code);
    const double up = FirstTime(events, "up L 150 150"), down = FirstTime(events, "down L 160 160");
    // After the pause the click's move waits its 30 ms first.
    if (up > 0 && down > 0) pauseErrors.push_back(std::fabs(down - up - 1000.0 - 30.0));
    // Clicks: ten points over the target.
    std::string lines;
    std::vector<POINT> points;
    for (int i = 0; i < 10; ++i) {
      POINT p = {110 + i * 67, 140 + (i * 53) % 540};
      points.push_back(p);
      lines += "p," + std::to_string(p.x) + "," + std::to_string(p.y) + ",マウスでクリックする,,,,,,0\r\n";
    }
    events = bench.Run(lines, &started, &code);
    std::size_t k = 0;
    for (const Event& e : events) {
      int x = 0, y = 0;
      if (k < points.size() && std::sscanf(e.text.c_str(), "down L %d %d", &x, &y) == 2) {
        const int dx = std::abs(x - static_cast<int>(points[k].x));
        const int dy = std::abs(y - static_cast<int>(points[k].y));
        worstPixels = std::max({worstPixels, dx, dy});
        ++k;
      }
    }
    if (k != points.size()) worstPixels = 9999;
  }
  bench.End();
  std::printf("runs        %d\n", repeat);
  std::printf("empty run   %.0f ms from start to end, a job without rows (median)\n", Median(empties));
  std::printf("start       %.0f ms to the first input (median; fastest %.0f)\n", Median(starts),
              starts.empty() ? 0.0 : *std::min_element(starts.begin(), starts.end()));
  std::printf("typing      %.0f characters a second (median), %s\n", Median(speeds),
              textWhole ? "whole and in order" : "NOT WHOLE");
  std::printf("waits       stop seconds off by %.0f ms, a pause by %.0f ms (median)\n", Median(stopErrors),
              Median(pauseErrors));
  std::printf("clicks      at most %d pixels off\n", worstPixels);
  return 0;
}
