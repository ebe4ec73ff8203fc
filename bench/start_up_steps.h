#pragma once
// The editor's start-up timed step by step, each time in a fresh process of its own.
#include <string>
#include <vector>

#include "bench/bench_results.h"

// The option that makes the benchmark program the process whose start-up is timed.
inline constexpr char kStartUpStepsOption[] = "--start-up-steps";

// Starts `benchProgram` with kStartUpStepsOption `runs` times and returns the median
// time of each step after main.
std::vector<NamedMs> MeasureStartUpSteps(const std::string& benchProgram, int runs);

// In that process: runs the steps of the editor's start-up, notes when each ended, and
// writes the times to `resultFile`. Returns the exit code.
int RunStartUpSteps(const char* resultFile);
