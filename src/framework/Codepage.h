// Code page 932 (Shift-JIS as Windows defines it) and its conversions.
//
// The rules and the ranking file work on CP932 byte strings; the windows work on
// UTF-8 / UTF-16. These routines are the one crossing between the two.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace framework {

// True for the bytes that start a two-byte character: 0x81..0x9F and 0xE0..0xFC.
constexpr bool IsDBCSLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// CP932 -> UTF-16. Every character under the lead-byte rule gives exactly one
// code unit; a byte sequence CP932 does not define (or a lead byte with no
// trail byte) gives U+30FB, as the Windows converter does.
std::u16string Cp932ToUtf16(std::string_view cp932);

// UTF-16 -> CP932. A character CP932 cannot hold becomes "?".
std::string Utf16ToCp932(std::u16string_view utf16);

// Same crossings with UTF-8 on the other side. Invalid UTF-8 becomes "?".
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace framework
