#pragma once
// What the media property dialog works out, apart from its widgets: its texts, the type, name and size of the
// medium, and the value texts.

#include <cstdint>
#include <string>

struct TPropertyTexts {
    std::string Caption, Type, Size, FrameSpeed, MediaTime, Resolution, Path, OK;
    // Words used inside the values.
    std::string FileWord, MegabyteWord, ByteWord;
};

// 1 English, 2 Chinese; any other code gives empty texts.
TPropertyTexts PropertyTexts(int Language);

// The size in bytes of the file at exactly Path (following a link to the file); 0 when no file is there.
std::int64_t GetFileSizeByName(const std::string& Name);

// The bytes of every file below Dir, hidden files and sub-folders included; 0 for a folder that cannot be
// read, and an entry that cannot be read adds nothing while the others are still counted. Links are not
// followed, so a link to a folder above cannot make the sum go round for ever; a link adds nothing.
std::int64_t GetDirectorySize(const std::string& Dir);

// What the dialog shows for the medium at Path.
struct TMediaFacts {
    std::string TypeValue;
    std::string MediaFileName;
    std::int64_t Size = 0;
};

// PlayType 2: a DVD, "DVD" and the whole path; the size of the drive when Path names a whole volume (a
// drive's device node or mounted folder), otherwise the sum of the folder. Any other play type: a file, the
// file word and the extension, the file-name part and the file's size.
TMediaFacts DescribeMedia(int PlayType, const std::string& Path, const TPropertyTexts& Texts);

// Whole megabytes, the megabyte word, " (", the byte count, " ", the byte word, ")".
std::string SizeText(std::int64_t Size, const TPropertyTexts& Texts);

// Width, " * ", height.
std::string ResolutionText(int Width, int Height);

// The frame rate in the general floating-point text (25, 29.97).
std::string FrameRateText(double FrameRate);
