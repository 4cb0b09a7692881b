#include "framework/qt/Display.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

namespace framework {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

// An X display of the form ":N" or ":N.S" has its socket in /tmp/.X11-unix;
// other forms (host:N) are taken on trust.
bool LocalXDisplayAlive(const std::string& display) {
    if (display.empty() || display[0] != ':') return true;
    std::string number = display.substr(1, display.find('.') - 1);
    struct stat st {};
    return stat(("/tmp/.X11-unix/X" + number).c_str(), &st) == 0;
}

bool WaylandAlive(const std::string& name) {
    if (name.empty()) return false;
    if (name[0] == '/') return true;
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty()) return true;
    struct stat st {};
    return stat((runtime + "/" + name).c_str(), &st) == 0;
}

}  // namespace

std::string MissingDisplayReason() {
    const std::string platform = Env("QT_QPA_PLATFORM");
    const std::string x = Env("DISPLAY");
    const std::string wayland = Env("WAYLAND_DISPLAY");
    const bool wantsX = platform.rfind("xcb", 0) == 0;
    const bool wantsWayland = platform.rfind("wayland", 0) == 0;
    if (!platform.empty() && !wantsX && !wantsWayland) return {};  // offscreen, vnc, ...
    if (wantsX || platform.empty()) {
        if (!x.empty() && LocalXDisplayAlive(x)) return {};
        if (wantsX) {
            return x.empty() ? "no X display: DISPLAY is not set"
                             : "the X display " + x + " cannot be reached";
        }
    }
    if (WaylandAlive(wayland)) return {};
    if (!x.empty()) return "the X display " + x + " cannot be reached";
    return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

}  // namespace framework
