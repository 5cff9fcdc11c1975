// The same 53-frame VTR export (800 x 600 without anti-aliasing, and half size with it) as an
// animated GIF, a lossless and a lossy WebP and an APNG, in one run: the time of each whole
// export and the bytes it writes. The files go to $REK_BENCH_OUT (default: the temporary
// folder) and are kept, to be opened in other programs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>

#include "example_animation.h"
#include "export/export_engine.h"
#include "export/export_plan.h"

namespace {

enum Format { kGif, kWebpLossless, kWebpLossy, kApng };

void BM_AnimationFormat(benchmark::State& bench) {
    const auto format = static_cast<Format>(bench.range(0));
    const bool antiAlias = bench.range(1) != 0;
    rek::ExportProgress quiet;

    const char* outDir = std::getenv("REK_BENCH_OUT");
    const std::filesystem::path dir =
        outDir != nullptr ? std::filesystem::path(outDir) : std::filesystem::temp_directory_path();
    static const char* const kNames[] = {"gif", "lossless.webp", "lossy.webp", "png"};
    rek::ExportRequest request;
    request.path = (dir / (std::string("rek_formats_") + (antiAlias ? "400x300_aa." : "800x600.") +
                           kNames[format]))
                       .string();
    request.kind = rek::ExportKind::Vtr;
    request.width = antiAlias ? 400 : 800;
    request.height = antiAlias ? 300 : 600;
    request.antiAlias = antiAlias;
    request.waitSeconds = 5;
    request.delay = 12;
    if (format == kWebpLossy)
        request.webpQuality = 80;
    const rek::ExportTarget target = format == kGif    ? rek::ExportTarget::Gif
                                     : format == kApng ? rek::ExportTarget::Apng
                                                       : rek::ExportTarget::Webp;
    const rek::ExportValidation checked = rek::validateExport(
        target, request, rek::bench::exampleAnimation(), std::numeric_limits<std::uint64_t>::max());
    const auto* plan = std::get_if<rek::ExportPlan>(&checked);
    if (plan == nullptr || plan->frameCount() != 53)
        throw std::logic_error("the example animation does not give 53 frames");

    for (auto _ : bench) {
        if (!rek::runExport(*plan, quiet).ok())
            bench.SkipWithError("the export failed");
    }
    bench.counters["frames"] = 53;
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(request.path));
}
BENCHMARK(BM_AnimationFormat)
    ->ArgNames({"format", "antialias_half_size"})
    ->ArgsProduct({{kGif, kWebpLossless, kWebpLossy, kApng}, {0, 1}})
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
