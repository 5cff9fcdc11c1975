#include "render/wobble.h"

#include <gtest/gtest.h>

#include "vertex_builders.h"

namespace rek {
namespace {

class WobbleStep : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 500; ++i)
            vertices.push_back(test::makeVertex(i, i, true));
    }
    VertexList vertices;
    Random random;
};

// The classic runtime's sequence (41, 18467, 6334, 26500, ...), two numbers per vertex,
// horizontal first; a generator seeded with the state goes on with it (an export starts from
// the editor's state).
TEST_F(WobbleStep, DrawsTwoNumbersPerVertexHorizontalFirst) {
    random.seed(1);
    newWobbleOffsets(vertices, 3, true, random);
    // 41 % 7 - 3 = 3, 18467 % 7 - 3 = -2, 6334 % 7 - 3 = 3, 26500 % 7 - 3 = 2
    EXPECT_EQ(vertices[0].wobbleDx, 3);
    EXPECT_EQ(vertices[0].wobbleDy, -2);
    EXPECT_EQ(vertices[1].wobbleDx, 3);
    EXPECT_EQ(vertices[1].wobbleDy, 2);

    Random reference(1);
    for (int i = 0; i < 2 * 500; ++i)
        reference.next();
    EXPECT_EQ(Random(random.state()).next(), reference.next());
}

TEST_F(WobbleStep, SwitchedOffZeroesEveryOffsetWithoutDrawing) {
    newWobbleOffsets(vertices, 3, true, random);
    random.seed(7);
    newWobbleOffsets(vertices, 3, false, random);
    for (const Vertex& vertex : vertices) {
        EXPECT_EQ(vertex.wobbleDx, 0);
        EXPECT_EQ(vertex.wobbleDy, 0);
    }
    Random reference(7);
    EXPECT_EQ(random.next(), reference.next());
}

TEST_F(WobbleStep, AmountsOutsideTheByteRangeAreClamped) {
    newWobbleOffsets(vertices, 100000, true, random);
    bool sawLarge = false;
    for (const Vertex& vertex : vertices) {
        // Without the clamp the offsets would wrap and lose their sign.
        sawLarge |= vertex.wobbleDx > 64 || vertex.wobbleDx < -64;
    }
    EXPECT_TRUE(sawLarge);

    newWobbleOffsets(vertices, -5, true, random);
    for (const Vertex& vertex : vertices)
        EXPECT_EQ(vertex.wobbleDx, 0);
}

}  // namespace
}  // namespace rek
