// Where the benchmarks find the real hand-history files: $VELTRIX_CORPUS, else
// the folder beside the checkout that the build was configured with. A
// benchmark whose file is missing reports it as an error and runs nothing.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace vxbench {

// The path of `relative` inside the corpus folder.
std::string CorpusFile(const std::string& relative);

// True when `path` is a readable file; otherwise reports the missing corpus as
// the benchmark's error ("no hand-history corpus: ... (set VELTRIX_CORPUS)").
bool RequireCorpusFile(benchmark::State& state, const std::string& path);

}  // namespace vxbench
