#pragma once
// What the go-to-time dialog decides, apart from its widgets: its texts, the length it shows and the check of
// a typed time against that length.

#include <cstdint>
#include <string>
#include <string_view>

struct TGotoTexts {
    std::string Caption, MediaTime, Hour, Minute, Second, OK, Cancel;
};

// 1 English, 2 Chinese; any other code gives empty texts.
TGotoTexts GotoTexts(int Language);

// The medium's length, whole and split.
struct TGotoLength {
    std::int64_t LengthHours = 0, LengthMinutes = 0, LengthSecs = 0;
    std::int64_t LengthSeconds = 0;
};

// Play types 1 and 3 give Length in 100-ns units, 2 in whole seconds; any other play type gives a length of
// 0.
TGotoLength GotoLength(int PlayType, std::int64_t Length);

// The length as "%d:%2.2d:%2.2d".
std::string GotoLengthText(const TGotoLength& Length);

inline constexpr std::string_view InvalidMediaTimeText = "Invalide media time!";
inline constexpr std::string_view InvalidMediaTimeCaption = "Info";

enum class TGotoEdit { None, Hour, Minute, Second };

struct TGotoVerdict {
    bool Accepted = false;
    // Hours * 3600 + minutes * 60 + seconds, also for a refused time.
    std::int64_t ChosenSeconds = 0;
    // For a refused time: the first edit whose number exceeds its part of the length (None when none does).
    TGotoEdit Focus = TGotoEdit::None;
};

// Converts the three edits' texts (forms::StrToInt: raises forms::EConvertError for a text that is not a
// 32-bit number) and accepts a total within 0 .. the length. The total is computed in 64 bits, so no entry
// wraps around into the accepted range.
TGotoVerdict ValidateGotoTime(const TGotoLength& Length, std::string_view Hour, std::string_view Minute,
                              std::string_view Second);

// Whether a typed character reaches a time edit: the digits and Backspace (8).
bool IsGotoEditCharacter(char32_t Character);
