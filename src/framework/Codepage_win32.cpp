// Code page 932 through the platform's own converters, asked for code page
// 932 itself whatever the user's ANSI code page is.
#include "framework/Codepage.h"

#include <windows.h>

namespace framework {

struct TCp932Converter::State {};

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

TCp932Converter::TCp932Converter() : state_(std::make_unique<State>()) {}

TCp932Converter::~TCp932Converter() = default;

std::optional<char16_t> TCp932Converter::Decode(std::string_view bytes) const {
    wchar_t out[4];
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), out, 4);
    if (n != 1) return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

std::uint16_t TCp932Converter::Encode(char16_t unit) const {
    const wchar_t in = static_cast<wchar_t>(unit);
    unsigned char out[4];
    BOOL usedDefault = FALSE;
    // No best fit: a character CP932 cannot hold must not turn into a look-alike.
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &in, 1,
                                      reinterpret_cast<char*>(out), 4, nullptr, &usedDefault);
    if (usedDefault) return 0;
    if (n == 1) return out[0];
    if (n == 2) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    return 0;
}

}  // namespace framework
