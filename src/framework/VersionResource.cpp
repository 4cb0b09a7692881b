#include "framework/VersionResource.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/Codepage.h"
#include "framework/VersionBlock.h"

namespace framework {
namespace {

constexpr std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// The buffer GetFileVersionInfoA fills, for a block of `length` bytes:
//
//   [0, length)      the block as stored
//   [A, 2A + 4)      A = length rounded up to 32 bits: the code page 932 copy
//                    of the text value stored at block offset o starts at A + o
//
// A copy never outgrows the UTF-16 text it comes from (at most two bytes for
// each UTF-16 unit), so the copies of two values never overlap, and the copy
// of the last value still has room for its NUL. Every copy stays at the same
// place however often it is queried.
std::size_t AnsiOffset(std::size_t length) { return Align4(length); }
std::size_t BufferSize(std::size_t length) { return Align4(length) * 2 + 4; }

std::size_t BlockLength(const std::uint8_t* block) { return block[0] | (block[1] << 8); }

// The block in a section, trimmed to its outer node's length; empty when the
// outer node does not fit the section or is damaged.
VersionBytes BlockIn(VersionBytes section) {
    if (section.size() < 2) return {};
    const std::size_t length = BlockLength(section.data());
    if (length > section.size()) return {};
    const VersionBytes block = section.first(length);
    if (!ReadVersionNode(block, 0, block.size())) return {};
    return block;
}

// Writes the code page 932 copy of every text value, walking the whole tree.
// Children lie inside their parent and never overlap, so the walk visits each
// byte range once and ends.
void WriteAnsiCopies(std::uint8_t* buffer, std::size_t length) {
    const VersionBytes block(buffer, length);
    const std::size_t ansi = AnsiOffset(length);
    const std::size_t size = BufferSize(length);
    std::vector<VersionNode> pending;
    if (auto root = ReadVersionNode(block, 0, length)) pending.push_back(std::move(*root));
    while (!pending.empty()) {
        const VersionNode node = std::move(pending.back());
        pending.pop_back();
        if (node.IsText() && node.valueBytes > 0) {
            const std::string text = Utf16ToCp932(VersionText(block, node));
            const std::size_t at = ansi + node.valueOffset;
            const std::size_t n = std::min(text.size(), size - at - 1);
            std::memcpy(buffer + at, text.data(), n);
            buffer[at + n] = 0;
        }
        for (VersionNode& child : VersionChildren(block, node)) pending.push_back(std::move(child));
    }
}

}  // namespace

std::uint32_t VersionInfoSize(VersionBytes section) {
    const VersionBytes block = BlockIn(section);
    if (block.empty()) return 0;
    return static_cast<std::uint32_t>(BufferSize(block.size()));
}

bool LoadVersionInfo(VersionBytes section, std::uint32_t size, void* data) {
    if (!data) return false;
    auto* buffer = static_cast<std::uint8_t*>(data);
    const VersionBytes block = BlockIn(section);
    if (block.empty() || size < BufferSize(block.size())) {
        // An outer length of 0 makes every later query fail.
        std::memset(buffer, 0, std::min<std::size_t>(size, 2));
        return false;
    }
    std::memset(buffer, 0, BufferSize(block.size()));
    std::memcpy(buffer, block.data(), block.size());
    WriteAnsiCopies(buffer, block.size());
    return true;
}

bool QueryVersionInfo(const void* block, const std::string& subBlock, const void** buffer,
                      std::uint32_t* len) {
    if (buffer) *buffer = nullptr;
    if (len) *len = 0;
    if (!block || !buffer || !len) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    const std::size_t length = BlockLength(bytes);
    const auto node = FindVersionNode(VersionBytes(bytes, length), subBlock);
    if (!node) return false;
    if (!node->IsText()) {
        *buffer = bytes + node->valueOffset;
        *len = static_cast<std::uint32_t>(node->valueBytes);
        return true;
    }
    const std::size_t at = AnsiOffset(length) + node->valueOffset;
    const auto* copy = reinterpret_cast<const char*>(bytes + at);
    *buffer = copy;
    if (node->valueBytes > 0) {
        *len = static_cast<std::uint32_t>(strnlen(copy, BufferSize(length) - at) + 1);
    }
    return true;
}

}  // namespace framework
