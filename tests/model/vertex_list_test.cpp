#include <gtest/gtest.h>

#include <vector>

#include "model/model.h"
#include "model_test_support.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::Pt;
using test::pts;

TEST(AppendVertex, FirstVertexIsAlwaysCreatedWithTheKindAsked) {
    Model model;
    EXPECT_EQ(appendVertex(model, 5, 6, true), AppendResult::Added);
    ASSERT_EQ(model.vertices.size(), 1u);
    EXPECT_EQ(model.vertices[0].kind, static_cast<std::uint8_t>(VertexKind::Joined));
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{5, 6, false}}));
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(countVertices(model), 1);
}

TEST(AppendVertex, PointEqualToTailIsDroppedWhateverTheFlag) {
    Model model;
    addStroke(model.vertices, {{1, 1}, {4, 4}});
    EXPECT_EQ(appendVertex(model, 4, 4, false), AppendResult::Dropped);
    EXPECT_EQ(appendVertex(model, 4, 4, true), AppendResult::Dropped);
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {4, 4, false}}));

    // A stroke begun where the last one ended therefore continues it.
    appendVertex(model, 9, 9, true);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {4, 4, false}, {9, 9, false}}));
}

TEST(AppendVertex, TrailingLoneStrokeStartIsReused) {
    Model model;
    addStroke(model.vertices, {{1, 1}, {2, 2}});
    addStroke(model.vertices, {{3, 3}});
    model.vertices.back().wobbleDx = 3;
    model.vertices.back().selected = 1;

    EXPECT_EQ(appendVertex(model, 7, 8, false), AppendResult::Reused);
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {2, 2, false}, {7, 8, true}}));
    const Vertex& tail = model.vertices.back();
    EXPECT_EQ(tail.wobbleDx, 0);
    EXPECT_EQ(tail.selected, 0);

    // A joined point after it is added normally.
    EXPECT_EQ(appendVertex(model, 9, 9, true), AppendResult::Added);
    EXPECT_EQ(model.vertices.size(), 4u);
}

TEST(AppendVertex, StrokeStartAfterJoinedVertexIsAdded) {
    Model model;
    addStroke(model.vertices, {{1, 1}, {2, 2}});
    EXPECT_EQ(appendVertex(model, 3, 3, false), AppendResult::Added);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {2, 2, false}, {3, 3, true}}));
}

TEST(ClearVertices, EmptiesTheList) {
    Model model;
    addStroke(model.vertices, {{1, 1}, {2, 2}});
    clearVertices(model);
    EXPECT_EQ(countVertices(model), 0);
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

// Standard properties but for a canvas of 300 x 200.
ModelProperties smallCanvas() {
    ModelProperties properties;
    properties.width = 300;
    properties.height = 200;
    return properties;
}

TEST(SetProperties, ReportsSizeAndAppearanceApart) {
    Model model;
    model.properties = smallCanvas();

    ModelProperties wanted = smallCanvas();
    PropertyChanges changes = setProperties(model, wanted);
    EXPECT_FALSE(changes.size);
    EXPECT_FALSE(changes.appearance);
    EXPECT_FALSE(changes.any());

    // Each appearance field on its own counts as appearance, never as size.
    auto expectAppearanceOnly = [&](ModelProperties changed, const char* what) {
        SCOPED_TRACE(what);
        changes = setProperties(model, changed);
        EXPECT_FALSE(changes.size);
        EXPECT_TRUE(changes.appearance);
        EXPECT_TRUE(changes.any());
        EXPECT_EQ(model.properties, changed);
        setProperties(model, smallCanvas());
    };
    wanted = smallCanvas();
    wanted.lineColor = {1, 2, 3};
    expectAppearanceOnly(wanted, "line colour");
    wanted = smallCanvas();
    wanted.shadowColor = {1, 2, 3};
    expectAppearanceOnly(wanted, "shadow colour");
    wanted = smallCanvas();
    wanted.backgroundColor = {1, 2, 3};
    expectAppearanceOnly(wanted, "background colour");
    wanted = smallCanvas();
    wanted.lineWidth = 9;
    expectAppearanceOnly(wanted, "line width");
    wanted = smallCanvas();
    wanted.wobbleAmount = 9;
    expectAppearanceOnly(wanted, "wobble");
    wanted = smallCanvas();
    wanted.vtrSpeed = 9;
    expectAppearanceOnly(wanted, "speed");
    wanted = smallCanvas();
    wanted.shadowMode = 1;
    expectAppearanceOnly(wanted, "shadow");

    // The size alone is no change of appearance.
    wanted = smallCanvas();
    wanted.width = 400;
    changes = setProperties(model, wanted);
    EXPECT_TRUE(changes.size);
    EXPECT_FALSE(changes.appearance);
    EXPECT_EQ(model.properties, wanted);

    wanted.height = 100;
    wanted.lineColor = {9, 9, 9};
    changes = setProperties(model, wanted);
    EXPECT_TRUE(changes.size);
    EXPECT_TRUE(changes.appearance);
    EXPECT_EQ(model.properties, wanted);

    // Setting properties is no edit of the drawing.
    EXPECT_FALSE(model.modified);
}

TEST(SetProperties, BringsValuesIntoRangeAndAZeroSizeKeepsTheCurrentOne) {
    Model model;
    model.properties = smallCanvas();
    addStroke(model.vertices, {{1, 1}, {2, 2}});

    ModelProperties wild;
    wild.width = 0;
    wild.height = 5000;
    wild.wobbleAmount = 500;
    wild.vtrSpeed = 0;
    wild.lineWidth = -3;
    wild.shadowMode = 7;
    PropertyChanges changes = setProperties(model, wild);
    EXPECT_FALSE(changes.size);  // the zero width keeps the whole size
    EXPECT_TRUE(changes.appearance);
    EXPECT_EQ(model.properties.width, 300);
    EXPECT_EQ(model.properties.height, 200);
    EXPECT_EQ(model.properties.wobbleAmount, 127);
    EXPECT_EQ(model.properties.vtrSpeed, 1);
    EXPECT_EQ(model.properties.lineWidth, 1);
    EXPECT_EQ(model.properties.shadowMode, 1);

    // Clamped sizes equal to the current ones are no change.
    wild.width = 900;
    wild.height = 700;
    EXPECT_TRUE(setProperties(model, wild).size);
    EXPECT_EQ(model.properties.width, 800);
    EXPECT_EQ(model.properties.height, 600);
    wild.width = 1000;
    EXPECT_FALSE(setProperties(model, wild).any());

    // A zero size is no change of anything when the rest is as it was.
    wild.width = 0;
    wild.height = 0;
    EXPECT_FALSE(setProperties(model, wild).any());
    EXPECT_EQ(model.properties.width, 800);
    EXPECT_EQ(model.properties.height, 600);

    EXPECT_EQ(model.vertices.size(), 2u);
    EXPECT_FALSE(model.modified);
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
    wild.vtrSpeed = 2000000;
    wild.lineWidth = 1000;
    wild.shadowMode = -1;
    safe = sanitizeStoredProperties(wild);
    EXPECT_EQ(safe.width, 0);
    EXPECT_EQ(safe.height, 0);
    EXPECT_EQ(safe.wobbleAmount, 0);
    EXPECT_EQ(safe.vtrSpeed, kMaxVtrSpeed);
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
    EXPECT_TRUE(test::sameVertices({back}, {v}));
}

}  // namespace
}  // namespace rek
