// The entry point of zendor-bench: every benchmark file registers itself, this one runs them.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
