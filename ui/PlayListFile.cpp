#include "ui/PlayListFile.h"

#include <unordered_set>

#include "core/Settings.h"
#include "platform/forms/Conversions.h"
#include "platform/win32/Files.h"

namespace {

bool IsNumber(std::string_view Text) {
    try {
        forms::StrToInt(Text);
        return true;
    } catch (const forms::EConvertError&) {
        return false;
    }
}

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Empty, or only spaces and tabs: a line of a hand-edited list that names no file.
bool IsBlank(std::string_view Path) {
    return Path.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

void SplitPlayListLine(std::string_view Line, std::string& Path, std::string& Position) {
    // The writer puts a number after the last "===", so a path that holds "===" itself still reads back
    // whole. Without a number there (a hand-edited line) the first "===" separates, as it always did.
    auto at = Line.rfind(PlayListSeparator);
    while (at != std::string_view::npos && !IsNumber(Line.substr(at + PlayListSeparator.size())))
        at = at == 0 ? std::string_view::npos : Line.rfind(PlayListSeparator, at - 1);
    if (at == std::string_view::npos)
        at = Line.find(PlayListSeparator);
    if (at == std::string_view::npos) {
        Path = Line;
        Position = "0";
        return;
    }
    Path = Line.substr(0, at);
    Position = Line.substr(at + PlayListSeparator.size());
}

std::string PlayListLine(std::string_view Path, std::string_view Position) {
    std::string line(Path);
    line += PlayListSeparator;
    line += Position;
    return line;
}

void AddPlayListEntries(const forms::TStringList& Lines, forms::TStringList& Files,
                        forms::TStringList& Positions, bool OnlyExistingFiles) {
    // The paths already in Files, as the list's look-up compares them (without regard to ASCII case): one set
    // for the whole merge keeps it linear in the two lists' lengths.
    std::unordered_set<std::string> known;
    known.reserve(static_cast<std::size_t>(Files.Count() + Lines.Count()));
    for (const std::string& file : Files)
        known.insert(forms::LowerCase(file));
    std::string path, position;
    for (int i = 0; i < Lines.Count(); ++i) {
        std::string_view line = Lines[i];
        // A list saved by a text editor may start with a UTF-8 byte-order mark; it is no part of the path.
        if (i == 0 && line.starts_with(Utf8ByteOrderMark))
            line.remove_prefix(Utf8ByteOrderMark.size());
        SplitPlayListLine(line, path, position);
        if (IsBlank(path) || path == ValueNoFind || known.contains(forms::LowerCase(path)))
            continue;
        if (OnlyExistingFiles && !win32::FileExists(path))
            continue;
        known.insert(forms::LowerCase(path));
        Files.Add(path);
        Positions.Add(position);
    }
}

void PlayListLinesOf(const forms::TStringList& Files, const forms::TStringList& Positions,
                     forms::TStringList& Lines) {
    Lines.Clear();
    for (int i = 0; i < Files.Count(); ++i) {
        std::string line = PlayListLine(Files[i], i < Positions.Count() ? Positions[i] : "0");
        if (FitsOnOneLine(line))
            Lines.Add(std::move(line));
    }
}

std::int64_t PlayListPositionSeconds(std::string_view Position) {
    return forms::StrToIntDef(Position, 0);
}

void AddPlayListLineOf(forms::TStringList& Lines, const std::string& FileName) {
    if (FileName.empty() || Lines.IndexOf(FileName) >= 0)
        return;
    std::string line = PlayListLine(FileName, "0");
    if (Lines.IndexOf(line) < 0)
        Lines.Add(std::move(line));
}

std::string CheckedPosition(const std::string& Position) {
    if (Position.empty() || Position.size() > 9 ||
        Position.find_first_not_of("0123456789") != std::string::npos)
        return "0";
    return Position;
}

void LoadPlayListLines(const forms::TStringList& Lines, const std::string& CurrentMediaFile,
                       forms::TStringList& Files, forms::TStringList& Positions) {
    Files.Clear();
    Positions.Clear();
    AddPlayListEntries(Lines, Files, Positions, false);
    // What plays comes last unless an entry is that file already: looked for among the entries, not the
    // lines, as a line equal to its name may be another path and a position ("a===5").
    forms::TStringList current;
    AddPlayListLineOf(current, CurrentMediaFile);
    AddPlayListEntries(current, Files, Positions, false);
    for (int i = 0; i < Positions.Count(); ++i)
        Positions.Put(i, CheckedPosition(Positions[i]));
}
