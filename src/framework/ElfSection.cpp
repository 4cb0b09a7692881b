#include "framework/ElfSection.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>

namespace framework {
namespace {

// Header layout of ELF64 (offsets in bytes).
constexpr std::size_t kIdentClass = 4;
constexpr std::size_t kIdentData = 5;
constexpr std::uint8_t kClass64 = 2;
constexpr std::uint8_t kDataLittle = 1;
constexpr std::uint8_t kDataBig = 2;
constexpr std::size_t kFileHeaderSize = 64;
constexpr std::size_t kShOff = 0x28;
constexpr std::size_t kShEntSize = 0x3A;
constexpr std::size_t kShNum = 0x3C;
constexpr std::size_t kShStrNdx = 0x3E;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::size_t kShName = 0x00;
constexpr std::size_t kShType = 0x04;
constexpr std::size_t kShOffset = 0x18;
constexpr std::size_t kShSize = 0x20;
constexpr std::size_t kShLink = 0x28;
constexpr std::uint32_t kShtNoBits = 8;
constexpr std::uint16_t kShnXIndex = 0xFFFF;

// Tables larger than this are taken as damage rather than read into memory.
constexpr std::uint64_t kMaxTableBytes = 16u << 20;

class Reader {
  public:
    explicit Reader(const std::string& path) : in_(path, std::ios::binary) {
        if (!in_) return;
        in_.seekg(0, std::ios::end);
        const std::streamoff end = in_.tellg();
        if (end > 0) size_ = static_cast<std::uint64_t>(end);
    }

    std::uint64_t size() const { return size_; }

    // `length` bytes at `offset`, or nothing when they do not all lie in the file.
    std::optional<std::string> Read(std::uint64_t offset, std::uint64_t length) {
        if (!Inside(offset, length)) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(length), '\0');
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        if (length > 0 && !in_.read(bytes.data(), static_cast<std::streamsize>(length))) {
            return std::nullopt;
        }
        return bytes;
    }

    bool Inside(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

  private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

// Fixed-width reads from a byte string in the file's byte order; the caller
// has made sure that the bytes are there.
class Fields {
  public:
    explicit Fields(bool bigEndian) : big_(bigEndian) {}

    std::uint64_t Get(const std::string& bytes, std::size_t offset, int width) const {
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const int index = big_ ? i : width - 1 - i;
            value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + index]);
        }
        return value;
    }
    std::uint16_t U16(const std::string& b, std::size_t o) const {
        return static_cast<std::uint16_t>(Get(b, o, 2));
    }
    std::uint32_t U32(const std::string& b, std::size_t o) const {
        return static_cast<std::uint32_t>(Get(b, o, 4));
    }
    std::uint64_t U64(const std::string& b, std::size_t o) const { return Get(b, o, 8); }

  private:
    bool big_;
};

struct Section {
    std::uint32_t name;
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
    std::uint32_t link;
};

Section SectionAt(const Fields& f, const std::string& table, std::size_t offset) {
    return {f.U32(table, offset + kShName), f.U32(table, offset + kShType),
            f.U64(table, offset + kShOffset), f.U64(table, offset + kShSize),
            f.U32(table, offset + kShLink)};
}

// Whether the NUL-terminated string at `offset` of the string table is `name`.
bool NameIs(const std::string& strings, std::uint32_t offset, std::string_view name) {
    if (offset >= strings.size() || strings.size() - offset < name.size() + 1) return false;
    return std::string_view(strings).substr(offset, name.size()) == name &&
           strings[offset + name.size()] == '\0';
}

}  // namespace

bool ReadElfSection(const std::string& path, std::string_view name, std::size_t maxBytes,
                    std::string& bytes) {
    bytes.clear();
    Reader file(path);
    const auto header = file.Read(0, kFileHeaderSize);
    if (!header || header->compare(0, 4, "\x7F\x45\x4C\x46") != 0) return false;  // 0x7F "ELF"
    if (static_cast<std::uint8_t>((*header)[kIdentClass]) != kClass64) return false;
    const auto data = static_cast<std::uint8_t>((*header)[kIdentData]);
    if (data != kDataLittle && data != kDataBig) return false;
    const Fields f(data == kDataBig);

    const std::uint64_t shoff = f.U64(*header, kShOff);
    const std::uint16_t entSize = f.U16(*header, kShEntSize);
    std::uint64_t count = f.U16(*header, kShNum);
    std::uint32_t strIndex = f.U16(*header, kShStrNdx);
    if (shoff == 0 || entSize < kSectionHeaderSize) return false;

    // With many sections the real count and string-table index live in the
    // first section header.
    if (count == 0 || strIndex == kShnXIndex) {
        const auto first = file.Read(shoff, kSectionHeaderSize);
        if (!first) return false;
        const Section zero = SectionAt(f, *first, 0);
        if (count == 0) count = zero.size;
        if (strIndex == kShnXIndex) strIndex = zero.link;
    }
    if (count == 0 || count > kMaxTableBytes / entSize || strIndex >= count) return false;
    const auto table = file.Read(shoff, count * entSize);
    if (!table) return false;

    const Section strtab = SectionAt(f, *table, static_cast<std::size_t>(strIndex) * entSize);
    if (strtab.type == kShtNoBits || strtab.size > kMaxTableBytes) return false;
    const auto strings = file.Read(strtab.offset, strtab.size);
    if (!strings) return false;

    for (std::uint64_t i = 0; i < count; ++i) {
        const Section s = SectionAt(f, *table, static_cast<std::size_t>(i * entSize));
        if (!NameIs(*strings, s.name, name)) continue;
        if (s.type == kShtNoBits || !file.Inside(s.offset, s.size)) return false;
        const auto contents = file.Read(s.offset, std::min<std::uint64_t>(s.size, maxBytes));
        if (!contents) return false;
        bytes = *contents;
        return true;
    }
    return false;
}

}  // namespace framework
