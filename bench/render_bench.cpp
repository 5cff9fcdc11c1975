// Frame drawing on random-walk models of growing size and step length, each beside QPainter
// drawing the same model with round caps and joins, and the wobble step.
//
// Arguments of the frame benchmarks: vertices, longest step (pixels along each axis), line
// width and, for ours, the threads (with two, every frame in bands). Every frame has the
// shadow on, on the full 800 x 600 canvas. The QPainter benchmark also reports the share of
// pixels of its frame that differ from ours (`differing_pct`, in percent).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdint>

#include "model/model_properties.h"
#include "render/frame_renderer.h"
#include "render/wobble.h"

namespace {

// Strokes of 100 vertices, steps of up to `maxStep` pixels along each axis, kept on the
// 800 x 600 canvas; a tenth of the vertices is selected so the highlight has work too.
rek::VertexList randomWalk(int vertexCount, int maxStep) {
    rek::Random walk(12345);
    int x = 400;
    int y = 300;
    rek::VertexList vertices;
    vertices.reserve(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        x = std::clamp(x + walk.next() % (2 * maxStep + 1) - maxStep, 0, 799);
        y = std::clamp(y + walk.next() % (2 * maxStep + 1) - maxStep, 0, 599);
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

rek::ModelProperties shadowed(int lineWidth) {
    rek::ModelProperties properties;
    properties.lineWidth = lineWidth;
    properties.shadowMode = 0;
    return properties;
}

// The same frame drawn the way QPainter strokes it: each segment an aliased line with round
// caps (a round join is the cap of the next segment), shadow pass first.
void drawWithQPainter(QImage& image, const rek::VertexList& vertices,
                      const rek::ModelProperties& properties) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const rek::ColorRgb background = properties.backgroundColor;
    painter.fillRect(0, 0, properties.width, properties.height,
                     QColor(background.red, background.green, background.blue));
    auto pass = [&](rek::ColorRgb color, int offset) {
        QPen pen(QColor(color.red, color.green, color.blue));
        pen.setWidth(properties.lineWidth);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        QPointF previous;
        for (const rek::Vertex& vertex : vertices) {
            const QPointF point(vertex.x + vertex.wobbleDx + offset,
                                vertex.y + vertex.wobbleDy + offset);
            if (vertex.isJoined())
                painter.drawLine(previous, point);
            previous = point;
        }
    };
    pass(properties.shadowColor, properties.lineWidth / 2);
    pass(properties.lineColor, 0);
}

// Exactly `count` threads: with two, every frame is drawn in bands.
rek::RendererOptions threads(int count) {
    rek::RendererOptions threads;
    threads.threads = count;
    threads.split.adaptive = false;
    return threads;
}

double differingPercent(const QImage& a, const QImage& b) {
    std::int64_t differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            differing += rowA[x] != rowB[x] ? 1 : 0;
    }
    return 100.0 * static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

void BM_DrawFrame(benchmark::State& bench) {
    const rek::VertexList vertices =
        randomWalk(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const rek::ModelProperties properties = shadowed(static_cast<int>(bench.range(2)));
    rek::FrameRenderer renderer(threads(static_cast<int>(bench.range(3))));
    const rek::FrameScene scene{vertices, properties, std::nullopt, std::nullopt};
    renderer.drawFrame(scene);  // the span tables of this pen
    for (auto _ : bench) {
        renderer.drawFrame(scene);
        benchmark::DoNotOptimize(renderer.surface().constBits());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}

void BM_QPainterFrame(benchmark::State& bench) {
    const rek::VertexList vertices =
        randomWalk(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const rek::ModelProperties properties = shadowed(static_cast<int>(bench.range(2)));
    QImage image(rek::FrameRenderer::kSurfaceWidth, rek::FrameRenderer::kSurfaceHeight,
                 QImage::Format_RGB32);
    for (auto _ : bench) {
        drawWithQPainter(image, vertices, properties);
        benchmark::DoNotOptimize(image.constBits());
    }
    rek::FrameRenderer renderer(threads(1));
    renderer.drawFrame(rek::FrameScene{vertices, properties, std::nullopt, std::nullopt});
    bench.counters["differing_pct"] = differingPercent(renderer.surface(), image);
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}

// vertices, longest step, line width
const std::int64_t kModels[][3] = {
    {10000, 7, 4},   {100000, 7, 4},  {10000, 40, 4},
    {100000, 40, 4}, {10000, 40, 12}, {100000, 40, 12},
};

void ourModels(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"vertices", "step", "width", "threads"});
    for (const auto& model : kModels) {
        for (std::int64_t threads : {1, 2})
            bench->Args({model[0], model[1], model[2], threads});
    }
}

void qpainterModels(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"vertices", "step", "width"});
    for (const auto& model : kModels)
        bench->Args({model[0], model[1], model[2]});
}

BENCHMARK(BM_DrawFrame)->Apply(ourModels)->Unit(benchmark::kMillisecond);

// As the editor draws: two threads, but a frame goes to the calling thread alone while that
// has been faster lately (on a busy machine).
void BM_DrawFrameAdaptive(benchmark::State& bench) {
    const rek::VertexList vertices =
        randomWalk(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const rek::ModelProperties properties = shadowed(static_cast<int>(bench.range(2)));
    rek::RendererOptions options;
    options.threads = 2;
    rek::FrameRenderer renderer(options);
    const rek::FrameScene scene{vertices, properties, std::nullopt, std::nullopt};
    renderer.drawFrame(scene);
    for (auto _ : bench) {
        renderer.drawFrame(scene);
        benchmark::DoNotOptimize(renderer.surface().constBits());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_DrawFrameAdaptive)
    ->ArgNames({"vertices", "step", "width"})
    ->Args({100000, 40, 4})
    ->Args({100000, 40, 12})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QPainterFrame)->Apply(qpainterModels)->Unit(benchmark::kMillisecond);

void BM_DrawFrameAndOverlays(benchmark::State& bench) {
    const rek::VertexList vertices = randomWalk(static_cast<int>(bench.range(0)), 7);
    const rek::ModelProperties properties = shadowed(4);
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
    rek::VertexList vertices = randomWalk(static_cast<int>(bench.range(0)), 7);
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
