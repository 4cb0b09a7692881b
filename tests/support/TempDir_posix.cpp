#include "support/TempDir.h"

#include <grp.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace testsupport {

std::string MakeTempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "horonpa-test-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return templ;
}

std::filesystem::path NativePath(const std::string& path) { return path; }

void OpenUpForRemoval(const std::filesystem::path& entry, std::filesystem::file_type type) {
    // Removal needs only the folders to be open to us: a file's mode is
    // never touched (through a link it could be a system file's).
    if (type != std::filesystem::file_type::directory) return;
    std::error_code ignored;
    std::filesystem::permissions(
        entry, std::filesystem::perms::owner_all,
        std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ignored);
}

std::intptr_t StartSelf(const std::vector<std::string>& environment) {
    const pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
        const char* argv[] = {"core_tests", "--gtest_filter=-*", nullptr};
        execv("/proc/self/exe", const_cast<char* const*>(argv));
        _exit(127);
    }
    return pid;
}

int ExitCodeOfSelf(std::intptr_t child) { return ExitCodeOf(static_cast<pid_t>(child)); }

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

int RunAs(std::uint32_t uid, std::uint32_t gid, const std::vector<std::uint32_t>& groups,
          const std::function<int()>& body) {
    return ExitCodeOf(StartChild([&] {
        if (setgroups(groups.size(), groups.data()) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            return 100;
        return body();
    }));
}

}  // namespace testsupport
