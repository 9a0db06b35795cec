#include "dialoglib/GotoForm_Logic.h"

#include "core/shared/TimeSplit.h"
#include "platform/forms/Conversions.h"

TGotoTexts GotoTexts(int Language) {
    switch (Language) {
    case 1:
        return {"Goto...", "Media time:", "Hour", "Minute", "Second", "OK", "Cancel"};
    case 2:
        return {"转到...", "媒体时长:", "小时", "分钟", "秒", "确定", "放弃"};
    default:
        return {};
    }
}

TGotoLength GotoLength(int PlayType, std::int64_t Length) {
    TGotoLength l;
    if (PlayType == 1 || PlayType == 3) {
        l.LengthSeconds = Length / RefTimeUnitsPerSecond;
        RefTimeToHms(l.LengthHours, l.LengthMinutes, l.LengthSecs, Length);
    } else if (PlayType == 2) {
        l.LengthSeconds = Length;
        SecondsToHms(l.LengthHours, l.LengthMinutes, l.LengthSecs, Length);
    }
    return l;
}

std::string GotoLengthText(const TGotoLength& Length) {
    return HmsText(Length.LengthHours, Length.LengthMinutes, Length.LengthSecs);
}

TGotoVerdict ValidateGotoTime(const TGotoLength& Length, std::string_view Hour, std::string_view Minute,
                              std::string_view Second) {
    const std::int64_t h = forms::StrToInt(Hour);
    const std::int64_t m = forms::StrToInt(Minute);
    const std::int64_t s = forms::StrToInt(Second);
    TGotoVerdict verdict;
    verdict.ChosenSeconds = h * 3600 + m * 60 + s;
    if (verdict.ChosenSeconds < 0 || verdict.ChosenSeconds > Length.LengthSeconds) {
        if (h > Length.LengthHours)
            verdict.Focus = TGotoEdit::Hour;
        else if (m > Length.LengthMinutes)
            verdict.Focus = TGotoEdit::Minute;
        else if (s > Length.LengthSecs)
            verdict.Focus = TGotoEdit::Second;
        return verdict;
    }
    verdict.Accepted = true;
    return verdict;
}

bool IsGotoEditCharacter(char32_t Character) {
    return (Character >= U'0' && Character <= U'9') || Character == 8;
}
