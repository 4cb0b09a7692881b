// A list of CP932 strings that can be filled from comma text, the way the
// ranking file's values are taken apart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

class TStringList {
  public:
    // Replaces the list with the fields of `text` by the comma-text rule:
    // comma delimiter, double-quote quoting ("" inside stands for one quote),
    // blanks (bytes 0x01..0x20) end an unquoted field and are skipped around
    // fields. Moves by CP932 characters, so a trail byte is never a delimiter.
    void SetCommaText(std::string_view text);

    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    // Raises EStringListError for an index outside 0..Count()-1.
    const std::string& Strings(std::int32_t index) const;
    void Add(std::string s) { items_.push_back(std::move(s)); }
    void Clear() { items_.clear(); }

  private:
    std::vector<std::string> items_;
};

// Quotes one field by the comma-text rule when it would not read back as
// itself (it holds a blank, a control character or a comma, or starts with a
// double quote); otherwise returns it as is, a double quote inside included.
std::string QuoteCommaField(std::string_view field);

}  // namespace framework
