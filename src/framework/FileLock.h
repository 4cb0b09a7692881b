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
//
// On Windows (FileLock_win32.cpp) the first lock is LockFileEx on a lock
// file beside the file ("<name>.lock", hidden, made once and never replaced),
// and the file itself is locked only where that lock file cannot be made:
// Windows locks no folder, and refuses to rename over a file that a save
// holds open.
#pragma once

#include <chrono>

#include "framework/FileAt.h"

namespace framework {

namespace filelock {
enum class Taken { kYes, kBusy, kNoLocks };
}  // namespace filelock

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
    // The lock on the file itself, in the time left until `deadline`
    // (FileLock.cpp, on both platforms).
    void LockTheFile(const TFileAt& file, std::chrono::steady_clock::time_point deadline);
    // True where `taken` is kYes; else the state says why not.
    bool Took(filelock::Taken taken);

    int folder_ = -1;  // the folder (on Windows the lock file beside the file)
    int file_ = -1;
    State state_ = State::kNoAccess;
    bool onFolder_ = false;
};

// The platform's part (FileLock_posix.cpp, FileLock_win32.cpp).
namespace filelock {

// Takes the exclusive lock of the open file or folder `fd` (flock; on Windows
// LockFileEx on one byte far beyond any data), trying until `deadline`.
Taken Lock(int fd, std::chrono::steady_clock::time_point deadline);

enum class Opened { kYes, kMissing, kNotAFile, kNoAccess };

// Opens the file of `file` for its lock: a regular file only, never through
// a link; -1 and why where it is not.
int OpenToLock(const TFileAt& file, Opened& why);

// True while `fd` is still the file named by `file` (a save may have
// replaced it).
bool StillAt(int fd, const TFileAt& file);

void Close(int fd);

}  // namespace filelock

}  // namespace framework
