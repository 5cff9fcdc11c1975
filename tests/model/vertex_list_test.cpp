#include <gtest/gtest.h>

#include "model/model.h"
#include "model_test_support.h"

namespace rek {
namespace {

using test::shape;

TEST(AppendVertex, FirstVertexIsAlwaysCreatedWithTheKindAsked) {
    Model model;
    EXPECT_EQ(appendVertex(model, 5, 6, true), AppendResult::Added);
    EXPECT_EQ(shape(model), "5,6,2");
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(countVertices(model), 1);
}

TEST(AppendVertex, PointEqualToTailIsDroppedWhateverTheFlag) {
    Model model = test::modelWith({{1, 1, false}, {4, 4, true}});
    EXPECT_EQ(appendVertex(model, 4, 4, false), AppendResult::Dropped);
    EXPECT_EQ(appendVertex(model, 4, 4, true), AppendResult::Dropped);
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(shape(model), "1,1,1 4,4,2");

    // A stroke begun where the last one ended therefore continues it.
    appendVertex(model, 9, 9, true);
    EXPECT_EQ(shape(model), "1,1,1 4,4,2 9,9,2");
}

TEST(AppendVertex, TrailingLoneStrokeStartIsReused) {
    Model model = test::modelWith({{1, 1, false}, {2, 2, true}, {3, 3, false}});
    model.vertices.back().wobbleDx = 3;
    model.vertices.back().selected = 1;

    EXPECT_EQ(appendVertex(model, 7, 8, false), AppendResult::Reused);
    EXPECT_TRUE(model.modified);
    ASSERT_EQ(model.vertices.size(), 3u);
    const Vertex& tail = model.vertices.back();
    EXPECT_EQ(shape(model), "1,1,1 2,2,2 7,8,1");
    EXPECT_EQ(tail.wobbleDx, 0);
    EXPECT_EQ(tail.selected, 0);

    // A joined point after it is added normally.
    EXPECT_EQ(appendVertex(model, 9, 9, true), AppendResult::Added);
    EXPECT_EQ(model.vertices.size(), 4u);
}

TEST(AppendVertex, StrokeStartAfterJoinedVertexIsAdded) {
    Model model = test::modelWith({{1, 1, false}, {2, 2, true}});
    EXPECT_EQ(appendVertex(model, 3, 3, false), AppendResult::Added);
    EXPECT_EQ(shape(model), "1,1,1 2,2,2 3,3,1");
}

TEST(ClearVertices, EmptiesTheList) {
    Model model = test::modelWith({{1, 1, false}, {2, 2, true}});
    clearVertices(model);
    EXPECT_EQ(countVertices(model), 0);
}

TEST(ApplyColor, SetsTheTargetColourAndWidthAndReportsChanges) {
    Model model;
    const ColorRgb red{255, 0, 0};

    ResourceChange change = applyColor(model, ColorTarget::Shadow, red, 8);
    EXPECT_TRUE(change.color);
    EXPECT_TRUE(change.lineWidth);
    EXPECT_EQ(model.properties.shadowColor, red);
    EXPECT_EQ(model.properties.lineWidth, 8);
    EXPECT_EQ(model.properties.lineColor, ColorRgb{});

    change = applyColor(model, ColorTarget::Shadow, red, 8);
    EXPECT_FALSE(change.color);
    EXPECT_FALSE(change.lineWidth);

    change = applyColor(model, ColorTarget::Background, ColorRgb{1, 2, 3}, 8);
    EXPECT_TRUE(change.color);
    EXPECT_FALSE(change.lineWidth);
    EXPECT_EQ(model.properties.backgroundColor, (ColorRgb{1, 2, 3}));

    change = applyColor(model, ColorTarget::Line, ColorRgb{}, 6);
    EXPECT_FALSE(change.color);
    EXPECT_TRUE(change.lineWidth);
}

TEST(ApplyCanvasSize, ClampsAndKeepsSizeOnZero) {
    Model model;
    model.properties.width = 300;
    model.properties.height = 200;

    EXPECT_FALSE(applyCanvasSize(model, 0, 500));
    EXPECT_FALSE(applyCanvasSize(model, 500, 0));
    EXPECT_EQ(model.properties.width, 300);
    EXPECT_EQ(model.properties.height, 200);

    EXPECT_TRUE(applyCanvasSize(model, 900, 700));
    EXPECT_EQ(model.properties.width, 800);
    EXPECT_EQ(model.properties.height, 600);
    EXPECT_FALSE(applyCanvasSize(model, 1000, 601));

    EXPECT_TRUE(applyCanvasSize(model, 3, -40));
    EXPECT_EQ(model.properties.width, 10);
    EXPECT_EQ(model.properties.height, 10);
}

TEST(SanitizeStoredProperties, BringsEveryFieldIntoRange) {
    ModelProperties wild;
    wild.width = -5;
    wild.height = 100000;
    wild.wobbleAmount = 500;
    wild.vtrSpeed = 0;
    wild.lineWidth = -3;
    wild.shadowMode = 7;
    ModelProperties safe = sanitizeStoredProperties(wild);
    EXPECT_EQ(safe.width, 10);
    EXPECT_EQ(safe.height, 600);
    EXPECT_EQ(safe.wobbleAmount, 127);
    EXPECT_EQ(safe.vtrSpeed, 1);
    EXPECT_EQ(safe.lineWidth, 1);
    EXPECT_EQ(safe.shadowMode, 1);

    wild.width = 0;
    wild.height = 0;
    wild.wobbleAmount = -1;
    wild.lineWidth = 1000;
    wild.shadowMode = -1;
    safe = sanitizeStoredProperties(wild);
    EXPECT_EQ(safe.width, 0);
    EXPECT_EQ(safe.height, 0);
    EXPECT_EQ(safe.wobbleAmount, 0);
    EXPECT_EQ(safe.lineWidth, 100);
    EXPECT_EQ(safe.shadowMode, 1);

    EXPECT_EQ(sanitizeStoredProperties(ModelProperties{}), ModelProperties{});
}

TEST(VertexImage, IsLittleEndianAndKeepsEveryStoredByte) {
    Vertex v{-2, 0x01020304, 7, -3, 127, 0xAB, 1};
    const VertexImage image = encodeVertexImage(v);
    const VertexImage expected{0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 7, 0xFD, 0x7F, 0xAB};
    EXPECT_EQ(image, expected);

    const Vertex back = decodeVertexImage(image.data());
    v.selected = 0;
    EXPECT_TRUE(test::sameVertex(back, v));
}

}  // namespace
}  // namespace rek
