#include "framework/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace framework {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

int OpenForLocking(const std::string& path, int flags) {
    int fd;
    do {
        fd = open(path.c_str(), flags | O_RDONLY | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

ExclusiveFileLock::ExclusiveFileLock(const std::string& lockPath, const std::string& fallbackPath,
                                     std::chrono::milliseconds wait) {
    fd_ = OpenForLocking(lockPath, O_CREAT);
    onLockFile_ = fd_ >= 0;
    if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd_ = OpenForLocking(fallbackPath, 0);
    }
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            state_ = State::kHeld;
            return;
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
