#include "framework/VersionBlock.h"

#include "framework/Codepage.h"

namespace framework {
namespace {

constexpr std::size_t kNodeHeader = 6;  // wLength, wValueLength, wType

constexpr std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

std::uint16_t U16(VersionBytes block, std::size_t offset) {
    return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c; }

bool SameKey(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<VersionNode> ReadVersionNode(VersionBytes block, std::size_t offset,
                                           std::size_t limit) {
    if (limit > block.size() || offset > limit || limit - offset < kNodeHeader + 2) {
        return std::nullopt;
    }
    VersionNode node;
    node.offset = offset;
    const std::size_t length = U16(block, offset);
    if (length < kNodeHeader + 2 || length > limit - offset) return std::nullopt;
    node.end = offset + length;
    node.valueLength = U16(block, offset + 2);
    node.type = U16(block, offset + 4);

    std::size_t p = offset + kNodeHeader;
    for (;; p += 2) {
        if (node.end - p < 2) return std::nullopt;  // no NUL inside the node
        const char16_t c = U16(block, p);
        if (c == 0) break;
        node.key.push_back(c);
    }
    const std::size_t keyEnd = p + 2;

    node.valueBytes = node.IsText() ? std::size_t{node.valueLength} * 2 : node.valueLength;
    node.valueOffset = Align4(keyEnd);
    if (node.valueBytes > 0 &&
        (node.valueOffset > node.end || node.valueBytes > node.end - node.valueOffset)) {
        return std::nullopt;
    }
    node.childrenOffset = Align4(node.valueOffset + node.valueBytes);
    return node;
}

std::vector<VersionNode> VersionChildren(VersionBytes block, const VersionNode& parent) {
    std::vector<VersionNode> children;
    // Each child is at least 8 bytes long, so the walk always moves forward.
    for (std::size_t p = parent.childrenOffset; p < parent.end;) {
        auto child = ReadVersionNode(block, p, parent.end);
        if (!child) break;
        p = Align4(child->end);
        children.push_back(std::move(*child));
    }
    return children;
}

std::optional<VersionNode> FindVersionNode(VersionBytes block, std::string_view path) {
    auto node = ReadVersionNode(block, 0, block.size());
    while (node && !path.empty()) {
        const std::size_t cut = path.find('\\');
        const std::string_view part = path.substr(0, cut);
        path = cut == std::string_view::npos ? std::string_view{} : path.substr(cut + 1);
        if (part.empty()) continue;
        const std::u16string key = Cp932ToUtf16(part);
        std::optional<VersionNode> found;
        for (VersionNode& child : VersionChildren(block, *node)) {
            if (SameKey(child.key, key)) {
                found = std::move(child);
                break;
            }
        }
        node = std::move(found);
    }
    return node;
}

std::u16string VersionText(VersionBytes block, const VersionNode& node) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < node.valueBytes; i += 2) {
        const char16_t c = U16(block, node.valueOffset + i);
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

}  // namespace framework
