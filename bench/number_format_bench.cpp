// Number texts: every value the calculator shows goes through the exact
// decimal expansion and the 17-digit rounding, and every typed or stored
// number through the reader.
#include <benchmark/benchmark.h>

#include "common/number_format.h"

namespace {

// Values as the calculator shows them: F in ff/cc (5 decimals), in ff/l
// (2 decimals), a tiny and a large exposure.
void format(benchmark::State& state, double value, int decimals) {
    char text[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatFixed(value, decimals, text, sizeof text));
    }
}
BENCHMARK_CAPTURE(format, concentrationCc, 0.3, 5);
BENCHMARK_CAPTURE(format, concentrationL, 1806.25, 2);
BENCHMARK_CAPTURE(format, smallExposure, 0.0000123456789, 5);
BENCHMARK_CAPTURE(format, largeValue, 123456789012.345, 2);

void read(benchmark::State& state, const char* text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readNumber(text));
    }
}
BENCHMARK_CAPTURE(read, typed, "0.30000");
BENCHMARK_CAPTURE(read, exponent, "1.8e-3");
BENCHMARK_CAPTURE(read, longText, "1806.250000000000000000000");

}  // namespace
