// An exclusive advisory lock (flock) that writers of one file hold while they
// read, change and replace it, so that two programs saving at once cannot
// lose each other's changes.
//
// The lock is taken on a lock file beside the file ("horonpa.ini.lock"),
// never on the file itself, because each save replaces the file by another
// one. The lock file is created when missing and never removed: removing it
// would let a late writer lock a file that nobody else sees any more.
#pragma once

#include <chrono>
#include <string>

namespace framework {

class ExclusiveFileLock {
  public:
    enum class State {
        kHeld,      // the lock is ours until destruction
        kBusy,      // another holder kept it for the whole wait
        kNoAccess,  // neither the lock file nor the file could be opened
        kNotAFile,  // the lock file is a link, FIFO, socket, device or directory
        kUnlocked,  // the file system takes no locks: go on without one
    };

    // Locks `lockPath`, waiting up to `wait` for another holder to let go.
    // When `lockPath` can be neither opened nor created (a directory that is
    // not writable), `fallbackPath` itself is locked instead: nothing can
    // replace a file in such a directory, so its own lock is as good. Neither
    // is opened through a link or opened in a way that can block, and only a
    // regular file is locked.
    ExclusiveFileLock(const std::string& lockPath, const std::string& fallbackPath,
                      std::chrono::milliseconds wait);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    State state() const { return state_; }
    // True when the lock file itself (not the fallback) is held.
    bool OnLockFile() const { return onLockFile_; }

  private:
    int fd_ = -1;
    State state_ = State::kNoAccess;
    bool onLockFile_ = false;
};

}  // namespace framework
