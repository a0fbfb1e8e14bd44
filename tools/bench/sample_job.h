// The jobs the benchmarks open: lines of every action kind, repeated.
#pragma once

namespace bench {

// Writes a job of `rows` lines to the current job's record file and scrambles
// it, as the program leaves a saved job (jobstore::PrepareJobPaths first).
void WriteSampleJob(int rows);

}  // namespace bench
