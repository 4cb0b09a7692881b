// Cuts a CP932 string at an occurrence of a delimiter, by characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// mode 0: the text before the delimiter; 1: up to and including it; 2: the text
// after it; 3: from the delimiter on. `first` picks the first occurrence, else
// the last (the delimiter is then a single character).
// StringCut("btn12_3", "btn", 2, true) == "12_3";
// StringCut("12_3", "_", 0, false) == "12"; StringCut("12_3", "_", 2, false) == "3".
std::string StringCut(std::string_view source, std::string_view delimiter, std::uint8_t mode,
                      bool first);
