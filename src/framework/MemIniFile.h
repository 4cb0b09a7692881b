// An INI file's content held in memory: many lookups and writes with one
// read of the file, by the same rules as TIniFile (see IniFile.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework {

class TMemIniFile {
  public:
    // `bytes` as read from the file (CP932, or UTF-8 or UTF-16 with a
    // byte-order mark); UTF-16 is converted once, here.
    explicit TMemIniFile(std::string bytes = {});

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // As TIniFile writes: the key's line replaced where it stands, a new key
    // after the section's last key line, a new section at the end.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The content as it now stands, to be written back.
    const std::string& Text() const { return text_; }
    // True when the file was UTF-16: such a file is read, never rewritten.
    bool WasUtf16() const { return wasUtf16_; }

  private:
    // Where the last section looked up starts (npos: it is missing), so that
    // the lookups of one table scan the text once, not once per key.
    struct LastSection {
        std::string name;
        std::size_t at;
    };
    std::size_t FindSectionFrom(std::string_view section) const;

    std::string text_;
    mutable std::optional<LastSection> last_;
    std::size_t start_ = 0;  // after any byte-order mark
    bool wasUtf16_ = false;
};

}  // namespace framework
