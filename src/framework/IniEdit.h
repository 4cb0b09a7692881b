// Looking a value up in, and setting a value into, the text of an INI file,
// in memory: the rules of the private-profile functions, without the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework::ini {

// The most bytes of a value that a lookup hands out.
inline constexpr std::size_t kMaxValueBytes = 2047;

// The value of `key` in `section` of a file holding `bytes` (CP932, UTF-8 with
// its byte-order mark, or UTF-16 with its byte-order mark), as a lookup hands
// it out: trimmed, a pair of enclosing quotes removed, cut after
// kMaxValueBytes bytes, and ending before its first NUL byte (the value is a C
// string to the caller). Nothing when the section or the key is missing.
std::optional<std::string> LookUpValue(std::string bytes, std::string_view section,
                                       std::string_view key);

// The same lookup in text already decoded (see DecodeFileText), from byte `start`.
std::optional<std::string> LookUpInText(std::string_view text, std::size_t start,
                                        std::string_view section, std::string_view key);

// `text` (not UTF-16) with `key` of `section` set to `value`: the key's line
// is replaced where it stands, a new key goes after the last key line of its
// section, a new section at the end; new lines end in CR LF and every other
// byte stays as it was.
std::string SetValue(std::string text, std::string_view section, std::string_view key,
                     std::string_view value);

// The same change made in `text` itself, where the header of `section` is
// known to start at byte `header` (npos: the text has no such section), so
// that only the section is scanned. Gives where the header starts afterwards.
std::size_t SetValueAt(std::string& text, std::size_t header, std::string_view section,
                       std::string_view key, std::string_view value);

}  // namespace framework::ini
