#include "framework/Codepage.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace framework {
namespace {

constexpr char16_t kUndefined = u'\u30FB';  // what Windows gives for an undefined CP932 sequence
constexpr char16_t kNone = 0xFFFF;

// Decoding and encoding tables, built once from glibc's CP932 converter.
// glibc's "CP932" is the Windows mapping (unlike "SHIFT_JIS", which differs for
// a few characters such as the wave dash and the yen sign).
struct Tables {
    std::array<char16_t, 256> single{};
    std::array<char16_t, 256 * 256> dbcs{};
    std::unordered_map<char16_t, std::uint16_t> encode;  // code unit -> 1 or 2 bytes
};

char16_t DecodeWithIconv(iconv_t cd, const char* bytes, std::size_t n) {
    char16_t out[4];
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = n;
    char* outp = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof(out);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) return kNone;
    if (inLeft != 0 || sizeof(out) - outLeft != sizeof(char16_t)) return kNone;
    return out[0];
}

// The bytes CP932 gives for one code unit, or 0 when it has none.
std::uint16_t EncodeWithIconv(iconv_t cd, char16_t unit) {
    char in16[2];
    std::memcpy(in16, &unit, 2);
    char* in = in16;
    std::size_t inLeft = 2;
    unsigned char out[4];
    char* outp = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof(out);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    std::size_t n = sizeof(out) - outLeft;
    if (n == 1) return out[0];
    if (n == 2) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    return 0;
}

const Tables& GetTables() {
    static Tables* tables = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        auto* t = new Tables;
        t->single.fill(kUndefined);
        t->dbcs.fill(kUndefined);
        iconv_t dec = iconv_open("UTF-16LE", "CP932");
        iconv_t enc = iconv_open("CP932", "UTF-16LE");
        if (dec != reinterpret_cast<iconv_t>(-1)) {
            for (int b = 0; b < 256; ++b) {
                if (IsDBCSLeadByte(static_cast<std::uint8_t>(b))) continue;
                char c = static_cast<char>(b);
                char16_t u = DecodeWithIconv(dec, &c, 1);
                // Bytes 0x00..0x7F are ASCII whatever the converter says.
                if (b < 0x80) u = static_cast<char16_t>(b);
                if (u != kNone) t->single[b] = u;
            }
            for (int lead = 0x81; lead <= 0xFC; ++lead) {
                if (!IsDBCSLeadByte(static_cast<std::uint8_t>(lead))) continue;
                for (int trail = 0x40; trail <= 0xFC; ++trail) {
                    if (trail == 0x7F) continue;
                    char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                    char16_t u = DecodeWithIconv(dec, pair, 2);
                    if (u != kNone) t->dbcs[lead << 8 | trail] = u;
                }
            }
            iconv_close(dec);
        } else {
            for (int b = 0; b < 0x80; ++b) t->single[b] = static_cast<char16_t>(b);
        }
        // Encoding: ASCII is fixed; for every other code unit CP932 defines, ask
        // the converter which of its byte forms is canonical (some characters have
        // two, such as the NEC and IBM extensions).
        for (int b = 0; b < 0x80; ++b) t->encode.emplace(static_cast<char16_t>(b), b);
        auto addCanonical = [&](char16_t u) {
            if (u == kUndefined || u < 0x80 || t->encode.count(u)) return;
            if (enc == reinterpret_cast<iconv_t>(-1)) return;
            std::uint16_t bytes = EncodeWithIconv(enc, u);
            if (bytes != 0) t->encode.emplace(u, bytes);
        };
        for (int b = 0x80; b < 256; ++b) addCanonical(t->single[b]);
        for (std::size_t i = 0; i < t->dbcs.size(); ++i) addCanonical(t->dbcs[i]);
        if (enc != reinterpret_cast<iconv_t>(-1)) iconv_close(enc);
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

}  // namespace framework
