#include "framework/SafeFile.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// The attribute that holds a file's access list beyond its permission bits.
constexpr char kAccessAcl[] = "system.posix_acl_access";

// The access list of the open file `fd`, empty where it has none.
std::string AccessAclOf(int fd) {
    std::string acl;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = fgetxattr(fd, kAccessAcl, nullptr, 0);
        if (size <= 0) return {};
        acl.resize(static_cast<std::size_t>(size));
        const ssize_t got = fgetxattr(fd, kAccessAcl, acl.data(), acl.size());
        if (got >= 0) {
            acl.resize(static_cast<std::size_t>(got));
            return acl;
        }
        if (errno != ERANGE) return {};  // else it grew: ask again
    }
    return {};
}

// Gives the temporary file `fd` the access list `acl`, or none (dropping
// what it took from its folder's default list). False where it failed.
bool SetAccessAcl(int fd, const std::string& acl) {
    if (!acl.empty()) return fsetxattr(fd, kAccessAcl, acl.data(), acl.size(), 0) == 0;
    return fremovexattr(fd, kAccessAcl) == 0 || errno == ENODATA || errno == EOPNOTSUPP;
}

// A file's maker keeps reading and writing it, whatever the umask. Only the
// owner's bits change: those of a default access list stay.
bool OwnerMayReadAndWrite(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    const mode_t mode = st.st_mode & 07777;
    return (mode & 0600) == 0600 || fchmod(fd, mode | 0600) == 0;
}

// statx's attributes of `fd` among `wanted`.
std::uint64_t Attributes(int fd, std::uint64_t wanted) {
    struct statx sx {};
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &sx) != 0) return 0;
    return sx.stx_attributes & sx.stx_attributes_mask & wanted;
}

// A folder in which no name can be removed or renamed away: a temporary file
// made there would stay for good.
bool KeepsEveryName(int folder) {
    return Attributes(folder, STATX_ATTR_APPEND | STATX_ATTR_IMMUTABLE) != 0;
}

// The owner and permission bits of a file just made beside `file`.
bool MadeAsNewFile(const TFileAt& file, int fd) {
    return GiveToFolderOwner(fd, file.Folder()) && OwnerMayReadAndWrite(fd);
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
    } else {
        out.state = ReadBounded(
            [fd](char* buffer, std::size_t room) -> std::int64_t {
                for (;;) {
                    const ssize_t n = read(fd, buffer, room);
                    if (n >= 0 || errno != EINTR) return n;
                }
            },
            static_cast<std::uint64_t>(st.st_size), maxBytes, out.bytes);
        if (out.state == FileState::kRead) {
            out.owner.uid = st.st_uid;
            out.owner.gid = st.st_gid;
            out.owner.mode = st.st_mode & 07777;
            out.owner.acl = AccessAclOf(fd);
            out.owner.keepInode = st.st_nlink > 1 || Attributes(fd, STATX_ATTR_MOUNT_ROOT) != 0;
        }
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
    if ((keep && keep->keepInode) || KeepsEveryName(file.Folder())) return ReplaceResult::kInPlace;
    // An old file's copy stays private until it has its owner and mode; a
    // new file is made as any new file is (umask or default access list).
    std::string temp;
    const int fd = CreateTemporary(file, temp, keep ? 0600 : 0666);
    if (fd < 0) return FolderRefuses(errno) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
    const auto discard = [&](ReplaceResult result) {
        close(fd);
        unlinkat(file.Folder(), temp.c_str(), 0);
        return result;
    };
    if (keep) {
        if (!KeepOwnership(fd, *keep)) return discard(ReplaceResult::kInPlace);
        // The permission bits after the owner (a change of owner clears
        // some), then the access list, which holds the group bits as its mask.
        if (fchmod(fd, keep->mode) != 0) return discard(ReplaceResult::kFailed);
        if (!SetAccessAcl(fd, keep->acl)) return discard(ReplaceResult::kInPlace);
    } else if (!MadeAsNewFile(file, fd)) {
        return discard(ReplaceResult::kFailed);
    }
    if (!WriteAllAt(fd, bytes.data(), bytes.size(), 0) || fdatasync(fd) != 0) {
        return discard(ReplaceResult::kFailed);
    }
    if (close(fd) != 0) {
        unlinkat(file.Folder(), temp.c_str(), 0);
        return ReplaceResult::kFailed;
    }
    if (renameat(file.Folder(), temp.c_str(), file.Folder(), file.Name().c_str()) == 0) {
        return ReplaceResult::kReplaced;
    }
    const int renameError = errno;
    unlinkat(file.Folder(), temp.c_str(), 0);
    // EBUSY: the file is a mount point of its own.
    return FolderRefuses(renameError) || renameError == EBUSY ? ReplaceResult::kInPlace
                                                              : ReplaceResult::kFailed;
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
    const off_t oldLength = static_cast<off_t>(oldBytes.size());
    bool ok = RewriteWithWriteBack(
        {[&](std::size_t length) {
             return posix_fallocate(fd, oldLength, static_cast<off_t>(length) - oldLength) == 0;
         },
         [&](const std::string& data) { return WriteAllAt(fd, data.data(), data.size(), 0); },
         [&](std::size_t length) { return ftruncate(fd, static_cast<off_t>(length)) == 0; },
         [&] { return fsync(fd) == 0; }},
        oldBytes, bytes);
    ok = close(fd) == 0 && ok;
    return ok;
}

bool CreateInPlace(const TFileAt& file, const std::string& bytes) {
    const int fd = OpenAt(file, O_RDWR | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    bool ok =
        MadeAsNewFile(file, fd) && WriteAllAt(fd, bytes.data(), bytes.size(), 0) && fsync(fd) == 0;
    if (!ok) {
        // Where the folder keeps the name, an empty file reads as no rankings.
        if (ftruncate(fd, 0) == 0) fsync(fd);
        unlinkat(file.Folder(), file.Name().c_str(), 0);
    }
    ok = close(fd) == 0 && ok;
    return ok;
}

bool MayWrite(const TFileAt& file) {
    return faccessat(file.Folder(), file.Name().c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace framework
