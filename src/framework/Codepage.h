// Code page 932 (Shift-JIS as Windows defines it) and its conversions.
//
// The rules and the ranking file work on CP932 byte strings; the windows work on
// UTF-8 / UTF-16. These routines are the one crossing between the two.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

// UTF-8 <-> UTF-16, for file names, which Windows takes as UTF-16. A malformed
// UTF-8 byte becomes U+FFFD, and so does half a surrogate pair.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The platform's own converter for code page 932, asked once for every byte
// sequence and code unit while the tables of the routines above are built
// (Codepage_posix.cpp: glibc's iconv "CP932"; Codepage_win32.cpp:
// MultiByteToWideChar and WideCharToMultiByte with code page 932). Both
// platforms build the same tables from it.
class TCp932Converter {
  public:
    TCp932Converter();
    ~TCp932Converter();
    TCp932Converter(const TCp932Converter&) = delete;
    TCp932Converter& operator=(const TCp932Converter&) = delete;

    // The one UTF-16 code unit that `bytes` (one byte, or a lead byte and a
    // trail byte) stand for, or nothing when code page 932 defines none.
    std::optional<char16_t> Decode(std::string_view bytes) const;

    // The bytes code page 932 gives for `unit`: one byte, or the lead byte
    // << 8 | the trail byte; 0 when it has none.
    std::uint16_t Encode(char16_t unit) const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace framework
