#include "core/DvdGraph.h"

bool ListCdDrives(forms::TStringList& List) {
    List.Clear();
    return false;
}

bool IsDvdDrivePath(const std::string&) { return false; }

bool IsDvdDriveReady(const std::string&) { return true; }

int CurrentChapterIndex() { return -1; }

bool OpenDvd(const std::string&) { return false; }

void ParseChapterText(const std::string&, int& Title, int& Chapter) {
    Title = 0;
    Chapter = 0;
}
