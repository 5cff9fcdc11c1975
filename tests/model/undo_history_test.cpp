// What undo and redo restore is played against a full-copy history in
// undo_history_equivalence_test.cpp; here what that cannot see: how much the history stores.

#include "model/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "vertex_builders.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

TEST(UndoHistoryStorageTest, AnEditStoresTheChunksItTouched) {
    Model model;
    for (std::int32_t i = 0; i < 100'000; ++i)
        model.vertices.push_back(test::makeVertex(i, -i, i % 10 != 0));
    UndoHistory history;
    history.recordSnapshot(model);
    const std::size_t drawing = history.storedBytes();

    // Moving one vertex copies its chunk, not the list; new wobble offsets everywhere and a
    // stroke store only the stroke and the table.
    model.vertices[54'321].x += 5;
    history.recordSnapshot(model);
    const std::size_t moved = history.storedBytes() - drawing;
    EXPECT_LT(moved, UndoHistory::kDefaultChunkVertices * 12 + 8'000);
    for (Vertex& vertex : model.vertices)
        vertex.wobbleDx = static_cast<std::int8_t>(vertex.x % 7 - 3);
    appendVertex(model, 1, 2, false);
    appendVertex(model, 3, 4, true);
    history.recordSnapshot(model);
    EXPECT_LT(history.storedBytes() - drawing - moved, 8'000u);

    history.undo(model);
    EXPECT_EQ(model.vertices[54'321].x, 54'326);
    history.undo(model);
    EXPECT_EQ(model.vertices[54'321].x, 54'321);
    history.redo(model);
    history.redo(model);
    EXPECT_EQ(model.vertices.size(), 100'002u);
    EXPECT_EQ(model.vertices[100'001].x, 3);
}

TEST(UndoHistoryStorageTest, SharedEndsOfTheListNeverOverlap) {
    // Removing B, A from A B A C leaves A C: the shared beginning (A) and end (C) meet where
    // the vertex before the removed run equals its last one, and must not both take it.
    const Pt a{0, 0, true};
    const Pt b{1, 1, false};
    const Pt c{2, 2, false};
    for (std::size_t chunk : {1u, 2u, 3u, 4u, 1024u}) {
        Model model;
        for (const Pt& p : {a, b, a, c})
            model.vertices.push_back(test::makeVertex(p.x, p.y, !p.start));
        UndoHistory history(chunk);
        history.recordSnapshot(model);
        model.vertices.erase(model.vertices.begin() + 1, model.vertices.begin() + 3);
        history.recordSnapshot(model);

        history.undo(model);
        EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{a, b, a, c})) << "chunks of " << chunk;
        history.redo(model);
        EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{a, c})) << "chunks of " << chunk;
    }
}

TEST(UndoHistoryStorageTest, UndoToASmallDrawingGivesTheMemoryBack) {
    Model model;
    UndoHistory history;
    history.recordSnapshot(model);
    model.vertices.assign(200'000, test::makeVertex(1, 1, false));
    history.recordSnapshot(model);
    history.undo(model);
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_LT(model.vertices.capacity(), 1'000u);
}

}  // namespace
}  // namespace rek
