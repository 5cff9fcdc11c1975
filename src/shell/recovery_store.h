#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/model_file.h"

namespace rek {

// What a recovery copy says about itself.
struct RecoveryRecord {
    std::string originalPath;    // the file system's bytes; empty for an untitled model
    std::int64_t savedAtMs = 0;  // milliseconds since 1970, UTC
    std::int64_t processId = 0;

    friend bool operator==(const RecoveryRecord&, const RecoveryRecord&) = default;
};

std::string encodeRecoveryRecord(const RecoveryRecord& record);
// Nothing for text that is not a record of this program (or too large to be one).
std::optional<RecoveryRecord> decodeRecoveryRecord(const std::string& text);

// A copy left by an editor that no longer runs.
struct AbandonedCopy {
    std::string id;
    RecoveryRecord record;  // without a record file: no original path, the copy's time
};

// The folder of recovery copies: per running editor `<id>.rkm` (an ordinary model file) and
// `<id>.record`, and `<id>.lock`, which the editor holds locked while it runs. An editor that
// was killed or crashed loses its lock with its process, which is how its copy is recognised
// as abandoned; a copy of a running editor is never touched. Files are written through
// AtomicFile.
//
// This process's copy is written and removed on the autosave worker; the abandoned copies are
// dealt with on the UI thread at start-up. The two share nothing but the folder's name.
class RecoveryStore {
  public:
    explicit RecoveryStore(std::string folder);
    // Keeps a copy of this process that was not removed (its lock file stays, unlocked, so a
    // later start finds it); lets the abandoned copies still held go.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/rektool/recovery, or ~/.local/state/rektool/recovery, as bytes.
    static std::string defaultFolder();

    // Creates the folder (private to the user) and takes this process's lock. False when that
    // is impossible: there are no copies then.
    bool claim();
    const std::string& folder() const { return folder_; }
    const std::string& ownId() const { return ownId_; }

    // --- This process's copy (the worker) -------------------------------------------------
    // The model first, then the record; false when either fails.
    bool writeOwnCopy(std::span<const std::uint8_t> modelFile, const RecoveryRecord& record);
    void removeOwnCopy();

    // --- Copies of editors that no longer run (start-up) ----------------------------------
    // Newest first. Each stays locked for this process until it is discarded, kept aside or
    // released, so another editor starting meanwhile leaves it alone.
    std::vector<AbandonedCopy> findAbandoned();
    ModelFileRead readCopy(const AbandonedCopy& copy) const;
    // Deletes its files.
    void discard(const AbandonedCopy& copy);
    // Moves its files into keptAsideFolder(), where no start looks for copies; false when
    // they cannot be moved (they then stay where they are, for a later start).
    bool keepAside(const AbandonedCopy& copy);
    // Leaves its files for a later start.
    void release(const AbandonedCopy& copy);
    std::string keptAsideFolder() const;

    std::string copyPath(const std::string& id) const;
    std::string recordPath(const std::string& id) const;
    std::string lockPath(const std::string& id) const;

  private:
    void unlock(const std::string& id, bool removeLockFile);

    std::string folder_;
    std::string ownId_;
    int ownLock_ = -1;
    std::map<std::string, int> held_;  // abandoned copies locked by this process
};

}  // namespace rek
