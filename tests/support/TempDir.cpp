#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() : path_(MakeTempDir()) {}

TempDir::~TempDir() {
    namespace fs = std::filesystem;
    // Removal needs only the folders to be open to us: give back what a test
    // took from a folder of its own, and touch nothing else. A link is never
    // followed here (a test's link may lead to a device or to a system file),
    // and a folder is opened before its entries are listed.
    const fs::path root = NativePath(path_);
    OpenUpForRemoval(root, fs::file_type::directory);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::error_code ignored;
        OpenUpForRemoval(it->path(), it->symlink_status(ignored).type());
    }
    fs::remove_all(root, ec);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testsupport
