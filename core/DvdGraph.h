#pragma once
// DVD graphs, disc folders and drives.

#include <string>

#include "platform/forms/StringList.h"

// Clears List and fills it with the CD/DVD drives; true when at least one holds a readable volume.
// Not built yet: the list stays empty (the drive work fills it in).
bool ListCdDrives(forms::TStringList& List);

// True when Path names an optical drive rather than a disc folder. Not built yet: no path does.
bool IsDvdDrivePath(const std::string& Path);
// True when Root names a CD/DVD drive that holds a readable volume. Not built yet: true.
bool IsDvdDriveReady(const std::string& Root);
// The index in DvdChapterList of the title and chapter now playing; -1 when that entry is absent.
// Not built yet: -1.
int CurrentChapterIndex();

// Builds and runs the DVD graph for Path (a drive or a folder holding the disc's VIDEO_TS files); true when
// the graph was built. Not built yet: always false.
bool OpenDvd(const std::string& Path);
// The title and chapter of a row of the DVD list ("Chapter12(3-12)" gives 3 and 12); both 0 for "DVD". Not
// built yet: always 0 and 0.
void ParseChapterText(const std::string& Text, int& Title, int& Chapter);
