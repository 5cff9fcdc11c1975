#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/image_library.h"

namespace rek::test {

// Packs a colour per pixel into 0x00RRGGBB words, top row first.
std::vector<std::uint32_t> makePixels(int width, int height,
                                      const std::function<ColorRgb(int x, int y)>& colourAt);
std::unique_ptr<Image> makeImage(int width, int height,
                                 const std::function<ColorRgb(int x, int y)>& colourAt);

// A fresh directory removed again at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }
    std::size_t entryCount() const;

  private:
    std::filesystem::path dir_;
};

// ImageMagick's reader: nullopt when the tools are missing or the command fails.
bool imageMagickAvailable();
std::optional<std::string> identify(const std::string& format, const std::filesystem::path& file);
// Top-down RGB bytes of the first frame as ImageMagick decodes it.
std::optional<std::vector<std::uint8_t>> decodeRgb(const std::filesystem::path& file);

}  // namespace rek::test
