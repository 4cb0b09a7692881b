#include "framework/SafeFile.h"

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "framework/FileUtils.h"
#include "framework/TempFiles.h"

namespace framework {
namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

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

}  // namespace

int OpenNoFollow(const std::string& path, int flags, mode_t mode) {
    int fd;
    do {
        fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

uid_t FileSystemUser() {
    // setfsuid answers the current file-system user; an invalid id changes nothing.
    return static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
}

std::optional<std::string> FollowAllowedLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat link {};
        if (lstat(current.c_str(), &link) != 0) {
            // A missing file is fine where it was named directly; through a
            // link it is a dangling link, and nothing may be made there.
            if (hops > 0 && errno == ENOENT) return std::nullopt;
            return current;
        }
        if (!S_ISLNK(link.st_mode)) return current;
        struct stat target {};
        if (stat(current.c_str(), &target) != 0) return std::nullopt;  // dangles or loops
        if (link.st_uid != FileSystemUser() && link.st_uid != target.st_uid) return std::nullopt;
        char buf[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), buf, sizeof(buf));
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(buf)) return std::nullopt;
        std::string next(buf, static_cast<std::size_t>(n));
        current = next.front() == '/' ? next : DirectoryOf(current) + "/" + next;
    }
    return std::nullopt;
}

FileContent ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    FileContent out;
    const int fd = OpenNoFollow(path, O_RDONLY);
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
        out.mode = st.st_mode & 07777;
        // The file may grow while it is read: never take more than the bound.
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
// its contents, on any file system. The directory itself is not flushed:
// after a power cut the rename may be lost, which leaves the old file whole,
// and skipping that second wait keeps a save within a few milliseconds.
ReplaceResult ReplaceFile(const std::string& path, const std::string& bytes,
                          std::optional<mode_t> mode) {
    std::string temp = TemporaryTemplate(path);
    const int fd = mkostemps(temp.data(), kTemporarySuffixLength, O_CLOEXEC);
    if (fd < 0) return ReplaceResult::kNoTemporary;
    bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) &&
              fchmod(fd, mode ? *mode : NewFileMode()) == 0 && fdatasync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (ok) return ReplaceResult::kReplaced;
    unlink(temp.c_str());
    return ReplaceResult::kFailed;
}

bool RewriteInPlace(const std::string& path, const std::string& oldBytes,
                    const std::string& bytes) {
    const int fd = OpenNoFollow(path, O_RDWR);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // The room for the new length first: a full disk refuses it here, before
    // any byte of the file has changed.
    if (ok && bytes.size() > oldBytes.size()) {
        ok = posix_fallocate(fd, static_cast<off_t>(oldBytes.size()),
                             static_cast<off_t>(bytes.size() - oldBytes.size())) == 0;
    }
    bool touched = false;
    if (ok) {
        touched = true;
        ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) &&
             ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    }
    if (!ok && touched) {
        // Put the old bytes back; they fit in the room the file already had.
        WriteAllAt(fd, oldBytes.data(), oldBytes.size(), 0);
        if (ftruncate(fd, static_cast<off_t>(oldBytes.size())) == 0) fsync(fd);
    } else if (!ok && bytes.size() > oldBytes.size()) {
        // A reservation that got part of the way leaves the length as it was.
        if (ftruncate(fd, static_cast<off_t>(oldBytes.size())) == 0) fsync(fd);
    }
    ok = close(fd) == 0 && ok;
    return ok;
}

}  // namespace framework
