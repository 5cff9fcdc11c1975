// This test program counts every allocation made through operator new (the array forms go
// through it too), so that a frame drawn by a warmed-up renderer can be seen to make none.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "render/frame_renderer.h"
#include "render/wobble.h"
#include "vertex_builders.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace rek {
namespace {

// Strokes of short and long steps (table steps, lines beyond the table, one with a row that
// is drawn for each pass apart), a line clipped at the clip box, and a selection for the
// highlight.
VertexList mixedDrawing() {
    VertexList vertices;
    Random walk(7);
    for (int i = 0; i < 3000; ++i) {
        const int reach = i % 3 == 0 ? 300 : 40;
        const bool start = i % 50 == 0;
        Vertex vertex = test::makeVertex(walk.next() % 800, walk.next() % 600, !start);
        if (!start) {
            const Vertex& previous = vertices.back();
            vertex.x = previous.x + walk.next() % (2 * reach + 1) - reach;
            vertex.y = previous.y + walk.next() % (2 * reach + 1) - reach;
        }
        vertex.selected = i % 7 == 0 ? 1 : 0;
        vertices.push_back(vertex);
    }
    vertices.push_back(test::makeVertex(100, 100, false));
    vertices.push_back(test::makeVertex(100 + 49, 100 - 61, true));
    vertices.push_back(test::makeVertex(-9000, 300, false));
    vertices.push_back(test::makeVertex(400, 320, true));
    return vertices;
}

TEST(FrameAllocations, AWarmedUpRendererDrawsFramesAndOverlaysWithoutAllocating) {
    for (int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        RendererOptions setup;
        setup.threads = threads;
        setup.split.minimumRows = 0;
        setup.split.adaptive = false;
        setup.maskedHighlightFrom = 0;
        FrameRenderer renderer(setup);
        VertexList vertices = mixedDrawing();
        ModelProperties properties;
        properties.lineWidth = 42;
        const OverlayScene overlays{vertices, properties.lineWidth, {}, std::nullopt};
        Random wobble(3);

        renderer.drawFrame(FrameScene{vertices, properties, std::nullopt, std::nullopt});
        renderer.drawOverlays(overlays);
        for (int frame = 0; frame < 3; ++frame) {
            newWobbleOffsets(vertices, 3, true, wobble);
            const long before = allocations.load();
            renderer.drawFrame(FrameScene{vertices, properties, std::nullopt, std::nullopt});
            renderer.drawFrame(FrameScene{vertices, properties, 5000u, std::nullopt});
            renderer.drawOverlays(overlays);
            EXPECT_EQ(allocations.load() - before, 0) << "frame " << frame;
        }
    }
}

}  // namespace
}  // namespace rek
