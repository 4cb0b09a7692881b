// Reading and replacing a small data file that other users, other programs or
// a careless hand may have turned into something else: a symbolic link, a
// FIFO, a device, a huge file. Nothing here ever blocks, follows a link it
// should not, or reads without bound; a replace is whole or not at all.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>

namespace framework {

// The user whose permissions count for file access (the file-system user on
// Linux; it is the effective user unless changed on purpose).
uid_t FileSystemUser();

// Opens `path` as open(2) does, but never through a link in its last part
// (ELOOP) and never waiting (a FIFO opens at once); EINTR is retried.
int OpenNoFollow(const std::string& path, int flags, mode_t mode = 0);

// Follows `path` through symbolic links to the file it names. A link is
// followed only where the kernel's protected-symlink rule would follow it:
// the link belongs to the file-system user or to the owner of what it points
// to. Returns the final path (which need not exist when `path` is no link),
// or nothing for a link that may not be followed, that dangles or that loops.
std::optional<std::string> FollowAllowedLinks(const std::string& path);

// What reading a file gave.
enum class FileState {
    kRead,        // bytes hold the whole file
    kMissing,     // there is no such file
    kUnreadable,  // no permission, a link where none may be, an I/O error
    kNotRegular,  // a FIFO, socket, device or directory: never opened for data
    kTooLarge,    // longer than the reader's bound
};

struct FileContent {
    FileState state = FileState::kMissing;
    std::string bytes;
    mode_t mode = 0;  // permission bits of a file read
};

// Reads the regular file at `path` (no link is followed) without blocking,
// at most `maxBytes` of it: a longer file gives kTooLarge and no bytes.
FileContent ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at `path` by `bytes`: a temporary file beside it, its data
// flushed, then renamed over it, so every reader and a program killed
// half-way see the old file or the new one. `mode` gives the permission bits
// (those of the old file, or nothing for a new file under the umask).
enum class ReplaceResult {
    kReplaced,
    kNoTemporary,  // no temporary file can be made there; nothing changed
    kFailed,       // the write failed (full disk, size limit); nothing changed
};
ReplaceResult ReplaceFile(const std::string& path, const std::string& bytes,
                          std::optional<mode_t> mode);

// Rewrites the regular file at `path`, which now holds `oldBytes`, in place
// (for a file whose directory cannot be written). The new length is reserved
// before the first byte changes, and on any failure the old bytes are written
// back, so a refused write (full disk, size limit) leaves the file as it was.
// Only a program killed in the middle of it can leave part of a file.
// Returns false when the write failed.
bool RewriteInPlace(const std::string& path, const std::string& oldBytes, const std::string& bytes);

}  // namespace framework
