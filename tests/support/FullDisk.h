// Refuses file growth beyond `limit` bytes while alive, as a full disk does
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that the write fails with EFBIG).
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace testsupport {

class FullDisk {
  public:
    explicit FullDisk(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = saved_;
        r.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace testsupport
