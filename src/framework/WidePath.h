// File names in the two forms Windows has for them: the core keeps a path as
// UTF-8 (as it keeps it on Linux), and the wide (W) functions of the file
// layer take it as UTF-16. Converted here, at the edge, and nowhere else.
#pragma once

#include <string>
#include <string_view>

#include "framework/Codepage.h"

namespace framework {

inline std::wstring WidePath(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string Utf8Path(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace framework
