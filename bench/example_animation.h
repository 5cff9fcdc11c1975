#pragma once

// The drawing the export benchmarks share: a random walk of 2000 vertices in strokes of 100
// over the 800 x 600 canvas, with the VTR speed chosen so that the replay takes 12 frames at
// delay 12: with the 5 s wait, 53 frames.

#include <algorithm>

#include "render/animation_snapshot.h"
#include "render/geometry_ops.h"
#include "render/random.h"

namespace rek::bench {

inline AnimationSnapshot exampleAnimation() {
    AnimationSnapshot snapshot;
    Random walk(12345);
    int x = 400;
    int y = 300;
    for (int i = 0; i < 2000; ++i) {
        x = std::clamp(x + static_cast<int>(walk.next() % 31) - 15, 20, 780);
        y = std::clamp(y + static_cast<int>(walk.next() % 31) - 15, 20, 580);
        Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.kind =
            static_cast<std::uint8_t>(i % 100 == 0 ? VertexKind::StrokeStart : VertexKind::Joined);
        snapshot.vertices.push_back(vertex);
    }
    const auto length = static_cast<std::int32_t>(totalLineLength(snapshot.vertices));
    snapshot.properties.vtrSpeed = length / 24;
    snapshot.seed = 1;
    return snapshot;
}

}  // namespace rek::bench
