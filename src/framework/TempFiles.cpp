#include "framework/TempFiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <vector>

#include "framework/FileUtils.h"
#include "framework/SafeFile.h"

namespace framework {
namespace {

constexpr std::size_t kRandomPart = 6;  // the "XXXXXX" of the template
constexpr char kSuffix[] = ".tmp";

std::string BaseOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

std::string TemporaryTemplate(const std::string& path) {
    return DirectoryOf(path) + "/." + BaseOf(path) + "." + std::string(kRandomPart, 'X') + kSuffix;
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

void RemoveStaleTemporaries(const std::string& path) {
    const std::string dir = DirectoryOf(path);
    const std::string base = BaseOf(path);
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return;
    std::vector<std::string> stale;
    while (const dirent* e = readdir(d)) {
        if (IsTemporaryOf(e->d_name, base)) stale.emplace_back(e->d_name);
    }
    closedir(d);
    for (const std::string& name : stale) {
        const std::string path = dir + "/" + name;
        struct stat st {};
        // Only our own regular files: never another user's, never a link.
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == FileSystemUser())
            unlink(path.c_str());
    }
}

}  // namespace framework
