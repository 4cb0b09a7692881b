#include "framework/FileUtils.h"

#include <unistd.h>

#include <chrono>
#include <climits>

namespace framework {

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    std::size_t dot = path.find_last_of(".\\:/");
    if (dot == std::string::npos || path[dot] != '.') return path + ext;
    return path.substr(0, dot) + ext;
}

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

std::uint32_t MillisecondsSinceMidnightUtc() {
    using namespace std::chrono;
    auto now = time_point_cast<milliseconds>(system_clock::now()).time_since_epoch();
    return static_cast<std::uint32_t>(now.count() % (24LL * 60 * 60 * 1000));
}

}  // namespace framework
