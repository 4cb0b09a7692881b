#include "framework/SafeFile.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "framework/TempFiles.h"

namespace framework {
namespace {

bool WriteAllAt(int fd, const char* data, std::size_t size, off_t at) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The folder refuses what a replace needs of it (a new file, or renaming it
// over another user's file in a sticky folder), though the file itself may
// still be writable: the one case for writing in place.
bool FolderRefuses(int error) { return error == EACCES || error == EPERM || error == EROFS; }

bool UserInGroup(uid_t uid, gid_t gid) {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &pw, buf.data(), buf.size(), &found) != 0 || found == nullptr) return false;
    if (pw.pw_gid == gid) return true;
    int count = 64;
    std::vector<gid_t> groups;
    for (;;) {
        groups.resize(static_cast<std::size_t>(count));
        const int before = count;
        if (getgrouplist(pw.pw_name, pw.pw_gid, groups.data(), &count) >= 0) break;
        if (count <= before) return false;  // no growth asked for: give up
    }
    return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

// True when user `uid` may write a file that belongs to somebody else, of
// group `gid` with permission bits `mode` (root may write anything). A user
// the system does not know is taken to be in no group.
bool MayWriteAsNonOwner(uid_t uid, gid_t gid, mode_t mode) {
    if (uid == 0) return true;
    // A user in the group gets the group's bits, not the others' bits.
    return UserInGroup(uid, gid) ? (mode & S_IWGRP) != 0 : (mode & S_IWOTH) != 0;
}

// Gives the new file the old one's owner and group where the system allows
// it. False when the owner could not be kept and would lose the right to
// write the file.
bool KeepOwnership(int fd, const FileOwnership& old) {
    const uid_t me = FileSystemUser();
    // Only root can give a file away.
    if (old.uid != me && fchown(fd, old.uid, old.gid) == 0) return true;
    // At least the group, where we are a member of it; else it stays ours.
    const bool groupKept = fchown(fd, static_cast<uid_t>(-1), old.gid) == 0;
    if (old.uid == me) return true;
    struct stat now {};
    if (!groupKept && fstat(fd, &now) != 0) return false;
    return MayWriteAsNonOwner(old.uid, groupKept ? old.gid : now.st_gid, old.mode);
}

}  // namespace

FileContent ReadRegularFile(const TFileAt& file, std::size_t maxBytes) {
    FileContent out;
    const int fd = OpenAt(file, O_RDONLY);
    if (fd < 0) {
        // A socket cannot be opened at all (ENXIO).
        out.state = errno == ENOENT  ? FileState::kMissing
                    : errno == ENXIO ? FileState::kNotRegular
                                     : FileState::kUnreadable;
        return out;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        out.state = FileState::kUnreadable;
    } else if (!S_ISREG(st.st_mode)) {
        out.state = FileState::kNotRegular;
    } else if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        out.state = FileState::kTooLarge;
    } else {
        out.state = FileState::kRead;
        out.owner = {st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777)};
        // The file may hold more than it says (it grows while it is read, or
        // it is made as it is read, like those under /proc): never take more
        // than the bound.
        out.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        for (;;) {
            if (got == out.bytes.size()) {
                if (got > maxBytes) break;
                out.bytes.resize(std::min(maxBytes + 1, got * 2));
            }
            ssize_t n = read(fd, out.bytes.data() + got, out.bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) out.state = FileState::kUnreadable;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got > maxBytes) out.state = FileState::kTooLarge;
        out.bytes.resize(out.state == FileState::kRead ? got : 0);
    }
    close(fd);
    return out;
}

// The rename is what makes the save whole-or-nothing for every reader and
// against a program killed half-way. The new data reaches the disk before the
// rename (fdatasync), so a power cut can never leave a renamed file without
// its contents, on any file system. The folder itself is not flushed: after
// a power cut the rename may be lost, which leaves the old file whole, and
// skipping that second wait keeps a save within a few milliseconds.
ReplaceResult ReplaceFile(const TFileAt& file, const std::string& bytes,
                          const std::optional<FileOwnership>& keep) {
    std::string temp;
    const int fd = CreateTemporary(file, temp);
    if (fd < 0) return FolderRefuses(errno) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
    if (keep && !KeepOwnership(fd, *keep)) {
        close(fd);
        unlinkat(file.Folder(), temp.c_str(), 0);
        return ReplaceResult::kInPlace;
    }
    // The permission bits after the owner: a change of owner clears some.
    bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) &&
              fchmod(fd, keep ? keep->mode : NewFileMode()) == 0 && fdatasync(fd) == 0;
    ok = close(fd) == 0 && ok;
    int renameError = 0;
    if (ok && renameat(file.Folder(), temp.c_str(), file.Folder(), file.Name().c_str()) == 0) {
        return ReplaceResult::kReplaced;
    }
    if (ok) renameError = errno;
    unlinkat(file.Folder(), temp.c_str(), 0);
    return FolderRefuses(renameError) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
}

bool RewriteInPlace(const TFileAt& file, const std::string& oldBytes, const std::string& bytes) {
    const int fd = OpenAt(file, O_RDWR);
    if (fd < 0) return false;
    // Only the file that was read: no other kind, no other length.
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) != oldBytes.size()) {
        close(fd);
        return false;
    }
    // The room for the new length first: a full disk refuses it here, before
    // any byte of the file has changed.
    bool ok = true;
    if (bytes.size() > oldBytes.size()) {
        ok = posix_fallocate(fd, static_cast<off_t>(oldBytes.size()),
                             static_cast<off_t>(bytes.size() - oldBytes.size())) == 0;
    }
    const bool touched = ok;
    if (ok) {
        ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) &&
             ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    }
    if (!ok) {
        // Put the old bytes back (they fit in the room the file already had),
        // or, after a reservation that got part of the way, the old length.
        if (touched) WriteAllAt(fd, oldBytes.data(), oldBytes.size(), 0);
        if (ftruncate(fd, static_cast<off_t>(oldBytes.size())) == 0) fsync(fd);
    }
    ok = close(fd) == 0 && ok;
    return ok;
}

}  // namespace framework
