#include "game/RankingStore.h"

#include "framework/Codepage.h"
#include "framework/IniFile.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"

using framework::IntToStr;
using framework::StrToInt;

namespace {

constexpr std::int32_t kDefaultScore = 0;
constexpr std::int32_t kDefaultSeconds = 99999;
constexpr std::int32_t kDefaultClicks = 99999;
constexpr std::int32_t kDefaultColors = 20;

bool IsTrailByte(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The name as it can be stored on one line of the file and read back.
std::string SafeName(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto b = static_cast<std::uint8_t>(name[i]);
        if (framework::IsDBCSLeadByte(b)) {
            if (i + 1 < name.size() && IsTrailByte(static_cast<std::uint8_t>(name[i + 1]))) {
                out.append(name, i, 2);
                ++i;
            } else {
                out += '?';
            }
        } else if (b < 0x20 || b == 0x7F) {
            out += ' ';
        } else {
            out += name[i];
        }
    }
    return framework::QuoteCommaField(out);
}

}  // namespace

rRanking DefaultRankRecord(std::int32_t rank) {
    return {rank, "NoName", kDefaultScore, kDefaultSeconds, kDefaultClicks, kDefaultColors};
}

rRanking ReadRankRecord(const std::string& iniPath, std::int32_t size, std::int32_t rank) {
    return ReadRankRecord(framework::TIniFile(iniPath).ReadAll(), size, rank);
}

rRanking ReadRankRecord(const framework::TMemIniFile& file, std::int32_t size, std::int32_t rank) {
    std::string value = file.ReadString(IntToStr(size), IntToStr(rank), "");
    if (value.empty()) return DefaultRankRecord(rank);
    framework::TStringList fields;
    fields.SetCommaText(value);
    rRanking entry;
    // Each field is fetched and converted before the next, so the first bad
    // field decides the error.
    entry.Rank = StrToInt(fields.Strings(0));
    entry.Name = fields.Strings(1);
    entry.Score = StrToInt(fields.Strings(2));
    entry.Seconds = StrToInt(fields.Strings(3));
    entry.Clicks = StrToInt(fields.Strings(4));
    entry.Colors = StrToInt(fields.Strings(5));
    return entry;
}

std::string FormatRankValue(const rRanking& e) {
    return IntToStr(e.Rank) + "," + SafeName(e.Name) + "," + IntToStr(e.Score) + "," +
           IntToStr(e.Seconds) + "," + IntToStr(e.Clicks) + "," + IntToStr(e.Colors);
}

void WriteRankRecord(const std::string& iniPath, std::int32_t size, rRanking entry) {
    framework::TIniFile(iniPath).WriteString(IntToStr(size), IntToStr(entry.Rank),
                                             FormatRankValue(entry));
}

void WriteRankRecord(framework::TMemIniFile& file, std::int32_t size, const rRanking& entry) {
    file.WriteString(IntToStr(size), IntToStr(entry.Rank), FormatRankValue(entry));
}
