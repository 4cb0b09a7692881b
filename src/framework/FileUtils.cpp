#include "framework/FileUtils.h"

namespace framework {

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    std::size_t dot = path.find_last_of(".\\:/");
    if (dot == std::string::npos || path[dot] != '.') return path + ext;
    return path.substr(0, dot) + ext;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == '/' || dir.back() == kPathDelimiter) return dir + name;
    return dir + kPathDelimiter + name;
}

}  // namespace framework
