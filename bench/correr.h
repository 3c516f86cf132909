// Google Benchmark's run, once the application object exists.
#pragma once

#include <benchmark/benchmark.h>

namespace pelmora {

inline int correrGoogleBenchmark(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace pelmora
