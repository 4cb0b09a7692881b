// Hand-built version information and ELF files for the version reader's
// tests: a VS_VERSIONINFO node builder and a minimal ELF64 writer whose
// header fields can be damaged afterwards at known offsets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace versiontest {

// One node of a VS_VERSIONINFO tree. Serialize computes wLength and the
// padding; wValueLength is taken from `valueLength` when it is set, else from
// the value (UTF-16 units for text, bytes for binary).
struct Node {
    std::u16string key;
    std::uint16_t type = 1;
    std::string value;  // the stored bytes (UTF-16LE for text)
    int valueLength = -1;
    std::vector<Node> children;
};

// A text node whose value is `text` and its NUL.
Node Text(std::u16string key, std::u16string text);
// A binary node.
Node Binary(std::u16string key, std::string bytes);
// A node with no value, only children.
Node Block(std::u16string key, std::vector<Node> children, std::uint16_t type = 1);

std::string Serialize(const Node& node);

// A VS_VERSIONINFO root with the fixed part of file version 1.0.0.0, the
// given string table (`tableKey`, e.g. u"040904E4") and translation bytes.
Node VersionInfo(std::u16string tableKey, std::vector<Node> strings, std::string translation);

// Little-endian byte strings.
std::string U16(std::uint16_t v);
std::string U32(std::uint32_t v);

// A 64-bit little-endian ELF file with one section named `sectionName` holding
// `contents`, plus the section-name table.
struct Elf {
    std::string bytes;
    std::size_t sectionHeaders = 0;  // file offset of the section header table
    std::size_t dataSection = 1;     // index of the section with `contents`
    std::size_t stringSection = 2;   // index of the section-name table

    // File offset of field `field` (an offset inside a section header) of
    // section `index`.
    std::size_t HeaderField(std::size_t index, std::size_t field) const {
        return sectionHeaders + index * 64 + field;
    }
    void Put16(std::size_t at, std::uint16_t v);
    void Put32(std::size_t at, std::uint32_t v);
    void Put64(std::size_t at, std::uint64_t v);
};

Elf MakeElf(const std::string& sectionName, const std::string& contents);

}  // namespace versiontest
