#include "util/VB.h"

#include "framework/Codepage.h"

namespace {

// Bytes of the character starting at `i`; a lead byte at the very end is a
// character of its own.
std::size_t CharBytes(std::string_view s, std::size_t i) {
    return framework::IsDBCSLeadByte(static_cast<std::uint8_t>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Byte offset of character number `pos` (1-based), or npos when the text has
// fewer characters.
std::size_t OffsetOfChar(std::string_view text, std::int32_t pos) {
    if (pos < 1) pos = 1;
    std::size_t i = 0;
    for (std::int32_t n = 1; i < text.size(); ++n) {
        if (n == pos) return i;
        i += CharBytes(text, i);
    }
    return std::string_view::npos;
}

}  // namespace

std::int32_t CharLen(std::string_view text) {
    if (text.empty()) return 0;
    // Every character converts to one UTF-16 code unit.
    return static_cast<std::int32_t>(framework::Cp932ToUtf16(text).size());
}

std::string CharMidFrom(std::string_view text, std::int32_t start) {
    std::size_t from = OffsetOfChar(text, start);
    return from == std::string_view::npos ? std::string() : std::string(text.substr(from));
}

std::string CharMid(std::string_view text, std::int32_t start, std::int32_t count) {
    std::size_t from = OffsetOfChar(text, start);
    if (from == std::string_view::npos || count <= 0) return {};
    std::size_t end = from;
    for (std::int32_t n = 0; n < count && end < text.size(); ++n) end += CharBytes(text, end);
    return std::string(text.substr(from, end - from));
}

std::int32_t CharInStr(std::string_view text, std::string_view sub) {
    std::int32_t n = CharLen(text);
    std::int32_t m = CharLen(sub);
    for (std::int32_t i = 1; i <= n; ++i) {
        if (CharMid(text, i, m) == sub) return i;
    }
    return 0;
}
