#include "framework/IniFile.h"

#include <optional>
#include <utility>

#include "framework/Codepage.h"
#include "framework/FileLock.h"
#include "framework/SafeFile.h"
#include "framework/SysUtils.h"
#include "framework/TempFiles.h"

namespace framework {

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return ReadAll().ReadString(section, key, defaultValue);
}

TMemIniFile TIniFile::ReadAll() const {
    const std::optional<TFileAt> file = OpenFileAt(fileName_);
    if (!file) return TMemIniFile();
    FileContent content = ReadRegularFile(*file, kMaxFileBytes);
    if (content.state != FileState::kRead) return TMemIniFile();
    return TMemIniFile(std::move(content.bytes));
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
    // From here on the file is reached through its folder's descriptor only.
    const std::optional<TFileAt> target = OpenFileAt(fileName_);
    if (!target) throw EIniFileException(pathForMessage);
    // Held from reading the old content until the new content is in place.
    ExclusiveFileLock lock(*target, lockWait_);
    switch (lock.state()) {
        case ExclusiveFileLock::State::kBusy:
            throw EIniFileLocked(pathForMessage);
        case ExclusiveFileLock::State::kNoAccess:
        case ExclusiveFileLock::State::kNotAFile:
            throw EIniFileException(pathForMessage);
        case ExclusiveFileLock::State::kHeld:
        case ExclusiveFileLock::State::kUnlocked:
            break;
    }
    // Only the holder of the folder's lock knows that no other save in the
    // folder is under way.
    if (lock.state() == ExclusiveFileLock::State::kHeld && lock.OnFolder()) {
        RemoveStaleTemporaries(*target);
    }
    FileContent old = ReadRegularFile(*target, kMaxFileBytes);
    const bool exists = old.state == FileState::kRead;
    if (!exists && old.state != FileState::kMissing) throw EIniFileException(pathForMessage);
    TMemIniFile file(old.bytes);
    if (file.WasUtf16()) throw EIniFileException(pathForMessage);
    if (!edit(file)) return;
    // Never a file that would not be read back.
    if (file.Text().size() > kMaxFileBytes) throw EIniFileException(pathForMessage);
    // A read-only file stays as it is, although a rename could replace it.
    if (exists && !MayWrite(*target)) {
        throw EIniFileException(pathForMessage);
    }
    const auto keep = exists ? std::optional<FileOwnership>(old.owner) : std::nullopt;
    switch (ReplaceFile(*target, file.Text(), keep)) {
        case ReplaceResult::kReplaced:
            return;
        case ReplaceResult::kFailed:
            throw EIniFileException(pathForMessage);
        case ReplaceResult::kInPlace:
            break;
    }
    // The file cannot be replaced, or not without taking something from it:
    // the file itself may still be written, or made under its own name.
    const bool written = exists ? RewriteInPlace(*target, old.bytes, file.Text())
                                : CreateInPlace(*target, file.Text());
    if (!written) throw EIniFileException(pathForMessage);
}

}  // namespace framework
