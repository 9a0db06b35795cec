#pragma once
// DVD graphs, disc folders and drives.

#include "platform/forms/StringList.h"

// Clears List and fills it with the CD/DVD drives; true when at least one holds a readable volume.
// Not built yet: the list stays empty (the drive work fills it in).
bool ListCdDrives(forms::TStringList& List);
