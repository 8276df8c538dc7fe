#pragma once

#include <benchmark/benchmark.h>

// The main of every benchmark program: the usual command line, then the runs
// through a reporter that prints the comparison with the baseline at the end.
inline int RunBenchmarks(int argc, char **argv, benchmark::BenchmarkReporter &reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
