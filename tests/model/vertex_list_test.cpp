#include <gtest/gtest.h>

#include <vector>

#include "model/model.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::Pt;
using test::pts;

TEST(AppendVertex, AddsDropsARepeatedPointAndReusesALoneStrokeStart) {
    Model model;
    // The first vertex is created with the kind asked, even a joined one.
    EXPECT_EQ(appendVertex(model, 5, 6, true), AppendResult::Added);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{5, 6, false}}));
    EXPECT_TRUE(model.modified);

    // A point equal to the tail is dropped whatever the flag, so a stroke begun where the last
    // one ended continues it.
    model = Model{};
    addStroke(model.vertices, {{1, 1}, {4, 4}});
    EXPECT_EQ(appendVertex(model, 4, 4, false), AppendResult::Dropped);
    EXPECT_EQ(appendVertex(model, 4, 4, true), AppendResult::Dropped);
    EXPECT_FALSE(model.modified);
    appendVertex(model, 9, 9, true);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {4, 4, false}, {9, 9, false}}));

    // A stroke start after a joined vertex is added; a second one takes its place, fresh.
    EXPECT_EQ(appendVertex(model, 3, 3, false), AppendResult::Added);
    model.vertices.back().wobbleDx = 3;
    model.vertices.back().selected = 1;
    EXPECT_EQ(appendVertex(model, 7, 8, false), AppendResult::Reused);
    EXPECT_EQ(pts(model.vertices, 3), (std::vector<Pt>{{7, 8, true}}));
    EXPECT_EQ(model.vertices.back().wobbleDx, 0);
    EXPECT_EQ(model.vertices.back().selected, 0);
    EXPECT_EQ(appendVertex(model, 9, 9, true), AppendResult::Added);
    EXPECT_EQ(countVertices(model), 5);
}

// The canvas size goes through applyCanvasSize, the rest through the stored range rules.
TEST(SetProperties, ReportsSizeAndAppearanceApartClampsAndAZeroSizeKeepsTheCurrentOne) {
    ModelProperties small;
    small.width = 300;
    small.height = 200;
    Model model;
    model.properties = small;
    addStroke(model.vertices, {{1, 1}, {2, 2}});
    EXPECT_FALSE(setProperties(model, small).any());

    ModelProperties wanted = small;
    wanted.lineColor = {1, 2, 3};
    PropertyChanges changes = setProperties(model, wanted);
    EXPECT_TRUE(!changes.size && changes.appearance);
    wanted.width = 400;
    changes = setProperties(model, wanted);
    EXPECT_TRUE(changes.size && !changes.appearance);
    EXPECT_EQ(model.properties, wanted);

    ModelProperties wild;  // out of range, brought in as a file's properties are
    wild.width = 0;
    wild.height = 5000;
    wild.lineWidth = -3;
    changes = setProperties(model, wild);
    EXPECT_FALSE(changes.size);  // the zero width keeps the whole size
    EXPECT_TRUE(changes.appearance);
    EXPECT_EQ(model.properties.width, 400);
    EXPECT_EQ(model.properties.height, 200);
    EXPECT_EQ(model.properties.lineWidth, 1);

    // Clamped sizes equal to the current ones are no change; nor is a zero size.
    wild.width = 900;
    wild.height = 700;
    EXPECT_TRUE(setProperties(model, wild).size);
    wild.width = 1000;
    EXPECT_FALSE(setProperties(model, wild).any());
    wild.width = 0;
    wild.height = 0;
    EXPECT_FALSE(setProperties(model, wild).any());
    EXPECT_EQ(model.properties.width, 800);
    EXPECT_EQ(model.properties.height, 600);

    // Setting properties is no edit of the drawing.
    EXPECT_EQ(model.vertices.size(), 2u);
    EXPECT_FALSE(model.modified);
}

}  // namespace
}  // namespace rek
