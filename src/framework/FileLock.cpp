#include "framework/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace framework {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

bool IsRegular(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// True while `fd` is still the file named by `file` (a save may have replaced it).
bool StillAt(int fd, const TFileAt& file) {
    struct stat a {};
    struct stat b {};
    return fstat(fd, &a) == 0 &&
           fstatat(file.Folder(), file.Name().c_str(), &b, AT_SYMLINK_NOFOLLOW) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

ExclusiveFileLock::ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait) {
    fd_ = OpenAt(file.Folder(), ".", O_RDONLY | O_DIRECTORY);
    onFolder_ = fd_ >= 0;
    if (fd_ < 0) {
        fd_ = OpenAt(file, O_RDONLY);
        if (fd_ < 0) {
            // A link (ELOOP) or a socket (ENXIO) in the file's place.
            state_ = errno == ELOOP || errno == ENXIO ? State::kNotAFile : State::kNoAccess;
            return;
        }
        if (!IsRegular(fd_)) {
            state_ = State::kNotAFile;
            return;
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            // The file itself is locked only where no save of ours can
            // replace it; should another user's have done so all the same,
            // lock the file now there.
            if (onFolder_ || StillAt(fd_, file)) {
                state_ = State::kHeld;
                return;
            }
            close(fd_);
            fd_ = OpenAt(file, O_RDONLY);
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
