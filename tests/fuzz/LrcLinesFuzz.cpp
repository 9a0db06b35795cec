// Fuzzes the lyrics file (LRC) lines as the player reads them, with any file contents: every time tag of a
// line with a text gives one time and that text, each time reads back as a number, and the sort puts the
// lines in ascending order of time, lines of equal time in the file's order, each with its own text.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/TagsAndLyrics.h"
#include "platform/forms/Conversions.h"
#include "platform/forms/StringList.h"
#include "platform/win32/CodePage.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "lrc lines", What);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::string_view content(reinterpret_cast<const char*>(Data), Size);
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    forms::TStringList lines;
    lines.SetText(win32::AnsiToUtf8(content));
    forms::TStringList times, texts;
    for (const std::string& line : lines) {
        const int before = times.Count();
        ParseLrcLine(line, times, texts);
        Check(times.Count() == texts.Count(), "each time has its text");
        for (int i = before; i < times.Count(); ++i) {
            double value = 0.0;
            Check(forms::TryStrToFloat(times[i], value), "a time reads back as a number");
            Check(LrcTimeText(value) == times[i], "a time is written with two decimals");
            Check(!texts[i].empty() && texts[i] == texts[before], "the times of a line share its text");
        }
    }

    forms::TStringList sortedTimes, sortedTexts;
    SortLrcLines(times, texts, sortedTimes, sortedTexts);
    Check(sortedTimes.Count() == times.Count() && sortedTexts.Count() == texts.Count(),
          "the sort keeps every line");
    // Lines of equal time (as numbers: "-0.00" is "0.00") keep the file's order.
    std::vector<std::pair<std::string, std::string>> expected;
    for (int i = 0; i < times.Count(); ++i)
        expected.emplace_back(times[i], texts[i]);
    std::stable_sort(expected.begin(), expected.end(), [](const auto& A, const auto& B) {
        return LrcTimeValue(A.first) < LrcTimeValue(B.first);
    });
    for (int i = 0; i < sortedTimes.Count(); ++i)
        Check(expected[static_cast<std::size_t>(i)] == std::pair(sortedTimes[i], sortedTexts[i]),
              "the lines ascend in time, equal times in the file's order, each with its text");

    // The times alone merged into a list of their own: the same order.
    forms::TStringList merged;
    SortLrcTimes(times, merged);
    Check(merged.Items() == sortedTimes.Items(), "the times sort alone as with their texts");
    return 0;
}
