#include "framework/SysUtils.h"

#include "framework/Codepage.h"

namespace framework {

std::string Cp932(std::string_view utf8) { return Utf8ToCp932(utf8); }

Exception::Exception(std::string messageCp932)
    : message_(std::move(messageCp932)), utf8_(Cp932ToUtf8(message_)) {}

EConvertError::EConvertError(const std::string& textCp932)
    : Exception("'" + textCp932 + Cp932("' は整数ではありません")) {}

EStringListError::EStringListError(std::int32_t index)
    : Exception(Cp932("リストのインデックスが範囲を超えています (") + IntToStr(index) + ")") {}

EIniFileException::EIniFileException(const std::string& pathCp932)
    : Exception(pathCp932 + Cp932(" に書き込めません")) {}

EIniFileLocked::EIniFileLocked(const std::string& pathCp932)
    : EIniFileException(WholeMessage{},
                        pathCp932 + Cp932(" に書き込めません (他のプログラムが書き込み中です)")) {}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    // Accumulate the magnitude in 64 bits; stop as soon as it can no longer fit.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

std::int32_t StrToInt(std::string_view text) {
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError(std::string(text));
    return value;
}

std::string IntToStr(std::int32_t value) { return std::to_string(value); }

}  // namespace framework
