// A 53-frame VTR export to an animated GIF: 800 x 600 without anti-aliasing, and half size
// with it, each beside `gifsicle -O3` optimising the very GIF the export wrote, in the same
// run. The CPU column is the whole process (the renderer draws on worker threads too); the
// counters give both programs' CPU and wall time per run, both sizes, and their ratios
// (ours / gifsicle's). The GIFs are written to $REK_BENCH_OUT (default: the temporary
// folder) and kept, gifsicle's beside them as *.O3.gif.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/export_engine.h"
#include "export/export_plan.h"
#include "render/animation_snapshot.h"
#include "render/geometry_ops.h"
#include "render/random.h"

extern char** environ;

namespace {

// A random walk of 2000 vertices in strokes of 100 over the 800 x 600 canvas, with the VTR
// speed chosen so that the replay takes 12 frames at delay 12: with the 5 s wait, 53 frames.
rek::AnimationSnapshot exampleModel() {
    rek::AnimationSnapshot snapshot;
    rek::Random walk(12345);
    int x = 400;
    int y = 300;
    for (int i = 0; i < 2000; ++i) {
        x = std::clamp(x + walk.next() % 31 - 15, 20, 780);
        y = std::clamp(y + walk.next() % 31 - 15, 20, 580);
        rek::Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.kind = static_cast<std::uint8_t>(i % 100 == 0 ? rek::VertexKind::StrokeStart
                                                             : rek::VertexKind::Joined);
        snapshot.vertices.push_back(vertex);
    }
    const auto length = static_cast<std::int32_t>(rek::totalLineLength(snapshot.vertices));
    snapshot.properties.vtrSpeed = length / 24;
    snapshot.seed = 1;
    return snapshot;
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
    double cpu = 0.0;  // seconds
    double wall = 0.0;
};

// Runs `gifsicle -O3 in -o out`, with its CPU time from the resource usage of children.
std::optional<Timing> runGifsicle(const std::string& in, const std::string& out) {
    std::vector<std::string> words = {"gifsicle", "-O3", in, "-o", out};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const double cpuBefore = childrenCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "gifsicle", nullptr, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    Timing timing;
    timing.wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    timing.cpu = childrenCpuSeconds() - cpuBefore;
    return timing;
}

void BM_VtrGifExport(benchmark::State& bench) {
    const bool antiAlias = bench.range(0) != 0;
    rek::ExportProgress quiet;

    const char* outDir = std::getenv("REK_BENCH_OUT");
    const std::filesystem::path dir =
        outDir != nullptr ? std::filesystem::path(outDir) : std::filesystem::temp_directory_path();
    const std::string name = antiAlias ? "rek_bench_400x300_aa" : "rek_bench_800x600";
    rek::ExportRequest request;
    request.path = (dir / (name + ".gif")).string();
    request.kind = rek::ExportKind::Vtr;
    request.width = antiAlias ? 400 : 800;
    request.height = antiAlias ? 300 : 600;
    request.antiAlias = antiAlias;
    request.waitSeconds = 5;
    request.delay = 12;
    const rek::ExportValidation checked = rek::validateExport(
        rek::ExportTarget::Gif, request, exampleModel(), std::numeric_limits<std::uint64_t>::max());
    const auto* plan = std::get_if<rek::ExportPlan>(&checked);
    if (plan == nullptr || plan->frameCount() != 53)
        throw std::logic_error("the example model does not give 53 frames");

    Timing ours;
    int runs = 0;
    for (auto _ : bench) {
        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        if (!rek::runExport(*plan, quiet).ok())
            bench.SkipWithError("the export failed");
        ours.wall +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        ours.cpu += processCpuSeconds() - cpuBefore;
        ++runs;
    }
    const auto bytes = static_cast<double>(std::filesystem::file_size(request.path));
    bench.counters["frames"] = 53;
    bench.counters["bytes"] = bytes;
    bench.counters["cpu_ms"] = ours.cpu * 1000.0 / runs;
    bench.counters["wall_ms"] = ours.wall * 1000.0 / runs;

    // gifsicle as many times as the export ran, on the file the export wrote.
    const std::string optimised = (dir / (name + ".O3.gif")).string();
    Timing theirs;
    for (int i = 0; i < runs; ++i) {
        const std::optional<Timing> run = runGifsicle(request.path, optimised);
        if (!run) {
            bench.SetLabel("gifsicle not run");
            return;
        }
        theirs.cpu += run->cpu;
        theirs.wall += run->wall;
    }
    const auto theirBytes = static_cast<double>(std::filesystem::file_size(optimised));
    bench.counters["gifsicle_bytes"] = theirBytes;
    bench.counters["gifsicle_cpu_ms"] = theirs.cpu * 1000.0 / runs;
    bench.counters["gifsicle_wall_ms"] = theirs.wall * 1000.0 / runs;
    bench.counters["bytes_ratio"] = bytes / theirBytes;
    bench.counters["cpu_ratio"] = ours.cpu / theirs.cpu;
    bench.counters["wall_ratio"] = ours.wall / theirs.wall;
}
BENCHMARK(BM_VtrGifExport)
    ->ArgName("antialias_half_size")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(5)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
