#include "core/TagsAndLyrics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

#include "core/PlaybackState.h"
#include "platform/forms/Conversions.h"
#include "platform/forms/Forms.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/Files.h"

namespace {

constexpr char kNoInformation[] = "No relevant information";

void SetNoTag(Id3v1Tag& Tag) {
    std::memset(Tag.Title, 0, sizeof Tag.Title);
    std::memset(Tag.Artist, 0, sizeof Tag.Artist);
    std::memset(Tag.Album, 0, sizeof Tag.Album);
    std::memset(Tag.Year, 0, sizeof Tag.Year);
    std::memset(Tag.Comment, 0, sizeof Tag.Comment);
    std::memcpy(Tag.Comment, kNoInformation, sizeof kNoInformation - 1);
    Tag.Genre = 0;
}

} // namespace

bool ReadId3v1(Id3v1Tag& Tag, const std::string& FileName, bool ReportMissing) {
    if (!win32::FileExists(FileName)) {
        // The description that follows is built all the same (with empty fields), but the read failed.
        if (ReportMissing)
            forms::Application().MessageBox(FileName + " is not exists!", "Information",
                                            win32::MB_OK | win32::MB_ICONINFORMATION);
        return false;
    }
    std::error_code error;
    const std::optional<win32::FileTail> tail = win32::ReadFileTail(FileName, sizeof Tag, error);
    if (!tail)
        throw forms::EClassLibraryError("Cannot open file \"" + FileName + "\". " + error.message());
    if (!tail->regular)
        return false;
    // A file shorter than a tag has none (the first bytes of a short file are no tag).
    if (tail->shorter) {
        SetNoTag(Tag);
        return true;
    }
    if (tail->bytes.size() < sizeof Tag) {
        std::memcpy(&Tag, tail->bytes.data(), tail->bytes.size());
        return false;
    }
    const char* record = tail->bytes.data();
    std::memcpy(&Tag, record, sizeof Tag);
    if (std::memcmp(Tag.Marker, "TAG", 3) != 0)
        SetNoTag(Tag);
    return true;
}

std::string Id3FieldText(const char* Field, std::size_t Width) {
    const char* end = static_cast<const char*>(std::memchr(Field, 0, Width));
    return win32::AnsiToUtf8(
        std::string_view(Field, end != nullptr ? static_cast<std::size_t>(end - Field) : Width));
}

void TrimSpaces(const std::string& S, std::string& Result) {
    const auto first = S.find_first_not_of(' ');
    if (first == std::string::npos) {
        Result.clear();
        return;
    }
    Result = S.substr(first, S.find_last_not_of(' ') - first + 1);
}

std::string LrcFileNameOf(const std::string& Artist, const std::string& Title) {
    auto safe = [](const std::string& Text) {
        std::string name;
        TrimSpaces(Text, name);
        for (char& c : name) {
            const auto b = static_cast<unsigned char>(c);
            if (c == '/' || c == '\\' || b < 0x20 || b == 0x7F)
                c = '_';
        }
        return name;
    };
    return safe(Artist) + " - " + safe(Title) + ".lrc";
}

void GetId3Text(const std::string& FileName, std::string& Text, bool ReportMissing) {
    Id3v1Tag tag{};
    ReadId3v1(tag, FileName, ReportMissing);
    const std::string title = Id3FieldText(tag.Title, sizeof tag.Title);
    const std::string artist = Id3FieldText(tag.Artist, sizeof tag.Artist);
    Text = "Title\t\t" + title + "\r\n" + "Artist\t\t" + artist + "\r\n" + "Album\t\t" +
           Id3FieldText(tag.Album, sizeof tag.Album) + "\r\n" + "Year\t\t" +
           Id3FieldText(tag.Year, sizeof tag.Year) + "\r\n" + "Comment\t\t" +
           Id3FieldText(tag.Comment, sizeof tag.Comment);
    State.LrcFileName = LrcFileNameOf(artist, title);
}

std::string LrcTimeText(double Seconds) {
    // Wide enough for any finite double with two decimals.
    char text[400];
    const auto [end, error] = std::to_chars(text, text + sizeof text, Seconds, std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(text, end) : std::string("0.00");
}

double LrcTimeValue(std::string_view Time) {
    double value = 0.0;
    return forms::TryStrToFloat(Time, value) ? value : 0.0;
}

void ParseLrcLine(std::string_view Line, forms::TStringList& Times, forms::TStringList& Texts) {
    std::string_view rest = Line;
    std::vector<std::string> found;
    for (;;) {
        const auto open = rest.find('[');
        const auto close = rest.find(']');
        if (open == std::string_view::npos || close == std::string_view::npos)
            break;
        const std::string_view tag =
            close > open ? rest.substr(open + 1, close - open - 1) : std::string_view();
        if (const auto colon = tag.find(':'); colon != std::string_view::npos) {
            double minutes = 0.0, seconds = 0.0;
            if (forms::TryStrToFloat(tag.substr(0, colon), minutes) &&
                forms::TryStrToFloat(tag.substr(colon + 1), seconds) && std::isfinite(minutes * 60 + seconds))
                found.push_back(LrcTimeText(minutes * 60 + seconds));
        }
        rest.remove_prefix(close + 1);
    }
    if (rest.empty())
        return;
    for (std::string& time : found) {
        Times.Add(std::move(time));
        Texts.Add(std::string(rest));
    }
}

namespace {

// Indexes of Times in ascending order of their values, equal values in list order.
std::vector<int> AscendingOrder(const forms::TStringList& Times) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(Times.Count()));
    for (const std::string& time : Times)
        values.push_back(LrcTimeValue(time));
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return values[static_cast<std::size_t>(a)] < values[static_cast<std::size_t>(b)];
    });
    return order;
}

} // namespace

void SortLrcTimes(const forms::TStringList& Src, forms::TStringList& Dst) {
    // Dst's entries first: an equal time of Src goes after them.
    forms::TStringList all;
    all.Assign(Dst);
    all.AddStrings(Src);
    forms::TStringList sorted;
    for (const int i : AscendingOrder(all))
        sorted.Add(all[i]);
    Dst.Assign(sorted);
}

void SortLrcLines(const forms::TStringList& Times, const forms::TStringList& Texts,
                  forms::TStringList& SortedTimes, forms::TStringList& SortedTexts) {
    SortedTimes.Clear();
    SortedTexts.Clear();
    for (const int i : AscendingOrder(Times)) {
        SortedTimes.Add(Times[i]);
        SortedTexts.Add(i < Texts.Count() ? Texts[i] : std::string());
    }
}

void ReadLrcText(std::string_view Bytes, forms::TStringList& Times, forms::TStringList& Texts) {
    if (Bytes.starts_with("\xEF\xBB\xBF"))
        Bytes.remove_prefix(3);
    forms::TStringList lines;
    lines.SetText(win32::AnsiToUtf8(Bytes));
    forms::TStringList times, texts;
    for (const std::string& line : lines)
        ParseLrcLine(line, times, texts);
    // Lines of equal time each keep their own text, in the file's order.
    SortLrcLines(times, texts, Times, Texts);
}
