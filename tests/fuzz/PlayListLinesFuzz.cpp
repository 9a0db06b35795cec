// Fuzzes the play-list line format ("path===seconds", PlayFileList and the play-list files) with any file
// contents: the entries read are whole (no blank path, no duplicate, a position for each), and written back
// they read back the same.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/PlayListFile.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "play-list", What);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    forms::TStringList lines;
    lines.SetText(std::string(reinterpret_cast<const char*>(Data), Size));
    forms::TStringList files, positions;
    AddPlayListEntries(lines, files, positions, false);
    Check(files.Count() == positions.Count(), "each entry has its position");
    for (int i = 0; i < files.Count(); ++i) {
        Check(files[i].find_first_not_of(" \t") != std::string::npos, "no entry is blank");
        Check(files.IndexOf(files[i]) == i, "no entry comes twice");
        PlayListPositionSeconds(positions[i]);
    }
    // A path beginning with a byte-order mark cannot come back first: the mark is taken for the file's.
    if (files.Count() > 0 && std::string_view(files[0]).starts_with("\xEF\xBB\xBF"))
        return 0;

    forms::TStringList written, again, againPositions;
    PlayListLinesOf(files, positions, written);
    forms::TStringList reread;
    reread.SetText(written.Text());
    AddPlayListEntries(reread, again, againPositions, false);
    Check(again.Items() == files.Items(), "the paths read back");
    Check(againPositions.Items() == positions.Items(), "the positions read back");
    return 0;
}
