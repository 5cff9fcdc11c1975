#include "model/selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/undo_history.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::Pt;
using test::pts;

class SelectionTest : public ::testing::Test {
  protected:
    // Marks the vertices at the given positions in the list.
    void select(std::initializer_list<std::size_t> indices) {
        for (std::size_t i : indices)
            model.vertices.at(i).selected = 1;
        model.selectionExists = true;
    }

    std::size_t deleteLines() {
        const std::size_t before = history.size();
        deleteSelectedLines(model, history);
        return history.size() - before;
    }

    void expectNothingSelected() const {
        EXPECT_FALSE(model.selectionExists);
        for (const Vertex& v : model.vertices)
            EXPECT_FALSE(v.isSelected());
    }

    Model model;
    UndoHistory history;
};

TEST_F(SelectionTest, SelectAllInvertAndDeselect) {
    selectAll(model);
    EXPECT_TRUE(model.selectionExists);  // even with nothing to select

    model = Model{};
    addStroke(model.vertices, {{1, 1}, {2, 2}, {3, 3}});
    select({1});
    invertSelection(model);
    EXPECT_TRUE(model.vertices[0].isSelected());
    EXPECT_FALSE(model.vertices[1].isSelected());
    EXPECT_TRUE(model.vertices[2].isSelected());
    EXPECT_TRUE(model.selectionExists);

    selectAll(model);
    for (const Vertex& v : model.vertices)
        EXPECT_TRUE(v.isSelected());
    invertSelection(model);
    expectNothingSelected();

    selectAll(model);
    deselectAll(model);
    expectNothingSelected();
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 1, true}, {2, 2, false}, {3, 3, false}}));
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(history.size(), 0u);
}

TEST_F(SelectionTest, DeletingInsideAStrokeSplitsIt) {
    addStroke(model.vertices, {{1, 0}, {2, 0}, {3, 0}, {4, 0}});
    select({1, 2});
    EXPECT_EQ(deleteLines(), 1u);
    EXPECT_EQ(pts(model.vertices),
              (std::vector<Pt>{{1, 0, true}, {2, 0, false}, {3, 0, true}, {4, 0, false}}));
    EXPECT_TRUE(model.modified);
    expectNothingSelected();
}

TEST_F(SelectionTest, DeletingAOneSegmentStrokeRemovesBothEnds) {
    addStroke(model.vertices, {{1, 0}, {2, 0}});
    addStroke(model.vertices, {{3, 0}, {4, 0}});
    select({0, 1});
    deleteLines();
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{3, 0, true}, {4, 0, false}}));
}

TEST_F(SelectionTest, DeletingAWholeStrokeInTheMiddle) {
    addStroke(model.vertices, {{1, 0}, {2, 0}, {3, 0}});
    addStroke(model.vertices, {{4, 0}, {5, 0}, {6, 0}});
    select({0, 1, 2, 4});  // 4 is selected but its segment is not
    deleteLines();
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{4, 0, true}, {5, 0, false}, {6, 0, false}}));
}

TEST_F(SelectionTest, DeletingTheTailSegmentRecordsTwoSnapshots) {
    addStroke(model.vertices, {{1, 0}, {2, 0}, {3, 0}});
    select({1, 2});
    EXPECT_EQ(deleteLines(), 2u);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 0, true}, {2, 0, false}}));
    EXPECT_TRUE(model.modified);
    expectNothingSelected();
    EXPECT_EQ(history.current().vertexImages.size(), 24u);
}

TEST_F(SelectionTest, DeletingEverythingEmptiesTheDrawing) {
    addStroke(model.vertices, {{1, 0}, {2, 0}, {3, 0}});
    selectAll(model);
    deleteLines();
    EXPECT_TRUE(model.vertices.empty());
    expectNothingSelected();
}

TEST_F(SelectionTest, LoneSelectedVerticesAreKeptButSelectionEnds) {
    addStroke(model.vertices, {{1, 0}, {2, 0}, {3, 0}});
    addStroke(model.vertices, {{4, 0}});
    select({0, 2, 3});
    EXPECT_EQ(deleteLines(), 1u);
    EXPECT_EQ(pts(model.vertices),
              (std::vector<Pt>{{1, 0, true}, {2, 0, false}, {3, 0, false}, {4, 0, true}}));
    EXPECT_FALSE(model.modified);
    expectNothingSelected();
}

TEST_F(SelectionTest, DeleteLastVertexTakesDanglingStrokeStarts) {
    addStroke(model.vertices, {{1, 0}, {2, 0}});
    addStroke(model.vertices, {{3, 0}, {4, 0}});
    deleteLastVertex(model, history);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{1, 0, true}, {2, 0, false}}));
    EXPECT_TRUE(model.modified);
    deleteLastVertex(model, history);
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_EQ(history.size(), 2u);

    // A vertex of an unknown kind is a tail like any other.
    model.vertices = {Vertex{1, 1, 1}, Vertex{2, 2, 7}};
    deleteLastVertex(model, history);
    EXPECT_TRUE(model.vertices.empty());
}

TEST_F(SelectionTest, DeleteLastVertexOnEmptyDrawingStillRecordsASnapshot) {
    history.recordSnapshot(model);
    appendVertex(model, 1, 1, false);
    history.recordSnapshot(model);
    history.undo(model);
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
