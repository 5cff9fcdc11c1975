#include "model/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/selection.h"
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

    EXPECT_FALSE(history.redo(model).sizeChanged);
    EXPECT_EQ(model.properties, changed);
}

// The history keeps no wobble offsets: a restored vertex wobbles as the live one at its index
// did, one beyond the live list starts still. Both ways a list is rebuilt: in its own memory,
// and in a fresh one (it must grow, or gives memory back).
TEST(UndoHistoryOffsetTest, RestoredVerticesKeepTheLiveOffsetsAndNewOnesStartStill) {
    for (const bool freshList : {false, true}) {
        SCOPED_TRACE(freshList ? "fresh list" : "in place");
        Model model;
        UndoHistory history;
        history.recordSnapshot(model);
        for (std::int32_t i = 0; i < 3; ++i)
            appendVertex(model, i, 0, i > 0);
        model.vertices[0].wobbleDx = 9;  // recorded with the entry, not kept by it
        history.recordSnapshot(model);
        for (std::int32_t i = 0; i < 4; ++i)
            appendVertex(model, i, 1, i > 0);
        history.recordSnapshot(model);
        if (freshList) {
            // A large list going back to a small one is rebuilt in fresh memory.
            model.vertices.reserve(10'000);
        }
        for (std::size_t i = 0; i < model.vertices.size(); ++i) {
            model.vertices[i].wobbleDx = static_cast<std::int8_t>(i + 1);
            model.vertices[i].wobbleDy = static_cast<std::int8_t>(-1 - static_cast<int>(i));
        }

        ASSERT_TRUE(history.undo(model).restored);
        ASSERT_EQ(model.vertices.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(model.vertices[i].wobbleDx, static_cast<int>(i) + 1) << i;
            EXPECT_EQ(model.vertices[i].wobbleDy, -1 - static_cast<int>(i)) << i;
        }
        if (freshList)
            model.vertices.shrink_to_fit();  // the redo must grow the list

        ASSERT_TRUE(history.redo(model).restored);
        ASSERT_EQ(model.vertices.size(), 7u);
        EXPECT_EQ(pts(model.vertices, 3),
                  (std::vector<Pt>{{0, 1, true}, {1, 1, false}, {2, 1, false}, {3, 1, false}}));
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(model.vertices[i].wobbleDx, i < 3 ? static_cast<int>(i) + 1 : 0) << i;
            EXPECT_EQ(model.vertices[i].wobbleDy, i < 3 ? -1 - static_cast<int>(i) : 0) << i;
        }

        // Back to the empty drawing and forward again: nothing of the old offsets comes back.
        history.undo(model);
        history.undo(model);
        ASSERT_TRUE(model.vertices.empty());
        history.redo(model);
        for (const Vertex& vertex : model.vertices)
            EXPECT_TRUE(vertex.wobbleDx == 0 && vertex.wobbleDy == 0);
    }
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

// --- Shared storage ------------------------------------------------------------------------

// A drawing of `strokes` strokes of ten vertices, one history entry after each.
void drawStrokes(Model& model, UndoHistory& history, int strokes) {
    for (int s = 0; s < strokes; ++s) {
        const std::int32_t y = static_cast<std::int32_t>(model.vertices.size() / 10);
        for (std::int32_t i = 0; i < 10; ++i)
            appendVertex(model, i, y, i > 0);
        history.recordSnapshot(model);
    }
}

TEST(UndoHistoryStorageTest, StrokesCostTheirOwnVerticesNotTheWholeDrawing) {
    Model model;
    UndoHistory history;
    history.recordSnapshot(model);
    drawStrokes(model, history, 2000);
    // Whole copies would hold 2000 * 2001 / 2 * 10 vertices of 12 bytes: 240 MB.
    EXPECT_LT(history.storedBytes(), 2'000'000u);

    // Every entry still comes back whole.
    for (int i = 0; i < 1500; ++i)
        history.undo(model);
    ASSERT_EQ(model.vertices.size(), 5000u);
    EXPECT_EQ(model.vertices[4999].x, 9);
    EXPECT_EQ(model.vertices[4999].y, 499);
}

TEST(UndoHistoryStorageTest, AnEditStoresTheChunksItTouched) {
    Model model;
    for (std::int32_t i = 0; i < 100'000; ++i)
        model.vertices.push_back(test::makeVertex(i, -i, i % 10 != 0));
    UndoHistory history;
    history.recordSnapshot(model);
    const std::size_t drawing = history.storedBytes();
    EXPECT_GE(drawing, 100'000u * 12);

    // Moving one vertex copies its chunk, not the list.
    model.vertices[54'321].x += 5;
    history.recordSnapshot(model);
    const std::size_t moved = history.storedBytes() - drawing;
    EXPECT_LT(moved, UndoHistory::kDefaultChunkVertices * 12 + 8'000);

    // New wobble offsets everywhere and a stroke: only the stroke and the table are stored.
    for (Vertex& vertex : model.vertices) {
        vertex.wobbleDx = static_cast<std::int8_t>(vertex.x % 7 - 3);
        vertex.wobbleDy = static_cast<std::int8_t>(vertex.y % 5 - 2);
    }
    history.recordSnapshot(model);
    appendVertex(model, 1, 2, false);
    appendVertex(model, 3, 4, true);
    history.recordSnapshot(model);
    const std::size_t wobbled = history.storedBytes() - drawing - moved;
    EXPECT_LT(wobbled, 8'000u);

    history.undo(model);
    history.undo(model);
    EXPECT_EQ(model.vertices[54'321].x, 54'326);
    history.undo(model);
    EXPECT_EQ(model.vertices[54'321].x, 54'321);
    history.redo(model);
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

TEST(UndoHistoryStorageTest, DrawingAfterUndoLeavesTheOtherEntriesAlone) {
    // The stroke drawn after the undo goes where the undone one was stored.
    Model model;
    UndoHistory history(8);
    history.recordSnapshot(model);
    appendVertex(model, 1, 1, false);
    appendVertex(model, 2, 2, true);
    history.recordSnapshot(model);
    appendVertex(model, 3, 3, false);
    appendVertex(model, 4, 4, true);
    history.recordSnapshot(model);
    history.undo(model);
    appendVertex(model, 7, 7, false);
    appendVertex(model, 8, 8, true);
    history.recordSnapshot(model);

    const std::vector<Pt> first = {{1, 1, true}, {2, 2, false}};
    std::vector<Pt> second = first;
    second.push_back({7, 7, true});
    second.push_back({8, 8, false});
    EXPECT_EQ(pts(model.vertices), second);
    history.undo(model);
    EXPECT_EQ(pts(model.vertices), first);
    history.redo(model);
    EXPECT_EQ(pts(model.vertices), second);
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
