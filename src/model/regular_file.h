#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rek {

// A regular file opened for reading. Opening never waits and never opens anything else: a
// pipe, device, socket or folder is refused before it is opened, and what was opened is checked
// again (the name may have changed in between).
class RegularFileReader {
  public:
    RegularFileReader() = default;
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // False when `path` names no regular file that can be read.
    bool open(const std::string& path);
    // The size when the file was opened.
    std::uint64_t size() const { return size_; }
    // Reads up to `size` bytes; fewer only at the end of the file or on a failure.
    std::size_t read(void* data, std::size_t size);

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace rek
