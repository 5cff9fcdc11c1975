#include "model/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "file_helpers.h"
#include "scratch_folder.h"

namespace rek {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

bool writeText(AtomicFile& file, const std::string& text) {
    return file.write(text.data(), text.size());
}

// Files written by this process may not grow beyond `limit` bytes while it lives; a write
// past it fails instead of killing the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

class AtomicFileTest : public ::testing::Test {
  protected:
    test::ScratchFolder folder;
    const std::string target = folder.file("target.dat");
};

TEST_F(AtomicFileTest, ReadersSeeTheOldContentUntilTheCommitAndThenAllOfTheNew) {
    test::writeFileBytes(target, bytesOf("old"));
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(writeText(file, "first part, "));
    ASSERT_TRUE(writeText(file, "second part"));
    EXPECT_EQ(test::readFileBytes(target), bytesOf("old"));

    ASSERT_TRUE(file.commit());
    EXPECT_EQ(test::readFileBytes(target), bytesOf("first part, second part"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, AnUncommittedFileLeavesNothingBehind) {
    test::writeFileBytes(target, bytesOf("old"));
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(writeText(file, "never committed"));
        EXPECT_EQ(folder.entryCount(), 2u);  // the target and the temporary beside it
    }
    EXPECT_EQ(test::readFileBytes(target), bytesOf("old"));
    EXPECT_EQ(folder.entryCount(), 1u);

    {
        AtomicFile file(folder.file("new.dat"));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(writeText(file, "never committed"));
    }
    EXPECT_FALSE(fs::exists(folder.path("new.dat")));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, FailedWriteFailsTheCommitAndKeepsTheOldFile) {
    test::writeFileBytes(target, bytesOf("old"));
    const std::string big(64 * 1024, 'x');
    bool wrote = true;
    bool committed = true;
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        FileSizeLimit limit(4096);
        if (!limit.active())
            GTEST_SKIP() << "the file size limit cannot be lowered";
        wrote = writeText(file, big);
        // A later write that would fit does not make up for the lost bytes.
        writeText(file, "y");
        committed = file.commit();
    }
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(committed);
    EXPECT_EQ(test::readFileBytes(target), bytesOf("old"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, FailedRenameRemovesTheTemporary) {
    // A folder with something in it cannot be replaced by a file.
    fs::create_directory(target);
    test::writeFileBytes(folder.path("target.dat") / "inside", bytesOf("kept"));
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(writeText(file, "new"));
    EXPECT_FALSE(file.commit());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, MissingFolderFailsWithoutCreatingAnything) {
    EXPECT_FALSE(writeFileAtomically(folder.file("no/such/folder/a.dat"), bytesOf("new")));
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST_F(AtomicFileTest, ExistingTargetKeepsItsPermissionBits) {
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_exec,
                                 fs::perms::owner_read | fs::perms::group_read}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fs::remove(target);
        test::writeFileBytes(target, bytesOf("old"));
        fs::permissions(target, mode);
        ASSERT_TRUE(writeFileAtomically(target, bytesOf("new")));
        EXPECT_EQ(test::readFileBytes(target), bytesOf("new"));
        EXPECT_EQ(fs::status(target).permissions(), mode);
    }
}

TEST_F(AtomicFileTest, NewTargetGetsTheUsualModeLessTheUmask) {
    const mode_t previous = ::umask(027);
    const bool written = writeFileAtomically(target, bytesOf("new"));
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFileTest, TwoWritersOfOneTargetEachHaveTheirOwnTemporary) {
    AtomicFile first(target);
    AtomicFile second(target);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    ASSERT_TRUE(writeText(first, "from the first writer"));
    ASSERT_TRUE(writeText(second, "second"));
    ASSERT_TRUE(first.commit());
    EXPECT_EQ(test::readFileBytes(target), bytesOf("from the first writer"));
    ASSERT_TRUE(second.commit());
    EXPECT_EQ(test::readFileBytes(target), bytesOf("second"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, LinkInAnotherFolderReplacesTheFileItPointsAt) {
    fs::create_directory(folder.path("real"));
    fs::create_directory(folder.path("links"));
    const fs::path real = folder.path("real") / "file.dat";
    test::writeFileBytes(real, bytesOf("old"));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = folder.path("links") / "link.dat";
    fs::create_symlink("../real/file.dat", link);

    ASSERT_TRUE(writeFileAtomically(link.string(), bytesOf("new")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFileBytes(real), bytesOf("new"));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(test::entriesIn(folder.path("real")), 1u);
    EXPECT_EQ(test::entriesIn(folder.path("links")), 1u);
}

}  // namespace
}  // namespace rek
