// The editor's frame step on the heavy example, as the window's timers run it: a frame with
// its overlays every 30 ms and the wobble step every 60 ms, so every second tick here also
// moves the wobble on. Argument: the renderer's threads; with two, as in the editor, a frame is
// drawn in bands or by the calling thread alone, whichever has been faster lately. A tick
// should leave room in the 30 ms for the window to put the frame on the screen.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <variant>

#include "canvas/editor.h"
#include "model/model_file.h"
#include "render/frame_renderer.h"

namespace {

const std::string kHeavyExample = std::string(REK_EXAMPLES_DIR) + "/heavy.rkm";

// The editor with the heavy example open, or nothing when it cannot be read.
bool openHeavyExample(rek::Editor& editor) {
    rek::ModelFileRead read = rek::readModel(kHeavyExample);
    auto* contents = std::get_if<rek::ModelFileContents>(&read);
    if (contents == nullptr)
        return false;
    editor.replaceDocument(std::move(*contents), kHeavyExample, "heavy.rkm", false);
    return true;
}

void tick(benchmark::State& bench, rek::Editor& editor) {
    rek::RendererOptions threads;
    threads.threads = static_cast<int>(bench.range(0));
    rek::FrameRenderer renderer(threads);
    long ticks = 0;
    for (auto _ : bench) {
        if (ticks++ % 2 == 0)
            editor.wobbleTick();
        editor.frameTick(renderer, rek::Point{400, 300});
        benchmark::DoNotOptimize(renderer.surface().constBits());
    }
}

void BM_HeavyExampleTick(benchmark::State& bench) {
    rek::Editor editor;
    if (!openHeavyExample(editor)) {
        bench.SkipWithError("cannot read examples/heavy.rkm");
        return;
    }
    tick(bench, editor);
}
BENCHMARK(BM_HeavyExampleTick)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Everything selected in range select: the overlays highlight all 100 000 vertices as well.
void BM_HeavyExampleTickAllSelected(benchmark::State& bench) {
    rek::Editor editor;
    if (!openHeavyExample(editor)) {
        bench.SkipWithError("cannot read examples/heavy.rkm");
        return;
    }
    editor.setToolMode(rek::ToolMode::RangeSelect);
    editor.selectAll();
    tick(bench, editor);
}
BENCHMARK(BM_HeavyExampleTickAllSelected)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
