#include "model/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "file_helpers.h"
#include "scratch_folder.h"
#include "unprivileged.h"

namespace rek {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

bool writeText(AtomicFile& file, const std::string& text) {
    return file.write(text.data(), text.size());
}

// How a whole write went, as a number a child process can return: 0 written by a rename,
// 1 written in place, 10 + the failure when open() failed, 20 + the failure when commit() did.
int writeAndReport(const std::string& path, const std::string& text) {
    AtomicFile file(path);
    if (!file.open())
        return 10 + static_cast<int>(file.failure());
    const bool inPlace = file.writesInPlace();
    if (!writeText(file, text) || !file.commit())
        return 20 + static_cast<int>(file.failure());
    return inPlace ? 1 : 0;
}

constexpr int kRenamed = 0;
constexpr int kInPlace = 1;
constexpr int openFailure(WriteFailure failure) {
    return 10 + static_cast<int>(failure);
}

struct stat statusOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status;
}

// Whether a call ends within a few seconds; a pipe that is opened would make it wait for ever.
template <typename Call>
bool endsSoon(Call call) {
    auto running = std::async(std::launch::async, call);
    return running.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
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
    // A folder inside the scratch folder that the user of runUnprivileged owns.
    fs::path ownedFolder(const std::string& name) {
        const fs::path path = folder.path(name);
        fs::create_directory(path);
        test::giveToUnprivileged(path);
        return path;
    }

    // A file of that user with the given content and mode.
    static void ownedFile(const fs::path& path, const std::string& text, fs::perms mode) {
        test::writeFileBytes(path, bytesOf(text));
        fs::permissions(path, mode);
        test::giveToUnprivileged(path);
    }

    // The body's result as an ordinary user; a test that cannot run one fails.
    static int asOrdinaryUser(const std::function<int()>& body) {
        const std::optional<int> result = test::runUnprivileged(body);
        EXPECT_TRUE(result.has_value()) << "the body could not run as an ordinary user";
        return result.value_or(-1);
    }

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

TEST_F(AtomicFileTest, MissingFolderFailsWithoutCreatingAnything) {
    EXPECT_FALSE(writeFileAtomically(folder.file("no/such/folder/a.dat"), bytesOf("new")));
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST_F(AtomicFileTest, ExistingTargetKeepsItsPermissionBitsThroughTheRename) {
    const fs::path own = ownedFolder("own");
    const fs::path path = own / "kept.dat";
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::others_read,
                                 fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_exec}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fs::remove(path);
        ownedFile(path, "old", mode);
        const ino_t before = statusOf(path).st_ino;
        EXPECT_EQ(asOrdinaryUser([&] { return writeAndReport(path, "new"); }), kRenamed);
        EXPECT_EQ(test::readFileBytes(path), bytesOf("new"));
        EXPECT_EQ(fs::status(path).permissions(), mode);
        EXPECT_NE(statusOf(path).st_ino, before);
        EXPECT_EQ(test::entriesIn(own), 1u);
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

TEST_F(AtomicFileTest, LinkChainsAreFollowedAlsoToAFileThatDoesNotExistYet) {
    fs::create_directory(folder.path("real"));
    fs::create_symlink("real/new.dat", folder.path("dangling.dat"));
    fs::create_symlink("dangling.dat", folder.path("chain.dat"));

    ASSERT_TRUE(writeFileAtomically(folder.file("chain.dat"), bytesOf("new")));
    EXPECT_EQ(test::readFileBytes(folder.path("real") / "new.dat"), bytesOf("new"));
    EXPECT_TRUE(fs::is_symlink(folder.path("dangling.dat")));
    EXPECT_TRUE(fs::is_symlink(folder.path("chain.dat")));
    EXPECT_EQ(test::entriesIn(folder.path("real")), 1u);

    // A loop ends nowhere: nothing is written.
    fs::create_symlink("loop2.dat", folder.path("loop1.dat"));
    fs::create_symlink("loop1.dat", folder.path("loop2.dat"));
    AtomicFile looping(folder.file("loop1.dat"));
    EXPECT_FALSE(looping.open());
    EXPECT_EQ(looping.failure(), WriteFailure::CannotCreate);
    EXPECT_EQ(folder.entryCount(), 5u);
}

TEST_F(AtomicFileTest, WhatIsNoRegularFileIsRefusedUntouchedAndWithoutWaiting) {
    fs::create_directory(folder.path("folder.dat"));
    test::writeFileBytes(folder.path("folder.dat") / "inside", bytesOf("kept"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.dat").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", folder.path("device.dat"));

    for (const char* name : {"folder.dat", "pipe.dat", "device.dat"}) {
        SCOPED_TRACE(name);
        int result = -1;
        ASSERT_TRUE(endsSoon([&] { result = writeAndReport(folder.file(name), "new"); }));
        EXPECT_EQ(result, openFailure(WriteFailure::NotRegular));
    }
    EXPECT_TRUE(fs::is_directory(folder.path("folder.dat")));
    EXPECT_TRUE(fs::is_fifo(folder.path("pipe.dat")));
    EXPECT_TRUE(fs::is_symlink(folder.path("device.dat")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(folder.entryCount(), 3u);
}

TEST_F(AtomicFileTest, AReadOnlyFileIsRefusedEvenWhereTheFolderWouldAllowARename) {
    const fs::path own = ownedFolder("own");
    const fs::path path = own / "read-only.dat";
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    ownedFile(path, "old", readOnly);

    EXPECT_EQ(asOrdinaryUser([&] { return writeAndReport(path, "new"); }),
              openFailure(WriteFailure::ReadOnly));
    // The super-user may override the mode, but a save does not do it behind the user's back.
    EXPECT_EQ(writeAndReport(path, "new"), openFailure(WriteFailure::ReadOnly));
    EXPECT_EQ(test::readFileBytes(path), bytesOf("old"));
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
    EXPECT_EQ(test::entriesIn(own), 1u);
}

TEST_F(AtomicFileTest, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
    const fs::path own = ownedFolder("own");
    const fs::path path = own / "kept.dat";
    ownedFile(path, "the old content, longer than the new",
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const ino_t before = statusOf(path).st_ino;
    fs::permissions(own, fs::perms::owner_read | fs::perms::owner_exec);

    EXPECT_EQ(asOrdinaryUser([&] { return writeAndReport(path, "new"); }), kInPlace);
    EXPECT_EQ(test::readFileBytes(path), bytesOf("new"));
    EXPECT_EQ(statusOf(path).st_ino, before);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A new file needs the folder.
    EXPECT_EQ(asOrdinaryUser([&] { return writeAndReport(own / "new.dat", "new"); }),
              openFailure(WriteFailure::CannotCreate));
    EXPECT_EQ(test::entriesIn(own), 1u);
}

TEST_F(AtomicFileTest, AHardLinkedFileIsWrittenInPlaceSoThatEveryNameSeesTheNewContent) {
    const fs::path own = ownedFolder("own");
    ownedFile(own / "first.dat", "the old content", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_hard_link(own / "first.dat", own / "second.dat");

    EXPECT_EQ(asOrdinaryUser([&] { return writeAndReport(own / "second.dat", "new"); }), kInPlace);
    EXPECT_EQ(test::readFileBytes(own / "first.dat"), bytesOf("new"));
    EXPECT_EQ(statusOf(own / "first.dat").st_ino, statusOf(own / "second.dat").st_ino);
    EXPECT_EQ(statusOf(own / "first.dat").st_nlink, 2u);
    EXPECT_EQ(test::entriesIn(own), 2u);
}

TEST_F(AtomicFileTest, TheSuperUserKeepsTheOwnerAndGroupOfWhatItWrites) {
    if (!test::runsAsRoot())
        GTEST_SKIP() << "only the super-user can write files of another owner or group";
    // Another user's file: written in place, so it stays theirs.
    const fs::path theirs = folder.path("theirs.dat");
    ownedFile(theirs, "old", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(writeAndReport(theirs, "new"), kInPlace);
    EXPECT_EQ(statusOf(theirs).st_uid, test::kUnprivilegedUid);
    EXPECT_EQ(test::readFileBytes(theirs), bytesOf("new"));

    // Its own file of another group, with the set-group-id bit that a change of group clears:
    // renamed into place with both.
    const fs::path grouped = folder.path("grouped.dat");
    test::writeFileBytes(grouped, bytesOf("old"));
    ASSERT_EQ(::chown(grouped.c_str(), 0, test::kUnprivilegedGid), 0);
    ASSERT_EQ(::chmod(grouped.c_str(), 02775), 0);
    const ino_t before = statusOf(grouped).st_ino;
    EXPECT_EQ(writeAndReport(grouped, "new"), kRenamed);
    EXPECT_NE(statusOf(grouped).st_ino, before);
    EXPECT_EQ(statusOf(grouped).st_gid, test::kUnprivilegedGid);
    EXPECT_EQ(statusOf(grouped).st_mode & 07777, 02775u);
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST_F(AtomicFileTest, TemporariesOfWritersThatDiedAreRemovedByTheNextWriteAndNoOthers) {
    test::writeFileBytes(target, bytesOf("old"));
    // A writer killed before its commit.
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        AtomicFile file(target);
        if (file.open() && writeText(file, "never committed"))
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(folder.entryCount(), 2u);
    // One an earlier version of the program left.
    test::writeFileBytes(folder.path(".rektool-0123456789abcdef.tmp"), bytesOf("left over"));
    // What is not a temporary of ours, or not abandoned, stays: a link named like one, a name
    // outside the pattern, and the temporary of a writer still at work.
    test::writeFileBytes(folder.path("outside.dat"), bytesOf("outside"));
    fs::create_symlink("outside.dat", folder.path(".rektool-fedcba9876543210.tmp"));
    test::writeFileBytes(folder.path(".rektool-notours.tmp"), bytesOf("kept"));
    AtomicFile living(folder.file("other.dat"));
    ASSERT_TRUE(living.open());

    ASSERT_TRUE(writeFileAtomically(target, bytesOf("new")));
    EXPECT_EQ(test::readFileBytes(target), bytesOf("new"));
    EXPECT_EQ(test::readFileBytes(folder.path("outside.dat")), bytesOf("outside"));
    EXPECT_EQ(folder.entryCount(), 5u);  // target, outside, the link, the odd name, the living
    ASSERT_TRUE(writeText(living, "living"));
    ASSERT_TRUE(living.commit());
    EXPECT_EQ(test::readFileBytes(folder.path("other.dat")), bytesOf("living"));
    EXPECT_EQ(folder.entryCount(), 5u);
}

TEST(AtomicFileNames, TemporariesAreRecognisedByTheirWholeName) {
    EXPECT_TRUE(isTemporaryName(".rektool-0123456789abcdef.tmp"));
    EXPECT_FALSE(isTemporaryName(".rektool-0123456789ABCDEF.tmp"));
    EXPECT_FALSE(isTemporaryName(".rektool-0123456789abcde.tmp"));
    EXPECT_FALSE(isTemporaryName(".rektool-0123456789abcdef.tmp~"));
    EXPECT_FALSE(isTemporaryName("rektool-0123456789abcdef0.tmp"));
}

}  // namespace
}  // namespace rek
