// The comma-text split of the ranking file's values, and the quoting that
// writes names so that the split gives them back.
#include "FuzzInput.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input in(data, size);
    const std::string text = in.Rest();

    framework::TStringList list;
    list.SetCommaText(text);
    std::size_t total = 0;
    for (std::int32_t i = 0; i < list.Count(); ++i) total += list.Strings(i).size();
    fuzzing::Check(total <= text.size());  // fields are pieces of the text
    try {
        list.Strings(list.Count());
        fuzzing::Check(false);
    } catch (const framework::EStringListError&) {
    }

    // A name written by the store reads back as the same six fields, and
    // writing what was read gives the same line again.
    rRanking entry{3, text, 100, 20, -5, 7};
    const std::string value = FormatRankValue(entry);
    framework::TStringList fields;
    fields.SetCommaText(value);
    fuzzing::Check(fields.Count() == 6);
    rRanking back{framework::StrToInt(fields.Strings(0)), fields.Strings(1),
                  framework::StrToInt(fields.Strings(2)), framework::StrToInt(fields.Strings(3)),
                  framework::StrToInt(fields.Strings(4)), framework::StrToInt(fields.Strings(5))};
    fuzzing::Check(FormatRankValue(back) == value);
    fuzzing::Check(back.Score == 100 && back.Clicks == -5 && back.Colors == 7);

    // A field quoted by the rule reads back as itself when it is whole CP932.
    const std::string quoted = framework::QuoteCommaField(text);
    framework::TStringList one;
    one.SetCommaText(quoted);
    bool wholeCharacters = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        if (b == 0) wholeCharacters = false;
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (i + 1 >= text.size()) wholeCharacters = false;
            ++i;
        }
    }
    if (wholeCharacters && !text.empty() && quoted != text) {
        fuzzing::Check(one.Count() == 1 && one.Strings(0) == text);
    }
    return 0;
}
