#include "shell/config_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <future>

#include <climits>
#include "file_helpers.h"
#include "scratch_folder.h"
#include "shell/window_placement.h"

namespace rek {
namespace {

std::vector<std::uint8_t> bytesOf(const ConfigRecord& record) {
    const auto raw = encodeConfigRecord(record);
    return {raw.begin(), raw.end()};
}

ConfigRecord distinctiveRecord(std::int32_t version) {
    return {.version = version,
            .windowLeft = -20,
            .windowTop = 1234,
            .openInVtrMode = 0,
            .wobbleAmount = 7,
            .vtrSpeed = 99,
            .shadowMode = 1,
            .modelWidth = 321,
            .modelHeight = 123,
            .lineColor = {1, 2, 3},
            .backgroundColor = {7, 8, 9},
            .padding = {0xAA, 0xBB, 0xCC},
            .lineWidth = 12};
}

TEST(ConfigRecord, CurrentVersionRoundTripsEveryFieldAtItsOffsetThroughTheFile) {
    const ConfigRecord record = distinctiveRecord(3);
    const auto bytes = bytesOf(record);
    ASSERT_EQ(bytes.size(), 52u);
    EXPECT_EQ(bytes[4], 0xEC);  // -20, little-endian
    EXPECT_EQ(bytes[7], 0xFF);
    EXPECT_EQ(bytes[36], 1);     // line colour red
    EXPECT_EQ(bytes[44], 9);     // background blue
    EXPECT_EQ(bytes[45], 0xAA);  // padding kept
    EXPECT_EQ(bytes[48], 12);
    EXPECT_EQ(decodeConfigRecord(bytes), record);

    test::ScratchFolder folder;
    const std::string path = folder.file("sub/Config.dat");
    EXPECT_FALSE(readConfigFile(path).has_value());
    ASSERT_TRUE(writeConfigFile(path, record));
    EXPECT_EQ(test::readFileBytes(path), bytes);
    EXPECT_EQ(test::entriesIn(folder.path("sub")), 1u) << "no temporary file is left";
    EXPECT_FALSE(writeConfigFile("/proc/no-such-folder/Config.dat", record));
}

TEST(ConfigRecord, OldVersionsMigrateAndShortFilesReadAsFarAsTheyGo) {
    // Version 2: everything kept but the line width, which did not exist yet.
    const ConfigRecord v2 = decodeConfigRecord(bytesOf(distinctiveRecord(2)));
    EXPECT_EQ(v2.lineWidth, 4);
    EXPECT_EQ(v2.lineColor, (ColorRgb{1, 2, 3}));
    // Version 1: only the position and the replay setting survive.
    EXPECT_EQ(decodeConfigRecord(bytesOf(distinctiveRecord(1))),
              (ConfigRecord{.version = 1,
                            .windowLeft = -20,
                            .windowTop = 1234,
                            .openInVtrMode = 0,
                            .padding = {0xAA, 0xBB, 0xCC}}));
    // An empty file is version 0: defaults, and the replay setting reads as zero.
    EXPECT_EQ(decodeConfigRecord({}), (ConfigRecord{.version = 0, .openInVtrMode = 0}));

    // A version-3 file cut after the model size: the colours and width read as zero...
    auto bytes = bytesOf(distinctiveRecord(3));
    bytes.resize(36);
    const ConfigRecord cut = decodeConfigRecord(bytes);
    EXPECT_EQ(cut.modelHeight, 123);
    EXPECT_EQ(cut.lineColor, (ColorRgb{0, 0, 0}));
    EXPECT_EQ(cut.lineWidth, 0);
    // ...which the program must not run with.
    EXPECT_GE(propertiesFromConfig(cut).lineWidth, 1);
}

// A pipe in Config.dat's place once hung the start (reading) and the exit (writing).
TEST(ConfigRecord, APipeNamedConfigDatIsNeitherWaitedOnNorReplaced) {
    test::ScratchFolder folder;
    const std::string path = folder.file("Config.dat");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return readConfigFile(path); });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_FALSE(reading.get().has_value());
    auto writing =
        std::async(std::launch::async, [&] { return writeConfigFile(path, ConfigRecord{}); });
    ASSERT_EQ(writing.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_FALSE(writing.get());
    EXPECT_TRUE(std::filesystem::is_fifo(path));
    EXPECT_EQ(folder.entryCount(), 1u);

    // Nor is a device behind a link read as if it were the file.
    const std::string linked = folder.file("linked/Config.dat");
    std::filesystem::create_directory(folder.path("linked"));
    std::filesystem::create_symlink("/dev/zero", linked);
    EXPECT_FALSE(readConfigFile(linked).has_value());
    EXPECT_FALSE(writeConfigFile(linked, ConfigRecord{}));
    EXPECT_TRUE(std::filesystem::is_symlink(linked));
}

const QSize kWindow(820, 690);
const QRect kPrimary(0, 0, 1920, 1040);
const QRect kRightScreen(1920, 0, 1280, 1024);

QPoint place(std::int32_t left, std::int32_t top) {
    return placeWindow(left, top, kWindow, {kPrimary, kRightScreen}, kPrimary);
}

const QPoint kCentred((1920 - 820) / 2, (1040 - 690) / 2);

TEST(WindowPlacement, AStoredPositionTheUserCanReachIsKept) {
    EXPECT_EQ(place(100, 50), QPoint(100, 50));
    EXPECT_EQ(place(2500, 300), QPoint(2500, 300));    // on the second screen
    EXPECT_EQ(place(-700, 10), QPoint(-700, 10));      // partly off, its title bar still there
    EXPECT_EQ(place(1800, 1000), QPoint(1800, 1000));  // across both, near the bottom
}

TEST(WindowPlacement, APositionOffEveryScreenIsCentredOnThePrimaryOne) {
    EXPECT_EQ(place(-2'005'341'822, 10), kCentred);  // as a damaged Config.dat once gave
    EXPECT_EQ(place(10, -20), kCentred);             // the title bar above the screen
    EXPECT_EQ(place(3300, 100), kCentred);           // right of the second screen
    EXPECT_EQ(place(10, 1030), kCentred);            // below the bottom
    EXPECT_EQ(place(INT_MAX, INT_MAX), kCentred);
    EXPECT_EQ(place(INT_MIN, INT_MIN), kCentred);
    // A window larger than the screen starts at its corner.
    EXPECT_EQ(placeWindow(INT_MIN, 0, QSize(3000, 2000), {kPrimary}, kPrimary), QPoint(0, 0));
}

}  // namespace
}  // namespace rek
