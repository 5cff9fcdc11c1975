#pragma once

// Recovery copies as an editor that was killed leaves them: written by a child process that
// then dies by SIGKILL, so that its locks go with it as they do in real life.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "model/model_file.h"
#include "shell/recovery_store.h"

namespace rek::test {

// Leaves the copy of `model` (and its record) in `folder` as a killed editor would; returns
// the copy's id, empty when the child failed.
inline std::string leaveAbandonedCopy(const std::string& folder, const Model& model,
                                      const RecoveryRecord& record) {
    int ids[2];
    if (::pipe(ids) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ids[0]);
        RecoveryStore store(folder);
        if (store.claim() && store.writeOwnCopy(encodeModelFile(model), record)) {
            [[maybe_unused]] const ssize_t sent =
                ::write(ids[1], store.ownId().data(), store.ownId().size());
            ::kill(::getpid(), SIGKILL);
        }
        ::_exit(1);
    }
    ::close(ids[1]);
    std::string id;
    char buffer[64];
    for (ssize_t n; (n = ::read(ids[0], buffer, sizeof buffer)) > 0;)
        id.append(buffer, static_cast<std::size_t>(n));
    ::close(ids[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the child that writes a copy failed";
    return WIFSIGNALED(status) ? id : std::string();
}

}  // namespace rek::test
