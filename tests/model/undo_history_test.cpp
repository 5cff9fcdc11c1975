#include "model/undo_history.h"

#include <gtest/gtest.h>

#include "model_test_support.h"

namespace rek {
namespace {

using test::shape;

class UndoHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override { history.recordSnapshot(model); }

    void drawLine(std::int32_t x) {
        appendVertex(model, x, 0, false);
        appendVertex(model, x, 10, true);
        history.recordSnapshot(model);
    }

    Model model;
    ToolState tool;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, StepsBackAndForthThroughDrawings) {
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    drawLine(1);
    drawLine(2);
    EXPECT_TRUE(history.canUndo());

    EXPECT_TRUE(history.undo(model, tool).restored);
    EXPECT_EQ(shape(model), "1,0,1 1,10,2");
    EXPECT_TRUE(history.canRedo());
    history.undo(model, tool);
    EXPECT_EQ(shape(model), "");
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(model, tool).restored);

    history.redo(model, tool);
    history.redo(model, tool);
    EXPECT_EQ(shape(model), "1,0,1 1,10,2 2,0,1 2,10,2");
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(model, tool).restored);
}

TEST_F(UndoHistoryTest, NewSnapshotDropsTheRedoEntries) {
    drawLine(1);
    drawLine(2);
    drawLine(3);
    history.undo(model, tool);
    history.undo(model, tool);
    drawLine(4);
    EXPECT_EQ(history.size(), 3u);
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(model, tool).restored);
    history.undo(model, tool);
    EXPECT_EQ(shape(model), "1,0,1 1,10,2");
}

TEST_F(UndoHistoryTest, UndoReachesAcrossAClearedDrawing) {
    drawLine(1);
    model.filePath = "/a/b.rkm";
    model.displayName = "b.rkm";
    clearVertices(model);  // as New does
    model.modified = false;
    history.recordSnapshot(model);

    history.undo(model, tool);
    EXPECT_EQ(shape(model), "1,0,1 1,10,2");
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(model.filePath, "/a/b.rkm");
    EXPECT_EQ(model.displayName, "b.rkm");
}

TEST_F(UndoHistoryTest, ColourOnlyChangeIsUndoneWithoutTouchingVertices) {
    drawLine(1);
    model.vertices[0].wobbleDx = 2;
    history.recordSnapshot(model);
    model.vertices[0].wobbleDx = -3;  // a later wobble step
    applyColor(model, ColorTarget::Line, ColorRgb{200, 0, 0}, 10);
    applyColor(model, ColorTarget::Shadow, ColorRgb{0, 200, 0}, 10);
    history.recordSnapshot(model);

    const RestoreOutcome outcome = history.undo(model, tool);
    EXPECT_FALSE(outcome.sizeChanged);
    EXPECT_EQ(model.properties, ModelProperties{});
    EXPECT_EQ(shape(model), "1,0,1 1,10,2");
    EXPECT_EQ(model.vertices[0].wobbleDx, 2);  // the stored jitter, until the next step

    history.redo(model, tool);
    EXPECT_EQ(model.properties.lineColor, (ColorRgb{200, 0, 0}));
    EXPECT_EQ(model.properties.lineWidth, 10);
}

TEST_F(UndoHistoryTest, SizeChangeIsUndoneAndReported) {
    applyCanvasSize(model, 300, 200);
    model.properties.vtrSpeed = 90;
    history.recordSnapshot(model);

    RestoreOutcome outcome = history.undo(model, tool);
    EXPECT_TRUE(outcome.sizeChanged);
    EXPECT_EQ(model.properties, ModelProperties{});
    outcome = history.redo(model, tool);
    EXPECT_TRUE(outcome.sizeChanged);
    EXPECT_EQ(model.properties.width, 300);
    EXPECT_EQ(model.properties.height, 200);
    EXPECT_EQ(model.properties.vtrSpeed, 90);
}

TEST_F(UndoHistoryTest, RestoreEndsSelectionAndSubModes) {
    drawLine(1);
    drawLine(2);
    for (Vertex& v : model.vertices)
        v.selected = 1;
    model.selectionExists = true;
    tool.mode = ToolMode::RangeSelect;
    tool.moveMode = true;
    tool.scaleMode = true;

    history.undo(model, tool);
    EXPECT_FALSE(model.selectionExists);
    EXPECT_FALSE(tool.moveMode);
    EXPECT_FALSE(tool.scaleMode);
    EXPECT_EQ(tool.mode, ToolMode::RangeSelect);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());
}

TEST_F(UndoHistoryTest, SnapshotIsAnIndependentCopy) {
    drawLine(1);
    model.vertices[0].x = 999;  // changed in place, as move does
    EXPECT_EQ(history.current().vertexImages.size(), 24u);
    history.recordSnapshot(model);
    history.undo(model, tool);
    EXPECT_EQ(model.vertices[0].x, 1);
}

}  // namespace
}  // namespace rek
