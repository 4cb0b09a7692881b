#include "framework/qt/Display.h"

#include <windows.h>

namespace framework {

// A process started in a window station that is not the interactive one (a
// service, a scheduled task "whether the user is logged on or not") has no
// desktop that anybody sees: its windows would open where nobody can close
// them. Where the station cannot be asked, the program tries all the same.
std::string MissingDisplayReason() {
    HWINSTA station = GetProcessWindowStation();
    USEROBJECTFLAGS flags{};
    if (station == nullptr ||
        !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr)) {
        return {};
    }
    if ((flags.dwFlags & WSF_VISIBLE) == 0) {
        return "no desktop: the window station of this process is not the interactive one";
    }
    return {};
}

}  // namespace framework
