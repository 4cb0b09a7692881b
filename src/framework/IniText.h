// The line structure of an INI file's text (CP932 bytes), shared by reading
// and writing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework::ini {

struct Line {
    std::size_t begin = 0;       // first byte of the line
    std::size_t contentEnd = 0;  // first byte of its terminator
    std::size_t end = 0;         // first byte after its terminator
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;   // the section name or the key, trimmed
    std::string_view value;  // the key's value, trimmed
};

// Splits `text` (from byte `start`, after any byte-order mark) into lines.
std::vector<Line> ParseLines(std::string_view text, std::size_t start);

// Names compare without regard to the case of ASCII letters; a double-byte
// character compares byte for byte.
bool SameName(std::string_view a, std::string_view b);

// Where section `section` starts and ends among `lines` (indices of its header
// and of the first line after it), or nothing.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};
std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section);

// The index of the first line of key `key` within `range`, or nothing.
std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionRange range,
                                   std::string_view key);

// A file that starts with a UTF-16 byte-order mark; one with a UTF-8 one.
bool IsUtf16File(std::string_view bytes);
bool HasUtf8Bom(std::string_view bytes);

// The file's bytes as INI text: UTF-16 files are converted to CP932. Sets
// `start` past any byte-order mark, `isUtf16` when the file was UTF-16.
std::string DecodeFileText(std::string bytes, std::size_t& start, bool& isUtf16);

}  // namespace framework::ini
