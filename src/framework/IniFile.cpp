#include "framework/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "framework/Codepage.h"
#include "framework/FileLock.h"
#include "framework/IniText.h"
#include "framework/SysUtils.h"
#include "framework/TempFiles.h"

namespace framework {
namespace {

// The whole file, or nothing when it does not exist. `readable` is false when
// it exists but cannot be read (a directory, no permission).
std::optional<std::string> ReadFileBytes(const std::string& path, bool& readable) {
    readable = true;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        readable = errno == ENOENT;
        return std::nullopt;
    }
    std::string bytes;
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof(buf));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            readable = false;
            close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    return bytes;
}

bool WriteAllTo(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes `bytes` to a temporary file beside `path` and renames it over `path`.
// Returns false, leaving `path` untouched, when no temporary file can be made
// there; throws when the write itself fails.
//
// The rename is what makes the save whole-or-nothing for every reader and
// against a program killed half-way. The new data reaches the disk before
// the rename (fdatasync), so a power cut can never leave a renamed file
// without its contents, on any file system. The directory itself is not
// flushed: after a power cut the rename may be lost, which leaves the old
// file whole, and skipping that second wait keeps a table save (ten writes)
// within a few milliseconds.
bool ReplaceAtomically(const std::string& path, const std::string& bytes, const struct stat* old,
                       const std::string& pathForMessage) {
    std::string temp = TemporaryTemplate(path);
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    mode_t mode = old != nullptr ? (old->st_mode & 07777) : NewFileMode();
    bool ok = WriteAllTo(fd, bytes) && fchmod(fd, mode) == 0 && fdatasync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        throw EIniFileException(pathForMessage);
    }
    return true;
}

void WriteInPlace(const std::string& path, const std::string& bytes,
                  const std::string& pathForMessage) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw EIniFileException(pathForMessage);
    bool ok = ftruncate(fd, 0) == 0 && WriteAllTo(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) throw EIniFileException(pathForMessage);
}

void SaveFile(const std::string& path, const std::string& bytes) {
    // The path as the file system has it is UTF-8; messages are CP932.
    const std::string pathForMessage = Utf8ToCp932(path);
    struct stat st {};
    bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) throw EIniFileException(pathForMessage);
    // A read-only file stays as it is, although a rename could replace it.
    if (exists && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        throw EIniFileException(pathForMessage);
    }
    struct stat lst {};
    bool isLink = lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
    // A link is written through, so that it stays a link.
    if (!isLink && ReplaceAtomically(path, bytes, exists ? &st : nullptr, pathForMessage)) return;
    // No temporary file could be made beside it (the directory is not
    // writable): the file itself may still be.
    if (!exists && !isLink) throw EIniFileException(pathForMessage);
    WriteInPlace(path, bytes, pathForMessage);
}

}  // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    bool readable = true;
    std::optional<std::string> bytes = ReadFileBytes(fileName_, readable);
    if (!bytes) return std::string(defaultValue);
    std::optional<std::string> value = ini::LookUpValue(std::move(*bytes), section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string pathForMessage = Utf8ToCp932(fileName_);
    // Held from reading the old content until the new content is in place.
    ExclusiveFileLock lock(fileName_ + ".lock", fileName_, lockWait_);
    if (lock.state() == ExclusiveFileLock::State::kBusy) throw EIniFileLocked(pathForMessage);
    if (lock.state() == ExclusiveFileLock::State::kNoAccess) {
        throw EIniFileException(pathForMessage);
    }
    // Only the holder of the lock file knows that no other save is under way.
    if (lock.OnLockFile()) RemoveStaleTemporaries(fileName_);
    bool readable = true;
    std::optional<std::string> bytes = ReadFileBytes(fileName_, readable);
    if (!readable) throw EIniFileException(pathForMessage);
    std::string text = bytes ? std::move(*bytes) : std::string();
    if (ini::IsUtf16File(text)) throw EIniFileException(pathForMessage);
    SaveFile(fileName_, ini::SetValue(std::move(text), section, key, value));
}

}  // namespace framework
