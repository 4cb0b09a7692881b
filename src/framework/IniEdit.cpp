#include "framework/IniEdit.h"

#include <vector>

#include "framework/IniText.h"

namespace framework::ini {

std::optional<std::string> LookUpValue(std::string bytes, std::string_view section,
                                       std::string_view key) {
    std::size_t start = 0;
    bool isUtf16 = false;
    const std::string text = DecodeFileText(std::move(bytes), start, isUtf16);
    const std::vector<Line> lines = ParseLines(text, start);
    auto range = FindSection(lines, section);
    if (!range) return std::nullopt;
    auto k = FindKey(lines, *range, key);
    if (!k) return std::nullopt;
    std::string_view value = lines[*k].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueBytes) value = value.substr(0, kMaxValueBytes);
    // The caller gets a C string: a NUL byte ends it.
    value = value.substr(0, value.find('\0'));
    return std::string(value);
}

std::string SetValue(std::string text, std::string_view section, std::string_view key,
                     std::string_view value) {
    const std::size_t start = HasUtf8Bom(text) ? 3 : 0;
    const std::vector<Line> lines = ParseLines(text, start);
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    auto range = FindSection(lines, section);
    if (!range) {
        if (text.size() > start && text.back() != '\n' && text.back() != '\r') text += "\r\n";
        text += "[" + std::string(section) + "]\r\n" + keyLine + "\r\n";
    } else if (auto k = FindKey(lines, *range, key)) {
        const Line& line = lines[*k];
        text.replace(line.begin, line.contentEnd - line.begin, keyLine);
    } else {
        std::size_t after = range->header;
        for (std::size_t j = range->header + 1; j < range->end; ++j) {
            if (lines[j].kind == Line::Kind::Key) after = j;
        }
        const Line& line = lines[after];
        std::string insert = keyLine + "\r\n";
        if (line.end == line.contentEnd) insert = "\r\n" + insert;  // the file's last line, unended
        text.insert(line.end, insert);
    }
    return text;
}

}  // namespace framework::ini
