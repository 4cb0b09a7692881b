// StringCut and the character routines on any CP932 bytes: results are
// pieces of the input, and never fail.
#include "FuzzInput.h"
#include "util/VB.h"
#include "util/modStringCut.h"

namespace {

bool IsPieceOf(const std::string& piece, const std::string& whole) {
    return piece.empty() || whole.find(piece) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::uint8_t mode = in.Byte() % 5;
    const bool first = in.Byte() & 1;
    const std::int32_t start = static_cast<std::int8_t>(in.Byte());
    const std::int32_t count = static_cast<std::int8_t>(in.Byte());
    const std::string delimiter = in.Part();
    const std::string source = in.Rest();

    const std::string cut = StringCut(source, delimiter, mode, first);
    fuzzing::Check(IsPieceOf(cut, source));
    if (mode == 4) fuzzing::Check(cut.empty());

    const std::int32_t length = CharLen(source);
    fuzzing::Check(length >= 0 && static_cast<std::size_t>(length) <= source.size());
    const std::string mid = CharMid(source, start, count);
    fuzzing::Check(IsPieceOf(mid, source));
    fuzzing::Check(CharLen(mid) <= std::max(count, 0));
    fuzzing::Check(IsPieceOf(CharMidFrom(source, start), source));
    // The whole text, character by character, gives the text back.
    std::string joined;
    for (std::int32_t i = 1; i <= length; ++i) joined += CharMid(source, i, 1);
    fuzzing::Check(joined == source);
    const std::int32_t at = CharInStr(source, delimiter);
    fuzzing::Check(at >= 0 && at <= length);
    if (at > 0) fuzzing::Check(CharMid(source, at, CharLen(delimiter)) == delimiter);
    return 0;
}
