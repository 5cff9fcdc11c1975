// What the UI thread spends on a recovery copy of a large drawing: the autosave's tick (compare,
// serialise, hand to the writer thread) beside the baseline of writing the copy on the UI
// thread itself. The first is what a frame may wait for.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "canvas/editor.h"
#include "model/model_file.h"
#include "shell/autosave.h"
#include "shell/recovery_store.h"

namespace {

rek::VertexList drawing(std::int64_t count) {
    rek::VertexList vertices;
    vertices.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        rek::Vertex vertex;
        vertex.x = static_cast<std::int32_t>(i % 800);
        vertex.y = static_cast<std::int32_t>((i / 800) % 600);
        vertex.kind = i % 10 == 0 ? 1 : 2;
        vertices.push_back(vertex);
    }
    return vertices;
}

// One more line, as a user draws it: the document differs from the last copy.
void drawOneLine(rek::Editor& editor, int step) {
    editor.samplePointer({10, step % 500});
    editor.pressLeft({});
    editor.samplePointer({300, step % 500 + 1});
    editor.movePointer(true, {});
    editor.releaseLeft({});
}

std::string scratchFolder(const char* name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    return folder.string();
}

void AutosaveTickOnTheUiThread(benchmark::State& state) {
    const std::string folder = scratchFolder("rek_autosave_bench");
    rek::Editor editor;
    editor.restoreDocument({std::nullopt, drawing(state.range(0))}, "", "");
    rek::RecoveryStore store(folder);
    store.claim();
    rek::Autosave autosave(editor, store);
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        autosave.writeNow();  // the previous copy is on disk; this one is due again
        drawOneLine(editor, ++step);
        state.ResumeTiming();
        autosave.tick();
    }
    autosave.removeCopy();
    std::filesystem::remove_all(folder);
}
BENCHMARK(AutosaveTickOnTheUiThread)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond);

void SynchronousCopyOnTheUiThread(benchmark::State& state) {
    const std::string folder = scratchFolder("rek_autosave_bench_baseline");
    std::filesystem::create_directories(folder);
    rek::Model model;
    model.vertices = drawing(state.range(0));
    const std::string path = folder + "/copy.rkm";
    for (auto _ : state)
        benchmark::DoNotOptimize(rek::saveModel(model, path));
    std::filesystem::remove_all(folder);
}
BENCHMARK(SynchronousCopyOnTheUiThread)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
