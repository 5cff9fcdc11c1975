#pragma once

// What the canvas tests share beyond the vertex builders of tests/support: a bench for single
// tools, an editor holding a given drawing, and a log of the editor's change notifications.

#include <gtest/gtest.h>

#include <QImage>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "canvas/editor.h"
#include "canvas/tool.h"
#include "model/model.h"
#include "render/random.h"
#include "vertex_builders.h"

namespace rek::test {

// The first seed whose first two draws satisfy `wanted`, so a test states the draws it needs
// instead of a magic seed.
inline std::uint32_t seedWhere(const std::function<bool(int, int)>& wanted) {
    for (std::uint32_t seed = 1;; ++seed) {
        Random random(seed);
        const int first = random.next();
        const int second = random.next();
        if (wanted(first, second))
            return seed;
    }
}

// One tool on its own: the model, generator and drag start a context refers to.
struct ToolBench {
    Model model;
    Random random{1};
    Point dragStart;

    ToolContext at(Point pointer, KeyModifiers keys = {}) {
        return ToolContext{model, random, pointer, dragStart, keys};
    }
};

inline ModelProperties canvasOfSize(std::int32_t width, std::int32_t height) {
    ModelProperties properties;
    properties.width = width;
    properties.height = height;
    return properties;
}

// Puts a drawing in the editor as opening a legacy file does (the properties stay) and starts
// the history afresh: the drawing is its one entry.
inline void loadDrawing(Editor& editor, VertexList vertices) {
    editor.replaceDocument(ModelFileContents{std::nullopt, std::move(vertices)}, "", "", false);
    editor.restartHistory();
}

inline VertexList strokes(std::initializer_list<std::initializer_list<Point>> list) {
    VertexList vertices;
    for (const auto& stroke : list)
        addStroke(vertices, stroke);
    return vertices;
}

// Snapshots recorded since the history's first entry.
inline std::size_t recorded(const Editor& editor) {
    return editor.historySize() - 1;
}

inline std::vector<bool> selectedFlags(const Editor& editor) {
    std::vector<bool> flags;
    for (const Vertex& v : editor.model().vertices)
        flags.push_back(v.isSelected());
    return flags;
}

// Every changed() an editor emits, in order.
class ChangeLog {
  public:
    explicit ChangeLog(Editor& editor) {
        QObject::connect(&editor, &Editor::changed, &receiver_,
                         [this](const EditorChanges& changes) { entries.push_back(changes); });
    }

    // What the one notification since the last take reported, as "title mode properties
    // canvasSize" with the flags left out that were not set; fails the test unless there was
    // exactly one.
    std::string takeOne() {
        EXPECT_EQ(entries.size(), 1u);
        const EditorChanges last = entries.empty() ? EditorChanges{} : entries.back();
        entries.clear();
        std::string flags;
        const auto add = [&](bool set, const char* name) {
            if (set)
                flags += flags.empty() ? name : std::string(" ") + name;
        };
        add(last.title, "title");
        add(last.mode, "mode");
        add(last.properties, "properties");
        add(last.canvasSize, "canvasSize");
        return flags;
    }
    bool quiet() {
        const bool none = entries.empty();
        entries.clear();
        return none;
    }

    std::vector<EditorChanges> entries;

  private:
    QObject receiver_;  // ends the connection when the log goes before the editor
};

inline int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour)
                ++count;
        }
    }
    return count;
}

}  // namespace rek::test
