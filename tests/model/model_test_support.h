#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/model.h"

namespace rek::test {

// A fresh folder for one test, below the test framework's temporary folder, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::path(::testing::TempDir()) /
                ("rek_model_" + std::string(info->test_suite_name()) + "_" + info->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Little-endian byte building for hand-made model files.
class Bytes {
  public:
    Bytes& i32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            data_.push_back((bits >> shift) & 0xFF);
        return *this;
    }
    Bytes& u8(std::initializer_list<int> values) {
        for (int v : values)
            data_.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& text(const std::string& s) {
        data_.insert(data_.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& vertex(std::int32_t x, std::int32_t y, int kind, int dx = 0, int dy = 0,
                  int reserved = 0) {
        return i32(x).i32(y).u8({kind, dx, dy, reserved});
    }
    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

  private:
    std::vector<std::uint8_t> data_;
};

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::string& path);

// Builds a drawing from (x, y, joined) triples through appendVertex.
struct Pt {
    std::int32_t x;
    std::int32_t y;
    bool joined;
};
Model modelWith(std::initializer_list<Pt> points);

inline bool sameVertex(const Vertex& a, const Vertex& b) {
    return a.x == b.x && a.y == b.y && a.kind == b.kind && a.wobbleDx == b.wobbleDx &&
           a.wobbleDy == b.wobbleDy && a.reserved == b.reserved && a.selected == b.selected;
}

// Whole-model equality, for "nothing changed" checks.
inline ::testing::AssertionResult sameModel(const Model& a, const Model& b) {
    if (!(a.properties == b.properties))
        return ::testing::AssertionFailure() << "properties";
    if (a.vertices.size() != b.vertices.size()) {
        return ::testing::AssertionFailure()
               << "vertex count " << a.vertices.size() << " vs " << b.vertices.size();
    }
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        if (!sameVertex(a.vertices[i], b.vertices[i])) {
            return ::testing::AssertionFailure() << "vertex " << i;
        }
    }
    if (a.modified != b.modified || a.selectionExists != b.selectionExists ||
        a.filePath != b.filePath || a.displayName != b.displayName) {
        return ::testing::AssertionFailure() << "flags or names";
    }
    return ::testing::AssertionSuccess();
}

// Positions and kinds only, as "x,y,k x,y,k ..." for readable expectations.
std::string shape(const Model& model);

}  // namespace rek::test
