#include "framework/StringList.h"

#include "framework/Codepage.h"
#include "framework/SysUtils.h"

namespace framework {
namespace {

constexpr char kQuote = '"';
constexpr char kDelimiter = ',';

bool IsBlank(char c) {
    auto b = static_cast<std::uint8_t>(c);
    return b >= 0x01 && b <= 0x20;
}

// Length in bytes of the character that starts at `i` (a lead byte at the end
// of the text makes a one-byte character).
std::size_t CharSize(std::string_view s, std::size_t i) {
    return IsDBCSLeadByte(static_cast<std::uint8_t>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

void SkipBlanks(std::string_view s, std::size_t& i) {
    while (i < s.size() && IsBlank(s[i])) ++i;
}

// A quoted field starting at s[i] == '"'. Leaves `i` after the closing quote.
std::string ReadQuoted(std::string_view s, std::size_t& i) {
    std::string field;
    std::size_t lastCharSize = 0;
    ++i;
    while (i < s.size()) {
        if (s[i] == kQuote) {
            if (i + 1 < s.size() && s[i + 1] == kQuote) {
                field += kQuote;
                lastCharSize = 1;
                i += 2;
                continue;
            }
            ++i;
            return field;
        }
        std::size_t n = CharSize(s, i);
        field.append(s.substr(i, n));
        lastCharSize = n;
        i += n;
    }
    // No closing quote: the field ran to the end and loses its last character.
    field.resize(field.size() - std::min(lastCharSize, field.size()));
    return field;
}

}  // namespace

void TStringList::SetCommaText(std::string_view s) {
    items_.clear();
    std::size_t i = 0;
    SkipBlanks(s, i);
    while (i < s.size()) {
        if (s[i] == kQuote) {
            items_.push_back(ReadQuoted(s, i));
        } else {
            std::size_t start = i;
            while (i < s.size() && !IsBlank(s[i]) && s[i] != kDelimiter) i += CharSize(s, i);
            items_.emplace_back(s.substr(start, i - start));
        }
        SkipBlanks(s, i);
        if (i < s.size() && s[i] == kDelimiter) {
            if (i + 1 == s.size()) items_.emplace_back();
            ++i;
            SkipBlanks(s, i);
        }
    }
}

std::string QuoteCommaField(std::string_view field) {
    // Unquoted, a field runs to the first blank or comma; only a quote at its
    // start would make the reader take it for a quoted one.
    bool needsQuotes = !field.empty() && field.front() == kQuote;
    for (std::size_t i = 0; i < field.size() && !needsQuotes; i += CharSize(field, i)) {
        needsQuotes = IsBlank(field[i]) || field[i] == kDelimiter;
    }
    if (!needsQuotes) return std::string(field);
    std::string out(1, kQuote);
    for (std::size_t i = 0; i < field.size();) {
        std::size_t n = CharSize(field, i);
        if (n == 1 && field[i] == kQuote) out += kQuote;
        out.append(field.substr(i, n));
        i += n;
    }
    out += kQuote;
    return out;
}

const std::string& TStringList::Strings(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw EStringListError(index);
    return items_[static_cast<std::size_t>(index)];
}

}  // namespace framework
