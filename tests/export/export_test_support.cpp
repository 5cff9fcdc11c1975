#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

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

EditorState twoSegmentModel() {
    EditorState state;
    state.random.seed(7);
    state.model.vertices = {vertexAt(50, 100, VertexKind::StrokeStart),
                            vertexAt(750, 100, VertexKind::Joined),
                            vertexAt(697, 396, VertexKind::Joined)};
    return state;
}

EditorState shortLineModel(int length) {
    EditorState state;
    state.random.seed(7);
    state.model.vertices = {vertexAt(100, 100, VertexKind::StrokeStart),
                            vertexAt(100 + length, 100, VertexKind::Joined)};
    return state;
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

void RecordingObserver::pumpEvents() {
    ++pumps;
    if (watched != nullptr) {
        busyAtEveryPump = busyAtEveryPump && watched->exportBusy;
        wobbleAtEveryPump = wobbleAtEveryPump && watched->wobbleEnabled;
    }
}

}  // namespace rek::test
