#include "framework/VersionResource.h"

#include <string>
#include <vector>

#include "framework/ElfSection.h"

namespace framework {
namespace {

// A block is at most as long as its outer node's 16-bit length says.
constexpr std::size_t kMaxBlock = 0xFFFF;

std::vector<std::uint8_t> ReadSection(const std::string& path) {
    std::string section;
    if (!ReadElfSection(path, kVersionSectionName, kMaxBlock, section)) return {};
    return {section.begin(), section.end()};
}

}  // namespace

std::uint32_t GetFileVersionInfoSizeA(const std::string& path, std::uint32_t* handle) {
    if (handle) *handle = 0;
    return VersionInfoSize(ReadSection(path));
}

bool GetFileVersionInfoA(const std::string& path, [[maybe_unused]] std::uint32_t handle,
                         std::uint32_t size, void* data) {
    return LoadVersionInfo(ReadSection(path), size, data);
}

bool VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                    std::uint32_t* len) {
    return QueryVersionInfo(block, subBlock, buffer, len);
}

}  // namespace framework
