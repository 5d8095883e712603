// 计算管线表 as the window runs it: a 10,000-line list with tags, sized into its result and its
// sheet beside it, both written whole.
//
//   cmake --build build --target tovrik-bench-linelist && build/bin/tovrik-bench-linelist

#include "core/listfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string writeList(int lines)
{
    const std::filesystem::path folder
        = std::filesystem::temp_directory_path() / "tovrik-bench-linelist";
    std::filesystem::create_directories(folder);
    std::string path = (folder / "lines.csv").string();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    std::fputs("位号,medium,Q,P,T,u,v\r\n", file);
    for (int i = 0; i < lines; ++i) {
        switch (i % 3) {
        case 0: std::fprintf(file, "CA-%05d,压缩空气,%d,0.8,30,,12\r\n", i, 100 + i % 5000); break;
        case 1: std::fprintf(file, "ST-%05d,蒸汽,%d,,,0.3747,30\r\n", i, 1 + i % 20); break;
        default: std::fprintf(file, "CW-%05d,水,%d,,,,2\r\n", i, 1 + i % 500); break;
        }
    }
    std::fclose(file);
    return path;
}

void windowLineList(benchmark::State &state)
{
    const std::string path = writeList(int(state.range(0)));
    const tovrik::LineListFiles files = tovrik::lineListFilesFor(path);
    tovrik::SizingRequest defaults;
    defaults.advice.series = tovrik::PipeSeries::Chinese;
    defaults.pressureKind = tovrik::PressureKind::Absolute;
    int percent = 0;
    for (auto _ : state) {
        const tovrik::LineListRun run = tovrik::sizeLineListFile(path, files, defaults, [&](int p) {
            percent = p;
            return true;
        });
        if (!run.error.empty() || run.summary.rows != state.range(0))
            state.SkipWithError("the list was not sized");
    }
    state.counters["result_bytes"] = double(std::filesystem::file_size(files.result));
    state.counters["sheet_bytes"] = double(std::filesystem::file_size(files.sheet));
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

} // namespace

BENCHMARK(windowLineList)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
