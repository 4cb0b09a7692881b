// Reading and replacing a small data file that other users, other programs or
// a careless hand may have turned into something else: a symbolic link, a
// FIFO, a device, a huge file. Nothing here ever blocks, follows a link or
// reads without bound; a replace is whole or not at all. The file is reached
// through its open folder (TFileAt), so what was read is what is replaced.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/FileAt.h"

namespace framework {

// What reading a file gave.
enum class FileState {
    kRead,        // bytes hold the whole file
    kMissing,     // there is no such file
    kUnreadable,  // no permission, a link where none may be, an I/O error
    kNotRegular,  // a FIFO, socket, device or directory: never opened for data
    kTooLarge,    // longer than the reader's bound
};

// What a replacement of a file must keep of it: owner, permission bits,
// access list, and whether it may be replaced at all.
struct FileOwnership {
    std::uint32_t uid = 0;  // POSIX: the owner and group
    std::uint32_t gid = 0;
    mode_t mode = 0;  // POSIX: the permission bits
    // POSIX: the access list beyond the permission bits (the bytes of the
    // system.posix_acl_access attribute), empty where the file has none.
    std::string acl;
    // Windows: the file's attributes (hidden, system, archive, ...).
    std::uint32_t attributes = 0;
    // The file has more names than one (hard links), is a mount point of its
    // own (a single-file bind mount), or (on Windows) has an access list that
    // does not inherit from its folder: a replacement would split it from its
    // other names, could not be renamed there, or would take the folder's
    // access list instead. Only rewritten in place.
    bool keepInode = false;
};

struct FileContent {
    FileState state = FileState::kMissing;
    std::string bytes;
    FileOwnership owner;  // of a file read
};

// Reads the regular file without blocking, at most `maxBytes` of it: a file
// that holds more (whatever size it reports) gives kTooLarge and no bytes.
FileContent ReadRegularFile(const TFileAt& file, std::size_t maxBytes);

// Replaces the file by `bytes`: a temporary file beside it, its data flushed,
// then renamed over it, so every reader and a program killed half-way see the
// old file or the new one. `keep` is the old file's ownership, or nothing for
// a new file.
//
// The new file keeps the old owner, group, permission bits and access list
// as far as the system allows: root keeps the owner, a member of the file's
// group keeps the group. Where the old owner could not write a file that is
// no longer theirs, or the access list cannot be kept, nothing is replaced
// and kInPlace asks for the rewrite in place, which keeps the file as it is.
// A new file gets the permission bits of the umask, or the folder's default
// access list as any new file would, and its maker keeps reading and writing
// it whatever the umask; made by root in another user's folder it is given
// that folder's owner and group, or it is not made.
//
// kInPlace is also the answer, before anything is made, for a file that must
// keep its inode and for a folder that keeps every name made in it
// (append-only or immutable), where a temporary file could be neither renamed
// nor removed.
enum class ReplaceResult {
    kReplaced,
    kInPlace,  // the folder refuses new files or the rename, or the file must stay the same
               // one, or so must its owner or access list; nothing changed
    kFailed,   // the write failed (no room, size limit, no descriptors); nothing changed
};
ReplaceResult ReplaceFile(const TFileAt& file, const std::string& bytes,
                          const std::optional<FileOwnership>& keep);

// Rewrites the regular file, which now holds `oldBytes`, in place (for a file
// that cannot be replaced). The new length is reserved before the first byte
// changes, and on any failure the old bytes are written back, so a refused
// write (full disk, size limit) leaves the file as it was. Only a program
// killed in the middle of it can leave part of a file. Returns false when the
// write failed.
bool RewriteInPlace(const TFileAt& file, const std::string& oldBytes, const std::string& bytes);

// Makes the missing file with `bytes` under its own name, for a folder where
// a temporary file could not be renamed (new file rules as for ReplaceFile).
// A failed write leaves no file, or an empty one where the folder keeps
// every name made in it. Returns false when it failed.
bool CreateInPlace(const TFileAt& file, const std::string& bytes);

// True when the file may be written by this user (as open(2) would judge; on
// Windows also false for a file marked read-only).
bool MayWrite(const TFileAt& file);

// What both platforms' ReadRegularFile do with a regular file once it is
// open: `read` gives the bytes it read into its buffer (0 at the end, a
// negative number on an error), the file said it holds `size` bytes. Takes
// the whole file into `bytes`, but never more than `maxBytes` + 1 of it, also
// from a file that grows while it is read or holds more than it says (as
// those under /proc do): kRead, kTooLarge (no bytes) or kUnreadable.
FileState ReadBounded(const std::function<std::int64_t(char*, std::size_t)>& read,
                      std::uint64_t size, std::size_t maxBytes, std::string& bytes);

// What both platforms' RewriteInPlace do once the file that was read is open
// for writing, still as long as it was (`oldBytes`): makes room for the new
// length first (`reserve`, only where `bytes` is longer), writes `bytes` from
// the start, sets the length and flushes; where any step fails, writes the
// old bytes back (they fit in the room the file already had), or after a
// reservation that got part of the way only the old length, and flushes.
struct InPlaceWrites {
    std::function<bool(std::size_t)> reserve;  // room up to this length
    std::function<bool(const std::string&)> writeFromStart;
    std::function<bool(std::size_t)> setLength;
    std::function<bool()> flush;
};
bool RewriteWithWriteBack(const InPlaceWrites& file, const std::string& oldBytes,
                          const std::string& bytes);

}  // namespace framework
