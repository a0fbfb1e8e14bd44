// Benchmark of the operation list: for jobs of several sizes, the time of
// loading the job, opening the main dialog on it, filling the list again,
// selecting a row, one New, one Insert, one Delete, unticking and ticking
// every row with the check-all box, and saving. A program, not a test: it
// prints a table and checks nothing.
//
// Built twice: against the headless platform (Linux) and against the Win32
// platform with the real main dialog (run it under Wine or on Windows). The
// start of Tavolex.exe itself is startup_bench.cpp's.
// The steps are the editor's own commands on the shown dialog: a row
// selected as a click reports it (the selection moves, then NM_CLICK) and
// loaded into the fields; NewOperation; InsertOperation and DeleteOperation
// on the selected middle row; ToggleAllChecks twice. Each step ends with the
// list painted. Then the Delete is undone and redone, and (headless only)
// 1,000 steps are recorded to measure the memory of the history.
//
//   tavolex_bench [--repeat N] [ROWS...]   default: 3 runs of 0 1000 5000 10000 rows
//   TAVOLEX_BENCH_DETAIL=1                 also times the parts of the steps
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "companions/screen.h"
#include "editor/fields.h"
#include "editor/line_assembly.h"
#include "editor/list_fill.h"
#include "editor/list_view.h"
#include "editor/main_dialog.h"
#include "editor/row_commands.h"
#include "editor/state.h"
#include "editor/undo.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/jobs.h"
#include "jobstore/scramble.h"
#include "operations/records.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "resources/templates.h"
#include "tools/bench/sample_job.h"

#ifdef TAVOLEX_BENCH_HEADLESS
#include "platform/headless/headless.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Timings {
  double load = 0, open = 0, fill = 0, select = 0, newRow = 0, insertRow = 0, deleteRow = 0;
  double untickAll = 0, tickAll = 0, save = 0;
  double undo = 0, redo = 0;  // of the Delete
  double historyBytes = -1, historyRss = -1;  // 1,000 steps: the history's own count, the process's growth
  long notifications = 0;  // LVN_ITEMCHANGED that reached the dialog from the fill to the last step
};

// The real main dialog, with the benchmark's steps played once it has shown.
class BenchDialog : public editor::CTavolexDlg {
 public:
  Timings* timings = nullptr;
  Clock::time_point started;

  bool OnInitDialog(plat::Window dialog) override {
    bool result = CTavolexDlg::OnInitDialog(dialog);
#ifndef TAVOLEX_BENCH_HEADLESS
    // The timer fires once the dialog has been shown and painted.
    plat::StartTimer(dialog, kStepsTimer, 1);
#endif
    return result;
  }
  void OnTimer(plat::Window dialog, int timerId) override {
    if (timerId != kStepsTimer) return CTavolexDlg::OnTimer(dialog, timerId);
    plat::StopTimer(dialog, timerId);
    RunSteps(dialog);
  }
  long OnNotify(plat::Window dialog, const plat::Notification& n) override {
    if (n.controlId == res::kOperationList && n.code == plat::kLvnItemChanged) ++notifications_;
    return CTavolexDlg::OnNotify(dialog, n);
  }

  // A click on a row, as the list reports it: the selection moves
  // (LVN_ITEMCHANGED for the old and the new row), then NM_CLICK; the row is
  // loaded into the fields and the list painted.
  void SelectRowAsUser(plat::Window dialog, int row) {
    plat::ListSelectRow(dialog, res::kOperationList, row);
    plat::Notification click;
    click.controlId = res::kOperationList;
    click.code = plat::kNmClick;
    click.item = row;
    OnNotify(dialog, click);
    plat::Redraw(dialog, res::kOperationList);
  }

  void RunSteps(plat::Window dialog) {
    using namespace editor;
    timings->open = MillisecondsSince(started);
    notifications_ = 0;
    plat::Redraw(dialog, res::kOperationList);

    Clock::time_point t = Clock::now();
    FillOperationList(dialog);
    AutosizeColumns(dialog);
    RefreshRepeatMarkers(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->fill = MillisecondsSince(t);

    const int middle = jobstore::LineCount() / 2;
    t = Clock::now();
    SelectRowAsUser(dialog, middle);
    timings->select = MillisecondsSince(t);

    t = Clock::now();
    NewOperation(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->newRow = MillisecondsSince(t);

    SelectRowAsUser(dialog, middle);
    t = Clock::now();
    InsertOperation(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->insertRow = MillisecondsSince(t);

    SelectRowAsUser(dialog, middle);
    t = Clock::now();
    DeleteOperation(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->deleteRow = MillisecondsSince(t);

    t = Clock::now();
    UndoLastChange(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->undo = MillisecondsSince(t);
    t = Clock::now();
    RedoLastChange(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->redo = MillisecondsSince(t);

    // The check-all box as a click leaves it (an auto check box), then its command.
    t = Clock::now();
    plat::SetButtonCheck(dialog, res::kCheckAllButton, 1 - plat::GetButtonCheck(dialog, res::kCheckAllButton));
    ToggleAllChecks(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->untickAll = MillisecondsSince(t);
    t = Clock::now();
    plat::SetButtonCheck(dialog, res::kCheckAllButton, 1 - plat::GetButtonCheck(dialog, res::kCheckAllButton));
    ToggleAllChecks(dialog);
    plat::Redraw(dialog, res::kOperationList);
    timings->tickAll = MillisecondsSince(t);

    timings->notifications = notifications_;
#ifdef TAVOLEX_BENCH_HEADLESS
    MeasureHistory(dialog);
#endif
    if (std::getenv("TAVOLEX_BENCH_DETAIL") != nullptr) Detail(dialog);
    plat::EndModalDialog(dialog, plat::kIdOk);
  }

#ifdef TAVOLEX_BENCH_HEADLESS
  // 1,000 steps, as a user makes them: a name typed into a row (three of
  // four steps, each row selected first) and a Delete.
  void MeasureHistory(plat::Window dialog) {
    using namespace editor;
    if (jobstore::LineCount() < 10) return;
    const std::size_t bytes = JobHistory.Bytes();
    const double rss = ResidentBytes();
    for (int i = 0; i < 1000; ++i) {
      SelectRowAsUser(dialog, (i * 7) % (jobstore::LineCount() - 1));
      if (i % 4 == 3) {
        DeleteOperation(dialog);
      } else {
        plat::SetControlText(dialog, res::kNameEdit, ("edited " + std::to_string(i)).c_str());
      }
    }
    timings->historyBytes = static_cast<double>(JobHistory.Bytes() - bytes);
    timings->historyRss = ResidentBytes() - rss;
  }

  // The process's resident memory (Linux).
  static double ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
      std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0;
  }
#endif

  // The parts of a row command, each alone.
  void Detail(plat::Window dialog) {
    using namespace editor;
    auto time = [](const char* what, const std::function<void()>& step) {
      Clock::time_point t = Clock::now();
      step();
      std::printf("    %-28s %8.1f ms\n", what, MillisecondsSince(t));
    };
    time("AutosizeColumns", [&] { AutosizeColumns(dialog); });
    plat::ListSelectRow(dialog, res::kOperationList, 1);
    time("load row 1 into fields", [&] { FillEditorFromRow(dialog, 1); });
    time("SetupEditorForAction(0)", [&] { SetupEditorForAction(dialog, 0); });
    time("ResetClipboard", [&] { companions::ResetClipboard(); });
    // The told changes with no row selected: the handler returns at once.
    plat::ListClearSelection(dialog, res::kOperationList);
    time("untick all, told (none selected)", [&] { plat::ListSetCheckedAll(dialog, res::kOperationList, false); });
    time("tick all, silently", [&] { plat::ListSetCheckedAllSilently(dialog, res::kOperationList, true); });
    time("untick all, silently, no paint", [&] {
      plat::ListSetRedraw(dialog, res::kOperationList, false);
      plat::ListSetCheckedAllSilently(dialog, res::kOperationList, false);
      plat::ListSetRedraw(dialog, res::kOperationList, true);
    });
    time("tick row by row, told (none selected)", [&] {
      for (int i = 0; i < plat::ListRowCount(dialog, res::kOperationList); ++i) {
        plat::ListSetChecked(dialog, res::kOperationList, i, true);
      }
    });
    time("RefreshRepeatMarkers", [&] { RefreshRepeatMarkers(dialog); });
    plat::ListSetRedraw(dialog, res::kOperationList, false);
    plat::ListSetCheckedAllSilently(dialog, res::kOperationList, false);
    plat::ListSetRedraw(dialog, res::kOperationList, true);
    time("New, every row unticked", [&] {
      NewOperation(dialog);
      plat::Redraw(dialog, res::kOperationList);
    });
    time("tick all (no change)", [&] { plat::ListSetCheckedAll(dialog, res::kOperationList, true); });
    time("first selected", [&] { plat::ListFirstSelected(dialog, res::kOperationList); });
    time("select row", [&] { plat::ListSelectRow(dialog, res::kOperationList, 3); });
    time("ensure visible", [&] { plat::ListEnsureVisible(dialog, res::kOperationList, 3); });
    time("redraw list", [&] { plat::Redraw(dialog, res::kOperationList); });
    time("one numbered row + cells", [&] {
      jobstore::AppendLine(ops::kBlankOperationLine);
      RefillAfterAppend(dialog);
    });
    time("delete one row", [&] {
      jobstore::RemoveLineAt(0);
      RefillAfterDelete(dialog, 0);
    });
    plat::ListSelectRow(dialog, res::kOperationList, 0);
    jobstore::RemoveLineAt(0);
    RefillAfterDelete(dialog, 0);
    time("first selected (none)", [&] { plat::ListFirstSelected(dialog, res::kOperationList); });
    time("fill: FillOperationList", [&] { FillOperationList(dialog); });
    int count = jobstore::LineCount();
    plat::ListDeleteAllRows(dialog, res::kOperationList);
    plat::ListSetRedraw(dialog, res::kOperationList, false);
    time("fill: insert rows", [&] {
      for (int i = 0; i < count; ++i) plat::ListInsertNumberedRow(dialog, res::kOperationList, i);
    });
    time("fill: set 10 cells a row", [&] {
      for (int i = 0; i < count; ++i) {
        for (int j = 1; j <= 10; ++j) plat::ListSetCell(dialog, res::kOperationList, i, j, "abc");
      }
    });
    time("fill: tick all", [&] { plat::ListSetCheckedAll(dialog, res::kOperationList, true); });
    time("fill: redraw on", [&] { plat::ListSetRedraw(dialog, res::kOperationList, true); });
  }

 private:
  static constexpr int kStepsTimer = 4711;
  long notifications_ = 0;
};

Timings Measure(int rows) {
  Timings timings;
#ifdef TAVOLEX_BENCH_HEADLESS
  headless::Reset();
  headless::MakeFolder("C:\\Tools");
#endif
  jobstore::FreeDefinitionLines();
  editor::ResetEditorState();
  std::snprintf(jobstore::JobName, sizeof jobstore::JobName, "bench_%d", rows);
  jobstore::PrepareJobPaths();
  bench::WriteSampleJob(rows);

  Clock::time_point t = Clock::now();
  jobstore::LoadCurrentJob();
  timings.load = MillisecondsSince(t);

  BenchDialog dialog;
  dialog.timings = &timings;
#ifdef TAVOLEX_BENCH_HEADLESS
  headless::OnDialog(res::kMainDialog, [&](plat::Window d) { dialog.RunSteps(d); });
#endif
  dialog.started = Clock::now();
  dialog.DoModal();

  t = Clock::now();
  jobstore::SaveDefinitionLines();
  jobstore::ScrambleFile(jobstore::RecordFilePath);
  timings.save = MillisecondsSince(t);

  plat::DeleteFileAt(jobstore::RecordScrambledPath);
  plat::DeleteFileAt(jobstore::RepeatFilePath);
  std::string folder = jobstore::RecordFilePath;
  folder.erase(folder.rfind('\\'));
  plat::RemoveFolder(folder.c_str());
  jobstore::FreeDefinitionLines();
  return timings;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int repeat = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--repeat" && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else {
      sizes.push_back(std::atoi(argv[i]));
    }
  }
  if (sizes.empty()) sizes = {0, 1000, 5000, 10000};
#ifdef TAVOLEX_BENCH_HEADLESS
  const char* platform = "headless";
#else
  const char* platform = "win32";
#endif
  Measure(0);  // warm-up: the first dialog of a process loads what every later one reuses
  std::printf("%s platform, times in ms, median of %d runs\n", platform, repeat);
  std::vector<std::string> historyRows;
  std::printf("%6s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s\n", "rows", "load", "open", "fill", "select",
              "new", "insert", "delete", "untick", "tick", "save", "notif.");
  for (int rows : sizes) {
    std::vector<Timings> runs;
    for (int r = 0; r < repeat; ++r) runs.push_back(Measure(rows));
    auto median = [&](double Timings::*field) {
      std::vector<double> values;
      for (const Timings& t : runs) values.push_back(t.*field);
      return Median(values);
    };
    std::printf("%6d %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7ld\n", rows,
                median(&Timings::load), median(&Timings::open), median(&Timings::fill), median(&Timings::select),
                median(&Timings::newRow), median(&Timings::insertRow), median(&Timings::deleteRow),
                median(&Timings::untickAll), median(&Timings::tickAll), median(&Timings::save),
                runs.back().notifications);
    std::fflush(stdout);
    char memory[2][16] = {"-", "-"};
    if (median(&Timings::historyBytes) >= 0) {
      std::snprintf(memory[0], sizeof memory[0], "%.2f", median(&Timings::historyBytes) / 1e6);
      std::snprintf(memory[1], sizeof memory[1], "%.2f", median(&Timings::historyRss) / 1e6);
    }
    char history[160];
    std::snprintf(history, sizeof history, "%6d %7.1f %7.1f %12s %12s", rows, median(&Timings::undo),
                  median(&Timings::redo), memory[0], memory[1]);
    historyRows.push_back(history);
  }
  std::printf("\nundo and redo of the Delete (ms); memory of 1,000 steps (MB, headless only)\n");
  std::printf("%6s %7s %7s %12s %12s\n", "rows", "undo", "redo", "history", "process");
  for (const std::string& row : historyRows) std::printf("%s\n", row.c_str());
  return 0;
}
