#include "export/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

namespace rek::detail {

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open() {
    if (fd_ >= 0 || path_.empty()) {
        return false;
    }
    // A short name of its own in the destination's folder, so that the rename stays within
    // one file system and a destination name of the longest allowed length still works.
    const std::size_t slash = path_.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, ".rektool-%08x%08x.tmp", random(), random());
        std::string candidate = folder + name;
        // 0666 so that the umask decides the final permissions, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = std::move(candidate);
            failed_ = false;
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) {
        failed_ = true;
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failed_ = true;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failed_) {
        discard();
        return false;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

}  // namespace rek::detail
