#include "shell/recovery_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "file_helpers.h"
#include "recovery_test_support.h"
#include "scratch_folder.h"
#include "shell_test_support.h"

namespace rek {
namespace {

namespace fs = std::filesystem;

Model drawing(std::initializer_list<std::initializer_list<Point>> lines) {
    Model model;
    model.vertices = test::strokes(lines);
    return model;
}

TEST(RecoveryRecord, RoundTripsAnyPathBytesAndRefusesWhatIsNoRecord) {
    for (const RecoveryRecord& record :
         {RecoveryRecord{"/home/u/bad\xff\xfe name.rkm", 1'700'000'000'123, 4242},
          RecoveryRecord{"", 0, 1}}) {
        EXPECT_EQ(decodeRecoveryRecord(encodeRecoveryRecord(record)), record);
    }
    for (const std::string& bad :
         {std::string(), std::string("rektool recovery 2\npid 1\nsaved 2\npath \n"),
          std::string("rektool recovery 1\npid 1\nsaved 2\n"),
          std::string("rektool recovery 1\npid -1\nsaved 2\npath \n"),
          std::string("rektool recovery 1\npid 1\nsaved 99999999999999999999\npath \n"),
          encodeRecoveryRecord({"/a.rkm", 5, 6}) + std::string(70'000, ' ')})
        EXPECT_FALSE(decodeRecoveryRecord(bad)) << bad.substr(0, 60);
}

class RecoveryStoreTest : public ::testing::Test {
  protected:
    test::ScratchFolder scratch;
    const std::string folder = scratch.file("state/rektool/recovery");
};

TEST_F(RecoveryStoreTest, KilledEditorsLeaveCopiesThatAreOfferedNewestFirst) {
    const std::string older =
        test::leaveAbandonedCopy(folder, drawing({{{1, 1}, {2, 2}}}), {"/older.rkm", 1000, 11});
    const std::string newer =
        test::leaveAbandonedCopy(folder, drawing({{{3, 3}, {4, 4}}}), {"/newer\xff.rkm", 2000, 12});
    ASSERT_FALSE(older.empty());
    ASSERT_FALSE(newer.empty());

    RecoveryStore store(folder);
    ASSERT_TRUE(store.claim());
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << "a private folder";
    const std::vector<AbandonedCopy> copies = store.findAbandoned();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].id, newer);
    EXPECT_EQ(copies[0].record, (RecoveryRecord{"/newer\xff.rkm", 2000, 12}));
    EXPECT_EQ(copies[1].id, older);
    const ModelFileRead read = store.readCopy(copies[0]);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).vertices[0].x, 3);

    // While this start holds them, another start leaves them alone.
    RecoveryStore other(folder);
    ASSERT_TRUE(other.claim());
    EXPECT_TRUE(other.findAbandoned().empty());
}

TEST_F(RecoveryStoreTest, ALockWithoutACopyIsTidiedAndACopyWithoutARecordIsUntitled) {
    RecoveryStore store(folder);
    ASSERT_TRUE(store.claim());
    // A killed editor that never wrote a copy, and one killed between the copy and its record.
    test::writeFileBytes(store.lockPath("123-0badcafe"), {});
    const std::vector<std::uint8_t> image = encodeModelFile(drawing({{{5, 5}, {6, 6}}}));
    test::writeFileBytes(store.copyPath("124-00c0ffee"), image);
    // Names of other kinds are no copies.
    test::writeFileBytes(scratch.path("state/rektool/recovery/notes.rkm"), image);

    const std::vector<AbandonedCopy> copies = store.findAbandoned();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].id, "124-00c0ffee");
    EXPECT_TRUE(copies[0].record.originalPath.empty());
    EXPECT_GT(copies[0].record.savedAtMs, 0);
    EXPECT_FALSE(fs::exists(store.lockPath("123-0badcafe")));
}

}  // namespace
}  // namespace rek
