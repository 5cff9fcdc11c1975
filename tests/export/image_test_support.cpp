#include "image_test_support.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <random>

namespace rek::test {

std::vector<std::uint32_t> makePixels(int width, int height,
                                      const std::function<ColorRgb(int x, int y)>& colourAt) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorRgb c = colourAt(x, y);
            pixels[static_cast<std::size_t>(y) * width + x] =
                (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
        }
    }
    return pixels;
}

std::unique_ptr<Image> makeImage(int width, int height,
                                 const std::function<ColorRgb(int x, int y)>& colourAt) {
    return Image::fromRgb(width, height, makePixels(width, height, colourAt));
}

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

namespace {

std::optional<std::string> run(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

std::string shellQuoted(const std::filesystem::path& file) {
    return "'" + file.string() + "'";
}

}  // namespace

bool imageMagickAvailable() {
    return run("command -v identify >/dev/null 2>&1 && command -v convert >/dev/null 2>&1")
        .has_value();
}

std::optional<std::string> identify(const std::string& format, const std::filesystem::path& file) {
    return run("identify -format '" + format + "' " + shellQuoted(file) + " 2>/dev/null");
}

std::optional<std::vector<std::uint8_t>> decodeRgb(const std::filesystem::path& file) {
    const std::optional<std::string> out =
        run("convert " + shellQuoted(file.string() + "[0]") + " -depth 8 rgb:- 2>/dev/null");
    if (!out) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(out->begin(), out->end());
}

}  // namespace rek::test
