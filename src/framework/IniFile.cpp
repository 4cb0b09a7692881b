#include "framework/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "framework/Codepage.h"
#include "framework/FileLock.h"
#include "framework/SafeFile.h"
#include "framework/SysUtils.h"
#include "framework/TempFiles.h"

namespace framework {
namespace {

// The file behind `path` when it may be read, else nothing.
std::optional<FileContent> ReadIfAllowed(const std::string& path) {
    const std::optional<std::string> target = FollowAllowedLinks(path);
    if (!target) return std::nullopt;
    return ReadRegularFile(*target, TIniFile::kMaxFileBytes);
}

}  // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return ReadAll().ReadString(section, key, defaultValue);
}

TMemIniFile TIniFile::ReadAll() const {
    std::optional<FileContent> content = ReadIfAllowed(fileName_);
    if (!content || content->state != FileState::kRead) return TMemIniFile();
    return TMemIniFile(std::move(content->bytes));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Update([&](TMemIniFile& file) {
        file.WriteString(section, key, value);
        return true;
    });
}

void TIniFile::Update(const std::function<bool(TMemIniFile&)>& edit) {
    // The path as the file system has it is UTF-8; messages are CP932.
    const std::string pathForMessage = Utf8ToCp932(fileName_);
    // A link is replaced at its target, and only where it may be followed.
    const std::optional<std::string> target = FollowAllowedLinks(fileName_);
    if (!target) throw EIniFileException(pathForMessage);
    // Held from reading the old content until the new content is in place.
    ExclusiveFileLock lock(fileName_ + ".lock", *target, lockWait_);
    switch (lock.state()) {
        case ExclusiveFileLock::State::kBusy:
        case ExclusiveFileLock::State::kNotAFile:
            throw EIniFileLocked(pathForMessage);
        case ExclusiveFileLock::State::kNoAccess:
            throw EIniFileException(pathForMessage);
        case ExclusiveFileLock::State::kHeld:
        case ExclusiveFileLock::State::kUnlocked:
            break;
    }
    // Only the holder of the lock file knows that no other save is under way.
    if (lock.OnLockFile()) RemoveStaleTemporaries(*target);
    FileContent old = ReadRegularFile(*target, TIniFile::kMaxFileBytes);
    const bool exists = old.state == FileState::kRead;
    if (!exists && old.state != FileState::kMissing) throw EIniFileException(pathForMessage);
    TMemIniFile file(old.bytes);
    if (file.WasUtf16()) throw EIniFileException(pathForMessage);
    if (!edit(file)) return;
    // A read-only file stays as it is, although a rename could replace it.
    if (exists && faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
        throw EIniFileException(pathForMessage);
    }
    const auto mode = exists ? std::optional<mode_t>(old.mode) : std::nullopt;
    switch (ReplaceFile(*target, file.Text(), mode)) {
        case ReplaceResult::kReplaced:
            return;
        case ReplaceResult::kFailed:
            throw EIniFileException(pathForMessage);
        case ReplaceResult::kNoTemporary:
            break;
    }
    // No temporary file can be made beside it (the directory is not
    // writable): the file itself may still be.
    if (!exists || !RewriteInPlace(*target, old.bytes, file.Text())) {
        throw EIniFileException(pathForMessage);
    }
}

}  // namespace framework
