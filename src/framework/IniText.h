// The line structure of an INI file's text (CP932 bytes), shared by reading
// and writing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework::ini {

struct Line {
    std::size_t begin = 0;       // first byte of the line
    std::size_t contentEnd = 0;  // first byte of its terminator
    std::size_t end = 0;         // first byte after its terminator
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;   // the section name or the key, trimmed
    std::string_view value;  // the key's value, trimmed
};

// Reads the line that starts at `pos` (after any byte-order mark) into `line`
// and moves `pos` past it; false at the end of the text. Reading a file line
// by line this way holds no more than one line at a time.
bool NextLine(std::string_view text, std::size_t& pos, Line& line);

// Names compare without regard to the case of ASCII letters; a double-byte
// character compares byte for byte.
bool SameName(std::string_view a, std::string_view b);

// What one pass over the text finds of section `section`: its header line,
// the first line of key `key` in it, and its last key line. The first section
// of that name counts; it ends at the next section header.
struct SectionScan {
    Line header;
    std::optional<Line> key;
    std::optional<Line> lastKey;
};
std::optional<SectionScan> ScanSection(std::string_view text, std::size_t start,
                                       std::string_view section, std::string_view key);

// A file that starts with a UTF-16 byte-order mark; one with a UTF-8 one.
bool IsUtf16File(std::string_view bytes);
bool HasUtf8Bom(std::string_view bytes);

// The file's bytes as INI text: UTF-16 files are converted to CP932. Sets
// `start` past any byte-order mark, `isUtf16` when the file was UTF-16.
std::string DecodeFileText(std::string bytes, std::size_t& start, bool& isUtf16);

}  // namespace framework::ini
