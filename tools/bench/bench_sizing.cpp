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

// The whole pipeline for one row of a line list, with every aid and no words: what the batch
// spends on a row beyond reading and writing it.
void linePipeline(benchmark::State &state, tovrik::SizingRequest request)
{
    request.explain = false;
    tovrik::SizingReport report;
    for (auto _ : state) {
        tovrik::sizePipe(request, report);
        benchmark::DoNotOptimize(report.diameter);
    }
}

tovrik::SizingRequest lineRequest(tovrik::Medium medium)
{
    tovrik::SizingRequest request;
    request.medium = medium;
    request.flow = medium == tovrik::Medium::Air ? "383" : "16.8";
    request.velocity = medium == tovrik::Medium::Air ? "10" : "23";
    return request;
}

tovrik::SizingRequest airLine()
{
    tovrik::SizingRequest request = lineRequest(tovrik::Medium::Air);
    request.pressure = "0.63";
    request.temperature = "3";
    return request;
}

tovrik::SizingRequest steamLineByPressure()
{
    tovrik::SizingRequest request = lineRequest(tovrik::Medium::Steam);
    request.steamPressure = "1.44";
    request.velocity = "30";
    return request;
}

tovrik::SizingRequest steamLineByVolume()
{
    tovrik::SizingRequest request = lineRequest(tovrik::Medium::Steam);
    request.specificVolume = "0.3747";
    request.velocity = "30";
    return request;
}

tovrik::SizingRequest waterLine()
{
    tovrik::SizingRequest request = lineRequest(tovrik::Medium::Water);
    request.temperature = "80";
    request.velocity = "1.5";
    return request;
}

} // namespace

BENCHMARK_CAPTURE(linePipeline, air, airLine());
BENCHMARK_CAPTURE(linePipeline, steamByPressure, steamLineByPressure());
BENCHMARK_CAPTURE(linePipeline, steamByVolume, steamLineByVolume());
BENCHMARK_CAPTURE(linePipeline, water, waterLine());
BENCHMARK(airDiameter);
BENCHMARK(airBaseline);
BENCHMARK(steamDiameter);
BENCHMARK(steamBaseline);
BENCHMARK(waterDiameter);
BENCHMARK(waterBaseline);

BENCHMARK_MAIN();
