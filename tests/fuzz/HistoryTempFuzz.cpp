// Fuzzes the merge of the history manager's result ("HistoryTemp") into the history, with any file contents
// and any history: the input's parts, split at zero bytes, are the file, the history the manager was shown
// and the history when it closed. The result begins with the manager's list, then holds what was opened
// meanwhile once each; and the history stored from it reads back the same, so that a broken "HistoryTemp"
// never leaves a history that the next start finds damaged.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/History.h"
#include "platform/forms/StringList.h"
#include "platform/win32/Files.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "history temp", What);
}

// The next part of Input, up to a zero byte.
forms::TStringList NextPart(std::string_view& Input) {
    const auto end = Input.find('\0');
    forms::TStringList lines;
    lines.SetText(Input.substr(0, end));
    Input.remove_prefix(end == std::string_view::npos ? Input.size() : end + 1);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::string_view input(reinterpret_cast<const char*>(Data), Size);
    const forms::TStringList temp = NextPart(input);
    const forms::TStringList shown = NextPart(input);
    const forms::TStringList now = NextPart(input);

    forms::TStringList merged;
    MergeHistoryTemp(temp, shown, now, merged);
    int kept = 0;
    for (const std::string& line : temp)
        if (line.size() <= win32::MaxPathLength) {
            Check(kept < merged.Count() && merged[kept] == line,
                  "the manager's list comes first, in its order");
            ++kept;
        }
    const std::unordered_set<std::string> before(shown.begin(), shown.end());
    std::unordered_set<std::string> listed(merged.begin(), merged.begin() + kept);
    for (int i = kept; i < merged.Count(); ++i) {
        const std::string& line = merged[i];
        Check(!line.empty() && line.size() <= win32::MaxPathLength, "what was opened is a path");
        Check(!before.contains(line), "what the manager was shown is its to keep or drop");
        Check(now.IndexOf(line) >= 0, "only what was opened is added");
        Check(listed.insert(line).second, "what was opened comes once, and only when not listed");
    }

    forms::TStringList stored;
    Check(UnpackHistory(PackHistory(merged), stored), "the stored history is not damaged");
    Check(stored.Items() == merged.Items(), "the stored history reads back");
    return 0;
}
