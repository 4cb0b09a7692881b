#include "framework/FileAt.h"

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "framework/FileUtils.h"

namespace framework {
namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The folder part and the name part of a path: "a/b/c" gives "a/b" and "c",
// "c" gives "." and "c", "/c" gives "/" and "c".
struct SplitPath {
    std::string folder;
    std::string name;
};
SplitPath Split(const std::string& path) {
    return {DirectoryOf(path), path.substr(path.find_last_of('/') + 1)};
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

int OpenFolder(int at, const std::string& folder) {
    int fd;
    do {
        fd = openat(at, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The kernel's protected-symlink rule (fs.protected_symlinks = 1), applied
// here whatever the system's setting: in a sticky folder that every user may
// write, only the follower's own links and the folder owner's are followed.
bool ProtectedRuleAllows(const struct stat& folder, const struct stat& link) {
    const bool open = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !open || link.st_uid == FileSystemUser() || link.st_uid == folder.st_uid;
}

}  // namespace

uid_t FileSystemUser() {
    // setfsuid answers the current file-system user; an invalid id changes nothing.
    return static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
}

TFileAt::~TFileAt() {
    if (folder_ >= 0) close(folder_);
}

TFileAt::TFileAt(TFileAt&& other) noexcept : folder_(other.folder_), name_(std::move(other.name_)) {
    other.folder_ = -1;
}

TFileAt& TFileAt::operator=(TFileAt&& other) noexcept {
    if (this != &other) {
        if (folder_ >= 0) close(folder_);
        folder_ = other.folder_;
        name_ = std::move(other.name_);
        other.folder_ = -1;
    }
    return *this;
}

std::optional<TFileAt> OpenFileAt(const std::string& path) {
    SplitPath split = Split(path);
    if (!IsPlainName(split.name)) return std::nullopt;
    TFileAt file(OpenFolder(AT_FDCWD, split.folder), split.name);
    if (file.Folder() < 0) return std::nullopt;
    // The owners of the links passed, to be checked against the final file's.
    std::vector<uid_t> linkOwners;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        // The entry itself, not what it may lead to; O_PATH opens a link as such.
        const int entry = OpenAt(file, O_PATH);
        if (entry < 0) {
            // Missing where it was named directly: it may be made there.
            // Through a link it is a dangling link, and nothing may be made.
            if (errno == ENOENT && hops == 0) return file;
            return std::nullopt;
        }
        struct stat st {};
        const bool statted = fstat(entry, &st) == 0;
        if (statted && !S_ISLNK(st.st_mode)) {
            close(entry);
            for (uid_t owner : linkOwners) {
                if (owner != FileSystemUser() && owner != st.st_uid) return std::nullopt;
            }
            return file;
        }
        struct stat folder {};
        char target[PATH_MAX];
        ssize_t n = -1;
        if (statted && fstat(file.Folder(), &folder) == 0 && ProtectedRuleAllows(folder, st)) {
            n = readlinkat(entry, "", target, sizeof(target));
        }
        close(entry);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(target)) return std::nullopt;
        linkOwners.push_back(st.st_uid);
        split = Split(std::string(target, static_cast<std::size_t>(n)));
        if (!IsPlainName(split.name)) return std::nullopt;
        const int at = split.folder.front() == '/' ? AT_FDCWD : file.Folder();
        file = TFileAt(OpenFolder(at, split.folder), split.name);
        if (file.Folder() < 0) return std::nullopt;
    }
    return std::nullopt;  // loops
}

int OpenAt(int folder, const std::string& name, int flags, mode_t mode) {
    int fd;
    do {
        fd = openat(folder, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                    mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace framework
