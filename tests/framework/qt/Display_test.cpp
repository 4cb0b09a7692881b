#include "framework/qt/Display.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

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
    setenv("QT_QPA_PLATFORM", "wayland", 1);
    setenv("WAYLAND_DISPLAY", "/run/some/socket", 1);
    EXPECT_EQ(framework::MissingDisplayReason(), "");
    setenv("DISPLAY", "remote:0", 1);  // not a local socket: taken on trust
    unsetenv("QT_QPA_PLATFORM");
    EXPECT_EQ(framework::MissingDisplayReason(), "");
}

}  // namespace
