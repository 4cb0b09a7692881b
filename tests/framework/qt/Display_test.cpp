#include "framework/qt/Display.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace {

// A Unix socket at `path` that takes connections while it is open; closed,
// it leaves its file behind, as a compositor that died does.
class Listener {
  public:
    explicit Listener(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof(address.sun_path) - 1);
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(fd_, 4), 0);
    }
    ~Listener() { Close(); }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

// Sets the display variables for one test and restores them afterwards.
class DisplayEnv : public ::testing::Test {
  protected:
    const char* names[4] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
    std::map<std::string, std::optional<std::string>> saved;

    void SetUp() override {
        for (const char* n : names) {
            const char* v = std::getenv(n);
            saved[n] = v ? std::optional<std::string>(v) : std::nullopt;
            unsetenv(n);
        }
    }
    void TearDown() override {
        for (auto& [n, v] : saved) {
            if (v)
                setenv(n.c_str(), v->c_str(), 1);
            else
                unsetenv(n.c_str());
        }
    }
};

TEST_F(DisplayEnv, NothingToShowOnGivesAReason) {
    EXPECT_EQ(framework::MissingDisplayReason(),
              "no display: neither DISPLAY nor WAYLAND_DISPLAY is set");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    EXPECT_EQ(framework::MissingDisplayReason(), "no X display: DISPLAY is not set");
}

TEST_F(DisplayEnv, DeadLocalXDisplayIsNamed) {
    setenv("DISPLAY", ":987", 1);
    EXPECT_EQ(framework::MissingDisplayReason(), "the X display :987 cannot be reached");
}

TEST_F(DisplayEnv, PlatformsWithoutADesktopNeedNone) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_EQ(framework::MissingDisplayReason(), "");
    testsupport::TempDir dir;
    Listener compositor(dir.file("wayland-7"));
    setenv("QT_QPA_PLATFORM", "wayland", 1);
    setenv("WAYLAND_DISPLAY", dir.file("wayland-7").c_str(), 1);
    EXPECT_EQ(framework::MissingDisplayReason(), "");
    setenv("DISPLAY", "remote:0", 1);  // not a local socket: taken on trust
    unsetenv("QT_QPA_PLATFORM");
    EXPECT_EQ(framework::MissingDisplayReason(), "");
}

// WAYLAND_DISPLAY set where nothing answers is said as such, not as an unset
// variable: a missing socket and one left behind by a compositor that is gone.
TEST_F(DisplayEnv, WaylandDisplayWithNoCompositorIsNamed) {
    testsupport::TempDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    setenv("WAYLAND_DISPLAY", "wayland-7", 1);
    const std::string silent = "no Wayland compositor answers at WAYLAND_DISPLAY=wayland-7";
    EXPECT_EQ(framework::MissingDisplayReason(),
              "no display: " + silent + ", and DISPLAY is not set");
    Listener compositor(runtime.file("wayland-7"));
    EXPECT_EQ(framework::MissingDisplayReason(), "");
    compositor.Close();
    EXPECT_EQ(framework::MissingDisplayReason(),
              "no display: " + silent + ", and DISPLAY is not set");
    setenv("DISPLAY", ":987", 1);
    EXPECT_EQ(framework::MissingDisplayReason(),
              "the X display :987 cannot be reached, and " + silent);
    setenv("QT_QPA_PLATFORM", "wayland", 1);  // no fallback to X then
    EXPECT_EQ(framework::MissingDisplayReason(), silent);
}

}  // namespace
