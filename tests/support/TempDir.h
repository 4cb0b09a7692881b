// A fresh temporary directory for one test, removed with everything in it
// when the test ends.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);

// The platform's parts (TempDir_posix.cpp, TempDir_win32.cpp):

// Makes a new, empty folder for one test and gives its path (UTF-8).
std::string MakeTempDir();

// `path` (UTF-8, as the core keeps paths) for the standard library's files.
std::filesystem::path NativePath(const std::string& path);

// Runs this test program again in a child process, with `environment`
// ("NAME=value" each) added to its own and no test selected: what the child
// does is up to a test file that looks at that environment as the program
// starts, and exits. Gives the child, to be waited for with ExitCodeOfSelf,
// or -1 when it could not be started.
std::intptr_t StartSelf(const std::vector<std::string>& environment);
// Waits for a child of StartSelf: its exit status (-1 when it could not be
// started or was killed).
int ExitCodeOfSelf(std::intptr_t child);

// Lets the folder's clean-up remove `entry` (of kind `type`), which a test
// may have closed: a folder opened up to its owner, on Windows also a file's
// read-only attribute cleared. Never through a link.
void OpenUpForRemoval(const std::filesystem::path& entry, std::filesystem::file_type type);

}  // namespace testsupport

// POSIX only (TempDir_posix.cpp):
namespace testsupport {

// Starts `body` in a child process, which exits with what `body` returns
// (3 when it throws).
pid_t StartChild(const std::function<int()>& body);
// Waits for child `pid`: its exit status, or -1 when it was killed.
int ExitCodeOf(pid_t pid);

// Runs `body` where file permissions are enforced: directly for an ordinary
// user; for root in a child process that has become "nobody" after `paths`
// were handed to it. Returns what `body` returned (or -1 when the child died).
int RunWithoutRoot(const std::vector<std::string>& paths, const std::function<int()>& body);

// Runs `body` (as root only) in a child process that has become user `uid`
// of group `gid` with the supplementary `groups`. Returns what `body`
// returned, 100 when the child could not change its identity, -1 when it died.
int RunAs(std::uint32_t uid, std::uint32_t gid, const std::vector<std::uint32_t>& groups,
          const std::function<int()>& body);

}  // namespace testsupport
