#include "framework/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "framework/Codepage.h"
#include "framework/IniText.h"
#include "framework/SysUtils.h"

namespace framework {
namespace {

using ini::Line;

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

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`. Returns false, leaving `path` untouched, when no
// temporary file can be made there; throws when the write itself fails.
bool ReplaceAtomically(const std::string& path, const std::string& bytes, const struct stat* old,
                       const std::string& pathForMessage) {
    std::string dir = DirectoryOf(path);
    std::string base = path.substr(path.find_last_of('/') + 1);
    std::string temp = dir + "/." + base + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    mode_t mode = old != nullptr ? (old->st_mode & 07777) : NewFileMode();
    bool ok = WriteAllTo(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        throw EIniFileException(pathForMessage);
    }
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
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
    std::size_t start = 0;
    bool isUtf16 = false;
    std::string text = ini::DecodeFileText(std::move(*bytes), start, isUtf16);
    std::vector<Line> lines = ini::ParseLines(text, start);
    auto range = ini::FindSection(lines, section);
    if (!range) return std::string(defaultValue);
    auto k = ini::FindKey(lines, *range, key);
    if (!k) return std::string(defaultValue);
    std::string_view value = lines[*k].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueBytes) value = value.substr(0, kMaxValueBytes);
    return std::string(value);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    bool readable = true;
    std::optional<std::string> bytes = ReadFileBytes(fileName_, readable);
    if (!readable) throw EIniFileException(Utf8ToCp932(fileName_));
    std::string text = bytes ? std::move(*bytes) : std::string();
    std::size_t start = 0;
    if (ini::IsUtf16File(text)) throw EIniFileException(Utf8ToCp932(fileName_));
    if (ini::HasUtf8Bom(text)) start = 3;

    std::vector<Line> lines = ini::ParseLines(text, start);
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    auto range = ini::FindSection(lines, section);
    if (!range) {
        if (!text.empty() && text.size() > start && text.back() != '\n' && text.back() != '\r') {
            text += "\r\n";
        }
        text += "[" + std::string(section) + "]\r\n" + keyLine + "\r\n";
    } else if (auto k = ini::FindKey(lines, *range, key)) {
        const Line& line = lines[*k];
        text.replace(line.begin, line.contentEnd - line.begin, keyLine);
    } else {
        std::size_t after = range->header;
        for (std::size_t j = range->header + 1; j < range->end; ++j) {
            if (lines[j].kind == Line::Kind::Key) after = j;
        }
        const Line& line = lines[after];
        std::string insert = keyLine + "\r\n";
        if (line.end == line.contentEnd) insert = "\r\n" + insert;  // the file's last line, unended
        text.insert(line.end, insert);
    }
    SaveFile(fileName_, text);
}

}  // namespace framework
