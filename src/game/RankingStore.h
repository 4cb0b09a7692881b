// The ranking file: for each board size a section "[N]" with keys 1..10, each
// value the six fields of an entry joined by commas:
//   [5]
//   1=1,NoName,56,35,12,3
// CP932 text with CR LF line ends, beside the executable ("horonpa.ini").
// Every call opens the file anew; nothing is cached.
#pragma once

#include <cstdint>
#include <string>

#include "framework/MemIniFile.h"

struct rRanking {
    std::int32_t Rank = 0;
    std::string Name;  // CP932
    std::int32_t Score = 0;
    std::int32_t Seconds = 0;
    std::int32_t Clicks = 0;
    std::int32_t Colors = 0;

    bool operator==(const rRanking&) const = default;
};

// The entry of a rank that holds nothing: NoName, 0, 99999, 99999, 20.
rRanking DefaultRankRecord(std::int32_t rank);

// The entry of `rank` in the table of board size `size`, or the default entry
// when the file, section or key is missing or the value is empty. Raises
// EConvertError for a field that should be a number and is not, and
// EStringListError when fewer than six fields are stored.
rRanking ReadRankRecord(const std::string& iniPath, std::int32_t size, std::int32_t rank);

// Stores `entry` under its own Rank in the table of board size `size`.
// Raises EIniFileException when the write is refused.
void WriteRankRecord(const std::string& iniPath, std::int32_t size, rRanking entry);

// The same two on the file's content held in memory, for a table read with
// one read of the file and saved with one replace (TIniFile::ReadAll, Update).
rRanking ReadRankRecord(const framework::TMemIniFile& file, std::int32_t size, std::int32_t rank);
void WriteRankRecord(framework::TMemIniFile& file, std::int32_t size, const rRanking& entry);

// The value line of an entry. A name that would not read back as itself is
// made safe: a control byte becomes a blank, a lead byte without its trail
// byte becomes "?", and a name holding a blank or a comma, or starting with a
// double quote, is quoted by the comma-text rule. Other names (mid"q among
// them) are written byte for byte.
std::string FormatRankValue(const rRanking& entry);
