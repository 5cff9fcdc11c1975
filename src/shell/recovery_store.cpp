#include "shell/recovery_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>

#include "model/atomic_file.h"
#include "model/regular_file.h"

namespace rek {
namespace {

constexpr char kRecordHeading[] = "rektool recovery 1";
constexpr std::size_t kMaxRecordSize = 64 * 1024;
constexpr char kCopySuffix[] = ".rkm";
constexpr char kRecordSuffix[] = ".record";
constexpr char kLockSuffix[] = ".lock";
constexpr std::size_t kIdRandomDigits = 8;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// "<process id>-<8 hexadecimal digits>", as claim() makes them.
bool isCopyId(const std::string& id) {
    const std::size_t dash = id.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 10 ||
        id.size() != dash + 1 + kIdRandomDigits) {
        return false;
    }
    return std::all_of(id.begin(), id.begin() + static_cast<std::ptrdiff_t>(dash),
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           std::all_of(id.begin() + static_cast<std::ptrdiff_t>(dash) + 1, id.end(), isHexDigit);
}

// The id of a file of the folder, or empty for anything else.
std::string idOfFileName(const std::string& name) {
    for (const char* suffix : {kCopySuffix, kRecordSuffix, kLockSuffix}) {
        const std::string ending(suffix);
        if (name.size() > ending.size() && name.ends_with(ending)) {
            std::string id = name.substr(0, name.size() - ending.size());
            return isCopyId(id) ? id : std::string();
        }
    }
    return {};
}

std::string newId() {
    std::random_device random;
    char id[48];
    std::snprintf(id, sizeof id, "%lld-%08x", static_cast<long long>(::getpid()),
                  static_cast<unsigned>(random()));
    return id;
}

std::string hexOf(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

std::optional<std::string> bytesOfHex(const std::string& hex) {
    if (hex.size() % 2 != 0 || !std::all_of(hex.begin(), hex.end(), isHexDigit))
        return std::nullopt;
    auto value = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1]));
    return bytes;
}

std::optional<std::int64_t> numberOf(const std::string& text) {
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoll(text);
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::int64_t modifiedAtMs(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return 0;
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000 +
           status.st_mtim.tv_nsec / 1'000'000;
}

std::optional<RecoveryRecord> readRecordFile(const std::string& path) {
    RegularFileReader in;
    if (!in.open(path) || in.size() > kMaxRecordSize)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(in.size()), '\0');
    if (in.read(text.data(), text.size()) != text.size())
        return std::nullopt;
    return decodeRecoveryRecord(text);
}

// A folder of the user's own, which nobody else may read: it holds their drawings.
bool makePrivateFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return false;
    }
    return (status.st_mode & 077) == 0 || ::chmod(folder.c_str(), 0700) == 0;
}

}  // namespace

std::string encodeRecoveryRecord(const RecoveryRecord& record) {
    std::ostringstream out;
    out << kRecordHeading << '\n'
        << "pid " << record.processId << '\n'
        << "saved " << record.savedAtMs << '\n'
        << "path " << hexOf(record.originalPath) << '\n';
    return out.str();
}

std::optional<RecoveryRecord> decodeRecoveryRecord(const std::string& text) {
    if (text.size() > kMaxRecordSize)
        return std::nullopt;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kRecordHeading)
        return std::nullopt;
    std::optional<std::int64_t> pid;
    std::optional<std::int64_t> saved;
    std::optional<std::string> path;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value =
            space == std::string::npos ? std::string() : line.substr(space + 1);
        if (key == "pid")
            pid = numberOf(value);
        else if (key == "saved")
            saved = numberOf(value);
        else if (key == "path")
            path = bytesOfHex(value);
    }
    if (!pid || !saved || !path)
        return std::nullopt;
    return RecoveryRecord{*path, *saved, *pid};
}

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {}

RecoveryStore::~RecoveryStore() {
    for (const auto& [id, fd] : held_)
        ::close(fd);
    if (ownLock_ >= 0) {
        // Without a copy the lock file has nothing to guard.
        if (!isRegularFile(copyPath(ownId_)) && !isRegularFile(recordPath(ownId_)))
            ::unlink(lockPath(ownId_).c_str());
        ::close(ownLock_);
    }
}

std::string RecoveryStore::defaultFolder() {
    // Relative locations are invalid for the XDG variables and ignored.
    std::string base;
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            const passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : "/";
        }
        base = std::string(home) + "/.local/state";
    }
    return base + "/rektool/recovery";
}

std::string RecoveryStore::copyPath(const std::string& id) const {
    return folder_ + "/" + id + kCopySuffix;
}

std::string RecoveryStore::recordPath(const std::string& id) const {
    return folder_ + "/" + id + kRecordSuffix;
}

std::string RecoveryStore::lockPath(const std::string& id) const {
    return folder_ + "/" + id + kLockSuffix;
}

std::string RecoveryStore::keptAsideFolder() const {
    return folder_ + "/unreadable";
}

bool RecoveryStore::claim() {
    if (ownLock_ >= 0)
        return true;
    if (folder_.empty() || !makePrivateFolder(folder_))
        return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string id = newId();
        const int fd =
            ::open(lockPath(id).c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::unlink(lockPath(id).c_str());
            ::close(fd);
            return false;
        }
        ownId_ = id;
        ownLock_ = fd;
        return true;
    }
    return false;
}

bool RecoveryStore::writeOwnCopy(std::span<const std::uint8_t> modelFile,
                                 const RecoveryRecord& record) {
    if (ownLock_ < 0)
        return false;
    const std::string text = encodeRecoveryRecord(record);
    return writeFileAtomically(copyPath(ownId_), modelFile) &&
           writeFileAtomically(
               recordPath(ownId_),
               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void RecoveryStore::removeOwnCopy() {
    if (ownLock_ < 0)
        return;
    // The record first: a copy without one is still offered (untitled), a record without its
    // copy would only be reported as unreadable.
    ::unlink(recordPath(ownId_).c_str());
    ::unlink(copyPath(ownId_).c_str());
}

std::vector<AbandonedCopy> RecoveryStore::findAbandoned() {
    std::set<std::string> ids;
    if (DIR* listing = ::opendir(folder_.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            std::string id = idOfFileName(entry->d_name);
            if (!id.empty() && id != ownId_)
                ids.insert(std::move(id));
        }
        ::closedir(listing);
    }

    std::vector<AbandonedCopy> copies;
    for (const std::string& id : ids) {
        if (!held_.contains(id)) {
            // Created when missing: whoever holds the lock file, not whoever made it, owns the
            // copy. A running editor holds its own.
            const int fd = ::open(lockPath(id).c_str(),
                                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
            if (fd < 0)
                continue;
            struct stat status {};
            if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
                ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                ::close(fd);
                continue;
            }
            held_[id] = fd;
        }
        const bool hasCopy = isRegularFile(copyPath(id));
        const bool hasRecord = isRegularFile(recordPath(id));
        if (!hasCopy && !hasRecord) {
            // An editor that ended cleanly just now, or a lock left without a copy.
            unlock(id, /*removeLockFile=*/true);
            continue;
        }
        AbandonedCopy copy{id, {}};
        if (const std::optional<RecoveryRecord> record = readRecordFile(recordPath(id)))
            copy.record = *record;
        else
            copy.record.savedAtMs = modifiedAtMs(copyPath(id));
        copies.push_back(std::move(copy));
    }
    std::sort(copies.begin(), copies.end(), [](const AbandonedCopy& a, const AbandonedCopy& b) {
        return a.record.savedAtMs > b.record.savedAtMs;
    });
    return copies;
}

ModelFileRead RecoveryStore::readCopy(const AbandonedCopy& copy) const {
    return readModel(copyPath(copy.id));
}

void RecoveryStore::unlock(const std::string& id, bool removeLockFile) {
    const auto held = held_.find(id);
    if (held == held_.end())
        return;
    if (removeLockFile)
        ::unlink(lockPath(id).c_str());
    ::close(held->second);
    held_.erase(held);
}

void RecoveryStore::discard(const AbandonedCopy& copy) {
    if (!held_.contains(copy.id))
        return;
    ::unlink(recordPath(copy.id).c_str());
    ::unlink(copyPath(copy.id).c_str());
    unlock(copy.id, /*removeLockFile=*/true);
}

bool RecoveryStore::keepAside(const AbandonedCopy& copy) {
    if (!held_.contains(copy.id))
        return false;
    const std::string aside = keptAsideFolder();
    if (!makePrivateFolder(aside)) {
        release(copy);
        return false;
    }
    for (const char* suffix : {kCopySuffix, kRecordSuffix}) {
        const std::string from = folder_ + "/" + copy.id + suffix;
        const std::string to = aside + "/" + copy.id + suffix;
        if (::rename(from.c_str(), to.c_str()) != 0 && errno != ENOENT) {
            release(copy);
            return false;
        }
    }
    unlock(copy.id, /*removeLockFile=*/true);
    return true;
}

void RecoveryStore::release(const AbandonedCopy& copy) {
    unlock(copy.id, /*removeLockFile=*/false);
}

}  // namespace rek
