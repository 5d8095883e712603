// Each sizing formula end to end, field texts in and result text out, beside the same
// formula written the obvious way with strtod and printf("%.15G").
//
//   cmake --build build --target tovrik-bench-sizing && build/bin/tovrik-bench-sizing

#include "core/pipeline.h"
#include "core/sizing.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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

// The whole pipeline for one row of a line list, with every aid and the list's cache of states:
// what the batch spends on a row beyond reading and writing it.
void linePipeline(benchmark::State &state, tovrik::SizingRequest request)
{
    tovrik::SizingReport report;
    tovrik::PropertyCache cache;
    for (auto _ : state) {
        tovrik::sizePipe(request, report, &cache);
        benchmark::DoNotOptimize(report.diameter);
    }
}

using tovrik::Input;

// A row of a line list: its medium and the cells it gives.
tovrik::SizingRequest
lineRequest(tovrik::Medium medium,
            std::initializer_list<std::pair<tovrik::Input, std::string_view>> cells)
{
    tovrik::SizingRequest request;
    request.medium = medium;
    for (const auto &[input, text] : cells)
        request[input] = text;
    return request;
}

} // namespace

BENCHMARK_CAPTURE(linePipeline, air,
                  lineRequest(tovrik::Medium::Air,
                              {{Input::Flow, "383"},
                               {Input::Pressure, "0.63"},
                               {Input::Temperature, "3"},
                               {Input::Velocity, "10"}}));
BENCHMARK_CAPTURE(
    linePipeline, steamByPressure,
    lineRequest(tovrik::Medium::Steam,
                {{Input::Flow, "16.8"}, {Input::SteamPressure, "1.44"}, {Input::Velocity, "30"}}));
BENCHMARK_CAPTURE(linePipeline, steamByVolume,
                  lineRequest(tovrik::Medium::Steam,
                              {{Input::Flow, "16.8"},
                               {Input::SpecificVolume, "0.3747"},
                               {Input::Velocity, "30"}}));
BENCHMARK_CAPTURE(
    linePipeline, water,
    lineRequest(tovrik::Medium::Water,
                {{Input::Flow, "16.8"}, {Input::Temperature, "80"}, {Input::Velocity, "1.5"}}));
BENCHMARK(airDiameter);
BENCHMARK(airBaseline);
BENCHMARK(steamDiameter);
BENCHMARK(steamBaseline);
BENCHMARK(waterDiameter);
BENCHMARK(waterBaseline);

BENCHMARK_MAIN();
