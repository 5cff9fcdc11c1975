#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "canvas/editor.h"
#include "shell/recovery_store.h"

namespace rek {

// What a recovery copy holds, the wobble offsets aside (they change every 60 ms and mean
// nothing to the user): enough to tell whether the document changed since the copy.
class CopiedDocument {
  public:
    explicit CopiedDocument(const Model& model);
    bool sameAs(const Model& model) const;

  private:
    ModelProperties properties_;
    std::vector<std::int32_t> coordinates_;  // x, y of each vertex
    std::vector<std::uint8_t> kinds_;
    std::string path_;
};

// Writes the recovery copies of this process on a thread of its own, in the order asked. A
// write still waiting when another is asked for is dropped for the newer one.
class RecoveryWriter {
  public:
    explicit RecoveryWriter(RecoveryStore& store);
    ~RecoveryWriter();  // finishes what was asked
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void write(std::vector<std::uint8_t> modelFile, RecoveryRecord record);
    void remove();
    // Waits until everything asked is done; true when the last write succeeded.
    bool wait();
    // Set by a failed write, cleared by the caller that retries.
    bool takeFailure() { return failed_.exchange(false); }

  private:
    struct Job {
        bool remove = false;
        std::vector<std::uint8_t> modelFile;
        RecoveryRecord record;
    };
    void run();

    RecoveryStore& store_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    bool lastWriteOk_ = true;
    std::atomic<bool> failed_ = false;
    std::thread thread_;
};

// Keeps a recovery copy of the open document while it has unsaved changes: every interval,
// and on request (a termination signal), only when something changed since the last copy. The
// model is serialised on the UI thread; the file is written by the RecoveryWriter, so a frame
// waits for no disk. When the document has no unsaved changes any more (saved, New, Open) the
// copy is removed.
class Autosave : public QObject {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kDefaultInterval{60'000};
    // The environment variable that sets another interval in milliseconds (for tests).
    static constexpr const char* kIntervalVariable = "REKTOOL_AUTOSAVE_INTERVAL_MS";
    static std::chrono::milliseconds intervalFromEnvironment();

    Autosave(Editor& editor, RecoveryStore& store, QObject* parent = nullptr);
    ~Autosave() override;

    void start(std::chrono::milliseconds interval);
    void stop();
    // Queues a copy when one is due (see the class comment).
    void tick();
    // Writes a copy when one is due and waits for it; true when the copy on disk then holds
    // the document (or none is needed).
    bool writeNow();
    // Removes this process's copy and waits: the end of a session whose changes the user
    // saved or dropped.
    void removeCopy();

  private:
    void onEditorChanged();

    Editor& editor_;
    RecoveryStore& store_;
    QTimer timer_;
    std::optional<CopiedDocument> copied_;
    RecoveryWriter writer_;
};

}  // namespace rek
