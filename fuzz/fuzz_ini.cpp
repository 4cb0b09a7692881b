// The INI reader and writer on any file text: lookups never fail, and what is
// written reads back while every other key keeps its value.
#include <vector>

#include "FuzzInput.h"
#include "IniKeys.h"
#include "framework/IniEdit.h"
#include "framework/IniText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Text that the writer can store as a name or value and read back unchanged.
bool Storable(const std::string& s, bool isName) {
    if (s.size() > framework::ini::kMaxValueBytes) return false;
    if (!s.empty() && (IsBlank(s.front()) || IsBlank(s.back()))) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        if (b == '\r' || b == '\n' || b == 0) return false;
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (i + 1 >= s.size() || s[i + 1] == '\r' || s[i + 1] == '\n' || s[i + 1] == 0)
                return false;
            ++i;
            continue;
        }
        if (isName && (b == '=' || b == ']' || b == '[')) return false;
    }
    if (isName) return !s.empty();
    // A value in a pair of quotes loses them.
    return !(s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::string section = in.Part();
    const std::string key = in.Part();
    const std::string value = in.Part();
    const std::string file = in.Rest();

    const auto before = framework::ini::LookUpValue(file, section, key);
    if (before) fuzzing::Check(before->size() <= framework::ini::kMaxValueBytes);
    if (framework::ini::IsUtf16File(file)) return 0;  // never written

    // Every key of the file, to check after the write.
    const auto keys = fuzzing::IniKeys(file, 64);
    std::vector<std::optional<std::string>> values;
    for (const auto& [s, k] : keys) values.push_back(framework::ini::LookUpValue(file, s, k));

    const std::string after = framework::ini::SetValue(file, section, key, value);
    if (!Storable(section, true) || !Storable(key, true) || !Storable(value, false)) return 0;
    const auto back = framework::ini::LookUpValue(after, section, key);
    fuzzing::Check(back.has_value() && *back == value);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& [s, k] = keys[i];
        if (framework::ini::SameName(s, section) && framework::ini::SameName(k, key)) continue;
        fuzzing::Check(framework::ini::LookUpValue(after, s, k) == values[i]);
    }
    // Writing the same again changes nothing.
    fuzzing::Check(framework::ini::SetValue(after, section, key, value) == after);
    return 0;
}
