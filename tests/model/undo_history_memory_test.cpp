// The history when memory runs out: every allocation of recordSnapshot or of a restore is made
// to fail in turn, and the history and model must be as they were each time. A program of its
// own, because it replaces the global operator new.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "model/undo_history.h"
#include "model_test_support.h"

namespace {

long allocationsLeft = -1;  // negative: no limit

// Runs `action` with only `allowed` allocations; the limit is lifted again afterwards.
template <typename Action>
auto withAllocations(long allowed, Action action) {
    allocationsLeft = allowed;
    auto result = action();
    allocationsLeft = -1;
    return result;
}

}  // namespace

void* operator new(std::size_t size) {
    if (allocationsLeft == 0)
        throw std::bad_alloc();
    if (allocationsLeft > 0)
        --allocationsLeft;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace rek {
namespace {

// Every entry of the history, oldest first, and where the current one stands; read from a copy
// so the history itself is not moved.
::testing::AssertionResult sameContents(const UndoHistory& a, const UndoHistory& b) {
    UndoHistory copies[2] = {a, b};
    Model models[2];
    int position[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        while (copies[i].undo(models[i]).restored)
            ++position[i];
    }
    if (position[0] != position[1])
        return ::testing::AssertionFailure() << "position " << position[0] << " vs " << position[1];
    for (int entry = 0;; ++entry) {
        if (models[0].properties != models[1].properties)
            return ::testing::AssertionFailure() << "properties of entry " << entry;
        if (auto same = test::sameVertices(models[0].vertices, models[1].vertices); !same)
            return same << " in entry " << entry;
        const bool more = copies[0].redo(models[0]).restored;
        if (more != copies[1].redo(models[1]).restored)
            return ::testing::AssertionFailure() << "entry count";
        if (!more)
            return ::testing::AssertionSuccess();
    }
}

// A history of a few strokes across chunk boundaries, with two entries left to redo or not, and
// a model changed since: a long stroke and new wobble offsets (which no entry keeps).
void prepare(Model& model, UndoHistory& history, bool leaveRedo) {
    history.recordSnapshot(model);
    for (std::int32_t stroke = 0; stroke < 6; ++stroke) {
        for (std::int32_t i = 0; i < 5; ++i)
            appendVertex(model, i, stroke, i > 0);
        history.recordSnapshot(model);
    }
    if (leaveRedo) {
        history.undo(model);
        history.undo(model);
    }
    for (std::int32_t i = 0; i < 11; ++i)
        appendVertex(model, i, 100, i > 0);
    for (Vertex& vertex : model.vertices)
        vertex.wobbleDy = static_cast<std::int8_t>(vertex.x % 3);
    model.properties.lineWidth = 9;
}

TEST(UndoHistoryMemoryTest, RecordingWithoutMemoryLeavesTheHistoryAsItWas) {
    for (const bool leaveRedo : {true, false}) {
        SCOPED_TRACE(leaveRedo ? "with entries to redo" : "appending in place");
        Model model;
        UndoHistory history(8);
        prepare(model, history, leaveRedo);
        const UndoHistory before = history;

        long allowed = 0;
        while (!withAllocations(allowed, [&] { return history.recordSnapshot(model); })) {
            ASSERT_TRUE(sameContents(history, before)) << allowed << " allocations";
            ++allowed;
        }
        EXPECT_GT(allowed, 2) << "the new entry needs its chunks and its table";

        // The failed attempts left nothing behind, not even in the spare room of a chunk: the
        // entries cost what they cost without them, also the next one.
        Model twinModel;
        UndoHistory twin(8);
        prepare(twinModel, twin, leaveRedo);
        twin.recordSnapshot(twinModel);
        EXPECT_TRUE(sameContents(history, twin));
        for (Model* m : {&model, &twinModel}) {
            for (std::int32_t i = 0; i < 6; ++i)
                appendVertex(*m, i, 200, i > 0);
        }
        history.recordSnapshot(model);
        twin.recordSnapshot(twinModel);
        EXPECT_EQ(history.storedBytes(), twin.storedBytes());
    }
}

TEST(UndoHistoryMemoryTest, RedoWithoutMemoryLeavesTheModelAsItWas) {
    Model model;
    UndoHistory history(8);
    history.recordSnapshot(model);
    for (std::int32_t i = 0; i < 40; ++i) {
        appendVertex(model, i % 10, i / 10, i % 10 > 0);
        if (i == 9 || i == 39)
            history.recordSnapshot(model);
    }
    history.undo(model);
    model.vertices.shrink_to_fit();  // redo must find room for 40 vertices
    for (Vertex& vertex : model.vertices)
        vertex.wobbleDx = static_cast<std::int8_t>(vertex.x + 1);
    model.properties.lineWidth = 7;
    const VertexList before = model.vertices;

    EXPECT_FALSE(withAllocations(0, [&] { return history.redo(model); }).restored);
    EXPECT_TRUE(test::sameVertices(model.vertices, before));
    EXPECT_EQ(model.properties.lineWidth, 7);
    EXPECT_TRUE(history.canRedo());

    EXPECT_TRUE(history.redo(model).restored);
    ASSERT_EQ(model.vertices.size(), 40u);
    // Going back to fewer vertices needs no memory.
    EXPECT_TRUE(withAllocations(0, [&] { return history.undo(model); }).restored);
    EXPECT_EQ(model.vertices.size(), 10u);
    EXPECT_EQ(model.vertices[9].wobbleDx, 10);
}

}  // namespace
}  // namespace rek
