#include "model/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "vertex_builders.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

class UndoHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override { history.recordSnapshot(model); }

    void drawLine(std::int32_t x) {
        appendVertex(model, x, 0, false);
        appendVertex(model, x, 10, true);
        history.recordSnapshot(model);
    }

    // The drawing after drawLine for each of `xs`.
    static std::vector<Pt> lines(std::initializer_list<std::int32_t> xs) {
        std::vector<Pt> result;
        for (std::int32_t x : xs) {
            result.push_back({x, 0, true});
            result.push_back({x, 10, false});
        }
        return result;
    }

    Model model;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, StepsBackAndForthThroughDrawings) {
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    drawLine(1);
    drawLine(2);
    EXPECT_TRUE(history.canUndo());

    EXPECT_TRUE(history.undo(model).restored);
    EXPECT_EQ(pts(model.vertices), lines({1}));
    EXPECT_TRUE(history.canRedo());
    history.undo(model);
    EXPECT_EQ(pts(model.vertices), lines({}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(model).restored);

    history.redo(model);
    history.redo(model);
    EXPECT_EQ(pts(model.vertices), lines({1, 2}));
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(model).restored);
}

TEST_F(UndoHistoryTest, NewSnapshotDropsTheRedoEntries) {
    drawLine(1);
    drawLine(2);
    drawLine(3);
    history.undo(model);
    history.undo(model);
    drawLine(4);
    EXPECT_EQ(history.size(), 3u);
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(model).restored);
    history.undo(model);
    EXPECT_EQ(pts(model.vertices), lines({1}));
}

TEST_F(UndoHistoryTest, UndoReachesAcrossAClearedDrawing) {
    drawLine(1);
    model.filePath = "/a/b.rkm";
    model.displayName = "b.rkm";
    clearVertices(model);  // as New does
    model.modified = false;
    history.recordSnapshot(model);

    history.undo(model);
    EXPECT_EQ(pts(model.vertices), lines({1}));
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(model.filePath, "/a/b.rkm");
    EXPECT_EQ(model.displayName, "b.rkm");
}

TEST_F(UndoHistoryTest, AppearanceOnlyChangeIsUndoneWithoutTouchingVertices) {
    drawLine(1);
    model.vertices[0].wobbleDx = 2;
    history.recordSnapshot(model);
    model.vertices[0].wobbleDx = -3;  // a later wobble step
    ModelProperties changed = model.properties;
    changed.lineColor = {200, 0, 0};
    changed.shadowColor = {0, 200, 0};
    changed.lineWidth = 10;
    setProperties(model, changed);
    history.recordSnapshot(model);

    const RestoreOutcome outcome = history.undo(model);
    EXPECT_TRUE(outcome.restored);
    EXPECT_FALSE(outcome.sizeChanged);
    EXPECT_EQ(model.properties, ModelProperties{});
    EXPECT_EQ(pts(model.vertices), lines({1}));
    EXPECT_EQ(model.vertices[0].wobbleDx, 2);  // the stored jitter, until the next step

    EXPECT_FALSE(history.redo(model).sizeChanged);
    EXPECT_EQ(model.properties, changed);
}

TEST_F(UndoHistoryTest, SizeChangeIsUndoneAndReported) {
    applyCanvasSize(model, 300, 200);
    model.properties.vtrSpeed = 90;
    history.recordSnapshot(model);

    RestoreOutcome outcome = history.undo(model);
    EXPECT_TRUE(outcome.sizeChanged);
    EXPECT_EQ(model.properties, ModelProperties{});
    outcome = history.redo(model);
    EXPECT_TRUE(outcome.sizeChanged);
    EXPECT_EQ(model.properties.width, 300);
    EXPECT_EQ(model.properties.height, 200);
    EXPECT_EQ(model.properties.vtrSpeed, 90);
}

TEST_F(UndoHistoryTest, RestoreEndsTheSelection) {
    drawLine(1);
    drawLine(2);
    for (Vertex& v : model.vertices)
        v.selected = 1;
    model.selectionExists = true;

    history.undo(model);
    EXPECT_FALSE(model.selectionExists);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());
}

TEST_F(UndoHistoryTest, SnapshotIsAnIndependentCopy) {
    drawLine(1);
    model.vertices[0].x = 999;  // changed in place, as move does
    EXPECT_EQ(history.current().vertexImages.size(), 24u);
    history.recordSnapshot(model);
    history.undo(model);
    EXPECT_EQ(model.vertices[0].x, 1);
}

TEST_F(UndoHistoryTest, RestartKeepsOnlyTheDrawingAsItIs) {
    drawLine(1);
    drawLine(2);
    history.undo(model);
    ASSERT_TRUE(history.canUndo());
    ASSERT_TRUE(history.canRedo());
    applyCanvasSize(model, 300, 200);

    history.restart(model);
    EXPECT_EQ(history.size(), 1u);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.undo(model).restored);
    EXPECT_EQ(history.current().vertexImages.size(), 24u);
    EXPECT_EQ(history.current().properties, model.properties);

    // Editing goes on from there, and undo comes back to the restarted drawing.
    drawLine(3);
    EXPECT_EQ(history.size(), 2u);
    EXPECT_FALSE(history.undo(model).sizeChanged);
    EXPECT_EQ(pts(model.vertices), lines({1}));
    EXPECT_EQ(model.properties.width, 300);
    EXPECT_FALSE(history.canUndo());
}

}  // namespace
}  // namespace rek
