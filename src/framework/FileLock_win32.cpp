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
namespace filelock {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

// The byte the lock covers lies far beyond any data: a lock on Windows also
// keeps other programs from reading and writing the bytes it covers.
constexpr DWORD kLockedByteHigh = 0x7FFFFFFF;

// The file at `path`, open for locking (reading is enough); only a regular
// file on a disk, not through a link.
int OpenForLock(const std::wstring& path, DWORD disposition, Opened& why) {
    const HANDLE h = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder of that name cannot be opened as a file at all.
        why = error == ERROR_FILE_NOT_FOUND                                 ? Opened::kMissing
              : GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ? Opened::kNotAFile
                                                                            : Opened::kNoAccess;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(h);
        why = Opened::kNotAFile;
        return -1;
    }
    why = Opened::kYes;
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

}  // namespace

Taken Lock(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        OVERLAPPED at{};
        at.OffsetHigh = kLockedByteHigh;
        if (LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &at)) {
            return Taken::kYes;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION) return Taken::kNoLocks;
        if (std::chrono::steady_clock::now() >= deadline) return Taken::kBusy;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

int OpenToLock(const TFileAt& file, Opened& why) {
    return OpenForLock(WidePathAt(file, file.Name()), OPEN_EXISTING, why);
}

bool StillAt(int fd, const TFileAt& file) {
    Opened why = Opened::kYes;
    const int now = OpenToLock(file, why);
    if (now < 0) return false;
    const bool same = SameFile(HandleOf(fd), HandleOf(now));
    _close(now);
    return same;
}

void Close(int fd) { _close(fd); }

}  // namespace filelock

ExclusiveFileLock::ExclusiveFileLock(const TFileAt& file, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    filelock::Opened why = filelock::Opened::kYes;
    folder_ = filelock::OpenForLock(WidePathAt(file, file.Name() + ".lock"), OPEN_ALWAYS, why);
    onFolder_ = folder_ >= 0;
    if (!onFolder_) {
        // No lock file here: the file itself, which must be there.
        LockTheFile(file, deadline);
        return;
    }
    if (Took(filelock::Lock(folder_, deadline))) state_ = State::kHeld;
}

}  // namespace framework
