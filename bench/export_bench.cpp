// A 53-frame VTR export to an animated GIF: 800 x 600 without anti-aliasing, and half size
// with it. The GIFs are written to $REK_BENCH_OUT (default: the temporary folder) and kept,
// so they can be compared with other encoders.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <stdexcept>

#include "export/export_engine.h"
#include "export/export_plan.h"
#include "render/animation_snapshot.h"
#include "render/geometry_ops.h"
#include "render/random.h"

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

void BM_VtrGifExport(benchmark::State& bench) {
    const bool antiAlias = bench.range(0) != 0;
    rek::ExportProgress quiet;

    const char* outDir = std::getenv("REK_BENCH_OUT");
    const std::filesystem::path dir =
        outDir != nullptr ? std::filesystem::path(outDir) : std::filesystem::temp_directory_path();
    rek::ExportRequest request;
    request.path =
        (dir / (antiAlias ? "rek_bench_400x300_aa.gif" : "rek_bench_800x600.gif")).string();
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

    for (auto _ : bench) {
        if (!rek::runExport(*plan, quiet).ok())
            bench.SkipWithError("the export failed");
    }
    bench.counters["frames"] = 53;
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(request.path));
}
BENCHMARK(BM_VtrGifExport)
    ->ArgName("antialias_half_size")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
