// Every (section, key) of an INI file's text, as the fuzz targets check them
// before and after a write.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/IniText.h"

namespace fuzzing {

// The first `most` key lines of `bytes` (after any byte-order mark; UTF-16 is
// decoded) with the name of their section, leaving out section `skip`.
inline std::vector<std::pair<std::string, std::string>> IniKeys(const std::string& bytes,
                                                                std::size_t most,
                                                                const std::string& skip = {}) {
    std::size_t pos = 0;
    bool utf16 = false;
    const std::string text = framework::ini::DecodeFileText(bytes, pos, utf16);
    std::vector<std::pair<std::string, std::string>> keys;
    std::string current;
    framework::ini::Line line;
    while (keys.size() < most && framework::ini::NextLine(text, pos, line)) {
        if (line.kind == framework::ini::Line::Kind::Section) current = line.name;
        if (line.kind == framework::ini::Line::Kind::Key &&
            (skip.empty() || !framework::ini::SameName(current, skip)))
            keys.emplace_back(current, line.name);
    }
    return keys;
}

}  // namespace fuzzing
