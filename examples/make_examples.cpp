// Builds the example models by driving the editor the way the mouse does: the pointer is set as
// each frame would sample it and the press, move, right-press and release operations do the
// rest. The random generator is seeded with a fixed value, so every run writes the same
// files. Usage: make_examples [output folder]

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "canvas/editor.h"
#include "model/model.h"
#include "model/model_file.h"

namespace rek {
namespace {

constexpr std::uint32_t kSeed = 1041;

// How far the hand moves between two sampled frames during a stroke. Small steps make the
// curve tool add a vertex every sixth frame, as on a slow, careful drag.
constexpr double kStepPixels = 3.0;

// A user's hand on the mouse. Every pointer change is one frame: the tools only ever see
// the pointer as a frame samples it.
class Hand {
  public:
    explicit Hand(Editor& editor) : editor_(editor) {}

    void useTool(ToolMode mode) { editor_.setToolMode(mode); }
    void holdKeys(KeyModifiers keys) { keys_ = keys; }

    // Glides to `to` in small steps; with the button down every step is a drag move.
    void glide(Point to) {
        const Point from = editor_.pointer();
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const int steps = std::max(1, static_cast<int>(std::hypot(dx, dy) / kStepPixels));
        for (int i = 1; i <= steps; ++i) {
            editor_.samplePointer(Point{from.x + static_cast<std::int32_t>(dx * i / steps),
                                        from.y + static_cast<std::int32_t>(dy * i / steps)});
            check(editor_.movePointer(buttonDown_, keys_));
        }
    }

    void press(Point at) {
        jumpTo(at);
        check(editor_.pressLeft(keys_));
        buttonDown_ = true;
    }
    void release() {
        buttonDown_ = false;
        check(editor_.releaseLeft(keys_));
    }
    void rightClick() { check(editor_.pressRight()); }

    // A straight-line stroke: press at the first point, right-click at each corner on the
    // way, release at the last.
    void polyline(std::initializer_list<Point> points) { polyline(std::vector<Point>(points)); }
    void polyline(const std::vector<Point>& points) {
        useTool(ToolMode::StraightLine);
        press(points.front());
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            glide(points[i]);
            rightClick();
        }
        glide(points.back());
        release();
    }

    // A freehand stroke along the given path.
    void curve(const std::vector<Point>& path) {
        useTool(ToolMode::Curve);
        press(path.front());
        for (std::size_t i = 1; i < path.size(); ++i)
            glide(path[i]);
        release();
    }

    // A drag from one corner to the other in a shape tool (or range select).
    void drag(ToolMode mode, Point from, Point to) {
        useTool(mode);
        press(from);
        glide(to);
        release();
    }

    // The V and Z keys.
    void toggleMove() { require(editor_.toggleMoveMode(), "move mode refused"); }
    void toggleScale() { require(editor_.toggleScaleMode(), "scale mode refused"); }

  private:
    // The pointer jumps while the button is up: nothing listens between strokes.
    void jumpTo(Point at) {
        editor_.samplePointer(at);
        check(editor_.movePointer(false, keys_));
    }

    static void check(const EditResult& result) { require(!result.outOfMemory, "tool failed"); }

    static void require(bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "make_examples: %s\n", what);
            std::exit(1);
        }
    }

    Editor& editor_;
    KeyModifiers keys_;
    bool buttonDown_ = false;
};

Point onEllipse(Point centre, double rx, double ry, double degrees) {
    const double radians = degrees * kDegreesToRadians;
    return Point{centre.x + static_cast<std::int32_t>(std::lround(std::cos(radians) * rx)),
                 centre.y + static_cast<std::int32_t>(std::lround(std::sin(radians) * ry))};
}

// Points along an elliptic arc, a few degrees apart, for the hand to follow.
std::vector<Point> arc(Point centre, double rx, double ry, double fromDegrees, double toDegrees) {
    std::vector<Point> path;
    const int steps = std::max(2, static_cast<int>(std::abs(toDegrees - fromDegrees) / 5));
    for (int i = 0; i <= steps; ++i)
        path.push_back(
            onEllipse(centre, rx, ry, fromDegrees + (toDegrees - fromDegrees) * i / steps));
    return path;
}

ModelProperties look(std::int32_t width, std::int32_t height, ColorRgb line, ColorRgb shadow,
                     ColorRgb background, std::int32_t lineWidth) {
    ModelProperties properties;
    properties.width = width;
    properties.height = height;
    properties.lineColor = line;
    properties.shadowColor = shadow;
    properties.backgroundColor = background;
    properties.lineWidth = lineWidth;
    return properties;
}

// A round face with spiky hair, a nose and a smile.
void drawFace(Editor& editor) {
    editor.acceptProperties(look(360, 360, {70, 40, 30}, {214, 150, 110}, {255, 226, 180}, 4),
                            false);
    Hand hand(editor);

    hand.drag(ToolMode::Circle, {70, 80}, {290, 320});
    hand.polyline({{86, 140},
                   {96, 62},
                   {128, 104},
                   {148, 36},
                   {178, 96},
                   {206, 34},
                   {230, 100},
                   {262, 56},
                   {274, 140}});
    hand.drag(ToolMode::Circle, {124, 158}, {168, 206});
    hand.drag(ToolMode::Circle, {192, 158}, {236, 206});
    hand.drag(ToolMode::FilledCircle, {138, 176}, {160, 200});
    hand.drag(ToolMode::FilledCircle, {206, 176}, {228, 200});
    hand.polyline({{182, 200}, {168, 240}, {190, 240}});
    hand.curve(arc({180, 250}, 58, 42, 165, 15));
    hand.drag(ToolMode::FilledCircle, {96, 238}, {132, 266});
    hand.drag(ToolMode::FilledCircle, {228, 238}, {264, 266});
}

// A house under a hatched roof, with a tree and the sun.
void drawHouse(Editor& editor) {
    editor.acceptProperties(look(480, 360, {35, 45, 80}, {120, 165, 205}, {178, 220, 245}, 3),
                            false);
    Hand hand(editor);

    // The ground, walked along by hand.
    std::vector<Point> ground;
    for (int x = 10; x <= 470; x += 20)
        ground.push_back({x, 322 + static_cast<std::int32_t>(std::lround(4 * std::sin(x * 0.05)))});
    hand.curve(ground);

    hand.drag(ToolMode::Rect, {120, 172}, {330, 320});
    hand.polyline({{100, 175}, {225, 80}, {350, 175}, {100, 175}});
    // The roof's hatch: a zig-zag from eave to ridge and back, a little inside the outline.
    std::vector<Point> hatch;
    bool up = false;
    for (int x = 118; x <= 332; x += 18, up = !up) {
        const int ridgeY = 80 + std::abs(x - 225) * 95 / 125;
        hatch.push_back({x, up ? ridgeY + 6 : 170});
    }
    hand.polyline(hatch);
    hand.drag(ToolMode::Rect, {272, 66}, {294, 116});
    // Smoke rising from the chimney in waves, drifting away from the sun.
    std::vector<Point> smoke;
    for (int rise = 0; rise <= 56; rise += 2) {
        const double wave = 12 * std::sin(rise * 2 * 3.141592 / 36);
        smoke.push_back({283 - rise / 2 + static_cast<std::int32_t>(std::lround(wave)), 62 - rise});
    }
    hand.curve(smoke);

    hand.drag(ToolMode::FilledRect, {142, 196}, {196, 244});
    hand.drag(ToolMode::FilledRect, {254, 196}, {308, 244});
    hand.drag(ToolMode::Rect, {204, 246}, {246, 320});
    hand.drag(ToolMode::FilledCircle, {232, 280}, {242, 290});

    hand.drag(ToolMode::Rect, {52, 236}, {68, 320});
    hand.drag(ToolMode::FilledCircle, {20, 150}, {100, 240});

    const Point sun{410, 60};
    hand.drag(ToolMode::FilledCircle, {382, 32}, {438, 88});
    for (int degrees = 0; degrees < 360; degrees += 45)
        hand.polyline({onEllipse(sun, 38, 38, degrees), onEllipse(sun, 54, 54, degrees)});
}

// One of everything: lines, a curve, the four shapes, and a star that is selected, enlarged
// and moved into place.
void drawTools(Editor& editor) {
    editor.acceptProperties(look(600, 400, {0, 0, 0}, {138, 72, 0}, {238, 156, 0}, 4), false);
    Hand hand(editor);

    hand.polyline({{30, 150}, {70, 40}, {110, 150}, {150, 40}, {190, 150}});

    std::vector<Point> spiral;
    for (int degrees = 0; degrees <= 3 * 360; degrees += 8) {
        const double radius = 4 + degrees * 0.05;
        spiral.push_back(onEllipse({300, 95}, radius, radius, degrees));
    }
    hand.curve(spiral);

    hand.drag(ToolMode::Rect, {410, 40}, {570, 150});
    hand.drag(ToolMode::Circle, {30, 200}, {190, 360});
    hand.drag(ToolMode::FilledRect, {220, 210}, {380, 350});
    hand.drag(ToolMode::FilledCircle, {410, 200}, {570, 360});

    // A small star in the middle of the filled rectangle...
    std::vector<Point> star;
    for (int k = 0; k <= 5; ++k)
        star.push_back(onEllipse({300, 280}, 20, 20, -90 + k * 144));
    hand.polyline(star);
    // ...selected with a band, enlarged to one and a half times about its centre...
    hand.drag(ToolMode::RangeSelect, {270, 250}, {331, 311});
    hand.toggleScale();
    hand.press({300, 280});
    hand.glide({350, 280});
    hand.release();
    hand.toggleScale();
    // ...and moved up into the gap between the rows.
    hand.toggleMove();
    hand.press({300, 280});
    hand.glide({300, 170});
    hand.release();
    hand.toggleMove();
    hand.useTool(ToolMode::StraightLine);
}

// The heavy example, the size of drawing the renderer is meant to animate at full frame rate:
// a quilt of 100-pixel tiles, in a checkerboard of light tiles holding one hatched shape and
// dense tiles stacked with hatched rectangles and circles and outlines until the drawing has
// kHeavyVertices vertices, most of them the ends of the long diagonals and chords of the
// hatch tools.
constexpr std::int32_t kHeavyVertices = 100000;

void drawHeavy(Editor& editor) {
    ModelProperties properties = look(800, 600, {40, 30, 70}, {170, 150, 215}, {250, 242, 220}, 4);
    // Opening a model replays it; at this speed the 3.2 million pixels of line take about five
    // seconds instead of an hour.
    properties.vtrSpeed = 20000;
    editor.acceptProperties(properties, false);
    Hand hand(editor);
    // The layout has its own sequence, so the tools' use of the editor's stays as it is.
    Random layout(2718);
    constexpr int kTile = 100;
    constexpr int kMargin = 6;
    auto shapeIn = [&](int column, int row, ToolMode tool, int smallest) {
        const int room = kTile - 2 * kMargin;
        const int width = smallest + layout.next() % (room - smallest + 1);
        const int height = smallest + layout.next() % (room - smallest + 1);
        const int x = column * kTile + kMargin + layout.next() % (room - width + 1);
        const int y = row * kTile + kMargin + layout.next() % (room - height + 1);
        hand.drag(tool, {x, y}, {x + width, y + height});
    };
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 8; ++column) {
            if ((row + column) % 2 == 1)
                shapeIn(column, row,
                        layout.next() % 2 ? ToolMode::FilledCircle : ToolMode::FilledRect, 50);
        }
    }
    const ToolMode tools[] = {ToolMode::FilledRect,   ToolMode::FilledCircle, ToolMode::FilledRect,
                              ToolMode::FilledCircle, ToolMode::Rect,         ToolMode::Circle};
    // Room for the closing stroke, which makes up the count exactly.
    constexpr std::int32_t kClosing = 40;
    int shapes = 0;
    while (countVertices(editor.model()) < kHeavyVertices - kClosing) {
        for (int tile = 0; tile < 24 && countVertices(editor.model()) < kHeavyVertices - kClosing;
             ++tile) {
            const int row = tile / 4;
            shapeIn(tile % 4 * 2 + row % 2, row, tools[layout.next() % 6], 20);
            // The history would keep a copy of the drawing for every shape.
            if (++shapes % 100 == 0)
                editor.restartHistory();
        }
    }
    // A zig-zag through the gaps of the bottom row brings the count to kHeavyVertices.
    std::vector<Point> closing;
    const int missing = kHeavyVertices - countVertices(editor.model());
    for (int i = 0; i < missing; ++i)
        closing.push_back({10 + i * 780 / std::max(missing - 1, 1), i % 2 == 0 ? 597 : 592});
    if (missing >= 2)
        hand.polyline(closing);
}

bool write(void (*draw)(Editor&), const std::string& folder, const char* name) {
    Editor editor;
    editor.seedRandom(kSeed);
    draw(editor);
    const std::string path = folder + "/" + name;
    const Model& model = editor.model();
    if (saveModel(model, path)) {
        std::fprintf(stderr, "make_examples: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %d vertices, %d x %d\n", path.c_str(), countVertices(model),
                model.properties.width, model.properties.height);
    return true;
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    bool ok = rek::write(rek::drawFace, folder, "face.rkm");
    ok = rek::write(rek::drawHouse, folder, "house.rkm") && ok;
    ok = rek::write(rek::drawTools, folder, "tools.rkm") && ok;
    ok = rek::write(rek::drawHeavy, folder, "heavy.rkm") && ok;
    return ok ? 0 : 1;
}
