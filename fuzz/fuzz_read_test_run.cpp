// A test-run file and a repeat file, whatever their bytes: the runner's check
// never ends the program, refuses with a place and a reason, and what it
// accepts can run: known actions, points on the screen and off the stop
// corner, repeat ranges within the rows that do not overlap, and a plan that
// takes every row in order.
//
// Input: the first byte is the repeat file's length, then the repeat file,
// then the test-run file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runvane/job.h"
#include "runvane/plan.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t repeatSize = data[0] < size - 1 ? data[0] : size - 1;
  const std::string repeat(reinterpret_cast<const char*>(data + 1), repeatSize);
  const std::string testRun(reinterpret_cast<const char*>(data + 1 + repeatSize), size - 1 - repeatSize);

  const runvane::Screen screen{{-100, 0, 1920, 1080}, 1920, 1080};
  runvane::Job job;
  runvane::Refusal refusal;
  if (!runvane::ReadJob(testRun, repeat, screen, &job, &refusal)) {
    Check(!refusal.reason.empty());
    if (refusal.where == runvane::Refusal::Row) {
      Check(refusal.line >= 1 && refusal.line <= static_cast<int>(job.rows.size()) + 1);
    }
    return 0;
  }
  const int rows = static_cast<int>(job.rows.size());
  for (const runvane::Step& step : job.rows) {
    if (!step.ticked) continue;
    Check(step.kind >= 0 && step.kind <= 10);
    if (step.hasPoint) {
      Check(step.x >= -100 && step.x < 1920 && step.y >= 0 && step.y < 1080);
      Check(step.x != 0 || step.y != 0);
    }
  }
  for (const runvane::RepeatRange& r : job.repeats) {
    Check(r.from >= 1 && r.from <= r.to && r.to <= rows && r.count >= 1);
  }
  int next = 1;
  for (const runvane::Segment& s : runvane::PlanRun(rows, job.repeats)) {
    Check(s.from == next && s.to >= s.from && s.count >= 1);
    next = s.to + 1;
  }
  Check(next == rows + 1);
  runvane::TickedStepCount(runvane::PlanRun(rows, job.repeats), job.rows);
  return 0;
}
