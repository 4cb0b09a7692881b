// The version service of the program file, in the ANSI forms the About window
// uses: the version information is the VS_VERSIONINFO block that the build
// compiles from resources/version.rc; text values are stored as UTF-16 and
// handed out as code page 932.
//
// On Windows the three functions are the system's own (VersionResource_win32.cpp),
// which read the version resource linked into the .exe and hand out text in the
// ANSI code page (932 on a Japanese system). On Linux the build places the
// block in the executable's section kVersionSectionName, and
// VersionResource_posix.cpp reads it from there and answers the same way,
// always in code page 932.
//
// Typical use:
//   std::uint32_t handle = 0;
//   const std::uint32_t size = GetFileVersionInfoSizeA(path, &handle);
//   std::vector<std::uint8_t> buffer(size);
//   GetFileVersionInfoA(path, 0, size, buffer.data());
//   const void* value = nullptr;
//   std::uint32_t length = 0;
//   VerQueryValueA(buffer.data(), "\\StringFileInfo\\041103A4\\ProductName", &value, &length);
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace framework {

// The name of the executable's section that holds the version information.
inline constexpr char kVersionSectionName[] = ".horonpa_version";

// The size in bytes of the buffer that GetFileVersionInfoA needs for the
// version information of the file at `path`: room for the block itself and
// for code page 932 copies of its text values. 0 when the file has no version
// information (not readable, not an ELF file, no such section, or a block
// whose outer node is damaged). `*handle`, when given, is set to 0.
std::uint32_t GetFileVersionInfoSizeA(const std::string& path, std::uint32_t* handle);

// Fills `data` (`size` bytes) with the version information of the file at
// `path`: the block as stored, followed by the code page 932 copies of every
// readable text value. `handle` is ignored. Returns false, with the first
// bytes of `data` cleared so that no query finds anything, when the file has
// no version information or `size` is smaller than it needs.
bool GetFileVersionInfoA(const std::string& path, std::uint32_t handle, std::uint32_t size,
                         void* data);

// Looks a value up in a buffer filled by GetFileVersionInfoA. `subBlock` is a
// path of keys separated by "\", compared without regard to case:
//   "\"                                    the fixed part (VS_FIXEDFILEINFO)
//   "\VarFileInfo\Translation"             the translation table (pairs of
//                                          16-bit language and code page)
//   "\StringFileInfo\041103A4\ProductName" a text value
// On success `*buffer` points into the buffer and `*len` is the value's length:
// bytes for a binary value; for a text value, the bytes of its code page 932
// copy including the terminating NUL (0 when the stored value is empty of
// length 0). Returns false, with `*buffer` null and `*len` 0, when the path
// names no node.
bool VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                    std::uint32_t* len);

// The version service on a block the program holds itself (the Linux
// version service is built on these): GetFileVersionInfoSizeA and
// GetFileVersionInfoA on the contents of the section, already read from the
// file, and VerQueryValueA on the buffer LoadVersionInfo filled.
std::uint32_t VersionInfoSize(std::span<const std::uint8_t> section);
bool LoadVersionInfo(std::span<const std::uint8_t> section, std::uint32_t size, void* data);
bool QueryVersionInfo(const void* block, const std::string& subBlock, const void** buffer,
                      std::uint32_t* len);

}  // namespace framework
