#pragma once
// ID3v1 tags of MP3 files and LRC lyrics files: the tag's five-line description, the lyrics file name built
// from it, and LRC lines turned into times and texts in ascending order of time.
//
// Tag fields and lyrics files are legacy 8-bit text; they are shown as UTF-8 (win32::AnsiToUtf8). Lyric
// times are texts of seconds with two decimals and a "." whatever the process's locale ("5.50", "83.45").

#include <string>
#include <string_view>

#include "platform/forms/StringList.h"

// The 128-byte ID3v1 record at the end of an MP3 file.
struct Id3v1Tag {
    char Marker[3];
    char Title[30];
    char Artist[30];
    char Album[30];
    char Year[4];
    char Comment[30];
    unsigned char Genre;
};
static_assert(sizeof(Id3v1Tag) == 128);

// Reads the last 128 bytes of FileName into Tag; a file without "TAG" there, or shorter than a tag, gets the
// empty fields and the comment "No relevant information". A missing file shows FileName + " is not exists!"
// and gives false with Tag unchanged; a file that exists but cannot be opened raises the class library's
// file error; a read that fails after the opening gives false with what was read so far. ReportMissing false
// leaves the message to the caller (the player's open reports a missing file itself).
bool ReadId3v1(Id3v1Tag& Tag, const std::string& FileName, bool ReportMissing = true);

// Text := the five-line description of FileName's tag ("Title", two tabs, the title, CR LF, ... "Comment",
// two tabs, the comment); also sets LrcFileName from the tag. ReportMissing as for ReadId3v1.
void GetId3Text(const std::string& FileName, std::string& Text, bool ReportMissing = true);

// Result := S without leading and trailing blanks (character 32 only).
void TrimSpaces(const std::string& S, std::string& Result);

// A tag field as text: its bytes up to the first zero byte (at most Width), as UTF-8.
std::string Id3FieldText(const char* Field, std::size_t Width);

// Trim(Artist) + " - " + Trim(Title) + ".lrc", with "/", "\" and control characters in the two names made
// "_", so that the name stays inside the lyrics folder.
std::string LrcFileNameOf(const std::string& Artist, const std::string& Title);

// Appends one time and one copy of the line's text per time tag ("[" minutes ":" seconds "]") of Line; a
// line of tags only, or a text without a time tag, adds nothing.
void ParseLrcLine(std::string_view Line, forms::TStringList& Times, forms::TStringList& Texts);

// Inserts each time of Src into Dst (kept in ascending order) before the first entry greater than it: times
// equal to ones already there come after them, in Src's order. Src is not changed.
void SortLrcTimes(const forms::TStringList& Src, forms::TStringList& Dst);

// The lines of Times and Texts (parallel lists) in ascending order of time into SortedTimes and SortedTexts
// (replaced); lines of equal time keep their order, each with its own text.
void SortLrcLines(const forms::TStringList& Times, const forms::TStringList& Texts,
                  forms::TStringList& SortedTimes, forms::TStringList& SortedTexts);

// Times and Texts := the timed lines of a lyrics file's bytes in ascending order of time (SortLrcLines): a
// UTF-8 byte-order mark dropped, the text read as legacy 8-bit text (win32::AnsiToUtf8), each of its lines
// through ParseLrcLine.
void ReadLrcText(std::string_view Bytes, forms::TStringList& Times, forms::TStringList& Texts);

// Seconds as a lyric time text ("%2.2f", "." as the decimal point).
std::string LrcTimeText(double Seconds);
// The seconds of a lyric time text; 0 for a text that is not a number.
double LrcTimeValue(std::string_view Time);
