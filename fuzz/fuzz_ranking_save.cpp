// The ranking file layer on any file: random bytes stand as the ranking file,
// a table of one size is saved into it through the real file, and then every
// key of every other section reads as before and the saved table reads back.
// A file the layer may not rewrite (UTF-16) must be left byte for byte.
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "FuzzInput.h"
#include "IniKeys.h"
#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"

namespace {

// Names the program may store; each must read back as itself.
const char* const kNames[] = {"NoName", "\x91\xbe\x98\x59", "two words", "a,b",
                              "\"lead", "mid\"q",           " pad ",     ""};

std::string FilePath() {
    static const std::string path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string dir = std::string(base) + "/horonpa-fuzz-XXXXXX";
        if (mkdtemp(dir.data()) == nullptr) std::abort();
        return dir + "/horonpa.ini";
    }();
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::int32_t boardSize = 3 + in.Byte() % 18;
    const std::uint8_t nameSeed = in.Byte();
    const std::string bytes = in.Rest();
    const std::string path = FilePath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    const std::string section = framework::IntToStr(boardSize);

    // Every key of every other section, as a lookup gives it now.
    const framework::TMemIniFile before(bytes);
    const auto keys = fuzzing::IniKeys(bytes, 64, section);

    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    std::vector<rRanking> saved;
    for (std::int32_t r = 1; r <= ranking::kRows; ++r) {
        const std::string name = kNames[(nameSeed + r) % std::size(kNames)];
        saved.push_back({r, name.empty() ? "NoName" : name, 1000 - r, r, r * 2, 3});
        table.SetCell(ranking::colName, r, saved.back().Name);
        table.SetCell(ranking::colScore, r, framework::IntToStr(saved.back().Score));
        table.SetCell(ranking::colSeconds, r, framework::IntToStr(r));
        table.SetCell(ranking::colClicks, r, framework::IntToStr(r * 2));
        table.SetCell(ranking::colColors, r, "3");
    }
    try {
        ranking::SaveRanking(table, path, boardSize);
    } catch (const framework::EIniFileException&) {
        // Refused: only a file the layer may not rewrite, and it is untouched.
        fuzzing::Check(before.WasUtf16());
        fuzzing::Check(ReadFile(path) == bytes);
        return 0;
    }
    fuzzing::Check(!before.WasUtf16());
    const framework::TMemIniFile after(ReadFile(path));
    for (const auto& [s, k] : keys)
        fuzzing::Check(after.ReadString(s, k, "\x01") == before.ReadString(s, k, "\x01"));
    for (const rRanking& e : saved) fuzzing::Check(ReadRankRecord(after, boardSize, e.Rank) == e);
    return 0;
}
