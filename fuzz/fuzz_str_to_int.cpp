// Text to integer, against a plain reading of its rule; and integer to text
// and back.
#include <optional>

#include "FuzzInput.h"
#include "framework/SysUtils.h"

namespace {

// The rule, written out slowly: blanks, a sign, "$" or "0x" for hexadecimal,
// digits, nothing after them, and a value that fits 32 bits.
std::optional<std::int64_t> Reference(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size()) return std::nullopt;
    __int128 v = 0;
    for (; i < s.size(); ++i) {
        int d;
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        v = v * base + d;
        if (v > (static_cast<__int128>(1) << 40)) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<std::int64_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::int32_t number = in.Int32();
    const std::string text = in.Rest();

    const std::optional<std::int64_t> expected = Reference(text);
    std::int32_t value = 0;
    const bool ok = framework::TryStrToInt(text, value);
    fuzzing::Check(ok == expected.has_value());
    if (ok) fuzzing::Check(value == *expected);
    try {
        const std::int32_t thrown = framework::StrToInt(text);
        fuzzing::Check(ok && thrown == value);
    } catch (const framework::EConvertError& e) {
        fuzzing::Check(!ok);
        fuzzing::Check(e.Message().compare(0, text.size() + 2, "'" + text + "'") == 0);
    }

    const std::string decimal = framework::IntToStr(number);
    fuzzing::Check(framework::StrToInt(decimal) == number);
    fuzzing::Check(decimal == std::to_string(number));
    return 0;
}
