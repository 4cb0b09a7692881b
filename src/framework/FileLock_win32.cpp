// The lock of a save on Windows: LockFileEx on "<name>.lock" beside the file.
//
// Windows locks no folder, and a save cannot lock the ranking file itself:
// the file is replaced by a rename, which Windows refuses while anybody holds
// the old file open. So every game opens the same lock file beside it (made
// once, hidden, never replaced or removed) and takes an exclusive lock on one
// byte of it. Where the folder refuses that file (a game that may write the
// file but not make files beside it, which rewrites it in place), the ranking
// file itself is locked: it is not replaced there.
#include "framework/FileLock.h"

#include <windows.h>
// After windows.h, which it needs.
#include <io.h>

#include <thread>

namespace framework {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

using Clock = std::chrono::steady_clock;

enum class Taken { kYes, kBusy, kNoLocks };

// The byte the lock covers lies far beyond any data: a lock on Windows also
// keeps other programs from reading and writing the bytes it covers.
constexpr DWORD kLockedByteHigh = 0x7FFFFFFF;

// LockFileEx(exclusive) on `fd`, tried until `deadline`.
Taken Lock(int fd, Clock::time_point deadline) {
    for (;;) {
        OVERLAPPED at{};
        at.OffsetHigh = kLockedByteHigh;
        if (LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &at)) {
            return Taken::kYes;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION) return Taken::kNoLocks;
        if (Clock::now() >= deadline) return Taken::kBusy;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

// The file at `path`, open for locking (reading is enough); only a regular
// file on a disk: a folder, a device or a link gives -1 with `notAFile`.
int OpenForLock(const std::wstring& path, DWORD disposition, bool& notAFile) {
    notAFile = false;
    const HANDLE h = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // A folder of that name cannot be opened as a file at all.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        notAFile = attributes != INVALID_FILE_ATTRIBUTES;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(h);
        notAFile = true;
        return -1;
    }
    return DescriptorOf(h);
}

// The file's identity: its volume and its index there.
bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x{};
    BY_HANDLE_FILE_INFORMATION y{};
    return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

// True while `fd` is still the file at `path` (a save may have replaced it).
bool StillAt(int fd, const std::wstring& path) {
    bool notAFile = false;
    const int now = OpenForLock(path, OPEN_EXISTING, notAFile);
    if (now < 0) return false;
    const bool same = SameFile(HandleOf(fd), HandleOf(now));
    _close(now);
    return same;
}

}  // namespace

ExclusiveFileLock::ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    bool notAFile = false;
    folder_ = OpenForLock(WidePathAt(file, file.Name() + ".lock"), OPEN_ALWAYS, notAFile);
    onFolder_ = folder_ >= 0;
    if (onFolder_) {
        switch (Lock(folder_, deadline)) {
            case Taken::kYes:
                state_ = State::kHeld;
                return;
            case Taken::kBusy:
                state_ = State::kBusy;
                return;
            case Taken::kNoLocks:
                state_ = State::kUnlocked;  // the file system takes no locks
                return;
        }
    }
    // No lock file here: the file itself, which must be there.
    const std::wstring path = WidePathAt(file, file.Name());
    for (;;) {
        file_ = OpenForLock(path, OPEN_EXISTING, notAFile);
        if (file_ < 0) {
            state_ = notAFile ? State::kNotAFile : State::kNoAccess;
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
        if (StillAt(file_, path)) {
            state_ = State::kHeld;
            return;
        }
        // Replaced while we waited: lock the file that is there now.
        _close(file_);
        file_ = -1;
        if (Clock::now() >= deadline) {
            state_ = State::kBusy;
            return;
        }
    }
}

ExclusiveFileLock::~ExclusiveFileLock() {
    // Closing the handle releases its lock.
    if (file_ >= 0) _close(file_);
    if (folder_ >= 0) _close(folder_);
}

}  // namespace framework
