#include "model/selection.h"

#include <gtest/gtest.h>

#include "model/undo_history.h"
#include "model_test_support.h"

namespace rek {
namespace {

using test::shape;

class SelectionTest : public ::testing::Test {
  protected:
    SelectionTest() { tool.mode = ToolMode::RangeSelect; }

    // Marks the vertices at the given positions in the list.
    void select(std::initializer_list<std::size_t> indices) {
        for (std::size_t i : indices)
            model.vertices.at(i).selected = 1;
        model.selectionExists = true;
    }

    std::size_t deleteLines() {
        const std::size_t before = history.size();
        deleteSelectedLines(model, tool, history);
        return history.size() - before;
    }

    Model model;
    ToolState tool;
    UndoHistory history;
};

TEST_F(SelectionTest, SelectAllInvertAndDeselect) {
    selectAll(model, tool);
    EXPECT_TRUE(model.selectionExists);  // even with nothing to select

    model = test::modelWith({{1, 1, false}, {2, 2, true}, {3, 3, true}});
    select({1});
    invertSelection(model, tool);
    EXPECT_TRUE(model.vertices[0].isSelected());
    EXPECT_FALSE(model.vertices[1].isSelected());
    EXPECT_TRUE(model.selectionExists);

    selectAll(model, tool);
    invertSelection(model, tool);
    EXPECT_FALSE(model.selectionExists);

    selectAll(model, tool);
    tool.moveMode = true;
    tool.scaleMode = true;
    deselectAll(model, tool);
    EXPECT_FALSE(model.selectionExists);
    EXPECT_FALSE(tool.moveMode);
    EXPECT_FALSE(tool.scaleMode);
    EXPECT_EQ(tool.mode, ToolMode::RangeSelect);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());
    EXPECT_FALSE(model.modified);
}

TEST_F(SelectionTest, ToolbarRefreshOutsideRangeSelectEndsTheSelection) {
    model = test::modelWith({{1, 1, false}, {2, 2, true}});
    selectAll(model, tool);
    tool.moveMode = true;
    updateToolbarState(model, tool);
    EXPECT_TRUE(model.selectionExists);  // range select keeps it
    EXPECT_TRUE(tool.moveMode);

    tool.mode = ToolMode::Curve;
    updateToolbarState(model, tool);
    EXPECT_FALSE(model.selectionExists);
    EXPECT_FALSE(tool.moveMode);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());

    // Selecting outside range select does not survive its own refresh.
    selectAll(model, tool);
    EXPECT_FALSE(model.selectionExists);
}

TEST_F(SelectionTest, DeletingInsideAStrokeSplitsIt) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, true}, {4, 0, true}});
    select({1, 2});
    EXPECT_EQ(deleteLines(), 1u);
    EXPECT_EQ(shape(model), "1,0,1 2,0,2 3,0,1 4,0,2");
    EXPECT_TRUE(model.modified);
    EXPECT_FALSE(model.selectionExists);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());
}

TEST_F(SelectionTest, DeletingAOneSegmentStrokeRemovesBothEnds) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, false}, {4, 0, true}});
    select({0, 1});
    deleteLines();
    EXPECT_EQ(shape(model), "3,0,1 4,0,2");
}

TEST_F(SelectionTest, DeletingAWholeStrokeInTheMiddle) {
    model = test::modelWith(
        {{1, 0, false}, {2, 0, true}, {3, 0, true}, {4, 0, false}, {5, 0, true}, {6, 0, true}});
    select({0, 1, 2, 4});  // 4 is selected but its segment is not
    deleteLines();
    EXPECT_EQ(shape(model), "4,0,1 5,0,2 6,0,2");
}

TEST_F(SelectionTest, DeletingTheTailSegmentRecordsTwoSnapshots) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, true}});
    select({1, 2});
    EXPECT_EQ(deleteLines(), 2u);
    EXPECT_EQ(shape(model), "1,0,1 2,0,2");
    EXPECT_TRUE(model.modified);
    EXPECT_FALSE(model.selectionExists);
    EXPECT_EQ(history.current().vertexImages.size(), 24u);
}

TEST_F(SelectionTest, DeletingEverythingEmptiesTheDrawing) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, true}});
    selectAll(model, tool);
    deleteLines();
    EXPECT_EQ(shape(model), "");
}

TEST_F(SelectionTest, LoneSelectedVerticesAreKeptButSelectionEnds) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, true}, {4, 0, false}});
    select({0, 2, 3});
    tool.scaleMode = true;
    EXPECT_EQ(deleteLines(), 1u);
    EXPECT_EQ(shape(model), "1,0,1 2,0,2 3,0,2 4,0,1");
    EXPECT_FALSE(model.modified);
    EXPECT_FALSE(model.selectionExists);
    EXPECT_FALSE(tool.scaleMode);
}

TEST_F(SelectionTest, DeleteLastVertexTakesDanglingStrokeStarts) {
    model = test::modelWith({{1, 0, false}, {2, 0, true}, {3, 0, false}, {4, 0, true}});
    deleteLastVertex(model, history);
    EXPECT_EQ(shape(model), "1,0,1 2,0,2");
    EXPECT_TRUE(model.modified);
    deleteLastVertex(model, history);
    EXPECT_EQ(shape(model), "");
    EXPECT_EQ(history.size(), 2u);

    // A vertex of an unknown kind is a tail like any other.
    model.vertices = {Vertex{1, 1, 1}, Vertex{2, 2, 7}};
    deleteLastVertex(model, history);
    EXPECT_EQ(shape(model), "");
}

TEST_F(SelectionTest, DeleteLastVertexOnEmptyDrawingStillRecordsASnapshot) {
    history.recordSnapshot(model);
    appendVertex(model, 1, 1, false);
    history.recordSnapshot(model);
    history.undo(model, tool);
    ASSERT_TRUE(history.canRedo());
    model.modified = false;

    deleteLastVertex(model, history);
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(history.size(), 2u);
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(history.current().vertexImages.empty());
}

}  // namespace
}  // namespace rek
