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
    std::error_code ec;
    // Restore write permission on anything a test made read-only, so removal works.
    for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec)) {
        std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
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
