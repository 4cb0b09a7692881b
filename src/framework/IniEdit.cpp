#include "framework/IniEdit.h"

#include "framework/IniText.h"

namespace framework::ini {

std::optional<std::string> LookUpInText(std::string_view text, std::size_t start,
                                        std::string_view section, std::string_view key) {
    auto found = ScanSection(text, start, section, key);
    if (!found || !found->key) return std::nullopt;
    std::string_view value = found->key->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueBytes) value = value.substr(0, kMaxValueBytes);
    // The caller gets a C string: a NUL byte ends it.
    value = value.substr(0, value.find('\0'));
    return std::string(value);
}

std::optional<std::string> LookUpValue(std::string bytes, std::string_view section,
                                       std::string_view key) {
    std::size_t start = 0;
    bool isUtf16 = false;
    const std::string text = DecodeFileText(std::move(bytes), start, isUtf16);
    return LookUpInText(text, start, section, key);
}

std::size_t SetValueAt(std::string& text, std::size_t header, std::string_view section,
                       std::string_view key, std::string_view value) {
    const std::size_t start = HasUtf8Bom(text) ? 3 : 0;
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const auto found =
        header == std::string::npos ? std::nullopt : ScanSection(text, header, section, key);
    if (!found) {
        if (text.size() > start && text.back() != '\n' && text.back() != '\r') text += "\r\n";
        header = text.size();
        text += "[" + std::string(section) + "]\r\n" + keyLine + "\r\n";
    } else if (found->key) {
        text.replace(found->key->begin, found->key->contentEnd - found->key->begin, keyLine);
    } else {
        // After the section's last key line, or right after its header.
        const Line& line = found->lastKey ? *found->lastKey : found->header;
        std::string insert = keyLine + "\r\n";
        if (line.end == line.contentEnd) insert = "\r\n" + insert;  // the file's last line, unended
        text.insert(line.end, insert);
    }
    return header;
}

std::string SetValue(std::string text, std::string_view section, std::string_view key,
                     std::string_view value) {
    const auto found = ScanSection(text, HasUtf8Bom(text) ? 3 : 0, section, {});
    SetValueAt(text, found ? found->header.begin : std::string::npos, section, key, value);
    return text;
}

}  // namespace framework::ini
