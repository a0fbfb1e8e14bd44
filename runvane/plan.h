// The order in which a run takes the rows: every row once, in order, except
// that rows from..to of a repeat rule run count times in all before the run
// goes on after `to`.
#pragma once

#include <vector>

#include "runvane/job.h"

namespace runvane {

// Rows from..to (1-based), run `count` times in a row.
struct Segment {
  int from = 0, to = 0;
  long count = 1;
};

// The run of rows 1..rowCount as segments in order. The ranges must not
// overlap and must lie within the rows (ReadJob sees to both).
std::vector<Segment> PlanRun(int rowCount, std::vector<RepeatRange> repeats);

// How many ticked rows the plan runs in all.
long long TickedStepCount(const std::vector<Segment>& plan, const std::vector<Step>& rows);

}  // namespace runvane
