#pragma once

// What the shell's tests share beyond tests/support: drawings put into an editor, model files
// written for opening, and the caption every window and message box starts with.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <filesystem>
#include <initializer_list>
#include <utility>

#include "canvas/editor.h"
#include "model/model.h"
#include "model/model_file.h"
#include "vertex_builders.h"

namespace rek::test {

// "レクツール Ver.<version>", the version as the build's project() declares it.
inline QString programTitle() {
    return QStringLiteral("レクツール Ver." REK_EXPECTED_VERSION);
}

inline VertexList strokes(std::initializer_list<std::initializer_list<Point>> list) {
    VertexList vertices;
    for (const auto& stroke : list)
        addStroke(vertices, stroke);
    return vertices;
}

// Puts a drawing in the editor as opening a legacy file does (the properties stay, nothing is
// modified) and starts the history afresh with it.
inline void loadDrawing(Editor& editor, VertexList vertices) {
    editor.replaceDocument(ModelFileContents{std::nullopt, std::move(vertices)}, "", "", false);
    editor.restartHistory();
}

// A line drawn with the straight-line tool, as a drag from `from` to `to`: an edit that marks
// the model modified and records a snapshot.
inline void drawLine(Editor& editor, Point from, Point to) {
    ASSERT_EQ(editor.toolMode(), ToolMode::StraightLine);
    editor.samplePointer(from);
    editor.pressLeft({});
    editor.samplePointer(to);
    editor.movePointer(true, {});
    editor.releaseLeft({});
    ASSERT_TRUE(editor.model().modified);
}

// Writes a model file; a failure fails the test.
inline QString writeModelFile(const std::filesystem::path& path, VertexList vertices,
                              const ModelProperties& properties = {}) {
    Model model;
    model.properties = properties;
    model.vertices = std::move(vertices);
    const std::optional<ModelFileError> error = saveModel(model, path.string());
    EXPECT_FALSE(error.has_value()) << path;
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace rek::test
