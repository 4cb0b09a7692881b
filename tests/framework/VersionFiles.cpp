#include "framework/VersionFiles.h"

namespace versiontest {
namespace {

void Pad4(std::string& s) {
    while (s.size() % 4 != 0) s.push_back('\0');
}

std::string Utf16Bytes(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += U16(c);
    return out;
}

void PutLE(std::string& s, std::size_t at, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string U16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }

Node Text(std::u16string key, std::u16string text) {
    return {std::move(key), 1, Utf16Bytes(text) + U16(0), -1, {}};
}

Node Binary(std::u16string key, std::string bytes) {
    return {std::move(key), 0, std::move(bytes), -1, {}};
}

Node Block(std::u16string key, std::vector<Node> children, std::uint16_t type) {
    return {std::move(key), type, {}, -1, std::move(children)};
}

std::string Serialize(const Node& node) {
    std::string s = U16(0);
    const int valueLength = node.valueLength >= 0 ? node.valueLength
                            : node.type == 1      ? static_cast<int>(node.value.size() / 2)
                                                  : static_cast<int>(node.value.size());
    s += U16(static_cast<std::uint16_t>(valueLength));
    s += U16(node.type);
    s += Utf16Bytes(node.key) + U16(0);
    Pad4(s);
    s += node.value;
    for (const Node& child : node.children) {
        Pad4(s);
        s += Serialize(child);
    }
    PutLE(s, 0, s.size(), 2);
    return s;
}

Node VersionInfo(std::u16string tableKey, std::vector<Node> strings, std::string translation) {
    std::string fixed = U32(0xFEEF04BD) + U32(0x00010000);         // signature, structure version
    fixed += U32(0x00010000) + U32(0) + U32(0x00010000) + U32(0);  // file, product 1.0.0.0
    fixed += U32(0x3F) + U32(0) + U32(4) + U32(1) + U32(0) + U32(0) + U32(0);
    Node root = Binary(u"VS_VERSION_INFO", fixed);
    root.children.push_back(
        Block(u"StringFileInfo", {Block(std::move(tableKey), std::move(strings))}));
    root.children.push_back(
        Block(u"VarFileInfo", {Binary(u"Translation", std::move(translation))}));
    return root;
}

void Elf::Put16(std::size_t at, std::uint16_t v) { PutLE(bytes, at, v, 2); }
void Elf::Put32(std::size_t at, std::uint32_t v) { PutLE(bytes, at, v, 4); }
void Elf::Put64(std::size_t at, std::uint64_t v) { PutLE(bytes, at, v, 8); }

Elf MakeElf(const std::string& sectionName, const std::string& contents) {
    Elf elf;
    std::string& b = elf.bytes;
    b.assign(64, '\0');
    b.replace(0, 4, "\x7F\x45\x4C\x46");  // 0x7F "ELF"
    b[4] = 2;                             // 64-bit
    b[5] = 1;                             // little-endian
    b[6] = 1;                             // version
    const std::size_t dataOffset = b.size();
    b += contents;
    Pad4(b);
    const std::string names = std::string("\0", 1) + sectionName + '\0' + ".shstrtab" + '\0';
    const std::size_t namesOffset = b.size();
    b += names;
    while (b.size() % 8 != 0) b.push_back('\0');
    elf.sectionHeaders = b.size();
    b.append(3 * 64, '\0');

    elf.Put16(0x10, 2);     // executable
    elf.Put16(0x12, 0x3E);  // x86-64
    elf.Put32(0x14, 1);
    elf.Put64(0x28, elf.sectionHeaders);
    elf.Put16(0x34, 64);  // header size
    elf.Put16(0x3A, 64);  // section header size
    elf.Put16(0x3C, 3);   // sections
    elf.Put16(0x3E, 2);   // index of the name table

    elf.Put32(elf.HeaderField(1, 0x00), 1);  // name
    elf.Put32(elf.HeaderField(1, 0x04), 1);  // SHT_PROGBITS
    elf.Put64(elf.HeaderField(1, 0x18), dataOffset);
    elf.Put64(elf.HeaderField(1, 0x20), contents.size());
    elf.Put32(elf.HeaderField(2, 0x00), static_cast<std::uint32_t>(2 + sectionName.size()));
    elf.Put32(elf.HeaderField(2, 0x04), 3);  // SHT_STRTAB
    elf.Put64(elf.HeaderField(2, 0x18), namesOffset);
    elf.Put64(elf.HeaderField(2, 0x20), names.size());
    return elf;
}

}  // namespace versiontest
