#include "export_test_support.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>

namespace rek::test {

TempDir::TempDir() {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() /
           ("rek-export-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::size_t TempDir::entryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                  std::filesystem::directory_iterator()));
}

std::unique_ptr<Image> makeImage(int width, int height,
                                 const std::function<ColorRgb(int x, int y)>& colourAt) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorRgb c = colourAt(x, y);
            pixels.push_back((std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue);
        }
    }
    return Image::fromRgb(width, height, std::move(pixels));
}

std::optional<std::vector<std::uint8_t>> decodeRgb(const std::filesystem::path& file) {
    const std::string command = "convert '" + file.string() + "[0]' -depth 8 rgb:- 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.insert(out.end(), buffer, buffer + n);
    return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

AnimationSnapshot modelThrough(std::vector<std::pair<int, int>> points) {
    AnimationSnapshot snapshot;
    snapshot.seed = 7;
    for (const auto& [x, y] : points) {
        Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.kind = static_cast<std::uint8_t>(snapshot.vertices.empty() ? VertexKind::StrokeStart
                                                                          : VertexKind::Joined);
        snapshot.vertices.push_back(vertex);
    }
    return snapshot;
}

}  // namespace

AnimationSnapshot twoSegmentModel() {
    return modelThrough({{50, 100}, {750, 100}, {697, 396}});
}

AnimationSnapshot shortLineModel(int length) {
    return modelThrough({{100, 100}, {100 + length, 100}});
}

ExportPlan planFor(ExportTarget target, const ExportRequest& request,
                   const AnimationSnapshot& snapshot) {
    ExportValidation checked =
        validateExport(target, request, snapshot, std::numeric_limits<std::uint64_t>::max());
    if (const ExportError* refused = std::get_if<ExportError>(&checked))
        ADD_FAILURE() << "the request was refused: " << static_cast<int>(refused->code);
    return std::get<ExportPlan>(std::move(checked));  // throws when refused: the test fails
}

void RecordingProgress::stageChanged(ExportStage stage) {
    stages.push_back(stage);
    if (stopAtStage == stage)
        stop.request_stop();
}

void RecordingProgress::frameDone(std::uint64_t frames) {
    done.push_back(frames);
    if (stopAfterFrames == frames)
        stop.request_stop();
}

}  // namespace rek::test
