#include "framework/qt/Display.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

// Whether a Wayland compositor answers on the socket that `name` names: a
// connection is tried, so a socket file left behind by a compositor that is
// gone counts as no answer. A relative name without XDG_RUNTIME_DIR is taken
// on trust.
bool WaylandAlive(const std::string& name) {
    if (name.empty()) return false;
    std::string path = name;
    if (name[0] != '/') {
        const std::string runtime = Env("XDG_RUNTIME_DIR");
        if (runtime.empty()) return true;
        path = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return answers;
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
    if (!wayland.empty()) {
        const std::string silent = "no Wayland compositor answers at WAYLAND_DISPLAY=" + wayland;
        if (wantsWayland) return silent;
        if (x.empty()) return "no display: " + silent + ", and DISPLAY is not set";
        return "the X display " + x + " cannot be reached, and " + silent;
    }
    if (!x.empty()) return "the X display " + x + " cannot be reached";
    return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

}  // namespace framework
