#include "framework/SafeFile.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <io.h>
// windows.h's name for ReplaceFileW, which is not the function defined here.
#undef ReplaceFile

#include <algorithm>
#include <chrono>
#include <thread>

#include "framework/TempFiles.h"

namespace framework {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The attributes a replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// How long a rename over the file is tried again while another program (a
// game reading the ranking, a virus scanner) has the file open.
constexpr std::chrono::milliseconds kRenameWait{500};
constexpr std::chrono::milliseconds kRetryInterval{10};

// The regular file at `path` on a disk, opened as it is (a link not
// followed), or -1.
int OpenRegular(const std::wstring& path, DWORD access, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE h = CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(h);
        SetLastError(ERROR_INVALID_FUNCTION);
        return -1;
    }
    return DescriptorOf(h);
}

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
}

bool WriteAllAt(int fd, const std::string& bytes) {
    const HANDLE h = HandleOf(fd);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(h, start, nullptr, FILE_BEGIN)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0) return false;
        done += n;
    }
    return true;
}

bool SetLength(int fd, std::size_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(HandleOf(fd), at, nullptr, FILE_BEGIN) && SetEndOfFile(HandleOf(fd));
}

// An access list set on the file itself, not taken from its folder: a
// replacement, made as a new file, would inherit the folder's instead.
bool HasOwnAccessList(int fd) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(HandleOf(fd), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool own = GetSecurityDescriptorControl(descriptor, &control, &revision) &&
                     (control & SE_DACL_PROTECTED) != 0;
    LocalFree(descriptor);
    return own;
}

// The folder refuses what a replace needs of it (a new file, or the rename),
// though the file itself may still be writable: the one case for writing in
// place. A sharing violation is a rename that another program's open file
// kept refusing.
bool FolderRefuses(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
           error == ERROR_SHARING_VIOLATION;
}

// MoveFileExW over the file, tried again for a moment while the refusal may
// come from a program that has the file open.
bool MoveOver(const std::wstring& from, const std::wstring& to) {
    const auto deadline = std::chrono::steady_clock::now() + kRenameWait;
    for (;;) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            std::chrono::steady_clock::now() >= deadline) {
            SetLastError(error);
            return false;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

}  // namespace

FileContent ReadRegularFile(const TFileAt& file, std::size_t maxBytes) {
    FileContent out;
    const std::wstring path = WidePathAt(file, file.Name());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        out.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? FileState::kMissing
                        : FileState::kUnreadable;
        return out;
    }
    // A link where the path has been looked up: it was put there since.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        out.state = FileState::kUnreadable;
        return out;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const int fd = OpenRegular(path, GENERIC_READ, info);
    if (fd < 0) {
        out.state =
            (attributes & FILE_ATTRIBUTE_DIRECTORY) || GetLastError() == ERROR_INVALID_FUNCTION
                ? FileState::kNotRegular
                : FileState::kUnreadable;
        return out;
    }
    const HANDLE h = HandleOf(fd);
    out.state = ReadBounded(
        [h](char* buffer, std::size_t room) -> std::int64_t {
            DWORD n = 0;
            const auto want = static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30));
            return ReadFile(h, buffer, want, &n, nullptr) ? static_cast<std::int64_t>(n) : -1;
        },
        SizeOf(info), maxBytes, out.bytes);
    if (out.state == FileState::kRead) {
        out.owner.attributes = info.dwFileAttributes;
        out.owner.keepInode = info.nNumberOfLinks > 1 || HasOwnAccessList(fd);
    }
    _close(fd);
    return out;
}

// A temporary file beside the file, its data flushed to the disk
// (FlushFileBuffers), then moved over the file in one step (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so every reader and a
// program killed half-way see the old file or the new one. The new file is
// made as any new file in the folder is (the folder's access list); it takes
// over the old file's hidden, system and archive attributes.
ReplaceResult ReplaceFile(const TFileAt& file, const std::string& bytes,
                          const std::optional<FileOwnership>& keep) {
    if (keep && keep->keepInode) return ReplaceResult::kInPlace;
    std::string temp;
    const int fd = CreateTemporary(file, temp, 0600);
    if (fd < 0) {
        return FolderRefuses(GetLastError()) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
    }
    const std::wstring tempPath = WidePathAt(file, temp);
    bool ok = WriteAllAt(fd, bytes) && FlushFileBuffers(HandleOf(fd));
    if (ok && keep && (keep->attributes & kKeptAttributes)) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = keep->attributes & kKeptAttributes;
        ok = SetFileInformationByHandle(HandleOf(fd), FileBasicInfo, &basic, sizeof(basic));
    }
    ok = _close(fd) == 0 && ok;
    if (ok && MoveOver(tempPath, WidePathAt(file, file.Name()))) return ReplaceResult::kReplaced;
    const DWORD moveError = ok ? GetLastError() : ERROR_SUCCESS;
    SetFileAttributesW(tempPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(tempPath.c_str());
    return FolderRefuses(moveError) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
}

bool RewriteInPlace(const TFileAt& file, const std::string& oldBytes, const std::string& bytes) {
    BY_HANDLE_FILE_INFORMATION info{};
    const int fd = OpenRegular(WidePathAt(file, file.Name()), GENERIC_READ | GENERIC_WRITE, info);
    if (fd < 0) return false;
    // Only the file that was read: no other length.
    if (SizeOf(info) != oldBytes.size()) {
        _close(fd);
        return false;
    }
    bool ok = RewriteWithWriteBack({[&](std::size_t length) { return SetLength(fd, length); },
                                    [&](const std::string& data) { return WriteAllAt(fd, data); },
                                    [&](std::size_t length) { return SetLength(fd, length); },
                                    [&] { return FlushFileBuffers(HandleOf(fd)) != 0; }},
                                   oldBytes, bytes);
    ok = _close(fd) == 0 && ok;
    return ok;
}

bool CreateInPlace(const TFileAt& file, const std::string& bytes) {
    const std::wstring path = WidePathAt(file, file.Name());
    const int fd = DescriptorOf(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (fd < 0) return false;
    bool ok = WriteAllAt(fd, bytes) && FlushFileBuffers(HandleOf(fd));
    if (!ok && SetLength(fd, 0)) FlushFileBuffers(HandleOf(fd));
    ok = _close(fd) == 0 && ok;
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

bool MayWrite(const TFileAt& file) {
    // Opening the file for writing changes nothing in it, and answers for the
    // read-only attribute and the access list alike. The attribute is asked
    // first: Wine lets root open any file for writing.
    BY_HANDLE_FILE_INFORMATION info{};
    const std::wstring path = WidePathAt(file, file.Name());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    const int fd = OpenRegular(path, GENERIC_WRITE, info);
    if (fd < 0) return false;
    _close(fd);
    return true;
}

}  // namespace framework
