#include "model/model_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <ostream>

#include "file_helpers.h"
#include "model/model.h"
#include "model_test_support.h"
#include "scratch_folder.h"
#include "unprivileged.h"

namespace rek {
namespace {

using test::Bytes;
using test::storedVertex;

// A model that differs from the standard in every property and holds unusual vertices.
Model unusualModel() {
    Model model;
    ModelProperties& p = model.properties;
    p.width = 321;
    p.height = 123;
    p.wobbleAmount = 6;
    p.vtrSpeed = 77;
    p.lineColor = {1, 2, 3};
    p.shadowColor = {4, 5, 6};
    p.backgroundColor = {7, 8, 9};
    p.shadowMode = 1;
    p.lineWidth = 14;
    model.vertices = {
        Vertex{-30000, 30000, 1, -7, 7, 0, 1},
        Vertex{12, -34, 2, 127, -128, 0xFF, 0},
        Vertex{56, 78, 7, 0, 0, 0x5A, 1},
    };
    model.selectionExists = true;
    return model;
}

Bytes header(std::int32_t version, std::int32_t count) {
    Bytes bytes;
    bytes.text("REK2").u8({0, 0, 0, 0, 0, 0}).i32(version).i32(count);
    return bytes;
}

Bytes version4Header(std::int32_t count) {
    Bytes bytes = header(4, count);
    bytes.i32(400).i32(300).i32(5).i32(60);
    bytes.u8({10, 20, 30, 40, 50, 60, 70, 80, 90}).i32(0).i32(8);
    return bytes;
}

class ModelFileTest : public ::testing::Test {
  protected:
    // The contents read from `path`; fails the test when the file is refused.
    ModelFileContents read(const std::string& path) {
        ModelFileRead result = readModel(path);
        if (const auto* error = std::get_if<ModelFileError>(&result)) {
            ADD_FAILURE() << path << " refused with error " << static_cast<int>(*error);
            return {};
        }
        return std::get<ModelFileContents>(std::move(result));
    }

    ModelFileContents readBytes(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.file(name);
        test::writeFileBytes(path, bytes.data());
        return read(path);
    }

    // The error reading `path` gives; nullopt when it was read.
    static std::optional<ModelFileError> errorOf(const std::string& path) {
        const ModelFileRead result = readModel(path);
        if (const auto* error = std::get_if<ModelFileError>(&result))
            return *error;
        return std::nullopt;
    }

    std::optional<ModelFileError> refusal(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.file(name);
        test::writeFileBytes(path, bytes.data());
        return errorOf(path);
    }

    std::size_t savedSize(const Model& saved) const {
        return kModelFileHeaderSize + 12 * saved.vertices.size();
    }

    test::ScratchFolder folder;
    Model model = unusualModel();
};

TEST_F(ModelFileTest, SaveAndReadReproduceEveryStoredField) {
    const std::string path = folder.file("round.rkm");
    ASSERT_EQ(saveModel(model, path), std::nullopt);

    const ModelFileContents contents = read(path);
    ASSERT_TRUE(contents.properties.has_value());
    EXPECT_EQ(*contents.properties, model.properties);
    // Every stored byte comes back; the selection is not stored.
    VertexList expected = model.vertices;
    for (Vertex& vertex : expected)
        vertex.selected = 0;
    EXPECT_TRUE(test::sameVertices(contents.vertices, expected));
}

TEST_F(ModelFileTest, SavedFileIsVersion4WithHeaderAndTwelveBytesAVertex) {
    const std::string path = folder.file("layout.rkm");
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    const std::vector<std::uint8_t> bytes = test::readFileBytes(path);
    ASSERT_EQ(bytes.size(), savedSize(model));

    Bytes expected = header(4, 3);
    expected.i32(321).i32(123).i32(6).i32(77);
    expected.u8({1, 2, 3, 4, 5, 6, 7, 8, 9}).i32(1).i32(14);
    expected.vertex(-30000, 30000, 1, -7, 7, 0);
    expected.vertex(12, -34, 2, 127, -128, 0xFF);
    expected.vertex(56, 78, 7, 0, 0, 0x5A);
    EXPECT_EQ(bytes, expected.data());

    // Nothing is left beside it.
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ModelFileTest, SaveReplacesAnExistingFileKeepingItsPermissions) {
    const std::string path = folder.file("over.rkm");
    test::writeFileBytes(path, std::vector<std::uint8_t>(5000, 0xEE));
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(path, mode);
    model.vertices.resize(1);
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    EXPECT_EQ(test::readFileBytes(path).size(), savedSize(model));
    EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
}

TEST_F(ModelFileTest, ManyVerticesRoundTripAcrossWriteBlocks) {
    // More than one block of vertices, and not a whole number of blocks.
    model.vertices.clear();
    for (int i = 0; i < 2500; ++i)
        model.vertices.push_back(storedVertex(i, -i, i % 3 == 0 ? 1 : 2, i % 7 - 3, 3 - i % 5));
    const std::string path = folder.file("many.rkm");
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    EXPECT_EQ(test::readFileBytes(path).size(), savedSize(model));
    EXPECT_TRUE(test::sameVertices(read(path).vertices, model.vertices));
}

struct VersionCase {
    std::int32_t version;
    std::size_t vertexOffset;
    ModelProperties expected;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << "version " << c.version;
}

class ModelFileVersionTest : public ModelFileTest,
                             public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ModelFileVersionTest, ReadsTheFieldsOfItsVersionAndDefaultsTheRest) {
    const VersionCase& c = GetParam();
    // All fields a version-4 file could hold; cut after the ones this version has.
    Bytes full = header(c.version, 2);
    full.i32(400).i32(300).i32(5).i32(60);
    full.u8({10, 20, 30, 40, 50, 60, 70, 80, 90}).i32(1).i32(8);
    std::vector<std::uint8_t> bytes(full.data().begin(), full.data().begin() + c.vertexOffset);
    Bytes vertices;
    vertices.vertex(11, 12, 1, 1, -1, 9).vertex(13, 14, 2);
    bytes.insert(bytes.end(), vertices.data().begin(), vertices.data().end());
    ASSERT_EQ(bytes.size(), c.vertexOffset + 24);

    const std::string path = folder.file("v.rkm");
    test::writeFileBytes(path, bytes);
    const ModelFileContents contents = read(path);
    EXPECT_EQ(contents.properties, c.expected);
    EXPECT_TRUE(test::sameVertices(contents.vertices,
                                   {storedVertex(11, 12, 1, 1, -1, 9), storedVertex(13, 14, 2)}));
}

ModelProperties versionProperties(int version) {
    ModelProperties p;  // standard values
    if (version >= 1) {
        p.width = 400;
        p.height = 300;
        p.wobbleAmount = 5;
    }
    if (version >= 2)
        p.vtrSpeed = 60;
    if (version >= 3) {
        p.lineColor = {10, 20, 30};
        p.shadowColor = {40, 50, 60};
        p.backgroundColor = {70, 80, 90};
        p.shadowMode = 1;
    }
    if (version >= 4)
        p.lineWidth = 8;
    return p;
}

INSTANTIATE_TEST_SUITE_P(AllVersions, ModelFileVersionTest,
                         ::testing::Values(VersionCase{0, 18, versionProperties(0)},
                                           VersionCase{1, 30, versionProperties(1)},
                                           VersionCase{2, 34, versionProperties(2)},
                                           VersionCase{3, 47, versionProperties(3)},
                                           VersionCase{4, 51, versionProperties(4)},
                                           VersionCase{-7, 18, versionProperties(0)}),
                         [](const auto& info) {
                             return info.param.version < 0
                                        ? std::string("Negative")
                                        : "V" + std::to_string(info.param.version);
                         });

TEST_F(ModelFileTest, ZeroOrNegativeCountGivesAnEmptyDrawingWithTheFileProperties) {
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(count);
        const ModelFileContents contents =
            readBytes("empty.rkm", version4Header(count).vertex(1, 1, 1));
        EXPECT_TRUE(contents.vertices.empty());
        ASSERT_TRUE(contents.properties.has_value());
        EXPECT_EQ(contents.properties->width, 400);
        EXPECT_EQ(contents.properties->lineWidth, 8);
    }
}

TEST_F(ModelFileTest, ExtensionIsTheLastFourCharactersInAnyCase) {
    const ModelFileContents upper = readBytes("A.RKM", version4Header(1).vertex(3, 4, 1));
    EXPECT_TRUE(test::sameVertices(upper.vertices, {storedVertex(3, 4, 1)}));

    EXPECT_EQ(refusal("a.rk2x", version4Header(0)), ModelFileError::NotModelFile);
    EXPECT_EQ(refusal("model.txt", version4Header(0)), ModelFileError::NotModelFile);
    EXPECT_EQ(refusal("rkm", version4Header(0)), ModelFileError::NotModelFile);
}

TEST_F(ModelFileTest, MagicMustBeRek2AndAZeroByteFillerIgnored) {
    Bytes rek3;
    rek3.text("REK3").u8({0, 0, 0, 0, 0, 0}).i32(4).i32(0);
    EXPECT_EQ(refusal("rek3.rkm", rek3), ModelFileError::Invalid);

    Bytes noZero;
    noZero.text("REK2X").u8({0, 0, 0, 0, 0}).i32(4).i32(0);
    EXPECT_EQ(refusal("nozero.rkm", noZero), ModelFileError::Invalid);

    Bytes filler;
    filler.text("REK2").u8({0, 0xFF, 'a', 1, 2, 3}).i32(0).i32(1).vertex(8, 9, 1);
    EXPECT_TRUE(
        test::sameVertices(readBytes("filler.rkm", filler).vertices, {storedVertex(8, 9, 1)}));
}

TEST_F(ModelFileTest, NewerVersionIsRefused) {
    Bytes v5 = header(5, 1);
    v5.i32(400).i32(300).i32(5).i32(60);
    v5.u8({10, 20, 30, 40, 50, 60, 70, 80, 90}).i32(0).i32(8).vertex(1, 1, 1);
    EXPECT_EQ(refusal("v5.rkm", v5), ModelFileError::NewerVersion);
}

TEST_F(ModelFileTest, ShortFilesAndLyingCountsAreInvalid) {
    EXPECT_EQ(refusal("tiny.rkm", Bytes().text("REK")), ModelFileError::Invalid);
    EXPECT_EQ(refusal("nocount.rkm", Bytes().text("REK2").u8({0, 0, 0, 0, 0, 0}).i32(4)),
              ModelFileError::Invalid);
    EXPECT_EQ(refusal("onlycount.rkm", header(4, 0)), ModelFileError::Invalid);

    Bytes cutHeader = header(4, 0);
    cutHeader.i32(400).i32(300);
    EXPECT_EQ(refusal("cutheader.rkm", cutHeader), ModelFileError::Invalid);

    Bytes missingVertex = version4Header(3);
    missingVertex.vertex(1, 1, 1).vertex(2, 2, 2);
    EXPECT_EQ(refusal("missing.rkm", missingVertex), ModelFileError::Invalid);

    Bytes halfVertex = version4Header(1);
    halfVertex.i32(5).i32(6);
    EXPECT_EQ(refusal("half.rkm", halfVertex), ModelFileError::Invalid);

    Bytes liar = version4Header(INT32_MAX);
    liar.vertex(1, 1, 1);
    EXPECT_EQ(refusal("liar.rkm", liar), ModelFileError::Invalid);

    Bytes legacyLiar;
    legacyLiar.i32(1000000).vertex(1, 1, 1);
    EXPECT_EQ(refusal("liar.rk2", legacyLiar), ModelFileError::Invalid);
    EXPECT_EQ(refusal("short.rk2", Bytes().u8({1, 0})), ModelFileError::Invalid);
}

TEST_F(ModelFileTest, WhatCannotBeOpenedIsReportedAsSuch) {
    EXPECT_EQ(errorOf(folder.file("absent.rkm")), ModelFileError::CannotOpen);
    EXPECT_EQ(errorOf(folder.path().string() + "/"), ModelFileError::CannotOpen);
    std::filesystem::create_directory(folder.file("dir.rkm"));
    EXPECT_EQ(errorOf(folder.file("dir.rkm")), ModelFileError::CannotOpen);
}

TEST_F(ModelFileTest, LegacyFileHasVerticesButNoProperties) {
    Bytes legacy;
    legacy.i32(2).vertex(5, 6, 1, 2, -2, 3).vertex(7, 8, 2);
    ModelFileContents contents = readBytes("old.RK2", legacy);
    EXPECT_FALSE(contents.properties.has_value());
    EXPECT_TRUE(test::sameVertices(contents.vertices,
                                   {storedVertex(5, 6, 1, 2, -2, 3), storedVertex(7, 8, 2)}));

    contents = readBytes("old.RK2", Bytes().i32(-4));
    EXPECT_FALSE(contents.properties.has_value());
    EXPECT_TRUE(contents.vertices.empty());
}

TEST_F(ModelFileTest, StoredPropertiesComeBackInRangeAndAZeroSizeKeepsTheCanvas) {
    auto readWith = [&](std::int32_t width, std::int32_t height, std::int32_t wobble,
                        std::int32_t speed, std::int32_t shadow, std::int32_t lineWidth) {
        Bytes bytes = header(4, 0);
        bytes.i32(width).i32(height).i32(wobble).i32(speed);
        bytes.u8({0, 0, 0, 0, 0, 0, 0, 0, 0}).i32(shadow).i32(lineWidth);
        return readBytes("range.rkm", bytes).properties.value_or(ModelProperties{});
    };

    ModelProperties stored = readWith(5000, -1, 9999, 0, 3, 0);
    EXPECT_EQ(stored.width, 800);
    EXPECT_EQ(stored.height, 10);
    EXPECT_EQ(stored.wobbleAmount, 127);
    EXPECT_EQ(stored.vtrSpeed, 1);
    EXPECT_EQ(stored.shadowMode, 1);
    EXPECT_EQ(stored.lineWidth, 1);

    // A zero in either dimension stays zero, and setting such properties keeps the size the
    // canvas has.
    stored = readWith(0, 400, -5, 10, 0, 6);
    EXPECT_EQ(stored.width, 0);
    EXPECT_EQ(stored.height, 400);
    EXPECT_EQ(stored.wobbleAmount, 0);
    EXPECT_EQ(stored.shadowMode, 0);
    model.properties.width = 250;
    model.properties.height = 150;
    EXPECT_FALSE(setProperties(model, stored).size);
    EXPECT_EQ(model.properties.width, 250);
    EXPECT_EQ(model.properties.height, 150);
    EXPECT_EQ(model.properties.lineWidth, 6);
}

TEST_F(ModelFileTest, FailedSaveReportsAndLeavesTheTargetIntact) {
    EXPECT_EQ(saveModel(model, folder.file("no/such/folder/a.rkm")), ModelFileError::WriteFailed);

    // A folder in the target's place is refused, and no temporary is left behind.
    std::filesystem::create_directory(folder.file("taken.rkm"));
    EXPECT_EQ(saveModel(model, folder.file("taken.rkm")), ModelFileError::WriteFailed);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.rkm")));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ModelFileTest, SaveWorksForTheLongestFileNameTheFolderAllows) {
    // The temporary file must not need a longer name than the target itself.
    const long nameMax = ::pathconf(folder.path().c_str(), _PC_NAME_MAX);
    if (nameMax <= 4 || nameMax > 4096)
        GTEST_SKIP() << "the folder has no usable name limit";
    const std::string path = folder.file(std::string(nameMax - 4, 'a') + ".rkm");
    ASSERT_EQ(saveModel(model, path), std::nullopt);
    EXPECT_EQ(test::readFileBytes(path).size(), savedSize(model));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ModelFileTest, SaveThroughALinkReplacesTheFileItPointsAt) {
    std::filesystem::create_directory(folder.file("real"));
    const std::string real = folder.file("real/model.rkm");
    test::writeFileBytes(real, std::vector<std::uint8_t>(77, 0x42));
    const std::string link = folder.file("link.rkm");
    std::filesystem::create_symlink("real/model.rkm", link);

    ASSERT_EQ(saveModel(model, link), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::readFileBytes(real).size(), savedSize(model));
    EXPECT_EQ(test::entriesIn(folder.path("real")), 1u);
}

TEST_F(ModelFileTest, PipeNamedLikeAModelIsNotWaitedOn) {
    const std::string path = folder.file("pipe.rkm");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return errorOf(path); });
    if (reading.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
        // Let a reader stuck in open() go, so the test can end and report.
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        reading.wait();
        FAIL() << "reading waited for a writer on the pipe";
    }
    EXPECT_EQ(reading.get(), ModelFileError::CannotOpen);
}

TEST_F(ModelFileTest, AWritableModelInAReadOnlyFolderIsSaved) {
    const std::filesystem::path readOnly = folder.path("ro");
    std::filesystem::create_directory(readOnly);
    const std::string path = (readOnly / "kept.rkm").string();
    test::writeFileBytes(path, std::vector<std::uint8_t>(77, 0x42));
    test::giveToUnprivileged(path);
    test::giveToUnprivileged(readOnly);
    std::filesystem::permissions(
        readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    const std::optional<int> saved =
        test::runUnprivileged([&] { return saveModel(model, path).has_value() ? 1 : 0; });
    ASSERT_TRUE(saved.has_value()) << "the save could not run as an ordinary user";
    EXPECT_EQ(*saved, 0);
    EXPECT_EQ(test::readFileBytes(path).size(), savedSize(model));
    EXPECT_EQ(test::entriesIn(readOnly), 1u);
}

TEST(ModelFileNames, ExtensionTestIgnoresCase) {
    EXPECT_TRUE(hasExtensionIgnoringCase("a.RkM", ".rkm"));
    EXPECT_TRUE(hasExtensionIgnoringCase(".rk2", ".rk2"));
    EXPECT_FALSE(hasExtensionIgnoringCase("rk2", ".rk2"));
    EXPECT_FALSE(hasExtensionIgnoringCase("a.rk2 ", ".rk2"));
}

TEST(ModelFileNames, LegacyPathsAreRenamedForSave) {
    std::string path = "/d/Old.rk2";
    std::string name = "Old.rk2";
    EXPECT_TRUE(renameLegacyForSave(path, name));
    EXPECT_EQ(path, "/d/Old.rkm");
    EXPECT_EQ(name, "Old.rkm");

    // Any case: the title must name the file that is really written.
    path = "/d/OLD.RK2";
    name = "OLD.RK2";
    EXPECT_TRUE(renameLegacyForSave(path, name));
    EXPECT_EQ(path, "/d/OLD.rkm");
    EXPECT_EQ(name, "OLD.rkm");

    path = "/d/new.rkm";
    name = "new.rkm";
    EXPECT_FALSE(renameLegacyForSave(path, name));
    EXPECT_EQ(path, "/d/new.rkm");
}

}  // namespace
}  // namespace rek
