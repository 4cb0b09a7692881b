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

using Clock = std::chrono::steady_clock;

enum class Taken { kYes, kBusy, kNoLocks };

// flock(LOCK_EX) on `fd`, tried until `deadline`.
Taken Lock(int fd, Clock::time_point deadline) {
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return Taken::kYes;
        if (errno != EWOULDBLOCK && errno != EINTR) return Taken::kNoLocks;
        if (Clock::now() >= deadline) return Taken::kBusy;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

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
    const auto deadline = Clock::now() + wait;
    folder_ = OpenAt(file.Folder(), ".", O_RDONLY | O_DIRECTORY);
    onFolder_ = folder_ >= 0;
    if (onFolder_) {
        switch (Lock(folder_, deadline)) {
            case Taken::kYes:
                break;
            case Taken::kBusy:
                state_ = State::kBusy;
                return;
            case Taken::kNoLocks:
                state_ = State::kUnlocked;  // the file system takes no locks
                return;
        }
    }
    for (;;) {
        file_ = OpenAt(file, O_RDONLY);
        if (file_ < 0) {
            // No file yet: the folder's lock keeps every other save out, as
            // a program that may not read the folder cannot make the file.
            if (errno == ENOENT && onFolder_) {
                state_ = State::kHeld;
            } else {
                // A link (ELOOP) or a socket (ENXIO) in the file's place.
                state_ = errno == ELOOP || errno == ENXIO ? State::kNotAFile : State::kNoAccess;
            }
            return;
        }
        if (!IsRegular(file_)) {
            state_ = State::kNotAFile;
            return;
        }
        switch (Lock(file_, deadline)) {
            case Taken::kYes:
                break;
            case Taken::kBusy:
                state_ = State::kBusy;
                return;
            case Taken::kNoLocks:
                state_ = State::kUnlocked;
                return;
        }
        if (StillAt(file_, file)) {
            state_ = State::kHeld;
            return;
        }
        // Replaced while we waited: lock the file that is there now.
        close(file_);
        file_ = -1;
        if (Clock::now() >= deadline) {
            state_ = State::kBusy;
            return;
        }
    }
}

ExclusiveFileLock::~ExclusiveFileLock() {
    // Closing the last descriptor releases its lock.
    if (file_ >= 0) close(file_);
    if (folder_ >= 0) close(folder_);
}

}  // namespace framework
