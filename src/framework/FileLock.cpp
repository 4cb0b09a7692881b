#include "framework/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "framework/SafeFile.h"

namespace framework {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

int OpenForLocking(const std::string& path, int flags) {
    return OpenNoFollow(path, flags | O_RDONLY, 0666);
}

bool IsRegular(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// True while `fd` is still the file at `path` (a save may have replaced it).
bool StillAt(int fd, const std::string& path) {
    struct stat a {};
    struct stat b {};
    return fstat(fd, &a) == 0 && stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

}  // namespace

ExclusiveFileLock::ExclusiveFileLock(const std::string& lockPath, const std::string& fallbackPath,
                                     std::chrono::milliseconds wait) {
    fd_ = OpenForLocking(lockPath, O_CREAT);
    onLockFile_ = fd_ >= 0;
    if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd_ = OpenForLocking(fallbackPath, 0);
    } else if (fd_ < 0 && errno != ENOENT && errno != ENOTDIR) {
        // A link (ELOOP), a directory (EISDIR), a socket (ENXIO) in its place.
        state_ = State::kNotAFile;
        return;
    }
    if (fd_ < 0) return;
    if (!IsRegular(fd_)) {
        state_ = State::kNotAFile;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            // The file itself is locked only where no save can replace it;
            // should one have done so all the same, lock the file now there.
            if (onLockFile_ || StillAt(fd_, fallbackPath)) {
                state_ = State::kHeld;
                return;
            }
            close(fd_);
            fd_ = OpenForLocking(fallbackPath, 0);
            if (fd_ < 0 || !IsRegular(fd_)) {
                state_ = fd_ < 0 ? State::kNoAccess : State::kNotAFile;
                return;
            }
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::kBusy;
            return;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    // flock itself failed (a file system without locks).
    state_ = State::kUnlocked;
}

ExclusiveFileLock::~ExclusiveFileLock() {
    if (fd_ >= 0) close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace framework
