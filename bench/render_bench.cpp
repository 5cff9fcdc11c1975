// Frame drawing and wobble step on random-walk models of growing size.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "render/frame_renderer.h"
#include "render/wobble.h"

namespace {

// Strokes of 100 vertices, steps of about 10 pixels, kept on the 800 x 600 canvas; a tenth of
// the vertices is selected so the highlight has work too.
rek::EditorState randomWalkModel(int vertexCount) {
    rek::EditorState state;
    state.model.properties.lineWidth = 4;
    state.model.properties.shadowMode = 0;
    rek::Random walk(12345);
    int x = 400;
    int y = 300;
    state.model.vertices.reserve(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        x = std::clamp(x + walk.next() % 15 - 7, 0, 799);
        y = std::clamp(y + walk.next() % 15 - 7, 0, 599);
        rek::Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.kind = static_cast<std::uint8_t>(i % 100 == 0 ? rek::VertexKind::StrokeStart
                                                             : rek::VertexKind::Joined);
        vertex.selected = i % 10 == 0 ? 1 : 0;
        state.model.vertices.push_back(vertex);
    }
    rek::newWobbleOffsets(state);
    return state;
}

void BM_DrawFrameAndOverlays(benchmark::State& bench) {
    rek::EditorState state = randomWalkModel(static_cast<int>(bench.range(0)));
    rek::FrameRenderer renderer;
    for (auto _ : bench) {
        renderer.drawFrame(state);
        renderer.drawOverlays(state);
        benchmark::DoNotOptimize(renderer.surface().constBits());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_DrawFrameAndOverlays)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_NewWobbleOffsets(benchmark::State& bench) {
    rek::EditorState state = randomWalkModel(static_cast<int>(bench.range(0)));
    for (auto _ : bench) {
        rek::newWobbleOffsets(state);
        benchmark::DoNotOptimize(state.model.vertices.data());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_NewWobbleOffsets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
