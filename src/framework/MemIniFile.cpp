#include "framework/MemIniFile.h"

#include "framework/IniEdit.h"
#include "framework/IniText.h"

namespace framework {

TMemIniFile::TMemIniFile(std::string bytes) {
    text_ = ini::DecodeFileText(std::move(bytes), start_, wasUtf16_);
}

std::size_t TMemIniFile::FindSectionFrom(std::string_view section) const {
    if (last_ && ini::SameName(last_->name, section)) return last_->at;
    std::size_t at = std::string::npos;
    if (auto found = ini::ScanSection(text_, start_, section, {})) at = found->header.begin;
    last_ = LastSection{std::string(section), at};
    return at;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    // The section's first header is where the scan starts: no line before
    // it can belong to it.
    const std::size_t at = FindSectionFrom(section);
    if (at == std::string::npos) return std::string(defaultValue);
    auto value = ini::LookUpInText(text_, at, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    // The header stays where it was (every change is at or after it), or
    // the section is new at the end: either way it is known for the next write.
    const std::size_t at = FindSectionFrom(section);
    last_ = LastSection{std::string(section), ini::SetValueAt(text_, at, section, key, value)};
}

}  // namespace framework
