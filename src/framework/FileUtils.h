// File names and the few file-system facts the core needs.
#pragma once

#include <cstdint>
#include <string>

namespace framework {

// Replaces the extension of `path` by `ext` (".ini"). The extension is the
// text from the last "." that stands after the last path delimiter ("\", ":"
// and, on this platform, "/"); a path without one gets `ext` appended.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The directory part of `path` ("." for a bare name, "/" for a file in /).
std::string DirectoryOf(const std::string& path);

// The full path of the running executable ("" when it cannot be found).
std::string ExecutablePath();

// Milliseconds since midnight, universal time: the generator's seed.
std::uint32_t MillisecondsSinceMidnightUtc();

}  // namespace framework
