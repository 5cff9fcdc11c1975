// The history when memory runs out: every allocation of recordSnapshot or of a restore is made
// to fail in turn, and the history and model must be as they were each time. A program of its
// own, because it replaces the global operator new.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "model/undo_history.h"
#include "vertex_builders.h"

namespace {

// Allocations still allowed; negative: no limit.
long allocationsLeft = -1;

void* allocate(std::size_t size) {
    if (allocationsLeft == 0)
        throw std::bad_alloc();
    if (allocationsLeft > 0)
        --allocationsLeft;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

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
    return allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace rek {
namespace {

struct Entry {
    ModelProperties properties;
    VertexList vertices;
};

// Every entry of the history, oldest first, and where the current one stands; read from a copy
// so the history itself is not moved.
struct Contents {
    std::vector<Entry> entries;
    std::size_t current = 0;
};

Contents contentsOf(const UndoHistory& history) {
    UndoHistory copy = history;
    Model model;
    Contents contents;
    while (copy.undo(model).restored)
        ++contents.current;
    contents.entries.push_back({model.properties, model.vertices});
    while (copy.redo(model).restored)
        contents.entries.push_back({model.properties, model.vertices});
    return contents;
}

::testing::AssertionResult sameContents(const Contents& a, const Contents& b) {
    if (a.current != b.current || a.entries.size() != b.entries.size())
        return ::testing::AssertionFailure() << "entries or position differ";
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const VertexList& u = a.entries[i].vertices;
        const VertexList& v = b.entries[i].vertices;
        if (a.entries[i].properties != b.entries[i].properties || u.size() != v.size())
            return ::testing::AssertionFailure() << "entry " << i << " differs";
        for (std::size_t k = 0; k < u.size(); ++k) {
            if (u[k].x != v[k].x || u[k].y != v[k].y || u[k].kind != v[k].kind ||
                u[k].reserved != v[k].reserved)
                return ::testing::AssertionFailure() << "entry " << i << ", vertex " << k;
        }
    }
    return ::testing::AssertionSuccess();
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

void addStroke(Model& model) {
    for (std::int32_t i = 0; i < 6; ++i)
        appendVertex(model, i, 200, i > 0);
}

TEST(UndoHistoryMemoryTest, RecordingWithoutMemoryLeavesTheHistoryAsItWas) {
    for (const bool leaveRedo : {true, false}) {
        SCOPED_TRACE(leaveRedo ? "with entries to redo" : "appending in place");
        Model model;
        UndoHistory history(8);
        prepare(model, history, leaveRedo);
        const Contents before = contentsOf(history);

        long allowed = 0;
        while (!withAllocations(allowed, [&] { return history.recordSnapshot(model); })) {
            ASSERT_TRUE(sameContents(contentsOf(history), before)) << allowed << " allocations";
            ASSERT_EQ(history.canRedo(), leaveRedo);
            ++allowed;
        }
        EXPECT_GT(allowed, 2) << "the new entry needs its chunks and its table";

        // The failed attempts left nothing behind, not even in the spare room of a chunk: the
        // entries cost what they cost without them, also the next one.
        Model twinModel;
        UndoHistory twin(8);
        prepare(twinModel, twin, leaveRedo);
        twin.recordSnapshot(twinModel);
        EXPECT_TRUE(sameContents(contentsOf(history), contentsOf(twin)));
        addStroke(model);
        addStroke(twinModel);
        history.recordSnapshot(model);
        twin.recordSnapshot(twinModel);
        EXPECT_EQ(history.storedBytes(), twin.storedBytes());
    }
}

TEST(UndoHistoryMemoryTest, UndoWithoutMemoryLeavesTheModelAsItWas) {
    Model model;
    UndoHistory history(8);
    history.recordSnapshot(model);
    for (std::int32_t i = 0; i < 10; ++i)
        appendVertex(model, i, 0, i > 0);
    history.recordSnapshot(model);
    for (std::int32_t i = 0; i < 30; ++i)
        appendVertex(model, i, 1, i > 0);
    history.recordSnapshot(model);
    history.undo(model);
    model.vertices.shrink_to_fit();  // redo must find room for 40 vertices
    for (Vertex& vertex : model.vertices)
        vertex.wobbleDx = static_cast<std::int8_t>(vertex.x + 1);
    model.properties.lineWidth = 7;
    const VertexList before = model.vertices;

    const RestoreOutcome failed = withAllocations(0, [&] { return history.redo(model); });
    EXPECT_FALSE(failed.restored);
    ASSERT_EQ(model.vertices.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(model.vertices[i].x, before[i].x);
        EXPECT_EQ(model.vertices[i].wobbleDx, before[i].wobbleDx);
    }
    EXPECT_EQ(model.properties.lineWidth, 7);
    EXPECT_TRUE(history.canRedo());

    EXPECT_TRUE(history.redo(model).restored);
    ASSERT_EQ(model.vertices.size(), 40u);
    EXPECT_EQ(model.vertices[9].wobbleDx, 10);
    EXPECT_EQ(model.vertices[10].wobbleDx, 0);
    // Going back to fewer vertices needs no memory.
    EXPECT_TRUE(withAllocations(0, [&] { return history.undo(model); }).restored);
    EXPECT_EQ(model.vertices.size(), 10u);
    EXPECT_EQ(model.vertices[9].wobbleDx, 10);
}

}  // namespace
}  // namespace rek
