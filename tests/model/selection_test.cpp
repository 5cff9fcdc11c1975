#include "model/selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/undo_history.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

// A drawing of strokes along y = 0 at x = 1, 2, 3, ...: each number is a stroke's length.
Model drawing(std::initializer_list<int> strokes, std::initializer_list<std::size_t> selected) {
    Model model;
    std::int32_t x = 1;
    for (int length : strokes) {
        for (int i = 0; i < length; ++i)
            model.vertices.push_back(test::makeVertex(x++, 0, i > 0));
    }
    for (std::size_t i : selected)
        model.vertices.at(i).selected = 1;
    model.selectionExists = true;
    return model;
}

void expectNothingSelected(const Model& model) {
    EXPECT_FALSE(model.selectionExists);
    for (const Vertex& v : model.vertices)
        EXPECT_FALSE(v.isSelected());
}

TEST(Selection, SelectAllInvertAndDeselectMarkWithoutEditing) {
    Model model;
    selectAll(model);
    EXPECT_TRUE(model.selectionExists);  // even with nothing to select

    model = drawing({3}, {1});
    invertSelection(model);
    EXPECT_TRUE(model.vertices[0].isSelected() && !model.vertices[1].isSelected() &&
                model.vertices[2].isSelected() && model.selectionExists);
    selectAll(model);
    invertSelection(model);  // inverting everything ends the selection
    expectNothingSelected(model);
    selectAll(model);
    deselectAll(model);
    expectNothingSelected(model);
    EXPECT_FALSE(model.modified);
}

TEST(Selection, DeletingLinesTakesTheSegmentsWithBothEndsSelected) {
    struct Case {
        const char* what;
        Model model;
        std::vector<Pt> left;
        std::size_t snapshots;  // deleting the tail segment records one more on the way
        bool modified;
    };
    const Case cases[] = {
        {"inside a stroke: split",
         drawing({4}, {1, 2}),
         {{1, 0, true}, {2, 0, false}, {3, 0, true}, {4, 0, false}},
         1,
         true},
        {"a one-segment stroke: both ends go",
         drawing({2, 2}, {0, 1}),
         {{3, 0, true}, {4, 0, false}},
         1,
         true},
        {"a whole stroke; a lone selected vertex stays",
         drawing({3, 3}, {0, 1, 2, 4}),
         {{4, 0, true}, {5, 0, false}, {6, 0, false}},
         1,
         true},
        {"the tail segment", drawing({3}, {1, 2}), {{1, 0, true}, {2, 0, false}}, 2, true},
        {"everything", drawing({3}, {0, 1, 2}), {}, 2, true},
        {"only lone vertices: nothing",
         drawing({3, 1}, {0, 2, 3}),
         {{1, 0, true}, {2, 0, false}, {3, 0, false}, {4, 0, true}},
         1,
         false},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.what);
        UndoHistory history;
        deleteSelectedLines(c.model, history);
        EXPECT_EQ(pts(c.model.vertices), c.left);
        EXPECT_EQ(history.size(), c.snapshots);
        EXPECT_EQ(c.model.modified, c.modified);
        expectNothingSelected(c.model);
    }
}

TEST(Selection, DeleteLastVertexTakesDanglingStrokeStartsAndAlwaysRecords) {
    Model model = drawing({2, 2}, {});
    UndoHistory history;
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

    // On an empty drawing it still records a snapshot, which ends the redo entries.
    UndoHistory fresh;
    fresh.recordSnapshot(model);
    appendVertex(model, 1, 1, false);
    fresh.recordSnapshot(model);
    fresh.undo(model);
    ASSERT_TRUE(fresh.canRedo());
    model.modified = false;
    deleteLastVertex(model, fresh);
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(fresh.size(), 2u);
    EXPECT_FALSE(fresh.canRedo());
    EXPECT_TRUE(fresh.current().vertexImages.empty());
}

}  // namespace
}  // namespace rek
