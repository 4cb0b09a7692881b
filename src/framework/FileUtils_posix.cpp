#include "framework/FileUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "framework/FileAt.h"

namespace framework {

const char kPathDelimiter = '/';

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool DirectoryIsWritable(const std::string& dir) { return access(dir.c_str(), W_OK) == 0; }

bool CreateDirectories(const std::string& dir) { return MakeFoldersAt(dir); }

std::string UserDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // Only an absolute path counts, as the XDG rules say.
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    return std::string(home) + "/.local/share";
}

}  // namespace framework
