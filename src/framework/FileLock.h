// An exclusive advisory lock (flock) that writers of one file hold while they
// read, change and replace it, so that two programs saving at once cannot
// lose each other's changes.
//
// It is two locks, taken in this order:
//  - the folder that holds the file (reached through all its links), where
//    the folder may be read. Saves replace the file by another one, so a lock
//    on the file alone would not keep a second save from reading the old
//    file; the folder stays. Every program that reaches the file through
//    whichever link takes this same lock, and no lock file is left beside it.
//  - the file itself, where it exists, whatever the folder gave: a program
//    that may not read the folder can lock only the file, and must be kept
//    out by every other save as well. After the wait the name is checked to
//    still lead to the file that was locked; where a save replaced it in the
//    meantime, the new file is locked instead.
// A holder of the folder lock never waits for it while holding the file's,
// so two saves can never wait for each other.
#pragma once

#include <chrono>

#include "framework/FileAt.h"

namespace framework {

class ExclusiveFileLock {
  public:
    enum class State {
        kHeld,      // the lock is ours until destruction
        kBusy,      // another holder kept it for the whole wait
        kNoAccess,  // the file could not be opened, or is missing where the folder cannot be locked
        kNotAFile,  // the file is no regular file (a link, FIFO, socket, device, folder)
        kUnlocked,  // the file system takes no locks: go on without one
    };

    // Locks the folder of `file` and the file, waiting up to `wait` in all
    // for other holders to let go.
    ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    State state() const { return state_; }
    // True when the folder is held (and the file too, where it exists): no
    // other save of any file in it is under way.
    bool OnFolder() const { return onFolder_; }

  private:
    int folder_ = -1;
    int file_ = -1;
    State state_ = State::kNoAccess;
    bool onFolder_ = false;
};

}  // namespace framework
