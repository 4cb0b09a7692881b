// Whether the program can reach a desktop to show its windows on.
#pragma once

#include <string>

namespace framework {

// Empty when a display looks reachable for the platform Qt will pick; else
// one line saying why not. Checked before the application object exists,
// because Qt aborts the process when it cannot open its platform.
std::string MissingDisplayReason();

}  // namespace framework
