#pragma once

// File permissions do not bind the super-user, so tests of them run their body in a child
// process that first drops to an ordinary user when the suite runs as root.

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <functional>
#include <optional>

namespace rek::test {

// The user the super-user becomes: "nobody", whose group is "nogroup" on Debian.
inline constexpr uid_t kUnprivilegedUid = 65534;
inline constexpr gid_t kUnprivilegedGid = 65534;

inline bool runsAsRoot() {
    return ::geteuid() == 0;
}

// Runs `body` in a child process, as kUnprivilegedUid when the caller is root and as the
// caller otherwise. Returns the body's result (0 to 125), or nullopt when the child could not
// be started, could not drop its privileges, or died. The body must not use test assertions:
// they would fail only in the child.
inline std::optional<int> runUnprivileged(const std::function<int()>& body) {
    constexpr int kCannotDrop = 126;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (runsAsRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGid) != 0 ||
                             ::setuid(kUnprivilegedUid) != 0)) {
            ::_exit(kCannotDrop);
        }
        ::_exit(body() & 0x7F);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) == kCannotDrop)
        return std::nullopt;
    return WEXITSTATUS(status);
}

// Gives `path` to the user runUnprivileged runs as (nothing to do when that is the caller).
inline void giveToUnprivileged(const std::filesystem::path& path) {
    if (runsAsRoot()) {
        [[maybe_unused]] const int ignored =
            ::lchown(path.c_str(), kUnprivilegedUid, kUnprivilegedGid);
    }
}

}  // namespace rek::test
