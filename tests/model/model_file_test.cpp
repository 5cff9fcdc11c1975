#include "model/model_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <ostream>

#include "model/undo_history.h"
#include "model_test_support.h"

namespace rek {
namespace {

using test::Bytes;

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
    LoadResult load(const std::string& path) { return loadModel(model, tool, history, path); }

    // Loads `bytes` from a file named `name` and expects the model to stay exactly as it was.
    void expectRefused(const std::string& name, const Bytes& bytes, const char* message) {
        const std::string path = folder.file(name);
        test::writeFile(path, bytes.data());
        const Model before = model;
        const std::size_t entries = history.size();
        const LoadResult result = load(path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.text, message);
        EXPECT_EQ(result.message.icon, MessageIcon::None);
        EXPECT_TRUE(test::sameModel(model, before));
        EXPECT_EQ(history.size(), entries);
    }

    test::ScratchFolder folder;
    Model model = unusualModel();
    ToolState tool;
    UndoHistory history;
};

TEST_F(ModelFileTest, SaveAndLoadReproduceEveryStoredField) {
    const Model original = unusualModel();
    const std::string path = folder.file("round.rkm");
    ASSERT_TRUE(saveModel(original, path).ok);

    model = Model{};
    model.modified = true;
    model.filePath = "/elsewhere/x.rkm";
    model.displayName = "x.rkm";
    model.selectionExists = true;
    tool.mode = ToolMode::RangeSelect;
    tool.moveMode = true;
    tool.scaleMode = true;
    tool.scaleFactor = 2.5f;
    history.recordSnapshot(model);

    const LoadResult result = load(path);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.message.empty());

    EXPECT_EQ(model.properties, original.properties);
    ASSERT_EQ(model.vertices.size(), original.vertices.size());
    for (std::size_t i = 0; i < original.vertices.size(); ++i) {
        Vertex expected = original.vertices[i];
        expected.selected = 0;
        EXPECT_TRUE(test::sameVertex(model.vertices[i], expected)) << i;
    }
    EXPECT_FALSE(model.selectionExists);
    EXPECT_EQ(tool.mode, ToolMode::StraightLine);
    EXPECT_FALSE(tool.moveMode);
    EXPECT_FALSE(tool.scaleMode);
    EXPECT_EQ(tool.scaleFactor, 1.0f);

    // The document's own state belongs to the caller.
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(model.filePath, "/elsewhere/x.rkm");
    EXPECT_EQ(model.displayName, "x.rkm");

    // One snapshot, and undo returns to the model from before the load.
    EXPECT_EQ(history.size(), 2u);
    history.undo(model, tool);
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_EQ(model.properties, ModelProperties{});
}

TEST_F(ModelFileTest, SavedFileIsVersion4WithHeaderAndTwelveBytesAVertex) {
    const std::string path = folder.file("layout.rkm");
    ASSERT_TRUE(saveModel(model, path).ok);
    const std::vector<std::uint8_t> bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), kModelFileHeaderSize + 12 * model.vertices.size());

    Bytes expected = header(4, 3);
    expected.i32(321).i32(123).i32(6).i32(77);
    expected.u8({1, 2, 3, 4, 5, 6, 7, 8, 9}).i32(1).i32(14);
    expected.vertex(-30000, 30000, 1, -7, 7, 0);
    expected.vertex(12, -34, 2, 127, -128, 0xFF);
    expected.vertex(56, 78, 7, 0, 0, 0x5A);
    EXPECT_EQ(bytes, expected.data());

    // Nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ModelFileTest, SaveReplacesAnExistingFile) {
    const std::string path = folder.file("over.rkm");
    test::writeFile(path, std::vector<std::uint8_t>(5000, 0xEE));
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(path, mode);
    model.vertices.resize(1);
    ASSERT_TRUE(saveModel(model, path).ok);
    EXPECT_EQ(test::readFile(path).size(), kModelFileHeaderSize + 12);
    EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
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
    test::writeFile(path, bytes);
    ASSERT_TRUE(load(path).ok);
    EXPECT_EQ(model.properties, c.expected);
    EXPECT_EQ(test::shape(model), "11,12,1 13,14,2");
    EXPECT_EQ(model.vertices[0].wobbleDx, 1);
    EXPECT_EQ(model.vertices[0].wobbleDy, -1);
    EXPECT_EQ(model.vertices[0].reserved, 9);
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
        model = unusualModel();
        const std::string path = folder.file("empty.rkm");
        test::writeFile(path, version4Header(count).vertex(1, 1, 1).data());
        ASSERT_TRUE(load(path).ok);
        EXPECT_TRUE(model.vertices.empty());
        EXPECT_EQ(model.properties.width, 400);
        EXPECT_EQ(model.properties.lineWidth, 8);
    }
}

TEST_F(ModelFileTest, ExtensionIsTheLastFourCharactersInAnyCase) {
    const std::string upper = folder.file("A.RKM");
    test::writeFile(upper, version4Header(1).vertex(3, 4, 1).data());
    ASSERT_TRUE(load(upper).ok);
    EXPECT_EQ(test::shape(model), "3,4,1");

    expectRefused("a.rk2x", version4Header(0), kNotModelFileMessage);
    expectRefused("model.txt", version4Header(0), kNotModelFileMessage);
    expectRefused("rkm", version4Header(0), kNotModelFileMessage);
}

TEST_F(ModelFileTest, MagicMustBeRek2AndAZeroByteFillerIgnored) {
    Bytes rek3;
    rek3.text("REK3").u8({0, 0, 0, 0, 0, 0}).i32(4).i32(0);
    expectRefused("rek3.rkm", rek3, kInvalidModelFileMessage);

    Bytes noZero;
    noZero.text("REK2X").u8({0, 0, 0, 0, 0}).i32(4).i32(0);
    expectRefused("nozero.rkm", noZero, kInvalidModelFileMessage);

    Bytes filler;
    filler.text("REK2").u8({0, 0xFF, 'a', 1, 2, 3}).i32(0).i32(1).vertex(8, 9, 1);
    const std::string path = folder.file("filler.rkm");
    test::writeFile(path, filler.data());
    ASSERT_TRUE(load(path).ok);
    EXPECT_EQ(test::shape(model), "8,9,1");
}

TEST_F(ModelFileTest, NewerVersionIsRefused) {
    Bytes v5 = header(5, 1);
    v5.i32(400).i32(300).i32(5).i32(60);
    v5.u8({10, 20, 30, 40, 50, 60, 70, 80, 90}).i32(0).i32(8).vertex(1, 1, 1);
    expectRefused("v5.rkm", v5, kNewerVersionMessage);
}

TEST_F(ModelFileTest, ShortFilesAndLyingCountsLeaveTheModelAlone) {
    expectRefused("tiny.rkm", Bytes().text("REK"), kInvalidModelFileMessage);
    expectRefused("nocount.rkm", Bytes().text("REK2").u8({0, 0, 0, 0, 0, 0}).i32(4),
                  kInvalidModelFileMessage);
    expectRefused("onlycount.rkm", header(4, 0), kInvalidModelFileMessage);

    Bytes cutHeader = header(4, 0);
    cutHeader.i32(400).i32(300);
    expectRefused("cutheader.rkm", cutHeader, kInvalidModelFileMessage);

    Bytes missingVertex = version4Header(3);
    missingVertex.vertex(1, 1, 1).vertex(2, 2, 2);
    expectRefused("missing.rkm", missingVertex, kInvalidModelFileMessage);

    Bytes halfVertex = version4Header(1);
    halfVertex.i32(5).i32(6);
    expectRefused("half.rkm", halfVertex, kInvalidModelFileMessage);

    Bytes liar = version4Header(INT32_MAX);
    liar.vertex(1, 1, 1);
    expectRefused("liar.rkm", liar, kInvalidModelFileMessage);

    Bytes legacyLiar;
    legacyLiar.i32(1000000).vertex(1, 1, 1);
    expectRefused("liar.rk2", legacyLiar, kInvalidModelFileMessage);
    expectRefused("short.rk2", Bytes().u8({1, 0}), kInvalidModelFileMessage);
}

TEST_F(ModelFileTest, UnopenableFileFailsWithoutMessage) {
    const Model before = model;
    for (const std::string& path : {folder.file("absent.rkm"), folder.path().string() + "/"}) {
        const LoadResult result = load(path);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.empty());
    }
    std::filesystem::create_directory(folder.file("dir.rkm"));
    EXPECT_FALSE(load(folder.file("dir.rkm")).ok);
    EXPECT_TRUE(test::sameModel(model, before));
    EXPECT_EQ(history.size(), 0u);
}

TEST_F(ModelFileTest, LegacyFileKeepsPropertiesAndCanvasSize) {
    const ModelProperties before = model.properties;
    Bytes legacy;
    legacy.i32(2).vertex(5, 6, 1, 2, -2, 3).vertex(7, 8, 2);
    const std::string path = folder.file("old.RK2");
    test::writeFile(path, legacy.data());

    ASSERT_TRUE(load(path).ok);
    EXPECT_EQ(model.properties, before);
    EXPECT_EQ(test::shape(model), "5,6,1 7,8,2");
    EXPECT_EQ(model.vertices[0].reserved, 3);
    EXPECT_EQ(history.size(), 1u);

    legacy = Bytes().i32(-4);
    test::writeFile(path, legacy.data());
    ASSERT_TRUE(load(path).ok);
    EXPECT_TRUE(model.vertices.empty());
}

TEST_F(ModelFileTest, StoredSizeAndPropertiesAreBroughtIntoRange) {
    auto loadWith = [&](std::int32_t width, std::int32_t height, std::int32_t wobble,
                        std::int32_t speed, std::int32_t shadow, std::int32_t lineWidth) {
        Bytes bytes = header(4, 0);
        bytes.i32(width).i32(height).i32(wobble).i32(speed);
        bytes.u8({0, 0, 0, 0, 0, 0, 0, 0, 0}).i32(shadow).i32(lineWidth);
        const std::string path = folder.file("range.rkm");
        test::writeFile(path, bytes.data());
        return load(path).ok;
    };

    ASSERT_TRUE(loadWith(5000, -1, 9999, 0, 3, 0));
    EXPECT_EQ(model.properties.width, 800);
    EXPECT_EQ(model.properties.height, 10);
    EXPECT_EQ(model.properties.wobbleAmount, 127);
    EXPECT_EQ(model.properties.vtrSpeed, 1);
    EXPECT_EQ(model.properties.shadowMode, 1);
    EXPECT_EQ(model.properties.lineWidth, 1);

    // A zero in either dimension keeps the size the canvas has.
    model.properties.width = 250;
    model.properties.height = 150;
    ASSERT_TRUE(loadWith(0, 400, -5, 10, 0, 6));
    EXPECT_EQ(model.properties.width, 250);
    EXPECT_EQ(model.properties.height, 150);
    EXPECT_EQ(model.properties.wobbleAmount, 0);
    EXPECT_EQ(model.properties.shadowMode, 0);
}

TEST_F(ModelFileTest, FailedSaveReportsAndLeavesTheTargetIntact) {
    const SaveResult missingFolder = saveModel(model, folder.file("no/such/folder/a.rkm"));
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_EQ(missingFolder.message.text, kSaveFailedMessage);
    EXPECT_EQ(missingFolder.message.icon, MessageIcon::Error);

    // A folder in the target's place cannot be replaced; the temporary file must go again.
    std::filesystem::create_directory(folder.file("taken.rkm"));
    EXPECT_FALSE(saveModel(model, folder.file("taken.rkm")).ok);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.rkm")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ModelFileTest, SaveWorksForTheLongestFileNameTheFolderAllows) {
    // The temporary file must not need a longer name than the target itself.
    const long nameMax = ::pathconf(folder.path().c_str(), _PC_NAME_MAX);
    if (nameMax <= 4 || nameMax > 4096)
        GTEST_SKIP() << "the folder has no usable name limit";
    const std::string path = folder.file(std::string(nameMax - 4, 'a') + ".rkm");
    ASSERT_TRUE(saveModel(model, path).ok);
    EXPECT_EQ(test::readFile(path).size(), kModelFileHeaderSize + 12 * model.vertices.size());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ModelFileTest, SaveThroughALinkReplacesTheFileItPointsAt) {
    std::filesystem::create_directory(folder.file("real"));
    const std::string real = folder.file("real/model.rkm");
    test::writeFile(real, std::vector<std::uint8_t>(77, 0x42));
    const std::string link = folder.file("link.rkm");
    std::filesystem::create_symlink("real/model.rkm", link);

    ASSERT_TRUE(saveModel(model, link).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::readFile(real).size(), kModelFileHeaderSize + 12 * model.vertices.size());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("real")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ModelFileTest, PipeNamedLikeAModelIsNotWaitedOn) {
    const std::string path = folder.file("pipe.rkm");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const Model before = model;
    auto loading = std::async(std::launch::async, [&] { return load(path); });
    if (loading.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
        // Let a reader stuck in open() go, so the test can end and report.
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        loading.wait();
        FAIL() << "loading waited for a writer on the pipe";
    }
    const LoadResult result = loading.get();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.empty());
    EXPECT_TRUE(test::sameModel(model, before));
}

TEST_F(ModelFileTest, SaveIntoReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    const std::string path = folder.file("ro/keep.rkm");
    std::filesystem::create_directory(folder.file("ro"));
    const std::vector<std::uint8_t> old(77, 0x42);
    test::writeFile(path, old);
    std::filesystem::permissions(
        folder.file("ro"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(saveModel(model, path).ok);
    EXPECT_EQ(test::readFile(path), old);
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
