// Code page 932 through glibc's iconv. Its "CP932" is the Windows mapping
// (unlike "SHIFT_JIS", which differs for a few characters such as the wave
// dash and the yen sign).
#include "framework/Codepage.h"

#include <iconv.h>

#include <cstring>

namespace framework {

struct TCp932Converter::State {
    iconv_t decoder = reinterpret_cast<iconv_t>(-1);
    iconv_t encoder = reinterpret_cast<iconv_t>(-1);
};

namespace {

bool IsOpen(iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); }

}  // namespace

TCp932Converter::TCp932Converter() : state_(std::make_unique<State>()) {
    state_->decoder = iconv_open("UTF-16LE", "CP932");
    state_->encoder = iconv_open("CP932", "UTF-16LE");
}

TCp932Converter::~TCp932Converter() {
    if (IsOpen(state_->decoder)) iconv_close(state_->decoder);
    if (IsOpen(state_->encoder)) iconv_close(state_->encoder);
}

std::optional<char16_t> TCp932Converter::Decode(std::string_view bytes) const {
    if (!IsOpen(state_->decoder)) return std::nullopt;
    char16_t out[4];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outp = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof(out);
    iconv(state_->decoder, nullptr, nullptr, nullptr, nullptr);
    if (iconv(state_->decoder, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    if (inLeft != 0 || sizeof(out) - outLeft != sizeof(char16_t)) return std::nullopt;
    return out[0];
}

std::uint16_t TCp932Converter::Encode(char16_t unit) const {
    if (!IsOpen(state_->encoder)) return 0;
    char in16[2];
    std::memcpy(in16, &unit, 2);
    char* in = in16;
    std::size_t inLeft = 2;
    unsigned char out[4];
    char* outp = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof(out);
    iconv(state_->encoder, nullptr, nullptr, nullptr, nullptr);
    if (iconv(state_->encoder, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
        return 0;
    }
    const std::size_t n = sizeof(out) - outLeft;
    if (n == 1) return out[0];
    if (n == 2) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    return 0;
}

}  // namespace framework
