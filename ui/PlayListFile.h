#pragma once
// The play-list line format of "PlayFileList" and of the play-list files a user saves: one entry per line,
// the full path of a media or audio file, "===", and the entry's resume position in whole seconds. Lines end
// in CR LF when written; reading takes CR LF, LF or CR (the string list).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/forms/StringList.h"

inline constexpr std::string_view PlayListSeparator = "===";

// Splits Line into the path and the position text: at the last "===" that a number follows (so that paths
// holding "===" read back whole), else at the first "==="; a line without one is a path with the position
// "0".
void SplitPlayListLine(std::string_view Line, std::string& Path, std::string& Position);
// Path + "===" + Position.
std::string PlayListLine(std::string_view Path, std::string_view Position);

// Appends the entries of Lines to Files and Positions (kept the same length): a path already in Files
// (without regard to case) is skipped with its position, and so are lines that name no file (a path that is
// empty or only blanks, or the settings reader's "Value no find" fallback). A UTF-8 byte-order mark at the
// start of the first line is dropped. With OnlyExistingFiles, paths whose files do not exist are skipped too.
void AddPlayListEntries(const forms::TStringList& Lines, forms::TStringList& Files,
                        forms::TStringList& Positions, bool OnlyExistingFiles);

// FileName added to the lines of a stored list as a last line, unless it is empty or a line is just that
// file (without regard to case). It goes in as a whole line with the position "0", as the list is written: a
// bare path holding "===" would be cut there when the lines are read.
void AddPlayListLineOf(forms::TStringList& Lines, const std::string& FileName);

// A position read from a play-list file as it is kept: the text itself when it is a non-negative whole
// number, else "0".
std::string CheckedPosition(const std::string& Position);

// Files and Positions := the entries of a play-list file the user loads, from its Lines, as
// AddPlayListEntries takes them, whether their files exist or not, and CurrentMediaFile after them with the
// position "0" unless it is one of them already, so that what plays is always in the list; each position
// checked (CheckedPosition).
void LoadPlayListLines(const forms::TStringList& Lines, const std::string& CurrentMediaFile,
                       forms::TStringList& Files, forms::TStringList& Positions);

// Lines := one line per entry of Files with the position of the same index ("0" where Positions has none).
// An entry whose name or position holds a line break is left out: it would read back as two entries.
void PlayListLinesOf(const forms::TStringList& Files, const forms::TStringList& Positions,
                     forms::TStringList& Lines);

// A position text as whole seconds; 0 for a text that is not a number (a hand-edited file).
std::int64_t PlayListPositionSeconds(std::string_view Position);
