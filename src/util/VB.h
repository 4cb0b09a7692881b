// String routines that count in characters, not bytes, on CP932 text: a lead
// byte (0x81..0x9F, 0xE0..0xFC) and the byte after it are one character.
// Positions are 1-based. Out-of-range positions and counts give empty or
// shortened results; nothing here fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The number of characters of `text`.
std::int32_t CharLen(std::string_view text);

// The characters from position `start` (1 or less means 1) to the end.
std::string CharMidFrom(std::string_view text, std::int32_t start);

// `count` characters from position `start` (1 or less means 1), or fewer when
// the text ends first.
std::string CharMid(std::string_view text, std::int32_t start, std::int32_t count);

// The character position of the first occurrence of `sub` in `text`, 0 if none.
// Only character boundaries are candidates.
std::int32_t CharInStr(std::string_view text, std::string_view sub);
