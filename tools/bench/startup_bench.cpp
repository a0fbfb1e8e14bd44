// Start-up benchmark: how long a program takes from CreateProcess until its
// window answers messages with its list filled, and how much private memory
// it holds then. Tavolex.exe opens jobs of several sizes; two anchor programs
// built beside it show what any dialog program costs on the same machine at
// the same moment:
//   bench_bare_dialog.exe  a modal dialog with nothing in it;
//   bench_list_dialog.exe  a modal dialog with Common Controls 6 and one list
//                          view holding one row;
// and a third shows what the editor's window alone costs:
//   bench_template_dialog.exe  the editor's dialog template with all its
//                          controls, shown without any of the editor's work.
// A program, not a test: it prints a table and checks nothing.
//
// Every round starts each program once, in an order that rotates from round
// to round, so that a change of the machine's load touches all of them alike.
// The table gives medians over the rounds; the ratios are taken within each
// round and their median given with the quartiles, which show how well a
// ratio holds from one round to the next.
//
// "Ready": the program's first visible dialog has its list view (when it has
// one) and the list answers LVM_GETITEMCOUNT with the number of rows expected
// (the bare dialog: it answers WM_NULL). "Painted": ready, and then every
// window of the dialog painted (RedrawWindow with RDW_UPDATENOW waits for
// the program to paint what it had still to paint). Private memory:
// PrivateUsage of GetProcessMemoryInfo (under Wine PagefileUsage, the
// resident anonymous memory), read once the dialog has been painted.
//
// Tavolex.exe and the stand-in of the coordinate picker (standins\Pickmark.exe,
// started by the editor as a user's picker is) are copied into the folder
// startup-bench\ beside this program, where the jobs are written. With
// --baseline, another build of Tavolex.exe (an older one, say) runs in the
// same rounds from startup-bench\baseline\, and each size is compared with it.
//
//   tavolex_startup_bench [--runs N] [--no-picker] [--baseline OTHER.exe] [ROWS...]
//       default: 15 rounds; jobs of 0 1000 5000 10000 rows
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "jobstore/paths.h"
#include "platform/win32/win32_common.h"
#include "tools/bench/sample_job.h"

#include <commctrl.h>
#include <psapi.h>

namespace {

struct Program {
  std::string label;
  std::wstring exe;
  std::wstring arguments;
  int listRows = -1;  // the rows the list shows when ready; -1: no list
  int jobRows = -1;   // Tavolex.exe: the job's rows; -1 for an anchor
};

struct Sample {
  double ms = -1;       // ready
  double painted = -1;  // ready, then every window of the dialog painted
  double privateMb = -1;
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }

std::wstring ModulePathW() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::string JobName(int rows) { return "bench_" + std::to_string(rows); }

// The job as a user's saved job lies on disk: scrambled. The editor leaves it
// plain when it is cancelled, so it is written again before every start.
void PrepareJob(const std::wstring& editor, int rows) {
  std::string modulePath = plat::win32::ToSjis(editor.c_str());
  std::snprintf(jobstore::ModulePath, sizeof jobstore::ModulePath, "%s", modulePath.c_str());
  std::snprintf(jobstore::JobName, sizeof jobstore::JobName, "%s", JobName(rows).c_str());
  jobstore::PrepareJobPaths();
  bench::WriteSampleJob(rows);
}

// The first visible dialog of the thread.
HWND VisibleDialog(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(
      threadId,
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (!IsWindowVisible(w) || lstrcmpW(cls, L"#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Waits until the program is ready (see above); its dialog, or nullptr after a
// minute or when the program ended.
HWND WaitUntilReady(const PROCESS_INFORMATION& pi, int listRows, double started) {
  while (Now() - started < 60000) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
    if (HWND dialog = VisibleDialog(pi.dwThreadId)) {
      DWORD_PTR answer = 0;
      if (listRows < 0) {
        if (SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 30000, &answer)) return dialog;
      } else if (HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr)) {
        if (SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 30000, &answer) &&
            static_cast<int>(answer) == listRows) {
          return dialog;
        }
      }
    }
    Sleep(1);
  }
  return nullptr;
}

Sample RunOnce(const Program& p) {
  Sample sample;
  if (p.jobRows >= 0) PrepareJob(p.exe, p.jobRows);
  std::wstring commandLine = L"\"" + p.exe + L"\"";
  if (!p.arguments.empty()) commandLine += L" " + p.arguments;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const double started = Now();
  if (!CreateProcessW(p.exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, FolderOf(p.exe).c_str(),
                      &si, &pi)) {
    return sample;
  }
  HWND dialog = WaitUntilReady(pi, p.listRows, started);
  if (dialog != nullptr) {
    sample.ms = Now() - started;
    // Returns when the program has painted whatever still waited to be painted.
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    sample.painted = Now() - started;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
      // Wine gives another process's private bytes only as PagefileUsage.
      SIZE_T bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
      sample.privateMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    }
    // The close box: the editor ends unchanged and ends its picker itself.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return sample;
}

struct Spread {
  double median = -1, low = -1, high = -1;  // median and quartiles
};

Spread SpreadOf(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }), values.end());
  Spread s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)]; };
  s.median = at(0.5);
  s.low = at(0.25);
  s.high = at(0.75);
  return s;
}

std::string LoadAverage() {
  FILE* f = _wfopen(L"Z:\\proc\\loadavg", L"r");
  if (f == nullptr) return "unknown";
  char text[64] = {};
  if (std::fgets(text, sizeof text, f) == nullptr) text[0] = '\0';
  std::fclose(f);
  std::string s = text;
  int spaces = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ' ' && ++spaces == 3) return s.substr(0, i);
  }
  return s;
}

// An editor's folder: the program, the picker beside it, the jobs.
bool PrepareEditorFolder(const std::wstring& program, const std::wstring& folder, const std::wstring& picker) {
  CreateDirectoryW(folder.c_str(), nullptr);
  if (CopyFileW(program.c_str(), (folder + L"Tavolex.exe").c_str(), FALSE) == FALSE) return false;
  DeleteFileW((folder + L"Pickmark.exe").c_str());
  if (!picker.empty()) CopyFileW(picker.c_str(), (folder + L"Pickmark.exe").c_str(), FALSE);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15;
  bool picker = true;
  std::string baseline;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--no-picker") {
      picker = false;
    } else if (a == "--baseline" && i + 1 < argc) {
      baseline = argv[++i];
    } else {
      sizes.push_back(std::max(0, std::atoi(argv[i])));
    }
  }
  if (sizes.empty()) sizes = {0, 1000, 5000, 10000};

  const std::wstring here = FolderOf(ModulePathW());
  const std::wstring pickerExe = here + L"standins\\Pickmark.exe";
  if (picker && GetFileAttributesW(pickerExe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "startup_bench: standins\\Pickmark.exe not found; the editor starts without a picker\n");
    picker = false;
  }
  struct Editor {
    std::string label;
    std::wstring program, folder;
  };
  std::vector<Editor> editors = {{"Tavolex.exe", here + L"Tavolex.exe", here + L"startup-bench\\"}};
  if (!baseline.empty()) {
    editors.push_back({"baseline", plat::win32::ToWide(baseline.c_str()), here + L"startup-bench\\baseline\\"});
  }
  CreateDirectoryW((here + L"startup-bench\\").c_str(), nullptr);
  for (const Editor& e : editors) {
    if (!PrepareEditorFolder(e.program, e.folder, picker ? pickerExe : L"")) {
      std::fprintf(stderr, "startup_bench: %s not found\n", e.label.c_str());
      return 1;
    }
  }

  std::vector<Program> programs = {
      {"bare dialog", here + L"bench_bare_dialog.exe", L"", -1, -1},
      {"CC6 dialog, list view", here + L"bench_list_dialog.exe", L"", 1, -1},
      {"editor's template alone", here + L"bench_template_dialog.exe", L"", 0, -1},
  };
  const std::size_t listAnchor = 1;
  const std::size_t none = static_cast<std::size_t>(-1);
  std::vector<std::size_t> emptyJobOf(programs.size(), none), baselineOf(programs.size(), none);
  for (std::size_t e = 0; e < editors.size(); ++e) {
    const std::size_t first = programs.size();
    for (int rows : sizes) {
      const std::string name = JobName(rows);
      programs.push_back({editors[e].label + ", " + std::to_string(rows) + " rows", editors[e].folder + L"Tavolex.exe",
                          std::wstring(name.begin(), name.end()), rows == 0 ? 1 : rows, rows});
    }
    std::size_t empty = none;
    for (std::size_t i = first; i < programs.size(); ++i) {
      if (programs[i].jobRows == 0) empty = i;
    }
    for (std::size_t i = first; i < programs.size(); ++i) {
      emptyJobOf.push_back(programs[i].jobRows > 0 ? empty : none);
      baselineOf.push_back(e == 1 ? none : (editors.size() > 1 ? i + sizes.size() : none));
    }
  }

  std::printf("start-up benchmark: %d rounds, programs alternating, medians; picker %s; load before: %s\n",
              rounds, picker ? "beside the editor" : "absent", LoadAverage().c_str());
  std::fflush(stdout);
  for (const Program& p : programs) RunOnce(p);  // warm-up, not counted

  std::vector<std::vector<Sample>> samples(programs.size());
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t k = 0; k < programs.size(); ++k) {
      std::size_t i = (k + static_cast<std::size_t>(r)) % programs.size();
      samples[i].push_back(RunOnce(programs[i]));
    }
  }

  // A ratio of two programs within each round.
  auto ratios = [&](std::size_t a, std::size_t b) {
    std::vector<double> out;
    for (int r = 0; r < rounds; ++r) {
      if (samples[a][r].ms > 0 && samples[b][r].ms > 0) out.push_back(samples[a][r].ms / samples[b][r].ms);
    }
    return SpreadOf(out);
  };
  auto field = [&](std::size_t i, double Sample::*f) {
    std::vector<double> out;
    for (const Sample& s : samples[i]) out.push_back(s.*f);
    return SpreadOf(out);
  };
  auto ratioText = [&](std::size_t a, std::size_t b, char* out, std::size_t size) {
    out[0] = '\0';
    if (b == none || a == b) return;
    Spread r = ratios(a, b);
    std::snprintf(out, size, "%.2f (%.2f-%.2f)", r.median, r.low, r.high);
  };

  std::printf("%-26s %18s %20s %20s %10s %10s", "program", "ready ms (q1-q3)", "x CC6 dialog", "x empty job",
              "painted ms", "private MB");
  std::printf(editors.size() > 1 ? " %20s\n" : "\n", "x baseline");
  for (std::size_t i = 0; i < programs.size(); ++i) {
    Spread t = field(i, &Sample::ms);
    char versusAnchor[32], versusEmpty[32], versusBaseline[32];
    ratioText(i, listAnchor, versusAnchor, sizeof versusAnchor);
    ratioText(i, emptyJobOf[i], versusEmpty, sizeof versusEmpty);
    ratioText(i, baselineOf[i], versusBaseline, sizeof versusBaseline);
    std::printf("%-26s %6.0f (%4.0f-%4.0f) %20s %20s %10.0f %10.1f", programs[i].label.c_str(), t.median, t.low,
                t.high, versusAnchor, versusEmpty, field(i, &Sample::painted).median,
                field(i, &Sample::privateMb).median);
    std::printf(editors.size() > 1 ? " %20s\n" : "\n", versusBaseline);
  }
  std::printf("load after: %s\n", LoadAverage().c_str());
  return 0;
}
