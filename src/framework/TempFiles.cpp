#include "framework/TempFiles.h"

#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <vector>

#include "framework/FileUtils.h"

namespace framework {
namespace {

constexpr std::size_t kRandomPart = 6;  // the "XXXXXX" of the template

std::string BaseOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

std::string TemporaryTemplate(const std::string& path) {
    return DirectoryOf(path) + "/." + BaseOf(path) + "." + std::string(kRandomPart, 'X');
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + ".";
    if (base.empty() || name.size() != prefix.size() + kRandomPart) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
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
    for (const std::string& name : stale) unlink((dir + "/" + name).c_str());
}

}  // namespace framework
