#include "framework/IniFile.h"

#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include <cctype>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "framework/WidePath.h"

namespace framework {
namespace {

// How often a busy lock is tried again.
constexpr std::chrono::milliseconds kRetryInterval{10};

// Every handle shares everything: a reader never stops a save from replacing
// the file, and a save never stops a reader.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The byte that the lock covers: far beyond the data, because a lock on
// Windows also stops other programs from reading and writing what it covers.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFF0;

class THandle {
  public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~THandle() { Close(); }
    THandle(THandle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    THandle& operator=(THandle&& other) noexcept {
        if (this != &other) {
            Close();
            h_ = std::exchange(other.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const bool ok = !valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE h_;
};

THandle Open(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags = 0) {
    return THandle(CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                               flags ? flags : FILE_ATTRIBUTE_NORMAL, nullptr));
}

enum class State { kRead, kMissing, kUnreadable, kNotRegular, kTooLarge };

struct Content {
    State state = State::kMissing;
    std::string bytes;
    DWORD attributes = 0;
};

// A file on a disk, not a device (NUL, CON, a pipe), not a folder.
bool IsRegular(HANDLE h, DWORD& attributes) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) return false;
    attributes = info.dwFileAttributes;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Reads the file, at most `maxBytes` of it: a file that holds more (whatever
// size it reports) gives kTooLarge and no bytes.
Content ReadBounded(const std::wstring& path, std::size_t maxBytes) {
    Content out;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        out.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? State::kMissing
                        : State::kUnreadable;
        return out;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        out.state = State::kNotRegular;
        return out;
    }
    const THandle h = Open(path, GENERIC_READ, OPEN_EXISTING);
    if (!h.valid()) {
        out.state = GetLastError() == ERROR_FILE_NOT_FOUND ? State::kMissing : State::kUnreadable;
        return out;
    }
    LARGE_INTEGER size{};
    if (!IsRegular(h.get(), out.attributes)) {
        out.state = State::kNotRegular;
        return out;
    }
    if (!GetFileSizeEx(h.get(), &size)) {
        out.state = State::kUnreadable;
        return out;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        out.state = State::kTooLarge;
        return out;
    }
    out.state = State::kRead;
    // The file may grow while it is read: never take more than the bound.
    out.bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == out.bytes.size()) {
            if (got > maxBytes) break;
            out.bytes.resize(std::min(maxBytes + 1, got * 2));
        }
        DWORD n = 0;
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(out.bytes.size() - got, 1u << 30));
        if (!ReadFile(h.get(), out.bytes.data() + got, want, &n, nullptr)) {
            out.state = State::kUnreadable;
            break;
        }
        if (n == 0) break;
        got += n;
    }
    if (got > maxBytes) out.state = State::kTooLarge;
    out.bytes.resize(out.state == State::kRead ? got : 0);
    return out;
}

bool WriteAllAt(HANDLE h, const std::string& bytes) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(h, zero, nullptr, FILE_BEGIN)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0) return false;
        done += n;
    }
    return true;
}

bool SetLength(HANDLE h, std::size_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
}

// The folder of a path ("." for a bare name) and the name in it.
std::pair<std::wstring, std::wstring> Split(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {L".", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The exclusive lock of a save: LockFileEx on "<ranking file>.lock" beside
// the ranking file, which no save ever replaces, so every game takes the lock
// on the same file. Where the folder refuses that file, the ranking file
// itself is locked: it cannot be replaced there either, only rewritten in
// place, so it stays the file every game locks.
class TSaveLock {
  public:
    enum class State { kHeld, kBusy, kNoAccess };

    TSaveLock(const std::wstring& file, std::chrono::milliseconds wait) {
        h_ = Open(file + L".lock", GENERIC_READ, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        onLockFile_ = h_.valid();
        if (!onLockFile_) h_ = Open(file, GENERIC_READ, OPEN_EXISTING);
        if (!h_.valid()) return;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            OVERLAPPED at{};
            at.Offset = kLockOffsetLow;
            at.OffsetHigh = kLockOffsetHigh;
            if (LockFileEx(h_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                           &at)) {
                state_ = State::kHeld;
                return;
            }
            if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING) {
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                state_ = State::kBusy;
                return;
            }
            std::this_thread::sleep_for(kRetryInterval);
        }
    }
    // Closing the handle releases the lock.
    ~TSaveLock() = default;

    State state() const { return state_; }
    bool OnLockFile() const { return onLockFile_; }

  private:
    THandle h_;
    State state_ = State::kNoAccess;
    bool onLockFile_ = false;
};

constexpr std::size_t kRandomPart = 6;  // the "XXXXXX" of ".<name>.XXXXXX.tmp"
constexpr wchar_t kSuffix[] = L".tmp";
constexpr int kCreateAttempts = 100;

std::wstring RandomPart() {
    static constexpr wchar_t kLetters[] =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) / sizeof(wchar_t) - 2);
    std::wstring part(kRandomPart, L' ');
    for (wchar_t& c : part) c = kLetters[pick(generator)];
    return part;
}

bool IsTemporaryOf(const std::wstring& name, const std::wstring& base) {
    const std::wstring prefix = L"." + base + L".";
    const std::wstring suffix = kSuffix;
    if (base.empty() || name.size() != prefix.size() + kRandomPart + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomPart; ++i) {
        if (name[i] > 0x7F || !std::isalnum(static_cast<int>(name[i]))) return false;
    }
    return true;
}

// True when the file at `path` belongs to the user running the program.
bool OwnedByMe(const std::wstring& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool mine = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size);
        if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            mine = EqualSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, owner);
        }
        CloseHandle(token);
    }
    LocalFree(descriptor);
    return mine;
}

// Removes the temporary files that saves killed before their rename left:
// regular files of the pattern that belong to the user. Only the holder of
// the lock may call this: no other save is under way.
void RemoveStaleTemporaries(const std::wstring& file) {
    const auto [folder, name] = Split(file);
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"." + name + L".*" + kSuffix;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> stale;
    do {
        const DWORD kinds = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((found.dwFileAttributes & kinds) == 0 && IsTemporaryOf(found.cFileName, name)) {
            stale.push_back(folder + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& path : stale) {
        if (OwnedByMe(path)) DeleteFileW(path.c_str());
    }
}

// The folder refuses what a replace needs of it (a new file, or the rename),
// though the file itself may still be writable: the one case for writing in
// place.
bool FolderRefuses(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
           error == ERROR_SHARING_VIOLATION;
}

enum class ReplaceResult { kReplaced, kInPlace, kFailed };

// A temporary file beside the file, its data flushed to the disk, then moved
// over the file in one step.
ReplaceResult Replace(const std::wstring& file, const std::string& bytes, DWORD attributes) {
    const auto [folder, name] = Split(file);
    // What the old file showed of itself stays: hidden, system, archive.
    const DWORD keep = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    std::wstring temp;
    THandle h;
    for (int attempt = 0; attempt < kCreateAttempts && !h.valid(); ++attempt) {
        temp = folder + L"." + name + L"." + RandomPart() + kSuffix;
        h = THandle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                keep ? keep : FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid() && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!h.valid()) {
        return FolderRefuses(GetLastError()) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
    }
    bool ok = WriteAllAt(h.get(), bytes) && FlushFileBuffers(h.get());
    ok = h.Close() && ok;
    if (ok && MoveFileExW(temp.c_str(), file.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return ReplaceResult::kReplaced;
    }
    const DWORD moveError = ok ? GetLastError() : 0;
    DeleteFileW(temp.c_str());
    return FolderRefuses(moveError) ? ReplaceResult::kInPlace : ReplaceResult::kFailed;
}

// Rewrites the file, which now holds `oldBytes`, in place. The new length is
// taken before the first byte changes, and on any failure the old bytes are
// written back.
bool RewriteInPlace(const std::wstring& file, const std::string& oldBytes,
                    const std::string& bytes) {
    const THandle h = Open(file, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    if (!h.valid()) return false;
    DWORD attributes = 0;
    LARGE_INTEGER size{};
    if (!IsRegular(h.get(), attributes) || !GetFileSizeEx(h.get(), &size) ||
        static_cast<std::uint64_t>(size.QuadPart) != oldBytes.size()) {
        return false;
    }
    bool ok = bytes.size() <= oldBytes.size() || SetLength(h.get(), bytes.size());
    const bool touched = ok;
    if (ok) {
        ok = WriteAllAt(h.get(), bytes) && SetLength(h.get(), bytes.size()) &&
             FlushFileBuffers(h.get());
    }
    if (!ok) {
        if (touched) WriteAllAt(h.get(), oldBytes);
        if (SetLength(h.get(), oldBytes.size())) FlushFileBuffers(h.get());
    }
    return ok;
}

// True when the existing file may be written: neither marked read-only nor
// closed to this user by its access list. Opening it for writing changes
// nothing in it.
bool MayWrite(const std::wstring& file, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    return Open(file, GENERIC_WRITE, OPEN_EXISTING).valid();
}

}  // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return ReadAll().ReadString(section, key, defaultValue);
}

TMemIniFile TIniFile::ReadAll() const {
    Content content = ReadBounded(WidePath(fileName_), kMaxFileBytes);
    if (content.state != State::kRead) return TMemIniFile();
    return TMemIniFile(std::move(content.bytes));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Update([&](TMemIniFile& file) {
        file.WriteString(section, key, value);
        return true;
    });
}

void TIniFile::Update(const std::function<bool(TMemIniFile&)>& edit) {
    const std::string pathForMessage = Utf8ToCp932(fileName_);
    const std::wstring path = WidePath(fileName_);
    if (Split(path).second.empty()) throw EIniFileException(pathForMessage);
    // Held from reading the old content until the new content is in place.
    const TSaveLock lock(path, lockWait_);
    switch (lock.state()) {
        case TSaveLock::State::kBusy:
            throw EIniFileLocked(pathForMessage);
        case TSaveLock::State::kNoAccess:
            throw EIniFileException(pathForMessage);
        case TSaveLock::State::kHeld:
            break;
    }
    if (lock.OnLockFile()) RemoveStaleTemporaries(path);
    Content old = ReadBounded(path, kMaxFileBytes);
    const bool exists = old.state == State::kRead;
    if (!exists && old.state != State::kMissing) throw EIniFileException(pathForMessage);
    TMemIniFile file(old.bytes);
    if (file.WasUtf16()) throw EIniFileException(pathForMessage);
    if (!edit(file)) return;
    if (file.Text().size() > kMaxFileBytes) throw EIniFileException(pathForMessage);
    // A read-only file stays as it is, although a rename could replace it.
    if (exists && !MayWrite(path, old.attributes)) throw EIniFileException(pathForMessage);
    switch (Replace(path, file.Text(), old.attributes)) {
        case ReplaceResult::kReplaced:
            return;
        case ReplaceResult::kFailed:
            throw EIniFileException(pathForMessage);
        case ReplaceResult::kInPlace:
            break;
    }
    if (!exists || !RewriteInPlace(path, old.bytes, file.Text())) {
        throw EIniFileException(pathForMessage);
    }
}

}  // namespace framework
