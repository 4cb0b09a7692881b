#include "util/modStringCut.h"

#include "util/VB.h"

namespace {

// The character position of the last occurrence of `delimiter` in `source`:
// search again in what follows each occurrence until nothing is found.
std::int32_t LastOccurrence(std::string_view source, std::string_view delimiter) {
    std::int32_t found = 0;
    std::string rest(source);
    for (;;) {
        std::int32_t p = CharInStr(rest, delimiter);
        if (p == 0) return found;
        found += p;
        rest = CharMidFrom(rest, p + 1);
    }
}

}  // namespace

std::string StringCut(std::string_view source, std::string_view delimiter, std::uint8_t mode,
                      bool first) {
    const std::int32_t len = CharLen(delimiter);
    const std::int32_t p = first ? CharInStr(source, delimiter) : LastOccurrence(source, delimiter);
    switch (mode) {
        case 0:
            return CharMid(source, 1, p - 1);
        case 1:
            return CharMid(source, 1, p - 1 + len);
        case 2:
            return CharMidFrom(source, p + len);
        case 3:
            return CharMidFrom(source, p);
        default:
            return {};
    }
}
