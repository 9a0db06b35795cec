#pragma once
// Path endings: joining a folder and a name, and taking a path's file name and extension apart. "/" is the
// separator; a folder that already ends in "\" is taken as it is.

#include <string>
#include <string_view>

// Path itself when it already ends in "/" or "\", otherwise Path + "/"; the empty text stays empty.
std::string IncludeTrailingSlash(const std::string& Path);

// The part after the last "/" (the whole text when there is none).
std::string ExtractFileName(std::string_view Path);

// From the last "." of the file name to its end, the dot included; empty when the file name has no dot.
// A leading dot counts: the extension of ".bashrc" is ".bashrc".
std::string ExtractFileExt(std::string_view Path);
