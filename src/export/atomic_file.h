#pragma once

#include <cstddef>
#include <string>

namespace rek::detail {

// A file written under a temporary name beside its destination and renamed into place on
// commit, so that readers never see a half-written file and a failed write leaves the old
// file (or none) behind. Destroying an uncommitted file removes the temporary.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when that is not possible (e.g. missing folder).
    bool open();
    // Appends bytes; a failure is remembered and makes commit fail.
    bool write(const void* data, std::size_t size);
    // Flushes, closes and renames into place; false on any failure of the whole write.
    bool commit();

  private:
    void discard();

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace rek::detail
