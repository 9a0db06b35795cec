// Fuzzes the loading of a play-list file the user picks (".kmvlf") with any file contents and any file
// playing: the input's first line is the file that plays, the rest the file's contents. The entries are whole
// (a position of whole seconds for each, no blank path, no path twice in any case), what plays is among them,
// and the list saved as the window saves it loads back the same.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Settings.h"
#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/PlayListFile.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "play-list file", What);
}

// A name the list can hold at all: one line, naming something, and not the settings reader's fallback.
bool Storable(std::string_view Path) {
    return Path.find_first_not_of(" \t") != std::string_view::npos &&
           Path.find_first_of("\r\n") == std::string_view::npos && Path != ValueNoFind &&
           !Path.starts_with("\xEF\xBB\xBF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    const auto end = input.find('\n');
    const std::string current(input.substr(0, end));
    forms::TStringList lines;
    lines.SetText(end == std::string_view::npos ? std::string_view() : input.substr(end + 1));

    forms::TStringList files, positions;
    LoadPlayListLines(lines, current, files, positions);
    Check(files.Count() == positions.Count(), "each entry has its position");
    for (int i = 0; i < files.Count(); ++i) {
        Check(files[i].find_first_not_of(" \t") != std::string::npos, "no entry is blank");
        Check(files.IndexOf(files[i]) == i, "no entry comes twice");
        const std::string& position = positions[i];
        Check(!position.empty() && position.size() <= 9 &&
                  position.find_first_not_of("0123456789") == std::string::npos,
              "a position is whole seconds");
    }
    if (!current.empty() && Storable(current))
        Check(files.IndexOf(current) >= 0, "what plays is in the list");
    // A first path beginning with a byte-order mark cannot come back first: the mark is taken for the file's.
    if (files.Count() > 0 && std::string_view(files[0]).starts_with("\xEF\xBB\xBF"))
        return 0;

    forms::TStringList saved, again, againPositions;
    PlayListLinesOf(files, positions, saved);
    forms::TStringList reread;
    reread.SetText(saved.Text());
    LoadPlayListLines(reread, current, again, againPositions);
    Check(again.Items() == files.Items(), "the paths load back");
    Check(againPositions.Items() == positions.Items(), "the positions load back");
    return 0;
}
