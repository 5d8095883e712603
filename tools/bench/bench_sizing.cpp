// Each sizing formula end to end, field texts in and result text out, beside the same
// formula written the obvious way with strtod and printf("%.15G").
//
//   cmake --build build --target tovrik-bench-sizing && build/bin/tovrik-bench-sizing

#include "core/sizing.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string baselineText(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    return buf;
}

double baselineNumber(const char *text)
{
    return std::strtod(text, nullptr);
}

void airDiameter(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tovrik::AirDiameter("600", "0.7", "20", "10"));
}

void steamDiameter(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tovrik::SteamDiameter("10", "0.3747", "30"));
}

void waterDiameter(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tovrik::WaterDiameter("100", "2"));
}

void airBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const double a = baselineNumber("20") + 273.0;
        const double b = baselineNumber("600") * a * 0.1;
        const double c = baselineNumber("0.7") * 273.0;
        const double q = b / c / baselineNumber("10");
        benchmark::DoNotOptimize(baselineText(std::sqrt(q) * 18.8));
    }
}

void steamBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const double q
            = baselineNumber("0.3747") * (baselineNumber("10") * 1000.0) / baselineNumber("30");
        benchmark::DoNotOptimize(baselineText(std::sqrt(q) * 18.8));
    }
}

void waterBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const double q = baselineNumber("100") / baselineNumber("2");
        benchmark::DoNotOptimize(baselineText(std::sqrt(q) * 18.8));
    }
}

} // namespace

BENCHMARK(airDiameter);
BENCHMARK(airBaseline);
BENCHMARK(steamDiameter);
BENCHMARK(steamBaseline);
BENCHMARK(waterDiameter);
BENCHMARK(waterBaseline);

BENCHMARK_MAIN();
