#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace rek {

// A file written so that readers only ever see the old content or the whole new one: the bytes
// go to a temporary file beside the target, which is flushed and renamed over the target on
// commit. Every file the program writes (models, images, Config.dat, the desktop association)
// goes through here.
//
// - The temporary name is short and unrelated to the target's, so a target named as long as
//   its folder allows can still be written.
// - A target that is a symbolic link stays one: the file it points at is replaced.
// - An existing target keeps its permission bits; a new one gets 0666 less the umask.
// - After the rename the folder is flushed too, so the new name survives a power cut.
// - Destroying an uncommitted file removes the temporary; the target is untouched.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when that is not possible (missing folder, no rights).
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

// The whole content in one go, through AtomicFile. False when anything fails; the target is
// then as it was.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace rek
