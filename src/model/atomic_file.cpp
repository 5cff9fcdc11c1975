#include "model/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>
#include <optional>
#include <random>
#include <utility>

namespace rek {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel allows
constexpr char kTempPrefix[] = ".rektool-";
constexpr char kTempSuffix[] = ".tmp";
constexpr std::size_t kTempDigits = 16;
constexpr int kTempAttempts = 16;

// The folder part with its final slash; empty for a bare name (the current folder).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string folderForCalls(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

std::optional<std::string> readLink(const std::string& path, std::size_t sizeHint) {
    std::string text(sizeHint > 0 ? sizeHint + 1 : 256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) < text.size()) {
            text.resize(static_cast<std::size_t>(n));
            return text;
        }
        if (text.size() >= (std::size_t{1} << 20))
            return std::nullopt;
        text.resize(text.size() * 2);
    }
}

// The end of the chain of links that starts at `path`, whether or not that end exists;
// nullopt for a loop or a link that cannot be read.
std::optional<std::string> followLinks(std::string path) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        const std::optional<std::string> link =
            readLink(path, static_cast<std::size_t>(status.st_size));
        if (!link || link->empty())
            return std::nullopt;
        path = (*link)[0] == '/' ? *link : folderOf(path) + *link;
    }
    return std::nullopt;
}

bool sameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name in `folderFd` still refers to the open file `fd`.
bool nameRefersTo(int folderFd, const char* name, int fd) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 &&
           ::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameInode(opened, named);
}

// The mode must grant some write permission (an editor refuses a read-only file even where
// the super-user could override it), and the saver must have it.
bool saverMayWrite(const std::string& path, const struct stat& status) {
    return (status.st_mode & 0222) != 0 &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool folderWritable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folderForCalls(folder).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string temporaryName(std::random_device& random) {
    const auto high = static_cast<unsigned long long>(random());
    const auto low = static_cast<unsigned long long>(random());
    char name[40];
    std::snprintf(name, sizeof name, "%s%08llx%08llx%s", kTempPrefix, high & 0xFFFFFFFFull,
                  low & 0xFFFFFFFFull, kTempSuffix);
    return name;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folderForCalls(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);  // best effort: the file itself is already safely written
    ::close(fd);
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = offset < 0 ? ::write(fd, bytes, size) : ::pwrite(fd, bytes, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
        if (offset >= 0)
            offset += n;
    }
    return true;
}

// Opens an existing temporary for locking; write-only is enough when the mode allows no more.
int openTemporaryOfOther(int folderFd, const char* name) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = ::openat(folderFd, name, O_RDONLY | kFlags);
    return fd >= 0 ? fd : ::openat(folderFd, name, O_WRONLY | kFlags);
}

}  // namespace

struct AtomicFile::Target {
    std::string folder;
    bool exists = false;
    struct stat status {};
};

bool isTemporaryName(const std::string& name) {
    const std::size_t prefix = sizeof kTempPrefix - 1;
    const std::size_t suffix = sizeof kTempSuffix - 1;
    if (name.size() != prefix + kTempDigits + suffix || name.compare(0, prefix, kTempPrefix) != 0 ||
        name.compare(prefix + kTempDigits, suffix, kTempSuffix) != 0) {
        return false;
    }
    for (std::size_t i = prefix; i < prefix + kTempDigits; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

int removeAbandonedTemporaries(const std::string& folder) {
    DIR* listing = ::opendir(folderForCalls(folder).c_str());
    if (listing == nullptr)
        return 0;
    const int folderFd = ::dirfd(listing);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        const int fd = openTemporaryOfOther(folderFd, entry->d_name);
        if (fd < 0)
            continue;
        struct stat status {};
        // A living writer holds the lock; the kernel lets it go when the writer dies.
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && nameRefersTo(folderFd, entry->d_name, fd) &&
            ::unlinkat(folderFd, entry->d_name, 0) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

AtomicFile::AtomicFile(std::string path, Flush flush)
    : requested_(std::move(path)), flush_(flush) {}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::fail(WriteFailure failure) {
    failure_ = failure;
    return false;
}

bool AtomicFile::open() {
    if (fd_ >= 0 || requested_.empty())
        return fail(WriteFailure::CannotCreate);
    failure_ = WriteFailure::None;
    const std::optional<std::string> followed = followLinks(requested_);
    if (!followed)
        return fail(WriteFailure::CannotCreate);
    path_ = *followed;

    Target target;
    target.folder = folderOf(path_);
    removeAbandonedTemporaries(target.folder);

    if (::lstat(path_.c_str(), &target.status) != 0) {
        if (errno != ENOENT)
            return fail(WriteFailure::CannotCreate);
        return openTemporary(target) || fail(WriteFailure::CannotCreate);
    }
    if (!S_ISREG(target.status.st_mode))
        return fail(WriteFailure::NotRegular);
    target.exists = true;
    if (!saverMayWrite(path_, target.status))
        return fail(WriteFailure::ReadOnly);
    // A rename would give the file a new inode: one without the other hard links, owned by the
    // saver, and impossible without a writable folder.
    if (!folderWritable(target.folder) || target.status.st_nlink > 1 ||
        target.status.st_uid != ::geteuid()) {
        return openInPlace(target);
    }
    if (openTemporary(target))
        return true;
    return failure_ == WriteFailure::None ? openInPlace(target) : false;
}

bool AtomicFile::openInPlace(const Target& target) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const bool refused = errno == EACCES || errno == EPERM || errno == EROFS;
        return fail(refused ? WriteFailure::ReadOnly : WriteFailure::CannotCreate);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
        !sameInode(opened, target.status)) {
        ::close(fd);
        return fail(WriteFailure::NotRegular);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    inPlace_ = true;
    pending_.clear();
    return true;
}

bool AtomicFile::openTemporary(const Target& target) {
    std::random_device random;
    const std::string folder = folderForCalls(target.folder);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return fail(WriteFailure::CannotCreate);
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        const std::string name = temporaryName(random);
        const int fd =
            ::openat(folderFd, name.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            ::close(folderFd);
            return fail(WriteFailure::CannotCreate);
        }
        // Between the creation and the lock, a save of another process may have taken the
        // fresh file for an abandoned one: then start again with another name.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !nameRefersTo(folderFd, name.c_str(), fd)) {
            ::close(fd);
            continue;
        }
        ::close(folderFd);
        fd_ = fd;
        tempPath_ = target.folder + name;
        inPlace_ = false;
        if (!target.exists)
            return true;

        // The group first: changing it may clear the set-id bits that the mode then restores.
        struct stat created {};
        const gid_t group = target.status.st_gid;
        const bool groupKept =
            ::fstat(fd, &created) == 0 &&
            (created.st_gid == group || ::fchown(fd, static_cast<uid_t>(-1), group) == 0);
        if (groupKept && ::fchmod(fd, target.status.st_mode & 07777) == 0)
            return true;
        discard();  // the file goes in place instead
        return false;
    }
    ::close(folderFd);
    return fail(WriteFailure::CannotCreate);
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failure_ != WriteFailure::None) {
        if (failure_ == WriteFailure::None)
            failure_ = WriteFailure::WriteFailed;
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (inPlace_) {
        try {
            pending_.insert(pending_.end(), bytes, bytes + size);
        } catch (const std::bad_alloc&) {
            return fail(WriteFailure::WriteFailed);
        }
        return true;
    }
    return writeAll(fd_, bytes, size, -1) || fail(WriteFailure::WriteFailed);
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failure_ != WriteFailure::None) {
        discard();
        return fail(failure_ == WriteFailure::None ? WriteFailure::WriteFailed : failure_);
    }
    const bool committed = inPlace_ ? commitInPlace() : commitByRename();
    discard();
    return committed;
}

bool AtomicFile::commitInPlace() {
    const std::size_t size = pending_.size();
    // Reserving the space first turns a full disk into a failure before the old content is
    // touched (where the file system can reserve).
    if (size > 0 && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return fail(WriteFailure::WriteFailed);
    }
    if (!writeAll(fd_, pending_.data(), size, 0) ||
        ::ftruncate(fd_, static_cast<off_t>(size)) != 0 || ::fsync(fd_) != 0) {
        return fail(WriteFailure::WriteFailed);
    }
    return true;
}

bool AtomicFile::commitByRename() {
    // The target may have changed since open(): what is no regular file now stays.
    struct stat now {};
    if (::lstat(path_.c_str(), &now) == 0 && !S_ISREG(now.st_mode))
        return fail(WriteFailure::NotRegular);
    // Renamed while still open and locked, so that no other save takes it for abandoned.
    const bool flush = flush_ == Flush::OnCommit;
    if ((flush && ::fsync(fd_) != 0) || ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        return fail(WriteFailure::WriteFailed);
    tempPath_.clear();
    if (flush)
        syncFolder(folderOf(path_));
    return true;
}

void AtomicFile::discard() {
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    std::vector<std::uint8_t>().swap(pending_);
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         Flush flush) {
    AtomicFile file(path, flush);
    return file.open() && file.write(bytes.data(), bytes.size()) && file.commit();
}

bool flushFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

void flushFolder(const std::string& folder) {
    syncFolder(folder);
}

}  // namespace rek
