#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "horonpa-test-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir() {
    namespace fs = std::filesystem;
    // Removal needs only the folders to be open to us: give back what a test
    // took from a folder of its own, and touch nothing else. A link is never
    // followed here (a test's link may lead to a device or to a system file),
    // and a folder is opened before its entries are listed.
    const auto openUp = [](const fs::path& folder) {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all,
                        fs::perm_options::add | fs::perm_options::nofollow, ignored);
    };
    openUp(path_);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::directory) openUp(it->path());
    }
    fs::remove_all(path_, ec);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testsupport

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

pid_t StartChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 3;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    return pid;
}

int ExitCodeOf(pid_t pid) {
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int RunWithoutRoot(const std::vector<std::string>& paths, const std::function<int()>& body) {
    if (geteuid() != 0) return body();
    constexpr uid_t kNobody = 65534;
    for (const std::string& p : paths) {
        if (lchown(p.c_str(), kNobody, kNobody) != 0) return -1;
    }
    return RunAs(kNobody, kNobody, {}, body);
}

int RunAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
          const std::function<int()>& body) {
    return ExitCodeOf(StartChild([&] {
        if (setgroups(groups.size(), groups.data()) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            return 100;
        return body();
    }));
}

}  // namespace testsupport
