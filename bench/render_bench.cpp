// Frame drawing and wobble step on random-walk models of growing size.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "model/model_properties.h"
#include "render/frame_renderer.h"
#include "render/wobble.h"

namespace {

// Strokes of 100 vertices, steps of about 10 pixels, kept on the 800 x 600 canvas; a tenth of
// the vertices is selected so the highlight has work too.
rek::VertexList randomWalk(int vertexCount) {
    rek::Random walk(12345);
    int x = 400;
    int y = 300;
    rek::VertexList vertices;
    vertices.reserve(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        x = std::clamp(x + walk.next() % 15 - 7, 0, 799);
        y = std::clamp(y + walk.next() % 15 - 7, 0, 599);
        rek::Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.kind = static_cast<std::uint8_t>(i % 100 == 0 ? rek::VertexKind::StrokeStart
                                                             : rek::VertexKind::Joined);
        vertex.selected = i % 10 == 0 ? 1 : 0;
        vertices.push_back(vertex);
    }
    rek::Random wobble(1);
    rek::newWobbleOffsets(vertices, 3, true, wobble);
    return vertices;
}

void BM_DrawFrameAndOverlays(benchmark::State& bench) {
    const rek::VertexList vertices = randomWalk(static_cast<int>(bench.range(0)));
    rek::ModelProperties properties;
    properties.lineWidth = 4;
    properties.shadowMode = 0;
    rek::FrameRenderer renderer;
    for (auto _ : bench) {
        renderer.drawFrame(rek::FrameScene{vertices, properties, std::nullopt, std::nullopt});
        renderer.drawOverlays(rek::OverlayScene{vertices, properties.lineWidth, {}, std::nullopt});
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
    rek::VertexList vertices = randomWalk(static_cast<int>(bench.range(0)));
    rek::Random random(1);
    for (auto _ : bench) {
        rek::newWobbleOffsets(vertices, 3, true, random);
        benchmark::DoNotOptimize(vertices.data());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_NewWobbleOffsets)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
