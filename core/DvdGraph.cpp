#include "core/DvdGraph.h"

bool ListCdDrives(forms::TStringList& List) {
    List.Clear();
    return false;
}
