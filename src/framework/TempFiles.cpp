#include "framework/TempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <random>
#include <vector>

namespace framework {
namespace {

constexpr std::size_t kRandomPart = 6;  // the "XXXXXX" of the pattern
constexpr char kSuffix[] = ".tmp";
// Tries before giving up on a folder full of names like ours.
constexpr int kCreateAttempts = 100;

std::string RandomPart() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string part(kRandomPart, ' ');
    for (char& c : part) c = kLetters[pick(generator)];
    return part;
}

}  // namespace

int CreateTemporary(const TFileAt& file, std::string& name) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        name = "." + file.Name() + "." + RandomPart() + kSuffix;
        const int fd = OpenAt(file.Folder(), name, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;  // errno is EEXIST
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + ".";
    const std::string suffix = kSuffix;
    if (base.empty() || name.size() != prefix.size() + kRandomPart + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomPart; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

void RemoveStaleTemporaries(const TFileAt& file) {
    const int listing = OpenAt(file.Folder(), ".", O_RDONLY | O_DIRECTORY);
    if (listing < 0) return;
    DIR* d = fdopendir(listing);
    if (d == nullptr) {
        close(listing);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* e = readdir(d)) {
        if (IsTemporaryOf(e->d_name, file.Name())) stale.emplace_back(e->d_name);
    }
    closedir(d);
    for (const std::string& name : stale) {
        struct stat st {};
        // Only our own regular files: never another user's, never a link.
        if (fstatat(file.Folder(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == FileSystemUser()) {
            unlinkat(file.Folder(), name.c_str(), 0);
        }
    }
}

}  // namespace framework
