#include "framework/Codepage.h"

#include <array>
#include <mutex>
#include <unordered_map>

namespace framework {
namespace {

constexpr char16_t kUndefined = u'\u30FB';  // what Windows gives for an undefined CP932 sequence

// Decoding and encoding tables, built once from the platform's converter.
struct Tables {
    std::array<char16_t, 256> single{};
    std::array<char16_t, 256 * 256> dbcs{};
    std::unordered_map<char16_t, std::uint16_t> encode;  // code unit -> 1 or 2 bytes
};

// The single bytes beyond ASCII that stand for a character: the half-width
// katakana. The converters disagree on the others (0x80 is U+0080 to Windows
// and nothing to glibc), and a table that differed by platform would read a
// ranking file differently on each: they stay undefined everywhere.
constexpr bool IsHalfWidthKatakana(int b) { return b >= 0xA1 && b <= 0xDF; }

const Tables& GetTables() {
    static Tables* tables = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        auto* t = new Tables;
        t->single.fill(kUndefined);
        t->dbcs.fill(kUndefined);
        const TCp932Converter converter;
        // Bytes 0x00..0x7F are ASCII whatever the converter says.
        for (int b = 0; b < 0x80; ++b) t->single[b] = static_cast<char16_t>(b);
        for (int b = 0x80; b < 0x100; ++b) {
            if (!IsHalfWidthKatakana(b)) continue;
            const char c = static_cast<char>(b);
            if (auto u = converter.Decode(std::string_view(&c, 1))) t->single[b] = *u;
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsDBCSLeadByte(static_cast<std::uint8_t>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (auto u = converter.Decode(std::string_view(pair, 2))) {
                    t->dbcs[lead << 8 | trail] = *u;
                }
            }
        }
        // Encoding: ASCII is fixed; for every other code unit CP932 defines, ask
        // the converter which of its byte forms is canonical (some characters have
        // two, such as the NEC and IBM extensions).
        for (int b = 0; b < 0x80; ++b) t->encode.emplace(static_cast<char16_t>(b), b);
        auto addCanonical = [&](char16_t u) {
            if (u == kUndefined || u < 0x80 || t->encode.count(u)) return;
            const std::uint16_t bytes = converter.Encode(u);
            if (bytes != 0) t->encode.emplace(u, bytes);
        };
        for (int b = 0x80; b < 256; ++b) addCanonical(t->single[b]);
        for (std::size_t i = 0; i < t->dbcs.size(); ++i) addCanonical(t->dbcs[i]);
        tables = t;
    });
    return *tables;
}

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes UTF-8 into code points; a malformed sequence gives one U+FFFD per bad byte.
std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = cp << 6 | (c & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += cp;
        i += len;
    }
    return out;
}

void AppendCp932(std::string& out, const Tables& t, char16_t unit) {
    auto it = t.encode.find(unit);
    if (it == t.encode.end()) {
        out += '?';
    } else if (it->second > 0xFF) {
        out += static_cast<char>(it->second >> 8);
        out += static_cast<char>(it->second & 0xFF);
    } else {
        out += static_cast<char>(it->second);
    }
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view cp932) {
    const Tables& t = GetTables();
    std::u16string out;
    out.reserve(cp932.size());
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        auto b = static_cast<std::uint8_t>(cp932[i]);
        if (IsDBCSLeadByte(b)) {
            if (i + 1 >= cp932.size()) {
                out += kUndefined;
                break;
            }
            auto trail = static_cast<std::uint8_t>(cp932[++i]);
            out += t.dbcs[b << 8 | trail];
        } else {
            out += t.single[b];
        }
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16) {
    const Tables& t = GetTables();
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i;  // a character outside the BMP: CP932 has none
            out += '?';
            continue;
        }
        AppendCp932(out, t, u);
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    for (char16_t u : Cp932ToUtf16(cp932)) AppendUtf8(out, u);
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    const Tables& t = GetTables();
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : DecodeUtf8(utf8)) {
        if (cp > 0xFFFF || cp == U'\uFFFD') {
            out += '?';
        } else {
            AppendCp932(out, t, static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (char32_t cp : DecodeUtf8(utf8)) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (cp >> 10));
            out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3 / 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (utf16[++i] - 0xDC00));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, U'\uFFFD');  // half a pair
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

}  // namespace framework
