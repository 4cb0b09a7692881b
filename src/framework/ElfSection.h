// Reading one named section out of an ELF file (the executables of this
// platform), for data that the build attaches to the program file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace framework {

// Reads the contents of the first section called `name` in the 64-bit ELF
// file at `path` (either byte order) into `bytes`, at most `maxBytes` of them
// from the start of the section. Returns false, leaving `bytes` empty, when the
// file cannot be read, is not a 64-bit ELF file, has no such section, the
// section holds no file data, or any offset or length in the file's headers
// points outside the file.
bool ReadElfSection(const std::string& path, std::string_view name, std::size_t maxBytes,
                    std::string& bytes);

}  // namespace framework
