#include "model/atomic_file.h"

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
using fs::perms;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

bool writeText(AtomicFile& file, const std::string& text) {
    return file.write(text.data(), text.size());
}

// How a whole write of "new" went, as a number a child process can return: 0 written by a
// rename, 1 written in place, 10 + the failure when open() failed, 20 + the failure when commit()
// did.
constexpr int kRenamed = 0;
constexpr int kInPlace = 1;
constexpr int openFailure(WriteFailure failure) {
    return 10 + static_cast<int>(failure);
}
int writeAndReport(const fs::path& path) {
    AtomicFile file(path.string());
    if (!file.open())
        return openFailure(file.failure());
    const bool inPlace = file.writesInPlace();
    if (!writeText(file, "new") || !file.commit())
        return 20 + static_cast<int>(file.failure());
    return inPlace ? kInPlace : kRenamed;
}

// The same as an ordinary user; a test that cannot run one fails.
int writeAsUser(const fs::path& path) {
    const std::optional<int> result = test::runUnprivileged([&] { return writeAndReport(path); });
    EXPECT_TRUE(result.has_value()) << "could not run as an ordinary user";
    return result.value_or(-1);
}

struct stat statusOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status;
}

class AtomicFileTest : public ::testing::Test {
  protected:
    // A folder that the user of runUnprivileged owns, with a file of that user in it.
    fs::path ownedFolderWith(const std::string& name, const std::string& text, perms mode) {
        const fs::path own = folder.path("own");
        fs::create_directory(own);
        test::giveToUnprivileged(own);
        ownedFile(own / name, text, mode);
        return own;
    }
    static void ownedFile(const fs::path& path, const std::string& text, perms mode) {
        test::writeFileBytes(path, bytesOf(text));
        fs::permissions(path, mode);
        test::giveToUnprivileged(path);
    }

    test::ScratchFolder folder;
    const std::string target = folder.file("target.dat");
};

TEST_F(AtomicFileTest, ReadersSeeTheOldContentUntilTheCommitAndAnAbandonedWriteLeavesNothing) {
    test::writeFileBytes(target, bytesOf("old"));
    {
        AtomicFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        ASSERT_TRUE(writeText(abandoned, "never committed"));
        AtomicFile fresh(folder.file("new.dat"));
        ASSERT_TRUE(fresh.open());
    }
    EXPECT_FALSE(fs::exists(folder.path("new.dat")));
    EXPECT_EQ(folder.entryCount(), 1u);

    // Two writers of one target each have their own temporary.
    AtomicFile file(target);
    AtomicFile second(target);
    ASSERT_TRUE(file.open() && second.open());
    ASSERT_TRUE(writeText(file, "first part, ") && writeText(file, "second part"));
    ASSERT_TRUE(writeText(second, "second"));
    EXPECT_EQ(test::readFileBytes(target), bytesOf("old"));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(test::readFileBytes(target), bytesOf("first part, second part"));
    ASSERT_TRUE(second.commit());
    EXPECT_EQ(test::readFileBytes(target), bytesOf("second"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, FailedWriteFailsTheCommitAndKeepsTheOldFile) {
    test::writeFileBytes(target, bytesOf("old"));
    bool wrote = true;
    bool committed = true;
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        // Files may not grow beyond 4 KiB; a write past it fails instead of killing the process.
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = 4096;
        if (::setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
            std::signal(SIGXFSZ, handler);
            GTEST_SKIP() << "the file size limit cannot be lowered";
        }
        wrote = writeText(file, std::string(64 * 1024, 'x'));
        writeText(file, "y");  // a later write that fits does not make up for the lost bytes
        committed = file.commit();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(committed);
    EXPECT_EQ(test::readFileBytes(target), bytesOf("old"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFileTest, ExistingTargetKeepsItsPermissionBitsAndANewOneGetsTheUmasksMode) {
    for (const perms mode :
         {perms::owner_read | perms::owner_write,
          perms::owner_all | perms::group_read | perms::group_exec | perms::others_exec}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fs::remove_all(folder.path("own"));
        const fs::path own = ownedFolderWith("kept.dat", "old", mode);
        const ino_t before = statusOf(own / "kept.dat").st_ino;
        EXPECT_EQ(writeAsUser(own / "kept.dat"), kRenamed);
        EXPECT_EQ(test::readFileBytes(own / "kept.dat"), bytesOf("new"));
        EXPECT_EQ(fs::status(own / "kept.dat").permissions(), mode);
        EXPECT_NE(statusOf(own / "kept.dat").st_ino, before);
        EXPECT_EQ(test::entriesIn(own), 1u);
    }
    const mode_t previous = ::umask(027);
    const bool written = writeFileAtomically(target, bytesOf("new"));
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(target).permissions(),
              perms::owner_read | perms::owner_write | perms::group_read);
}

TEST_F(AtomicFileTest, LinksAreFollowedToTheFileTheyEndAtWhichMayNotExistYet) {
    fs::create_directory(folder.path("real"));
    fs::create_directory(folder.path("links"));
    const fs::path real = folder.path("real") / "file.dat";
    test::writeFileBytes(real, bytesOf("old"));
    fs::permissions(real, perms::owner_read | perms::owner_write);
    fs::create_symlink("../real/file.dat", folder.path("links") / "link.dat");
    ASSERT_TRUE(writeFileAtomically(folder.file("links/link.dat"), bytesOf("new")));
    EXPECT_TRUE(fs::is_symlink(folder.path("links") / "link.dat"));
    EXPECT_EQ(test::readFileBytes(real), bytesOf("new"));
    EXPECT_EQ(fs::status(real).permissions(), perms::owner_read | perms::owner_write);
    EXPECT_EQ(test::entriesIn(folder.path("real")), 1u);
    EXPECT_EQ(test::entriesIn(folder.path("links")), 1u);

    // A chain ending at a file not there yet.
    fs::create_symlink("real/new.dat", folder.path("dangling.dat"));
    fs::create_symlink("dangling.dat", folder.path("chain.dat"));
    ASSERT_TRUE(writeFileAtomically(folder.file("chain.dat"), bytesOf("new")));
    EXPECT_EQ(test::readFileBytes(folder.path("real") / "new.dat"), bytesOf("new"));
    EXPECT_TRUE(fs::is_symlink(folder.path("dangling.dat")));
    EXPECT_EQ(test::entriesIn(folder.path("real")), 2u);

    // A loop ends nowhere: nothing is written.
    fs::create_symlink("loop2.dat", folder.path("loop1.dat"));
    fs::create_symlink("loop1.dat", folder.path("loop2.dat"));
    EXPECT_EQ(writeAndReport(folder.path("loop1.dat")), openFailure(WriteFailure::CannotCreate));
    EXPECT_EQ(folder.entryCount(), 6u);
}

TEST_F(AtomicFileTest, WhatIsNoRegularFileIsRefusedUntouchedAndWithoutWaiting) {
    fs::create_directory(folder.path("folder.dat"));
    test::writeFileBytes(folder.path("folder.dat") / "inside", bytesOf("kept"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.dat").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", folder.path("device.dat"));

    for (const char* name : {"folder.dat", "pipe.dat", "device.dat"}) {
        // An opened pipe would make the write wait for ever.
        auto writing =
            std::async(std::launch::async, [&] { return writeAndReport(folder.path(name)); });
        ASSERT_EQ(writing.wait_for(std::chrono::seconds(3)), std::future_status::ready) << name;
        EXPECT_EQ(writing.get(), openFailure(WriteFailure::NotRegular)) << name;
    }
    EXPECT_TRUE(fs::is_directory(folder.path("folder.dat")));
    EXPECT_TRUE(fs::is_fifo(folder.path("pipe.dat")));
    EXPECT_TRUE(fs::is_symlink(folder.path("device.dat")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(folder.entryCount(), 3u);
}

TEST_F(AtomicFileTest, AReadOnlyFileIsRefusedEvenWhereTheFolderWouldAllowARename) {
    const perms readOnly = perms::owner_read | perms::group_read | perms::others_read;
    const fs::path own = ownedFolderWith("read-only.dat", "old", readOnly);
    EXPECT_EQ(writeAsUser(own / "read-only.dat"), openFailure(WriteFailure::ReadOnly));
    // The super-user may override the mode, but a save does not do it behind the user's back.
    EXPECT_EQ(writeAndReport(own / "read-only.dat"), openFailure(WriteFailure::ReadOnly));
    EXPECT_EQ(test::readFileBytes(own / "read-only.dat"), bytesOf("old"));
    EXPECT_EQ(fs::status(own / "read-only.dat").permissions(), readOnly);
    EXPECT_EQ(test::entriesIn(own), 1u);
}

TEST_F(AtomicFileTest, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
    const perms mode = perms::owner_read | perms::owner_write | perms::group_read;
    const fs::path own = ownedFolderWith("kept.dat", "the old content, longer than the new", mode);
    const ino_t before = statusOf(own / "kept.dat").st_ino;
    fs::permissions(own, perms::owner_read | perms::owner_exec);

    EXPECT_EQ(writeAsUser(own / "kept.dat"), kInPlace);
    EXPECT_EQ(test::readFileBytes(own / "kept.dat"), bytesOf("new"));
    EXPECT_EQ(statusOf(own / "kept.dat").st_ino, before);
    EXPECT_EQ(fs::status(own / "kept.dat").permissions(), mode);
    // A new file needs the folder.
    EXPECT_EQ(writeAsUser(own / "new.dat"), openFailure(WriteFailure::CannotCreate));
    EXPECT_EQ(test::entriesIn(own), 1u);
}

TEST_F(AtomicFileTest, AHardLinkedFileIsWrittenInPlaceSoThatEveryNameSeesTheNewContent) {
    const fs::path own =
        ownedFolderWith("first.dat", "the old content", perms::owner_read | perms::owner_write);
    fs::create_hard_link(own / "first.dat", own / "second.dat");

    EXPECT_EQ(writeAsUser(own / "second.dat"), kInPlace);
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
    ownedFile(theirs, "old", perms::owner_read | perms::owner_write);
    EXPECT_EQ(writeAndReport(theirs), kInPlace);
    EXPECT_EQ(statusOf(theirs).st_uid, test::kUnprivilegedUid);
    EXPECT_EQ(test::readFileBytes(theirs), bytesOf("new"));

    // Its own file of another group, with the set-group-id bit that a change of group clears:
    // renamed into place with both.
    const fs::path grouped = folder.path("grouped.dat");
    test::writeFileBytes(grouped, bytesOf("old"));
    ASSERT_EQ(::chown(grouped.c_str(), 0, test::kUnprivilegedGid), 0);
    ASSERT_EQ(::chmod(grouped.c_str(), 02775), 0);
    const ino_t before = statusOf(grouped).st_ino;
    EXPECT_EQ(writeAndReport(grouped), kRenamed);
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
    ASSERT_TRUE(writeText(living, "living") && living.commit());
    EXPECT_EQ(test::readFileBytes(folder.path("other.dat")), bytesOf("living"));
    EXPECT_EQ(folder.entryCount(), 5u);
}

}  // namespace
}  // namespace rek
