// The VS_VERSIONINFO walker on any block: sizes, loading and queries stay
// inside the buffer and never fail.
#include <vector>

#include "FuzzInput.h"
#include "framework/VersionBlock.h"
#include "framework/VersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::string query = in.Part();
    const std::string blockBytes = in.Rest();
    // A copy of its own, so that reading past it is seen.
    std::vector<std::uint8_t> block(blockBytes.begin(), blockBytes.end());
    const std::span<const std::uint8_t> section(block.data(), block.size());

    const std::uint32_t need = framework::VersionInfoSize(section);
    if (need == 0) return 0;
    std::vector<std::uint8_t> buffer(need);
    fuzzing::Check(framework::LoadVersionInfo(section, need, buffer.data()));
    for (const std::string& path :
         {std::string("\\"), std::string("\\VarFileInfo\\Translation"),
          std::string("\\StringFileInfo\\041103A4\\ProductName"),
          std::string("\\StringFileInfo\\041103A4\\ProductVersion"), query}) {
        const void* value = nullptr;
        std::uint32_t length = 0;
        if (framework::VerQueryValueA(buffer.data(), path, &value, &length)) {
            const auto* p = static_cast<const std::uint8_t*>(value);
            fuzzing::Check(p >= buffer.data() && p + length <= buffer.data() + buffer.size());
            volatile std::uint8_t sum = 0;
            for (std::uint32_t i = 0; i < length; ++i) sum = sum + p[i];
        } else {
            fuzzing::Check(value == nullptr && length == 0);
        }
    }
    if (auto node = framework::FindVersionNode(section, query)) {
        fuzzing::Check(node->end <= block.size());
        (void)framework::VersionText(section, *node);
        (void)framework::VersionChildren(section, *node);
    }
    // Too small a buffer is refused.
    std::vector<std::uint8_t> small(need);
    fuzzing::Check(!framework::LoadVersionInfo(section, need - 1, small.data()));
    return 0;
}
