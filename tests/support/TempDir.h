// A fresh temporary directory for one test, removed with everything in it
// when the test ends.
#pragma once

#include <sys/types.h>

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

}  // namespace testsupport

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
int RunAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, const std::function<int()>& body);

}  // namespace testsupport
