// The VS_VERSIONINFO layout: a tree of nodes, each
//
//   WORD  wLength        bytes of the node, its children included
//   WORD  wValueLength   length of the value: UTF-16 units for text, else bytes
//   WORD  wType          1 = text, 0 = binary
//   WCHAR szKey[]        NUL-terminated UTF-16 key
//   (padding to 32 bits) value
//   (padding to 32 bits) children, each starting on a 32-bit boundary
//
// Offsets are relative to the start of the block, which starts on a 32-bit
// boundary itself. Every length is checked against the bytes at hand: a node
// that does not fit its parent is damaged, and so is everything after it in
// that parent, because nothing says where the next one would start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

using VersionBytes = std::span<const std::uint8_t>;

struct VersionNode {
    std::size_t offset = 0;  // of the node's first byte
    std::size_t end = 0;     // offset + wLength
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::u16string key;
    std::size_t valueOffset = 0;
    std::size_t valueBytes = 0;  // the value's size in bytes (0 when it has none)
    std::size_t childrenOffset = 0;

    bool IsText() const { return type == 1; }
};

// The node at `offset`, which must end at or before `limit` (and inside the
// block); nothing when it is damaged: shorter than its own header and key, a
// key without its NUL, or a value that runs past the node's end.
std::optional<VersionNode> ReadVersionNode(VersionBytes block, std::size_t offset,
                                           std::size_t limit);

// The children of `parent` in order, up to the first damaged one.
std::vector<VersionNode> VersionChildren(VersionBytes block, const VersionNode& parent);

// The node a query path names: keys separated by "\" (empty parts are
// skipped, so "\" and "" name the root), each compared with the node keys
// without regard to the case of ASCII letters. A path part is code page 932
// text. Nothing when a part names no child, or the root itself is damaged.
std::optional<VersionNode> FindVersionNode(VersionBytes block, std::string_view path);

// The UTF-16 text of a text node's value, up to its first NUL.
std::u16string VersionText(VersionBytes block, const VersionNode& node);

}  // namespace framework
