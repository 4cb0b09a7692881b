#include "framework/IniText.h"

#include "framework/Codepage.h"

namespace framework::ini {
namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsIniBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsIniBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Position of the first single-byte character `c` in `s`, stepping over
// double-byte characters, or npos.
std::size_t FindChar(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == c) return i;
        if (IsDBCSLeadByte(static_cast<std::uint8_t>(s[i]))) ++i;
    }
    return std::string_view::npos;
}

void Classify(std::string_view text, Line& line) {
    std::string_view content = Trim(text.substr(line.begin, line.contentEnd - line.begin));
    if (!content.empty() && content.front() == '[') {
        std::string_view inner = content.substr(1);
        std::size_t close = FindChar(inner, ']');
        line.kind = Line::Kind::Section;
        line.name = Trim(inner.substr(0, close));
        return;
    }
    std::size_t eq = FindChar(content, '=');
    if (eq == std::string_view::npos) return;
    line.kind = Line::Kind::Key;
    line.name = Trim(content.substr(0, eq));
    line.value = Trim(content.substr(eq + 1));
}

}  // namespace

bool NextLine(std::string_view text, std::size_t& pos, Line& line) {
    if (pos >= text.size()) return false;
    line = Line{};
    line.begin = pos;
    const std::size_t stop = text.find_first_of("\r\n", pos);
    std::size_t i = stop == std::string_view::npos ? text.size() : stop;
    line.contentEnd = i;
    if (i < text.size()) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++i;
    }
    line.end = pos = i;
    Classify(text, line);
    return true;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<std::uint8_t>(a[i]);
        auto y = static_cast<std::uint8_t>(b[i]);
        if (IsDBCSLeadByte(x)) {
            // Both bytes of a double-byte character must match exactly.
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<std::uint8_t>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<std::uint8_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::optional<SectionScan> ScanSection(std::string_view text, std::size_t start,
                                       std::string_view section, std::string_view key) {
    std::size_t pos = start;
    Line line;
    std::optional<SectionScan> found;
    while (NextLine(text, pos, line)) {
        if (line.kind == Line::Kind::Section) {
            if (found) break;
            if (SameName(line.name, section)) found = SectionScan{line, std::nullopt, std::nullopt};
        } else if (found && line.kind == Line::Kind::Key) {
            if (!found->key && SameName(line.name, key)) found->key = line;
            found->lastKey = line;
        }
    }
    return found;
}

bool IsUtf16File(std::string_view b) {
    return b.size() >= 2 &&
           ((b[0] == '\xFF' && b[1] == '\xFE') || (b[0] == '\xFE' && b[1] == '\xFF'));
}

bool HasUtf8Bom(std::string_view b) { return b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF"; }

std::string DecodeFileText(std::string bytes, std::size_t& start, bool& isUtf16) {
    start = 0;
    isUtf16 = IsUtf16File(bytes);
    if (isUtf16) {
        auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
        bool little = at(0) == 0xFF;
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units += little ? static_cast<char16_t>(at(i) | at(i + 1) << 8)
                            : static_cast<char16_t>(at(i) << 8 | at(i + 1));
        }
        return Utf16ToCp932(units);
    }
    if (HasUtf8Bom(bytes)) start = 3;
    return bytes;
}

}  // namespace framework::ini
