#pragma once

// The files of a numbered set, written so that a set that fails or is stopped leaves nothing:
// each file goes to a staging name beside its target first, and only when all of them are
// there are they renamed to their targets. Until then the targets (old files of the same
// names included) are untouched.

#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace rek {

class StagedFiles {
  public:
    StagedFiles() = default;
    // Removes every staged file that was not committed.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // A new staging name in the folder of `target`, short and hidden, remembered with the
    // target. The caller writes the file there (atomically, so a failed write leaves nothing;
    // without flushing it, which commit does for all of them).
    std::string stage(const std::string& target);

    enum class Commit { Done, Stopped, Failed };

    // Flushes every staged file to the disk and renames it to its target, in staging order, then
    // flushes the folders. Before the first rename, every target is checked not to be a folder
    // and every file is flushed (a stop is still taken then), so that the usual failures leave
    // no file renamed. Unless done, the staged files left are removed; on failure
    // `failedTarget` names the target, and files renamed before a failing rename stay (each
    // is whole).
    Commit commit(const std::stop_token& stop, std::string& failedTarget);

    // Removes the staged files now.
    void discard();

  private:
    std::vector<std::pair<std::string, std::string>> files_;  // staging name, target
};

}  // namespace rek
