#include "runvane/plan.h"

#include <algorithm>

namespace runvane {

std::vector<Segment> PlanRun(int rowCount, std::vector<RepeatRange> repeats) {
  std::sort(repeats.begin(), repeats.end(),
            [](const RepeatRange& a, const RepeatRange& b) { return a.from < b.from; });
  std::vector<Segment> plan;
  int next = 1;  // the first row not yet planned
  for (const RepeatRange& r : repeats) {
    if (r.from > next) plan.push_back({next, r.from - 1, 1});
    plan.push_back({r.from, r.to, r.count});
    next = r.to + 1;
  }
  if (next <= rowCount) plan.push_back({next, rowCount, 1});
  return plan;
}

long long TickedStepCount(const std::vector<Segment>& plan, const std::vector<Step>& rows) {
  long long total = 0;
  for (const Segment& s : plan) {
    long long ticked = 0;
    for (int row = s.from; row <= s.to; ++row) ticked += rows[static_cast<std::size_t>(row - 1)].ticked ? 1 : 0;
    total += ticked * s.count;
  }
  return total;
}

}  // namespace runvane
