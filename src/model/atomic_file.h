#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rek {

// Why a file could not be written.
enum class WriteFailure {
    None,
    NotRegular,    // a folder, pipe, device or socket: refused, never replaced
    ReadOnly,      // the file's mode (or the file system) does not let the saver write it
    CannotCreate,  // no temporary beside the target and no way to write in place
    WriteFailed,   // writing, flushing or renaming failed
};

// Whether a commit waits until the file and the new name are on the disk. A writer of many
// files that are only put in place together later (a numbered image set) leaves that to
// flushFile and flushFolder, so that a slow flush does not hold up each file.
enum class Flush { OnCommit, ByCaller };

// A file written so that readers only ever see the old content or the whole new one, wherever
// the file system allows that, and as faithfully to the existing file as the saver may be.
// Every file the program writes (models, images, Config.dat, recovery copies, the desktop
// association) goes through here.
//
// What is replaced, and how:
// - A symbolic link is followed, through every link of a chain, also when its end does not
//   exist yet (the end is then created); the link itself stays.
// - Something other than a regular file (folder, pipe, device, socket) is refused, and so is a
//   regular file whose mode grants the saver no write permission.
// - Normally the bytes go to a temporary file beside the target, which is flushed and renamed
//   over the target on commit; the target keeps its permission bits and group, and the folder
//   is flushed after the rename so the new name survives a power cut.
// - When a rename would lose something the file has (its folder is not writable, it has more
//   than one hard link, the saver does not own it, or its group cannot be given to a new
//   file), the whole content is written into the file itself on commit: space is reserved
//   first where the file system can, then the bytes are written and the file is cut to their
//   length and flushed. Links, owner and mode survive; a failure during that write is
//   reported, and the file may then be damaged.
// - Temporary names are short and unrelated to the target's (a target named as long as its
//   folder allows can still be written), created exclusively and never through a link. A
//   temporary is locked while its writer lives; opening a file removes the temporaries that
//   killed writers left in the same folder (unlocked ones of the saver's own).
// - Destroying an uncommitted file removes the temporary; the target is untouched.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path, Flush flush = Flush::OnCommit);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Prepares the write: the temporary, or the target itself when it is written in place.
    // False when the target cannot be written at all; failure() tells why.
    bool open();
    // Appends bytes; a failure is remembered and makes commit fail.
    bool write(const void* data, std::size_t size);
    // Puts the whole content in place; false on any failure of the whole write.
    bool commit();

    WriteFailure failure() const { return failure_; }
    // After open(): whether the content goes into the target itself rather than by a rename.
    bool writesInPlace() const { return inPlace_; }

  private:
    struct Target;

    bool fail(WriteFailure failure);
    bool openInPlace(const Target& target);
    // Creates the temporary; false when the file would lose its group that way.
    bool openTemporary(const Target& target);
    bool commitInPlace();
    bool commitByRename();
    void discard();

    std::string requested_;
    std::string path_;  // the file really written: the end of any links
    std::string tempPath_;
    int fd_ = -1;
    bool inPlace_ = false;
    std::vector<std::uint8_t> pending_;  // the content written in place on commit
    WriteFailure failure_ = WriteFailure::None;
    Flush flush_ = Flush::OnCommit;
};

// The whole content in one go, through AtomicFile. False when anything fails; the target is
// then as it was (but see AtomicFile on writing in place).
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         Flush flush = Flush::OnCommit);

// For files committed with Flush::ByCaller: puts the content of `path` on the disk (false when
// that fails), and the names in `folder` once the files have their final names.
bool flushFile(const std::string& path);
void flushFolder(const std::string& folder);

// The name pattern of the temporaries: ".rektool-" and 16 hexadecimal digits, ".tmp".
bool isTemporaryName(const std::string& name);

// Removes from `folder` the temporaries of writers that no longer run (unlocked, regular, owned
// by the calling user). Returns how many were removed.
int removeAbandonedTemporaries(const std::string& folder);

}  // namespace rek
