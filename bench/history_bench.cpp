// The undo history against the whole-copy history it replaced (reproduced below as
// FullCopyHistory), on the same sessions:
// - Session: 4 000 strokes of 10 vertices, an entry after each; the counters give the bytes
//   the history holds (counted, shared chunks once) and how much the resident set grew.
//   "Wobbling" renews every wobble offset before each stroke, as the wobble timer does; "still"
//   leaves them alone.
// - UndoRedo: one undo or one redo (alternately) at the end of that session, 40 000 vertices.
// - Stroke: drawing a stroke of 10 vertices and recording it, on a drawing of 100 000 (and
//   up to 10 000 more as the strokes pile up); "wobbling" renews the offsets (untimed) first.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "model/undo_history.h"

namespace {

// The history as it was: a whole copy of the model in every entry.
class FullCopyHistory {
  public:
    bool recordSnapshot(const rek::Model& model) {
        rek::UndoSnapshot snapshot{model.properties, {}};
        snapshot.vertexImages.resize(model.vertices.size() * rek::kVertexImageSize);
        std::uint8_t* out = snapshot.vertexImages.data();
        for (const rek::Vertex& vertex : model.vertices) {
            const rek::VertexImage image = rek::encodeVertexImage(vertex);
            for (std::uint8_t byte : image)
                *out++ = byte;
        }
        entries_.resize(entries_.empty() ? 0 : current_ + 1);
        entries_.push_back(std::move(snapshot));
        current_ = entries_.size() - 1;
        return true;
    }
    rek::RestoreOutcome undo(rek::Model& model) { return restore(model, current_ - 1); }
    rek::RestoreOutcome redo(rek::Model& model) { return restore(model, current_ + 1); }
    std::size_t storedBytes() const {
        std::size_t bytes = entries_.capacity() * sizeof(rek::UndoSnapshot);
        for (const rek::UndoSnapshot& entry : entries_)
            bytes += entry.vertexImages.capacity();
        return bytes;
    }

  private:
    rek::RestoreOutcome restore(rek::Model& model, std::size_t index) {
        const rek::UndoSnapshot& entry = entries_.at(index);
        rek::VertexList restored;
        const std::size_t count = entry.vertexImages.size() / rek::kVertexImageSize;
        restored.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            restored.push_back(
                rek::decodeVertexImage(entry.vertexImages.data() + i * rek::kVertexImageSize));
        }
        current_ = index;
        model.vertices.swap(restored);
        model.selectionExists = false;
        return {true, rek::setProperties(model, entry.properties).size};
    }

    std::vector<rek::UndoSnapshot> entries_;
    std::size_t current_ = 0;
};

double residentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

void drawStroke(rek::Model& model, std::int32_t row) {
    for (std::int32_t i = 0; i < 10; ++i)
        rek::appendVertex(model, 10 + 7 * i, row % 600, i > 0);
}

// What the wobble timer does between edits: every offset renewed.
void renewOffsets(rek::Model& model, std::uint32_t& seed) {
    for (rek::Vertex& vertex : model.vertices) {
        seed = seed * 214013u + 2531011u;
        vertex.wobbleDx = static_cast<std::int8_t>((seed >> 16) % 7 - 3);
        vertex.wobbleDy = static_cast<std::int8_t>((seed >> 24) % 7 - 3);
    }
}

template <typename History>
void drawSession(rek::Model& model, History& history, int strokes, bool wobbling) {
    std::uint32_t seed = 1;
    history.recordSnapshot(model);
    for (int s = 0; s < strokes; ++s) {
        if (wobbling)
            renewOffsets(model, seed);
        drawStroke(model, s);
        history.recordSnapshot(model);
    }
}

template <typename History>
void BM_Session(benchmark::State& state) {
    const bool wobbling = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double residentBefore = residentMegabytes();
        state.ResumeTiming();

        rek::Model model;
        History history;
        drawSession(model, history, 4000, wobbling);

        state.PauseTiming();
        state.counters["history_MB"] = static_cast<double>(history.storedBytes()) / 1e6;
        state.counters["rss_growth_MB"] = residentMegabytes() - residentBefore;
        state.counters["vertices"] = static_cast<double>(model.vertices.size());
        state.ResumeTiming();
    }
    state.SetLabel(wobbling ? "wobbling" : "still");
}

template <typename History>
void BM_UndoRedo(benchmark::State& state) {
    const bool wobbling = state.range(0) != 0;
    rek::Model model;
    History history;
    drawSession(model, history, 4000, wobbling);
    bool back = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(back ? history.undo(model) : history.redo(model));
        back = !back;
    }
    state.counters["vertices"] = static_cast<double>(model.vertices.size());
    state.SetLabel(wobbling ? "wobbling" : "still");
}

template <typename History>
void BM_Stroke(benchmark::State& state) {
    const bool wobbling = state.range(0) != 0;
    rek::Model model;
    for (std::int32_t s = 0; s < 10'000; ++s)
        drawStroke(model, s);
    History history;
    history.recordSnapshot(model);
    std::int32_t row = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        if (wobbling) {
            state.PauseTiming();
            renewOffsets(model, seed);
            state.ResumeTiming();
        }
        drawStroke(model, ++row);
        history.recordSnapshot(model);
    }
    state.counters["vertices"] = static_cast<double>(model.vertices.size());
    state.SetLabel(wobbling ? "wobbling" : "still");
}

using Shared = rek::UndoHistory;

BENCHMARK(BM_Session<Shared>)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Session<FullCopyHistory>)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedo<Shared>)->Arg(0)->Arg(1)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedo<FullCopyHistory>)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
// Fixed counts keep the drawing near 100 000 vertices (and the whole copies within memory).
BENCHMARK(BM_Stroke<Shared>)->Arg(0)->Arg(1)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stroke<FullCopyHistory>)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
