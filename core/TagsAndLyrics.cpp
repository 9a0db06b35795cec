#include "core/TagsAndLyrics.h"

void GetId3Text(const std::string&, std::string& Text) { Text.clear(); }
