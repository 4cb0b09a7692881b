// Makes file permissions count for the calling thread while alive, the way
// they count for an ordinary user: as root, the thread's file-system user
// becomes "nobody" (which also drops root's right to override permissions);
// for an ordinary user nothing changes. Lets a test that must stay in one
// process (a window test) see read-only files and directories refused.
#pragma once

#include <sys/fsuid.h>

#include <unistd.h>

namespace testsupport {

class FsUserNobody {
  public:
    static constexpr uid_t kNobody = 65534;
    FsUserNobody() : active_(geteuid() == 0) {
        if (!active_) return;
        setfsgid(kNobody);
        setfsuid(kNobody);
    }
    ~FsUserNobody() {
        if (!active_) return;
        setfsuid(0);
        setfsgid(0);
    }
    FsUserNobody(const FsUserNobody&) = delete;
    FsUserNobody& operator=(const FsUserNobody&) = delete;

  private:
    bool active_;
};

}  // namespace testsupport
