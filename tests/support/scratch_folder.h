#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace rek::test {

// A fresh folder for one test, below the test framework's temporary folder and named after the
// test, removed with everything in it at the end (also when a test took its write permission).
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path path(const std::string& name) const { return path_ / name; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Files and folders directly inside, hidden ones included.
    std::size_t entryCount() const;

  private:
    std::filesystem::path path_;
};

}  // namespace rek::test
