// Fuzzes the DVD chapter texts with any stored "DvdFileList": each line becomes a row of the play-list
// window, and a double click on a row hands its label to the main window, which reads the title and the
// chapter to play from it. The numbers read are never negative, the row's label reads as its entry does, the
// entry made for what was read reads back the same, and the list stored at the close loads back the same.

#include <cstdint>
#include <string>

#include "core/DvdGraph.h"
#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/ListForm.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "DVD chapter texts", What);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    forms::TStringList list;
    list.SetText(std::string(reinterpret_cast<const char*>(Data), Size));
    for (int i = 0; i < list.Count(); ++i) {
        int title = -1, chapter = -1;
        ParseChapterText(list[i], title, chapter);
        Check(title >= 0 && chapter >= 0, "the numbers are never negative");
        Check((title == 0 && chapter == 0) || list[i].find('(') != std::string::npos,
              "numbers come only from a bracket");
        int rowTitle = -1, rowChapter = -1;
        ParseChapterText(PlayListRowText(list[i], i + 1, true), rowTitle, rowChapter);
        Check(rowTitle == title && rowChapter == chapter, "the row's label reads as its entry");
        if (title > 0 && chapter > 0) {
            int againTitle = -1, againChapter = -1;
            ParseChapterText(ChapterEntry(title, chapter), againTitle, againChapter);
            Check(againTitle == title && againChapter == chapter, "the entry made for them reads back");
        }
    }
    forms::TStringList stored;
    stored.SetText(list.Text());
    Check(stored.Items() == list.Items(), "the stored list loads back");
    return 0;
}
