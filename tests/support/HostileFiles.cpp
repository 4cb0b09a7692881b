#include "support/HostileFiles.h"

#include <random>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"

namespace testsupport {
namespace {

using framework::Cp932;

std::string Entry(int rank, const std::string& name, int score, int seconds, int clicks,
                  int colors) {
    return std::to_string(rank) + "|" + name + "|" + std::to_string(score) + "|" +
           std::to_string(seconds) + "|" + std::to_string(clicks) + "|" + std::to_string(colors);
}
std::string Default(int rank) { return Entry(rank, "NoName", 0, 99999, 99999, 20); }
std::string NotInteger(const std::string& text) {
    return "error:'" + text + Cp932("' は整数ではありません");
}
std::string ListIndex(int index) {
    return "error:" + Cp932("リストのインデックスが範囲を超えています (") + std::to_string(index) +
           ")";
}

// Ranks 1..10 with `given` outcomes first and default entries after them.
std::vector<std::string> Outcomes(std::vector<std::string> given) {
    for (int r = static_cast<int>(given.size()) + 1; r <= 10; ++r) given.push_back(Default(r));
    return given;
}

// Random bytes without "[" and "=", so that they hold no section and no key.
std::string Garbage(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string out(n, '\0');
    for (char& c : out) {
        c = static_cast<char>(rng() & 0xFF);
        if (c == '[' || c == '=') c = '#';
    }
    return out;
}

std::string Utf16(const std::u16string& text, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += littleEndian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

}  // namespace

std::vector<HostileFile> HostileFiles() {
    using namespace std::string_literals;
    std::vector<HostileFile> files;
    files.push_back({"Empty", "", Outcomes({})});
    files.push_back({"BinaryGarbage", Garbage(64 * 1024, 7), Outcomes({})});
    files.push_back({"GarbageAroundASection",
                     Garbage(4096, 8) + "\r\n[5]\r\n1=1,A,1,2,3,4\r\n" + Garbage(4096, 9),
                     Outcomes({Entry(1, "A", 1, 2, 3, 4)})});
    files.push_back({"NulBytesInsideLines",
                     "[5]\r\n1=1,A\0B,1,2,3,4\r\n2=2,B,1,2,3,4\0\r\n3=3,C,\0,2,3,4\r\n"
                     "4\0=4,D,1,2,3,4\r\n5=5,E,1,2,3,4\r\n"s,
                     // The value ends at the NUL; key "4\0" is not key "4".
                     Outcomes({ListIndex(2), Entry(2, "B", 1, 2, 3, 4), NotInteger(""), Default(4),
                               Entry(5, "E", 1, 2, 3, 4)})});
    files.push_back({"InvalidCp932",
                     "[5]\r\n1=1,Name,1,2,3,4\x83\r\n"  // lead byte at the end of a line
                     "2=2,Na\x83,1,2,3,4\r\n"           // lead byte swallows the comma
                     "3=3,Z,1,2,3,\x83\r\n"             // lead byte right before CR LF
                     "4=4,\x83\r\n"                     // a name of a lone lead byte
                     "[6\x83]\r\n"                      // a header whose "]" is a trail byte
                     "1=1,X,1,2,3,4\r\n",
                     Outcomes({NotInteger("4\x83"), ListIndex(5), NotInteger("\x83"), ListIndex(2),
                               Default(5)})});
    files.push_back(
        {"TenMegabyteLine",
         "[5]\r\n1=1," + std::string(10 * 1024 * 1024, 'n') + ",1,2,3,4\r\n2=2,B,1,2,3,4\r\n",
         // Cut after 2047 bytes: two fields remain.
         Outcomes({ListIndex(2), Entry(2, "B", 1, 2, 3, 4)})});
    {
        std::string many;
        for (int i = 0; i < 100000; ++i) many += "[s" + std::to_string(i) + "]\r\n1=x\r\n";
        files.push_back({"HundredThousandSections", many + "[5]\r\n1=1,Last,1,2,3,4\r\n",
                         Outcomes({Entry(1, "Last", 1, 2, 3, 4)})});
    }
    files.push_back({"CarriageReturnOnly", "[5]\r1=1,A,1,2,3,4\r2=2,B,5,6,7,8\r",
                     Outcomes({Entry(1, "A", 1, 2, 3, 4), Entry(2, "B", 5, 6, 7, 8)})});
    files.push_back({"LineFeedOnly", "[5]\n1=1,A,1,2,3,4\n2=2,B,5,6,7,8",
                     Outcomes({Entry(1, "A", 1, 2, 3, 4), Entry(2, "B", 5, 6, 7, 8)})});
    files.push_back({"Utf8ByteOrderMark", "\xEF\xBB\xBF[5]\r\n1=1,A,1,2,3,4\r\n",
                     Outcomes({Entry(1, "A", 1, 2, 3, 4)})});
    files.push_back({"Utf16LittleEndian", Utf16(u"[5]\r\n1=1,山田,1,2,3,4\r\n", true),
                     Outcomes({Entry(1, Cp932("山田"), 1, 2, 3, 4)}), true});
    files.push_back({"Utf16BigEndian", Utf16(u"[5]\r\n2=2,ホロンパ,1,2,3,4\r\n", false),
                     Outcomes({Default(1), Entry(2, Cp932("ホロンパ"), 1, 2, 3, 4)}), true});
    files.push_back({"RepeatedSectionsAndKeys",
                     "[5]\r\n1=1,First,1,2,3,4\r\n1=1,Second,1,2,3,4\r\n"
                     "[5]\r\n2=2,Other,1,2,3,4\r\n",
                     // The first section and the first key win.
                     Outcomes({Entry(1, "First", 1, 2, 3, 4)})});
    {
        // Ranks 1..10 with a name "N<b>N" for a few telling byte values.
        const std::string bytes = "\x01\x7F\x80\xA0\xFD\xFF\"\x09,\x81";
        std::string text = "[5]\r\n";
        for (int r = 1; r <= 10; ++r) {
            text +=
                std::to_string(r) + "=" + std::to_string(r) + ",N" + bytes[r - 1] + "N,1,2,3,4\r\n";
        }
        files.push_back(
            {"NamesWithOddBytes",
             text,
             {NotInteger("N"), Entry(2, "N\x7FN", 1, 2, 3, 4), Entry(3, "N\x80N", 1, 2, 3, 4),
              Entry(4, "N\xA0N", 1, 2, 3, 4), Entry(5, "N\xFDN", 1, 2, 3, 4),
              Entry(6, "N\xFFN", 1, 2, 3, 4), Entry(7, "N\"N", 1, 2, 3, 4), NotInteger("N"),
              NotInteger("N"), Entry(10, "N\x81N", 1, 2, 3, 4)}});
    }
    return files;
}

std::string ReadOutcome(const std::string& path, int size, int rank) {
    try {
        rRanking e = ReadRankRecord(path, size, rank);
        return Entry(e.Rank, e.Name, e.Score, e.Seconds, e.Clicks, e.Colors);
    } catch (const framework::Exception& e) {
        return "error:" + e.Message();
    }
}

}  // namespace testsupport
