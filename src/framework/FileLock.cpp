#include "framework/FileLock.h"

namespace framework {

bool ExclusiveFileLock::Took(filelock::Taken taken) {
    switch (taken) {
        case filelock::Taken::kYes:
            return true;
        case filelock::Taken::kBusy:
            state_ = State::kBusy;
            return false;
        case filelock::Taken::kNoLocks:
            state_ = State::kUnlocked;  // the file system takes no locks
            return false;
    }
    return false;
}

void ExclusiveFileLock::LockTheFile(const TFileAt& file,
                                    std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        filelock::Opened why = filelock::Opened::kYes;
        file_ = filelock::OpenToLock(file, why);
        if (file_ < 0) {
            // No file yet: the folder's lock keeps every other save out, as
            // a program that may not read the folder cannot make the file.
            state_ = why == filelock::Opened::kMissing && onFolder_ ? State::kHeld
                     : why == filelock::Opened::kNotAFile           ? State::kNotAFile
                                                                    : State::kNoAccess;
            return;
        }
        if (!Took(filelock::Lock(file_, deadline))) return;
        if (filelock::StillAt(file_, file)) {
            state_ = State::kHeld;
            return;
        }
        // Replaced while we waited: lock the file that is there now.
        filelock::Close(file_);
        file_ = -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::kBusy;
            return;
        }
    }
}

ExclusiveFileLock::~ExclusiveFileLock() {
    // Closing the last descriptor or handle releases its lock.
    if (file_ >= 0) filelock::Close(file_);
    if (folder_ >= 0) filelock::Close(folder_);
}

}  // namespace framework
