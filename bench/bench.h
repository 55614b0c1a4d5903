// What the benchmarks of the core share: the raw pass that each is set against, and the
// history's benchmarks, registered beside the sentence file's.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

// Reads file in large blocks and finds its line feeds: the least any reading could take.
void RawPass(benchmark::State& state, const char* file);

void RegisterHistoryBenchmarks();
// The history's figures, from the real time of each benchmark by name.
void PrintHistoryFigures(double (*time_of)(const std::string& name));
