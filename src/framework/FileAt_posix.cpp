#include "framework/FileAt.h"

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <type_traits>
#include <vector>

namespace framework {
namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The parts of a path between its slashes, empty ones and "." left out.
void PushParts(const std::string& path, std::deque<std::string>& parts) {
    std::deque<std::string> mine;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (!part.empty() && part != ".") mine.push_back(std::move(part));
        start = end + 1;
    }
    parts.insert(parts.begin(), mine.begin(), mine.end());
}

// The last part of a path, as it is written: "" for "a/" and "." for "a/.".
std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The kernel's protected-symlink rule (fs.protected_symlinks = 1), applied
// here whatever the system's setting: in a sticky folder that every user may
// write, only the follower's own links and the folder owner's are followed.
bool ProtectedRuleAllows(const struct stat& folder, const struct stat& link) {
    const bool open = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !open || link.st_uid == FileSystemUser() || link.st_uid == folder.st_uid;
}

// A link of the follower's or root's may lead anywhere; another user's link
// only to what that user owns.
bool OwnerRuleAllows(uid_t linkOwner, uid_t targetOwner) {
    return linkOwner == FileSystemUser() || linkOwner == 0 || linkOwner == targetOwner;
}

// A descriptor closed with its holder.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

int OpenFolder(const char* path) {
    int fd;
    do {
        fd = open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Makes the folder `name` in `at` and gives it, open, or -1.
int MakeFolder(int at, const std::string& name) {
    if (mkdirat(at, name.c_str(), 0700) != 0) return -1;
    Fd made(OpenAt(at, name, O_RDONLY | O_DIRECTORY));
    struct stat st {};
    // Its maker may use it whatever the umask.
    const bool usable = made.get() >= 0 && fstat(made.get(), &st) == 0 &&
                        ((st.st_mode & S_IRWXU) == S_IRWXU ||
                         fchmod(made.get(), (st.st_mode & 07777) | S_IRWXU) == 0);
    if (usable && GiveToFolderOwner(made.get(), at)) return made.Release();
    made.Reset();
    unlinkat(at, name.c_str(), AT_REMOVEDIR);
    errno = EPERM;
    return -1;
}

// A link passed on the way whose target is not reached yet.
struct PendingLink {
    uid_t owner;
    std::size_t restAtTarget;  // how many parts are left once its target is reached
};

// The links whose target the walk has just reached, with `rest` parts left,
// and which is `owner`'s: false where one of them may not lead there.
bool ReachedTargets(std::vector<PendingLink>& links, std::size_t rest, uid_t owner) {
    for (auto it = links.begin(); it != links.end();) {
        if (it->restAtTarget < rest) {
            ++it;
        } else if (!OwnerRuleAllows(it->owner, owner)) {
            return false;
        } else {
            it = links.erase(it);
        }
    }
    return true;
}

// True where the part just taken, with `rest` parts left, ends a link's target.
bool EndsALink(const std::vector<PendingLink>& links, std::size_t rest) {
    for (const PendingLink& link : links) {
        if (link.restAtTarget == rest) return true;
    }
    return false;
}

// Walks `path` part by part. With `folders` unset the last part is a file,
// which may be missing: gives its open folder and its name. With `folders`
// set every part is a folder, made where it is missing: gives the last one
// and an empty name.
std::optional<TFileAt> Walk(const std::string& path, bool folders) {
    if (path.empty() || (!folders && !IsPlainName(LastPart(path)))) return std::nullopt;
    Fd here(OpenFolder(path.front() == '/' ? "/" : "."));
    std::deque<std::string> rest;
    PushParts(path, rest);
    std::vector<PendingLink> links;
    int followed = 0;
    while (here.get() >= 0) {
        if (rest.empty()) return TFileAt(here.Release(), std::string());  // the folders are there
        const std::string name = rest.front();
        rest.pop_front();
        const bool atFile = !folders && rest.empty();
        Fd entry(OpenAt(here.get(), name, O_PATH));
        if (entry.get() < 0) {
            // Missing where the path names it directly: it may be made there.
            // At the end of a link it is a dangling link, and nothing may be made.
            if (errno != ENOENT || EndsALink(links, rest.size()) || !(atFile || folders)) break;
            if (atFile) return TFileAt(here.Release(), name);
            entry.Reset(MakeFolder(here.get(), name));
            if (entry.get() < 0) break;
        }
        struct stat st {};
        if (fstat(entry.get(), &st) != 0) break;
        if (S_ISLNK(st.st_mode)) {
            struct stat folder {};
            char target[PATH_MAX];
            ssize_t n = -1;
            if (++followed <= kMaxLinks && fstat(here.get(), &folder) == 0 &&
                ProtectedRuleAllows(folder, st)) {
                n = readlinkat(entry.get(), "", target, sizeof(target));
            }
            if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(target)) break;
            const std::string to(target, static_cast<std::size_t>(n));
            if (atFile && !IsPlainName(LastPart(to))) break;
            links.push_back({st.st_uid, rest.size()});
            PushParts(to, rest);
            if (to.front() == '/') here.Reset(OpenFolder("/"));
            // A target such as "." or "/" names the folder the walk is in.
            struct stat now {};
            if (rest.size() == links.back().restAtTarget &&
                (fstat(here.get(), &now) != 0 || !ReachedTargets(links, rest.size(), now.st_uid))) {
                break;
            }
            continue;
        }
        if (!ReachedTargets(links, rest.size(), st.st_uid)) break;
        if (atFile) return TFileAt(here.Release(), name);
        if (!S_ISDIR(st.st_mode)) break;
        here.Reset(entry.Release());
    }
    return std::nullopt;
}

}  // namespace

// The header's fixed-width user and group numbers are the system's own.
static_assert(std::is_same_v<uid_t, std::uint32_t> && std::is_same_v<gid_t, std::uint32_t>);

std::uint32_t FileSystemUser() {
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

std::optional<TFileAt> OpenFileAt(const std::string& path) { return Walk(path, false); }

bool MakeFoldersAt(const std::string& path) { return Walk(path, true).has_value(); }

bool GiveToFolderOwner(int fd, int folder) {
    struct stat owner {};
    if (FileSystemUser() != 0) return true;  // only root's would be wrong
    if (fstat(folder, &owner) != 0) return false;
    return owner.st_uid == 0 || fchown(fd, owner.st_uid, owner.st_gid) == 0;
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
