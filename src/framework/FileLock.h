// An exclusive advisory lock (flock) that writers of one file hold while they
// read, change and replace it, so that two programs saving at once cannot
// lose each other's changes.
//
// The lock is taken on the folder that holds the file (reached through all
// its links), never on the file itself, because each save replaces the file
// by another one, and never on a lock file of its own: so every program that
// reaches the file, through whichever link, takes the same lock, and nothing
// but the file is left beside it. Locking a folder needs only the right to
// read it; in a folder that may not be read, the file itself is locked (such
// a folder is seldom one that new files can be made in, and a file that is
// rewritten in place keeps its lock).
#pragma once

#include <chrono>

#include "framework/FileAt.h"

namespace framework {

class ExclusiveFileLock {
  public:
    enum class State {
        kHeld,      // the lock is ours until destruction
        kBusy,      // another holder kept it for the whole wait
        kNoAccess,  // neither the folder nor the file could be opened
        kNotAFile,  // the file (locked for want of the folder) is no regular file
        kUnlocked,  // the file system takes no locks: go on without one
    };

    // Locks the folder of `file`, waiting up to `wait` for another holder to
    // let go; the file itself where the folder cannot be read.
    ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    State state() const { return state_; }
    // True when the folder (not the file itself) is held.
    bool OnFolder() const { return onFolder_; }

  private:
    int fd_ = -1;
    State state_ = State::kNoAccess;
    bool onFolder_ = false;
};

}  // namespace framework
