#include "render/wobble.h"

#include <gtest/gtest.h>

#include "render_test_support.h"

namespace rek {
namespace {

TEST(RandomSequence, MatchesTheClassicRuntimeForSeedOne) {
    Random random(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(random.next(), value);
}

class WobbleStep : public ::testing::Test {
  protected:
    void SetUp() override {
        state = test::plainState();
        state.wobbleEnabled = true;
        for (int i = 0; i < 500; ++i) {
            state.model.vertices.push_back(test::vertexAt(i, i, VertexKind::Joined));
        }
    }
    EditorState state;
};

TEST_F(WobbleStep, OffsetsStayWithinTheAmountAndVary) {
    state.model.properties.wobbleAmount = 3;
    newWobbleOffsets(state);
    bool sawMinimum = false;
    bool sawMaximum = false;
    for (const Vertex& vertex : state.model.vertices) {
        for (int offset : {int{vertex.wobbleDx}, int{vertex.wobbleDy}}) {
            EXPECT_GE(offset, -3);
            EXPECT_LE(offset, 3);
            sawMinimum |= offset == -3;
            sawMaximum |= offset == 3;
        }
    }
    EXPECT_TRUE(sawMinimum);
    EXPECT_TRUE(sawMaximum);
}

TEST_F(WobbleStep, DrawsTwoNumbersPerVertexHorizontalFirst) {
    state.model.properties.wobbleAmount = 3;
    state.random.seed(1);
    newWobbleOffsets(state);
    // 41 % 7 - 3 = 3, 18467 % 7 - 3 = -2, 6334 % 7 - 3 = 3, 26500 % 7 - 3 = 2
    EXPECT_EQ(state.model.vertices[0].wobbleDx, 3);
    EXPECT_EQ(state.model.vertices[0].wobbleDy, -2);
    EXPECT_EQ(state.model.vertices[1].wobbleDx, 3);
    EXPECT_EQ(state.model.vertices[1].wobbleDy, 2);

    Random reference(1);
    for (int i = 0; i < 2 * 500; ++i)
        reference.next();
    EXPECT_EQ(state.random.next(), reference.next());
}

TEST_F(WobbleStep, SwitchedOffZeroesEveryOffsetWithoutDrawing) {
    newWobbleOffsets(state);
    state.wobbleEnabled = false;
    state.random.seed(7);
    newWobbleOffsets(state);
    for (const Vertex& vertex : state.model.vertices) {
        EXPECT_EQ(vertex.wobbleDx, 0);
        EXPECT_EQ(vertex.wobbleDy, 0);
    }
    Random reference(7);
    EXPECT_EQ(state.random.next(), reference.next());
}

TEST_F(WobbleStep, AmountsOutsideTheByteRangeAreClamped) {
    state.model.properties.wobbleAmount = 100000;
    newWobbleOffsets(state);
    bool sawLarge = false;
    for (const Vertex& vertex : state.model.vertices) {
        // Without the clamp the offsets would wrap and lose their sign.
        sawLarge |= vertex.wobbleDx > 64 || vertex.wobbleDx < -64;
    }
    EXPECT_TRUE(sawLarge);

    state.model.properties.wobbleAmount = -5;
    newWobbleOffsets(state);
    for (const Vertex& vertex : state.model.vertices) {
        EXPECT_EQ(vertex.wobbleDx, 0);
        EXPECT_EQ(vertex.wobbleDy, 0);
    }
}

}  // namespace
}  // namespace rek
