#pragma once
// ID3v1 tags of MP3 files and LRC lyrics files. Not built yet: no tag is read.

#include <string>

// Text := the tag's description of FileName; also sets LrcFileName from the tag. Not built yet: Text is empty
// and LrcFileName stays as it is.
void GetId3Text(const std::string& FileName, std::string& Text);
