// Random editing sessions played on two models side by side: one with UndoHistory, one with a
// history that keeps a whole copy of every entry. After every step both models must agree in
// every stored byte, in the selection, the properties and what a restore leaves alone, and both
// histories in what they offer to undo and redo.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/selection.h"
#include "model/undo_history.h"
#include "model_test_support.h"

namespace rek {
namespace {

// What the history did before it shared anything: a full copy per entry. Like UndoHistory it
// restores no wobble offsets: the live ones stay, vertices beyond the live list start still.
class CopyingHistory {
  public:
    void record(const Model& model) {
        entries_.resize(entries_.empty() ? 0 : current_ + 1);
        entries_.push_back({model.properties, model.vertices});
        for (Vertex& vertex : entries_.back().second)
            vertex.selected = 0;
        current_ = entries_.size() - 1;
    }
    RestoreOutcome undo(Model& model) {
        return canUndo() ? restore(model, current_ - 1) : RestoreOutcome{};
    }
    RestoreOutcome redo(Model& model) {
        return canRedo() ? restore(model, current_ + 1) : RestoreOutcome{};
    }
    void restart(const Model& model) {
        entries_.clear();
        record(model);
    }
    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < entries_.size(); }
    std::size_t size() const { return entries_.size(); }

  private:
    RestoreOutcome restore(Model& model, std::size_t index) {
        current_ = index;
        VertexList restored = entries_[index].second;
        for (std::size_t i = 0; i < restored.size(); ++i) {
            const bool live = i < model.vertices.size();
            restored[i].wobbleDx = live ? model.vertices[i].wobbleDx : std::int8_t{0};
            restored[i].wobbleDy = live ? model.vertices[i].wobbleDy : std::int8_t{0};
        }
        model.vertices = std::move(restored);
        model.selectionExists = false;
        return RestoreOutcome{true, setProperties(model, entries_[index].first).size};
    }

    std::vector<std::pair<ModelProperties, VertexList>> entries_;
    std::size_t current_ = 0;
};

// The same random edit applied to both models, each with its own history.
class Session {
  public:
    Session(std::size_t chunkVertices, std::uint32_t seed)
        : history_(chunkVertices), chunkVertices_(chunkVertices), random_(seed) {
        shared_.filePath = copied_.filePath = "/a/b.rkm";  // which no restore touches
        history_.recordSnapshot(shared_);
        copying_.record(copied_);
    }

    // Plays one random step; returns what it did, for the failure message.
    std::string step() {
        const int choice = pick(0, 99);
        if (choice < 30)
            return addStroke();
        if (choice < 36)
            return deleteLines();
        if (choice < 40)
            return both([](Model& m, UndoHistory& h) { deleteLastVertex(m, h); }, "delete last");
        if (choice < 50)
            return transformSelection(choice < 46);
        if (choice < 54)
            return changeProperties();
        if (choice < 62)
            return wobble();
        if (choice < 66)
            return select();
        if (choice < 92)
            return undoRedo(choice < 80);
        if (choice < 94)
            return openDrawing();
        if (choice < 96)
            return newDrawing();
        if (choice < 97)
            return restart();
        return moveTailStart();
    }

    ::testing::AssertionResult agree() const {
        if (auto vertices = test::sameVertices(shared_.vertices, copied_.vertices); !vertices)
            return vertices;
        if (shared_.properties != copied_.properties)
            return ::testing::AssertionFailure() << "properties differ";
        if (shared_.selectionExists != copied_.selectionExists ||
            shared_.modified != copied_.modified || shared_.filePath != copied_.filePath)
            return ::testing::AssertionFailure() << "selection, modified or file path differs";
        if (history_.size() != copying_.size() || history_.canUndo() != copying_.canUndo() ||
            history_.canRedo() != copying_.canRedo())
            return ::testing::AssertionFailure() << "history size, undo or redo differs";
        // However the list was edited, the table stays near two runs a full chunk.
        const std::size_t bound = 2 * shared_.vertices.size() / chunkVertices_ + 2;
        if (history_.currentSegmentCount() > bound) {
            return ::testing::AssertionFailure() << history_.currentSegmentCount() << " runs for "
                                                 << shared_.vertices.size() << " vertices";
        }
        return ::testing::AssertionSuccess();
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    template <typename Edit>
    std::string both(Edit edit, const std::string& name) {
        edit(shared_, history_);
        // The same edit with a history of its own tells how many entries it recorded: deleting
        // a tail segment records one more on the way.
        UndoHistory counter;
        edit(copied_, counter);
        for (std::size_t i = 0; i < counter.size(); ++i)
            copying_.record(copied_);
        return name;
    }

    template <typename Change>
    void forBoth(Change change) {
        change(shared_);
        change(copied_);
    }

    std::string recorded(const std::string& name) {
        history_.recordSnapshot(shared_);
        copying_.record(copied_);
        return name;
    }

    std::string addStroke() {
        const int longest = pick(0, 19) == 0 ? 2 * static_cast<int>(chunkVertices_) + 5 : 12;
        const int count = pick(1, longest);
        // A small area, so that repeated points and reused stroke starts happen.
        std::int32_t x = pick(0, 40);
        std::int32_t y = pick(0, 40);
        for (int i = 0; i < count; ++i) {
            forBoth([&](Model& model) { appendVertex(model, x, y, i > 0); });
            x += pick(-2, 2);
            y += pick(-2, 2);
        }
        return recorded("stroke of " + std::to_string(count));
    }

    // A random selection: one range, or scattered vertices.
    std::string select() {
        const std::size_t size = shared_.vertices.size();
        std::vector<std::uint8_t> chosen(size, 0);
        if (size > 0 && pick(0, 1) == 0) {
            const auto from = static_cast<std::size_t>(pick(0, static_cast<int>(size) - 1));
            std::fill(chosen.begin() + from,
                      chosen.begin() + std::min(size, from + static_cast<std::size_t>(pick(1, 40))),
                      1);
        } else {
            const int odds = pick(2, 30);
            for (std::uint8_t& flag : chosen)
                flag = pick(0, odds) == 0 ? 1 : 0;
        }
        forBoth([&](Model& model) {
            for (std::size_t i = 0; i < size; ++i)
                model.vertices[i].selected = chosen[i];
            model.selectionExists = std::find(chosen.begin(), chosen.end(), 1) != chosen.end();
        });
        return "select";
    }

    std::string deleteLines() {
        if (pick(0, 1) == 0)
            wobble();
        select();
        return both([](Model& m, UndoHistory& h) { deleteSelectedLines(m, h); }, "delete lines");
    }

    std::string transformSelection(bool move) {
        const bool scale = !move;
        select();
        const std::int32_t dx = pick(-50, 50);
        const std::int32_t dy = pick(-50, 50);
        const std::int32_t percent = pick(10, 300);
        const auto moved = [&](std::int32_t value, std::int32_t by) {
            const std::int64_t v = scale ? std::int64_t{value} * percent / 100 : value + by;
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -9999, 9999));
        };
        forBoth([&](Model& model) {
            for (Vertex& vertex : model.vertices) {
                if (vertex.isSelected()) {
                    vertex.x = moved(vertex.x, dx);
                    vertex.y = moved(vertex.y, dy);
                }
            }
        });
        return recorded(scale ? "scale" : "move");
    }

    std::string changeProperties() {
        ModelProperties properties = shared_.properties;
        properties.width = pick(0, 3) == 0 ? pick(5, 900) : properties.width;
        properties.height = pick(0, 3) == 0 ? pick(5, 700) : properties.height;
        properties.lineWidth = pick(1, 20);
        properties.wobbleAmount = pick(0, 10);
        properties.lineColor = ColorRgb{static_cast<std::uint8_t>(pick(0, 255)), 0, 0};
        properties.shadowMode = pick(0, 1);
        forBoth([&](Model& model) { setProperties(model, properties); });
        return recorded("properties");
    }

    // The wobble renews every offset (or clears them all) without recording anything.
    std::string wobble() {
        const bool enabled = pick(0, 3) != 0;
        std::vector<std::int8_t> offsets(2 * shared_.vertices.size());
        for (std::int8_t& offset : offsets)
            offset = static_cast<std::int8_t>(enabled ? pick(-3, 3) : 0);
        forBoth([&](Model& model) {
            for (std::size_t i = 0; i < model.vertices.size(); ++i) {
                model.vertices[i].wobbleDx = offsets[2 * i];
                model.vertices[i].wobbleDy = offsets[2 * i + 1];
            }
        });
        return "wobble";
    }

    std::string undoRedo(bool undo) {
        const int times = pick(1, 4);
        for (int i = 0; i < times; ++i) {
            const RestoreOutcome a = undo ? history_.undo(shared_) : history_.redo(shared_);
            const RestoreOutcome b = undo ? copying_.undo(copied_) : copying_.redo(copied_);
            EXPECT_EQ(a.restored, b.restored);
            EXPECT_EQ(a.sizeChanged, b.sizeChanged);
        }
        return (undo ? "undo x" : "redo x") + std::to_string(times);
    }

    // A file's list, with the odd kinds, reserved bytes and offsets files may hold.
    std::string openDrawing() {
        VertexList vertices(
            static_cast<std::size_t>(pick(0, 3 * static_cast<int>(chunkVertices_))));
        for (Vertex& vertex : vertices) {
            vertex = test::storedVertex(pick(-1000, 1000), pick(-1000, 1000),
                                        static_cast<std::uint8_t>(pick(0, 4)), pick(-128, 127),
                                        pick(-128, 127), pick(0, 255));
        }
        forBoth([&](Model& model) {
            model.vertices = vertices;
            model.selectionExists = false;
        });
        return recorded("open " + std::to_string(vertices.size()));
    }

    std::string newDrawing() {
        forBoth([](Model& model) { clearVertices(model); });
        return recorded("new");
    }

    std::string restart() {
        history_.restart(shared_);
        copying_.restart(copied_);
        return "restart";
    }

    // A stroke start with no segment yet is moved by the next start (appendVertex reuses it).
    std::string moveTailStart() {
        const std::int32_t x = pick(0, 40);
        const std::int32_t y = pick(0, 40);
        forBoth([&](Model& model) {
            appendVertex(model, x, y, false);
            appendVertex(model, x + 1, y, false);
        });
        return recorded("reused start");
    }

    Model shared_;
    Model copied_;
    UndoHistory history_;
    CopyingHistory copying_;
    std::size_t chunkVertices_;
    std::mt19937 random_;
};

class UndoHistoryEquivalenceTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(UndoHistoryEquivalenceTest, RandomSessionsMatchAFullCopyHistory) {
    const std::size_t chunkVertices = GetParam();
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        Session session(chunkVertices, seed);
        std::string recent;  // the last steps, for the failure message
        for (int i = 0; i < 700; ++i) {
            recent = recent.substr(recent.size() > 200 ? recent.size() - 200 : 0) + " / " +
                     session.step();
            ASSERT_TRUE(session.agree())
                << "seed " << seed << ", step " << i << " (last steps" << recent << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, UndoHistoryEquivalenceTest,
                         ::testing::Values(1, 2, 3, 8, 64, UndoHistory::kDefaultChunkVertices));

}  // namespace
}  // namespace rek
