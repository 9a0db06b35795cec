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
