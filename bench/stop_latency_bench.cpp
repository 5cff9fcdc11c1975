// How long an export takes to end after Stop: the 53-frame 800 x 600 VTR export of each
// format is started on a thread, stopped once its third frame is done, and timed from the stop
// request until the engine returns. The time reported is that latency (manual time); the
// counter max_ms is the longest of the runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <thread>

#include "example_animation.h"
#include "export/export_engine.h"
#include "export/export_plan.h"

namespace {

class FrameCounter : public rek::ExportProgress {
  public:
    void frameDone(std::uint64_t done) override { done_.store(done); }
    std::uint64_t done() const { return done_.load(); }

  private:
    std::atomic<std::uint64_t> done_{0};
};

struct Format {
    rek::ExportTarget target;
    rek::ExportKind kind;
    const char* name;
};

const Format kFormats[] = {
    {rek::ExportTarget::Gif, rek::ExportKind::Vtr, "stop.gif"},
    {rek::ExportTarget::Webp, rek::ExportKind::Vtr, "stop.webp"},
    {rek::ExportTarget::Apng, rek::ExportKind::Vtr, "stop.png"},
    {rek::ExportTarget::Bmp, rek::ExportKind::Vtr, "stop_bmp"},
    {rek::ExportTarget::Png, rek::ExportKind::Vtr, "stop_png"},
};

void BM_StopLatency(benchmark::State& bench) {
    const Format& format = kFormats[bench.range(0)];
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "rek_stop_bench";
    std::filesystem::create_directories(dir);
    rek::ExportRequest request;
    request.path = (dir / format.name).string();
    request.kind = format.kind;
    request.width = 800;
    request.height = 600;
    request.waitSeconds = 5;
    request.delay = 12;
    const rek::ExportValidation checked =
        rek::validateExport(format.target, request, rek::bench::exampleAnimation(),
                            std::numeric_limits<std::uint64_t>::max());
    const auto* plan = std::get_if<rek::ExportPlan>(&checked);
    if (plan == nullptr)
        throw std::logic_error("the example animation cannot be exported");

    double longest = 0;
    for (auto _ : bench) {
        FrameCounter progress;
        std::stop_source stop;
        std::chrono::steady_clock::time_point asked;
        std::thread worker([&] {
            if (rek::runExport(*plan, progress, stop.get_token()).ok())
                bench.SkipWithError("the export was not stopped");
        });
        while (progress.done() < 3)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        asked = std::chrono::steady_clock::now();
        stop.request_stop();
        worker.join();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        longest = std::max(longest, seconds);
        bench.SetIterationTime(seconds);
    }
    bench.counters["max_ms"] = longest * 1000.0;
    bench.SetLabel(format.name);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StopLatency)
    ->DenseRange(0, 4)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
