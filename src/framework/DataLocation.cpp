#include "framework/DataLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "framework/FileUtils.h"

namespace framework {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

}  // namespace

std::string DataHomeDirectory() {
    std::string base = Env("XDG_DATA_HOME");
    // Only an absolute path counts, as the XDG rules say.
    if (base.empty() || base[0] != '/') {
        const std::string home = Env("HOME");
        if (home.empty()) return {};
        base = home + "/.local/share";
    }
    return base + "/horonpa";
}

RankingLocation RankingFileLocation(const std::string& exePath) {
    const std::string beside = ChangeFileExt(exePath, ".ini");
    if (Exists(beside) || access(DirectoryOf(beside).c_str(), W_OK) == 0) return {beside, false};
    const std::string dataHome = DataHomeDirectory();
    if (dataHome.empty()) return {beside, false};
    return {dataHome + "/horonpa.ini", true};
}

bool CreateDirectories(const std::string& dir) {
    if (dir.empty() || Exists(dir)) return !dir.empty();
    const std::string parent = DirectoryOf(dir);
    if (parent != dir && !Exists(parent) && !CreateDirectories(parent)) return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string ManualPath(const std::string& exePath) {
    const std::string beside = ChangeFileExt(exePath, ".html");
    if (Exists(beside)) return beside;
    const std::string installed = DirectoryOf(exePath) + "/../share/doc/horonpa/horonpa.html";
    return Exists(installed) ? installed : beside;
}

}  // namespace framework
