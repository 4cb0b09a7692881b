#include "framework/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace framework {
namespace filelock {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

bool IsRegular(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

Taken Lock(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return Taken::kYes;
        if (errno != EWOULDBLOCK && errno != EINTR) return Taken::kNoLocks;
        if (std::chrono::steady_clock::now() >= deadline) return Taken::kBusy;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

int OpenToLock(const TFileAt& file, Opened& why) {
    const int fd = OpenAt(file, O_RDONLY);
    if (fd < 0) {
        // A link (ELOOP) or a socket (ENXIO) in the file's place.
        why = errno == ENOENT                    ? Opened::kMissing
              : errno == ELOOP || errno == ENXIO ? Opened::kNotAFile
                                                 : Opened::kNoAccess;
        return -1;
    }
    if (!IsRegular(fd)) {
        close(fd);
        why = Opened::kNotAFile;
        return -1;
    }
    why = Opened::kYes;
    return fd;
}

bool StillAt(int fd, const TFileAt& file) {
    struct stat a {};
    struct stat b {};
    return fstat(fd, &a) == 0 &&
           fstatat(file.Folder(), file.Name().c_str(), &b, AT_SYMLINK_NOFOLLOW) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void Close(int fd) { close(fd); }

}  // namespace filelock

ExclusiveFileLock::ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    folder_ = OpenAt(file.Folder(), ".", O_RDONLY | O_DIRECTORY);
    onFolder_ = folder_ >= 0;
    if (onFolder_ && !Took(filelock::Lock(folder_, deadline))) return;
    LockTheFile(file, deadline);
}

}  // namespace framework
