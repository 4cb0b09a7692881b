#include "framework/MemIniFile.h"

#include "framework/IniEdit.h"
#include "framework/IniText.h"

namespace framework {

TMemIniFile::TMemIniFile(std::string bytes) {
    text_ = ini::DecodeFileText(std::move(bytes), start_, wasUtf16_);
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    auto value = ini::LookUpInText(text_, start_, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    text_ = ini::SetValue(std::move(text_), section, key, value);
}

}  // namespace framework
