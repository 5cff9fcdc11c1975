#include "model/model_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "file_helpers.h"
#include "model_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

using test::Bytes;
using test::storedVertex;

Bytes header(std::int32_t version, std::int32_t count) {
    return Bytes().text("REK2").u8({0, 0, 0, 0, 0, 0}).i32(version).i32(count);
}

// Every field a version-4 file holds.
Bytes version4Header(std::int32_t count, int shadowMode = 0) {
    return header(4, count)
        .i32(400)
        .i32(300)
        .i32(5)
        .i32(60)
        .u8({10, 20, 30, 40, 50, 60, 70, 80, 90})
        .i32(shadowMode)
        .i32(8);
}

class ModelFileTest : public ::testing::Test {
  protected:
    // The error reading the file gives; nullopt when it was read.
    static std::optional<ModelFileError> errorOf(const std::string& path) {
        const ModelFileRead result = readModel(path);
        if (const auto* error = std::get_if<ModelFileError>(&result))
            return *error;
        return std::nullopt;
    }
    std::optional<ModelFileError> refusal(const std::string& name, const Bytes& bytes) {
        test::writeFileBytes(folder.path(name), bytes.data);
        return errorOf(folder.file(name));
    }
    // The contents of the file; fails the test when it is refused.
    ModelFileContents read(const std::string& name, const Bytes& bytes) {
        EXPECT_EQ(refusal(name, bytes), std::nullopt) << name;
        ModelFileRead result = readModel(folder.file(name));
        auto* contents = std::get_if<ModelFileContents>(&result);
        return contents != nullptr ? std::move(*contents) : ModelFileContents{};
    }

    test::ScratchFolder folder;
};

TEST_F(ModelFileTest, SavedFileIsVersion4ByteForByteAndReadsBackEveryStoredField) {
    Model model;
    model.properties = {321, 123, 6, 77, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 1, 14};
    model.vertices = {Vertex{-30000, 30000, 1, -7, 7, 0, 1}, Vertex{12, -34, 2, 127, -128, 0xFF, 0},
                      Vertex{56, 78, 7, 0, 0, 0x5A, 1}};
    model.selectionExists = true;
    const std::string path = folder.file("layout.rkm");
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    Bytes expected = header(4, 3).i32(321).i32(123).i32(6).i32(77);
    expected.u8({1, 2, 3, 4, 5, 6, 7, 8, 9}).i32(1).i32(14);
    expected.vertex(-30000, 30000, 1, -7, 7, 0).vertex(12, -34, 2, 127, -128, 0xFF);
    expected.vertex(56, 78, 7, 0, 0, 0x5A);
    EXPECT_EQ(test::readFileBytes(path), expected.data);
    EXPECT_EQ(folder.entryCount(), 1u);

    ModelFileRead read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).properties, model.properties);
    for (Vertex& vertex : model.vertices)
        vertex.selected = 0;  // the selection is not stored
    EXPECT_TRUE(test::sameVertices(std::get<ModelFileContents>(read).vertices, model.vertices));

    // More than one write block of vertices, and not a whole number of blocks.
    model.vertices.clear();
    for (int i = 0; i < 2500; ++i)
        model.vertices.push_back(storedVertex(i, -i, i % 3 == 0 ? 1 : 2, i % 7 - 3, 3 - i % 5));
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    EXPECT_EQ(test::readFileBytes(path).size(), kModelFileHeaderSize + 12 * 2500);
    read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_TRUE(test::sameVertices(std::get<ModelFileContents>(read).vertices, model.vertices));
}

TEST_F(ModelFileTest, SaveFailsWithoutTheFolderAndWorksForTheLongestNameItAllows) {
    EXPECT_EQ(saveModel(Model{}, folder.file("no/such/folder/a.rkm")), ModelFileError::WriteFailed);
    EXPECT_EQ(folder.entryCount(), 0u);

    // The temporary file must not need a longer name than the target itself.
    const long nameMax = ::pathconf(folder.path().c_str(), _PC_NAME_MAX);
    if (nameMax <= 4 || nameMax > 4096)
        GTEST_SKIP() << "the folder has no usable name limit";
    ASSERT_EQ(saveModel(Model{}, folder.file(std::string(nameMax - 4, 'a') + ".rkm")),
              std::nullopt);
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ModelFileTest, EachVersionReadsItsOwnFieldsAndDefaultsTheRest) {
    // Where the vertices begin in a file of each version; a negative one reads as version 0.
    const std::pair<std::int32_t, std::size_t> versions[] = {{0, 18}, {1, 30}, {2, 34},
                                                             {3, 47}, {4, 51}, {-7, 18}};
    for (const auto& [version, vertexOffset] : versions) {
        SCOPED_TRACE(version);
        Bytes bytes = version4Header(2, 1);
        bytes.data[10] = static_cast<std::uint8_t>(version & 0xFF);
        std::fill_n(bytes.data.begin() + 11, 3, version < 0 ? 0xFF : 0);
        bytes.data.resize(vertexOffset);
        const ModelFileContents contents =
            read("v.rkm", bytes.vertex(11, 12, 1, 1, -1, 9).vertex(13, 14, 2));

        ModelProperties expected;  // standard values
        if (version >= 1) {
            expected.width = 400;
            expected.height = 300;
            expected.wobbleAmount = 5;
        }
        if (version >= 2)
            expected.vtrSpeed = 60;
        if (version >= 3) {
            expected.lineColor = {10, 20, 30};
            expected.shadowColor = {40, 50, 60};
            expected.backgroundColor = {70, 80, 90};
            expected.shadowMode = 1;
        }
        if (version >= 4)
            expected.lineWidth = 8;
        EXPECT_EQ(contents.properties, expected);
        EXPECT_TRUE(test::sameVertices(
            contents.vertices, {storedVertex(11, 12, 1, 1, -1, 9), storedVertex(13, 14, 2)}));
    }
}

TEST_F(ModelFileTest, ZeroOrNegativeCountAndLegacyFilesAreRead) {
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        const ModelFileContents contents = read("empty.rkm", version4Header(count).vertex(1, 1, 1));
        EXPECT_TRUE(contents.vertices.empty()) << count;
        EXPECT_EQ(contents.properties.value_or(ModelProperties{}).lineWidth, 8) << count;
    }
    // A legacy file: vertices but no properties.
    ModelFileContents legacy =
        read("old.RK2", Bytes().i32(2).vertex(5, 6, 1, 2, -2, 3).vertex(7, 8, 2));
    EXPECT_FALSE(legacy.properties.has_value());
    EXPECT_TRUE(test::sameVertices(legacy.vertices,
                                   {storedVertex(5, 6, 1, 2, -2, 3), storedVertex(7, 8, 2)}));
    legacy = read("old.RK2", Bytes().i32(-4));
    EXPECT_FALSE(legacy.properties.has_value());
    EXPECT_TRUE(legacy.vertices.empty());
}

TEST_F(ModelFileTest, ExtensionIsTheLastFourCharactersInAnyCaseAndTheFillerIsIgnored) {
    EXPECT_TRUE(test::sameVertices(read("A.RKM", version4Header(1).vertex(3, 4, 1)).vertices,
                                   {storedVertex(3, 4, 1)}));
    for (const char* name : {"a.rk2x", "model.txt", "rkm"})
        EXPECT_EQ(refusal(name, version4Header(0)), ModelFileError::NotModelFile) << name;
    const Bytes filler =
        Bytes().text("REK2").u8({0, 0xFF, 'a', 1, 2, 3}).i32(0).i32(1).vertex(8, 9, 1);
    EXPECT_TRUE(test::sameVertices(read("filler.rkm", filler).vertices, {storedVertex(8, 9, 1)}));
}

TEST_F(ModelFileTest, WrongMagicShortFilesLyingCountsAndNewerVersionsAreRefused) {
    Bytes v5 = version4Header(1).vertex(1, 1, 1);
    v5.data[10] = 5;
    EXPECT_EQ(refusal("v5.rkm", v5), ModelFileError::NewerVersion);

    const std::pair<const char*, Bytes> invalid[] = {
        {"rek3.rkm", Bytes().text("REK3").u8({0, 0, 0, 0, 0, 0}).i32(4).i32(0)},
        {"nozero.rkm", Bytes().text("REK2X").u8({0, 0, 0, 0, 0}).i32(4).i32(0)},
        {"tiny.rkm", Bytes().text("REK")},
        {"nocount.rkm", Bytes().text("REK2").u8({0, 0, 0, 0, 0, 0}).i32(4)},
        {"onlycount.rkm", header(4, 0)},
        {"cutheader.rkm", header(4, 0).i32(400).i32(300)},
        {"missing.rkm", version4Header(3).vertex(1, 1, 1).vertex(2, 2, 2)},
        {"half.rkm", version4Header(1).i32(5).i32(6)},
        {"liar.rkm", version4Header(INT32_MAX).vertex(1, 1, 1)},
        {"liar.rk2", Bytes().i32(1000000).vertex(1, 1, 1)},
        {"short.rk2", Bytes().u8({1, 0})},
    };
    for (const auto& [name, bytes] : invalid)
        EXPECT_EQ(refusal(name, bytes), ModelFileError::Invalid) << name;
}

TEST_F(ModelFileTest, WhatCannotBeOpenedIsReportedAsSuchAndAPipeIsNotWaitedOn) {
    EXPECT_EQ(errorOf(folder.file("absent.rkm")), ModelFileError::CannotOpen);
    EXPECT_EQ(errorOf(folder.path().string() + "/"), ModelFileError::CannotOpen);
    std::filesystem::create_directory(folder.file("dir.rkm"));
    EXPECT_EQ(errorOf(folder.file("dir.rkm")), ModelFileError::CannotOpen);

    const std::string pipe = folder.file("pipe.rkm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return errorOf(pipe); });
    if (reading.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
        // Let a reader stuck in open() go, so the test can end and report.
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        reading.wait();
        FAIL() << "reading waited for a writer on the pipe";
    }
    EXPECT_EQ(reading.get(), ModelFileError::CannotOpen);
}

TEST_F(ModelFileTest, StoredPropertiesComeBackInRangeAndAZeroSizeStaysZero) {
    auto readWith = [&](std::int32_t width, std::int32_t height, std::int32_t wobble,
                        std::int32_t speed, std::int32_t shadow, std::int32_t lineWidth) {
        Bytes bytes = header(4, 0).i32(width).i32(height).i32(wobble).i32(speed);
        bytes.u8({0, 0, 0, 0, 0, 0, 0, 0, 0}).i32(shadow).i32(lineWidth);
        const ModelProperties p = read("r.rkm", bytes).properties.value_or(ModelProperties{});
        return std::vector<int>{p.width,    p.height,     p.wobbleAmount,
                                p.vtrSpeed, p.shadowMode, p.lineWidth};
    };
    EXPECT_EQ(readWith(5000, -1, 9999, 0, 3, 0), (std::vector<int>{800, 10, 127, 1, 1, 1}));
    EXPECT_EQ(readWith(0, 100000, -5, 2000000, -1, 1000),
              (std::vector<int>{0, 600, 0, kMaxVtrSpeed, 1, 100}));
}

TEST(ModelFileNames, LegacyPathsAreRenamedForSaveInAnyCase) {
    // The title must name the file that is really written.
    for (const auto& [from, to] : {std::pair{"Old.rk2", "Old.rkm"}, std::pair{"OLD.RK2", "OLD.rkm"},
                                   std::pair{"new.rkm", "new.rkm"}}) {
        std::string path = std::string("/d/") + from;
        std::string name = from;
        EXPECT_EQ(renameLegacyForSave(path, name), std::string(from) != to) << from;
        EXPECT_EQ(path, std::string("/d/") + to);
        EXPECT_EQ(name, to);
    }
}

}  // namespace
}  // namespace rek
