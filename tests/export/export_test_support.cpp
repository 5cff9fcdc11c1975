#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace rek::test {

namespace {

Vertex vertexAt(int x, int y, VertexKind kind) {
    Vertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.kind = static_cast<std::uint8_t>(kind);
    return vertex;
}

}  // namespace

AnimationSnapshot twoSegmentModel() {
    AnimationSnapshot snapshot;
    snapshot.seed = 7;
    snapshot.vertices = {vertexAt(50, 100, VertexKind::StrokeStart),
                         vertexAt(750, 100, VertexKind::Joined),
                         vertexAt(697, 396, VertexKind::Joined)};
    return snapshot;
}

AnimationSnapshot shortLineModel(int length) {
    AnimationSnapshot snapshot;
    snapshot.seed = 7;
    snapshot.vertices = {vertexAt(100, 100, VertexKind::StrokeStart),
                         vertexAt(100 + length, 100, VertexKind::Joined)};
    return snapshot;
}

ExportPlan planFor(ExportTarget target, const ExportRequest& request,
                   const AnimationSnapshot& snapshot) {
    ExportValidation checked =
        validateExport(target, request, snapshot, std::numeric_limits<std::uint64_t>::max());
    if (const ExportError* refused = std::get_if<ExportError>(&checked)) {
        ADD_FAILURE() << "the request was refused: " << static_cast<int>(refused->code);
        // Something that runs: the smallest export of the same target.
        ExportRequest small;
        small.path = request.path;
        small.width = 1;
        small.height = 1;
        checked =
            validateExport(target, small, snapshot, std::numeric_limits<std::uint64_t>::max());
    }
    return std::get<ExportPlan>(std::move(checked));
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedGif decodeGif(const std::filesystem::path& file) {
    int error = 0;
    DecodedGif gif(DGifOpenFileName(file.c_str(), &error));
    if (!gif || DGifSlurp(gif.get()) != GIF_OK)
        return nullptr;
    return gif;
}

GraphicsControlBlock gifControl(GifFileType* gif, int frame) {
    GraphicsControlBlock gcb{};
    EXPECT_EQ(DGifSavedExtensionToGCB(gif, frame, &gcb), GIF_OK);
    return gcb;
}

bool gifLoopsForever(GifFileType* gif) {
    const SavedImage& first = gif->SavedImages[0];
    for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& app = first.ExtensionBlocks[i];
        const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
        if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
            std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0) {
            return data.ByteCount == 3 && data.Bytes[0] == 1 && data.Bytes[1] == 0 &&
                   data.Bytes[2] == 0;
        }
    }
    return false;
}

ColorRgb gifPixel(GifFileType* gif, int frame, int x, int y) {
    const SavedImage& image = gif->SavedImages[frame];
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifColorType c = map->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
    return {c.Red, c.Green, c.Blue};
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
