#include "core/DvdNavigation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "core/PlaybackState.h"
#include "core/Seeking.h"
#include "platform/win32/Locale.h"

using namespace dshow;

namespace {

constexpr int LanguageNameSize = 50;

std::int64_t SecondsOf(const DVD_HMSF_TIMECODE& Time, std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    H = Time.bHours;
    M = Time.bMinutes;
    S = Time.bSeconds;
    return H * 3600 + M * 60 + S;
}

bool DvdPlaying() {
    return State.IsPlaying && State.PlayType == PlayTypes::Dvd;
}

// The name of a stream's language, as the system names it; "Unknown" for a language it cannot name (a
// stream the disc does not mark).
std::string LanguageCaption(LCID Language) {
    char name[LanguageNameSize] = {};
    if (win32::GetLocaleInfoA(Language, win32::LOCALE_SLANGUAGE, name, LanguageNameSize) == 0)
        return "Unknown";
    return name;
}

forms::TMenuItem* NewItem(QObject* Owner, const std::string& Caption, const forms::TNotifyEvent& OnClick) {
    auto* item = new forms::TMenuItem(Owner);
    item->SetCaption(Caption);
    item->OnClick = OnClick;
    return item;
}

void CheckOnly(forms::TMenuItem* Parent, int Index) {
    if (Parent == nullptr)
        return;
    for (int i = 0; i < Parent->Count(); ++i)
        Parent->Items(i)->SetChecked(i == Index);
}

// The decimal number of Text; nothing for anything else.
std::optional<int> NumberIn(const std::string& Text) {
    if (Text.empty() || Text.size() > 9 ||
        !std::all_of(Text.begin(), Text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    return std::stoi(Text);
}

constexpr int FirstSubtitleItem = 2; // after "关闭字幕" and the separator

// The captions of the Count streams the navigator reports now, as a submenu lists them: up to the first
// stream whose language it cannot give.
std::vector<std::string> StreamCaptions(ULONG Count, HRESULT (IDvdInfo2::*Language)(ULONG, LCID*)) {
    std::vector<std::string> captions;
    for (ULONG i = 0; i < Count; ++i) {
        LCID language = 0;
        if (com::FAILED(((*State.DvdInfo2).*Language)(i, &language)))
            break;
        captions.push_back(LanguageCaption(language));
    }
    return captions;
}

// Whether the items of Menu from First on are the streams Captions: a submenu built for another domain or
// title set (the disc's menu has other streams than its titles) is built again.
bool ListsStreams(forms::TMenuItem* Menu, int First, const std::vector<std::string>& Captions) {
    if (Menu->Count() - First != static_cast<int>(Captions.size()))
        return false;
    for (std::size_t i = 0; i < Captions.size(); ++i)
        if (Menu->Items(First + static_cast<int>(i))->Caption() != Captions[i])
            return false;
    return true;
}

} // namespace

TDvdDomain GetDvdDomain() {
    if (!State.DvdInfo2)
        return DvdDomains::Unknown;
    DVD_DOMAIN domain = DVD_DOMAIN_FirstPlay;
    if (com::FAILED(State.DvdInfo2->GetCurrentDomain(&domain)) || domain < DVD_DOMAIN_FirstPlay ||
        domain > DVD_DOMAIN_Stop)
        return DvdDomains::Unknown;
    return domain;
}

std::int64_t GetDvdTitleLengthSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    if (!State.DvdInfo2)
        return 0;
    DVD_HMSF_TIMECODE time;
    ULONG flags = 0;
    if (com::FAILED(State.DvdInfo2->GetTotalTitleTime(&time, &flags)))
        time = DVD_HMSF_TIMECODE{};
    return SecondsOf(time, H, M, S);
}

std::int64_t GetDvdPositionSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    if (!State.DvdInfo2)
        return 0;
    DVD_PLAYBACK_LOCATION2 location;
    if (com::FAILED(State.DvdInfo2->GetCurrentLocation(&location)))
        location = DVD_PLAYBACK_LOCATION2{};
    return SecondsOf(location.TimeCode, H, M, S);
}

void GetChapterCount(int& Chapter, unsigned& Count) {
    if (!State.DvdInfo2)
        return;
    Chapter = 0;
    Count = 0;
    DVD_PLAYBACK_LOCATION2 location;
    if (com::FAILED(State.DvdInfo2->GetCurrentLocation(&location)))
        return;
    ULONG chapters = 0;
    if (com::FAILED(State.DvdInfo2->GetNumberOfChapters(location.TitleNum, &chapters)))
        return;
    Chapter = static_cast<int>(location.ChapterNum);
    Count = chapters;
}

void GetCurrentTitleChapter(int& Title, int& Chapter) {
    if (!State.DvdInfo2)
        return;
    DVD_PLAYBACK_LOCATION2 location;
    if (com::FAILED(State.DvdInfo2->GetCurrentLocation(&location)))
        return;
    Title = static_cast<int>(location.TitleNum);
    Chapter = static_cast<int>(location.ChapterNum);
}

void ShowDvdMenu(int MenuId) {
    if (!DvdPlaying() || !State.DvdControl2)
        return;
    State.DvdControl2->ShowMenu(static_cast<DVD_MENU_ID>(MenuId), DVD_CMD_FLAG_Flush, nullptr);
}

void DvdActivateAtPosition(win32::POINT Point, forms::TTimer& Timer) {
    if (!State.DvdControl2)
        return;
    if (State.DvdControl2->ActivateAtPosition(Point) != com::S_OK)
        return;
    State.IsPlaying = true;
    Timer.SetEnabled(true);
}

void DvdSelectAtPosition(int X, int Y) {
    State.DvdMousePoint = win32::POINT{X, Y};
    if (!State.DvdControl2 || !State.DvdInfo2)
        return;
    ULONG button = 0;
    if (State.DvdInfo2->GetButtonAtPosition(State.DvdMousePoint, &button) != com::S_OK || button < 1 ||
        button > 36)
        return;
    State.DvdControl2->SelectButton(button);
}

std::string DvdRateText(double Rate) {
    if (Rate == 1.0)
        return "播放中";
    char rate[32];
    std::snprintf(rate, sizeof rate, "%2.2f", Rate);
    return std::string("播放中  ") + rate + "x";
}

void DvdFaster(double& Rate, std::string& StatusText) {
    if (!State.DvdControl2)
        return;
    const double wanted = Rate < 1 || Rate >= 8 ? 1.0 : Rate * 2;
    if (com::SUCCEEDED(State.DvdControl2->PlayForwards(wanted, DVD_CMD_FLAG_Flush, nullptr)))
        Rate = wanted;
    StatusText = DvdRateText(Rate);
}

void DvdSlower(double& Rate, std::string& StatusText) {
    if (!State.DvdControl2)
        return;
    const double wanted = Rate > 1 || Rate <= 0 ? 1.0 : Rate / 2;
    // Below the slowest rate the navigator plays the call fails, and the rate stays where it is.
    if (com::SUCCEEDED(State.DvdControl2->PlayForwards(wanted, DVD_CMD_FLAG_Flush, nullptr)))
        Rate = wanted;
    StatusText = DvdRateText(Rate);
}

void DvdShowSubtitle() {
    if (!DvdPlaying() || !State.DvdInfo2 || !State.DvdControl2)
        return;
    ULONG available = 0, current = 0;
    BOOL disabled = 0;
    if (State.DvdInfo2->GetCurrentSubpicture(&available, &current, &disabled) != com::S_OK)
        return;
    State.DvdControl2->SetSubpictureState(win32::TRUE, DVD_CMD_FLAG_Block, nullptr);
    State.DvdControl2->SelectSubpictureStream(current, DVD_CMD_FLAG_Block, nullptr);
}

void PrepareDvdSubtitleMenu(forms::TMenuItem* SubtitleMenu, forms::TMenuItem* AudioMenu, QObject* Owner,
                            const forms::TNotifyEvent& OffClick, const forms::TNotifyEvent& StreamClick) {
    if (!DvdPlaying() || !State.DvdInfo2)
        return;
    ULONG available = 0, current = 0;
    BOOL disabled = 0;
    if (State.DvdInfo2->GetCurrentSubpicture(&available, &current, &disabled) != com::S_OK) {
        SubtitleMenu->SetEnabled(false);
        AudioMenu->SetEnabled(false);
        return;
    }
    if (SubtitleMenu->Count() > 0 &&
        ListsStreams(SubtitleMenu, FirstSubtitleItem,
                     StreamCaptions(available, &IDvdInfo2::GetSubpictureLanguage))) {
        CheckDvdSubtitleItems(SubtitleMenu); // the checks follow what the disc plays
        return;
    }
    SubtitleMenu->Clear();
    BuildDvdSubtitleMenu(SubtitleMenu, AudioMenu, Owner, OffClick, StreamClick, available, current,
                         disabled != 0);
}

void BuildDvdSubtitleMenu(forms::TMenuItem* SubtitleMenu, forms::TMenuItem* AudioMenu, QObject* Owner,
                          const forms::TNotifyEvent& OffClick, const forms::TNotifyEvent& StreamClick,
                          unsigned Count, unsigned Current, bool Disabled) {
    SubtitleMenu->SetEnabled(true);
    AudioMenu->SetEnabled(true);
    forms::TMenuItem* off = NewItem(Owner, "关闭字幕", OffClick);
    off->SetChecked(Disabled);
    SubtitleMenu->Add(off);
    SubtitleMenu->Add(NewItem(Owner, "-", nullptr));
    for (unsigned i = 0; i < Count; ++i) {
        LCID language = 0;
        if (com::FAILED(State.DvdInfo2->GetSubpictureLanguage(i, &language)))
            break;
        forms::TMenuItem* item = NewItem(Owner, LanguageCaption(language), StreamClick);
        item->SetChecked(!Disabled && i == Current);
        SubtitleMenu->Add(item);
    }
}

void CheckDvdSubtitleItems(forms::TMenuItem* SubtitleMenu) {
    if (SubtitleMenu == nullptr || !State.DvdInfo2 || SubtitleMenu->Count() == 0)
        return;
    ULONG available = 0, current = 0;
    BOOL disabled = 0;
    if (State.DvdInfo2->GetCurrentSubpicture(&available, &current, &disabled) != com::S_OK)
        return;
    CheckOnly(SubtitleMenu, disabled != 0 ? 0 : FirstSubtitleItem + static_cast<int>(current));
}

void BuildDvdAudioMenu(forms::TMenuItem* AudioMenu, QObject* Owner, const forms::TNotifyEvent& OnClick) {
    if (!DvdPlaying() || !State.DvdInfo2)
        return;
    ULONG available = 0, current = 0;
    if (State.DvdInfo2->GetCurrentAudio(&available, &current) != com::S_OK)
        return;
    const std::vector<std::string> captions = StreamCaptions(available, &IDvdInfo2::GetAudioLanguage);
    if (AudioMenu->Count() > 0 && ListsStreams(AudioMenu, 0, captions)) {
        CheckOnly(AudioMenu, static_cast<int>(current));
        return;
    }
    AudioMenu->Clear();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        forms::TMenuItem* item = NewItem(Owner, captions[i], OnClick);
        item->SetChecked(i == current);
        AudioMenu->Add(item);
    }
}

// Built at every pop-up; building only shows the angles, the one checked being the navigator's.
void BuildDvdAngleMenu(forms::TMenuItem* AngleMenu, QObject* Owner, const forms::TNotifyEvent& OnClick) {
    if (!State.DvdInfo2)
        return;
    AngleMenu->Clear();
    ULONG available = 0, current = 0;
    if (State.DvdInfo2->GetCurrentAngle(&available, &current) != com::S_OK)
        return;
    for (ULONG n = 1; n <= available; ++n) {
        forms::TMenuItem* item = NewItem(Owner, "Angle-" + std::to_string(n), OnClick);
        item->SetChecked(n == current);
        AngleMenu->Add(item);
    }
}

void DvdSubpictureOff(forms::TMenuItem* Item) {
    if (!DvdPlaying() || !State.DvdControl2)
        return;
    State.DvdControl2->SelectDefaultSubpictureLanguage(0, DVD_SP_EXT_Caption_Normal);
    State.DvdControl2->SetSubpictureState(win32::FALSE, DVD_CMD_FLAG_None, nullptr);
    CheckDvdSubtitleItems(Item->Parent());
}

void DvdSubpictureSelect(forms::TMenuItem* Item) {
    if (!DvdPlaying() || !State.DvdControl2)
        return;
    const int stream = Item->MenuIndex() - FirstSubtitleItem;
    if (stream < 0)
        return;
    State.DvdControl2->SetSubpictureState(win32::TRUE, DVD_CMD_FLAG_None, nullptr);
    State.DvdControl2->SelectSubpictureStream(static_cast<ULONG>(stream), DVD_CMD_FLAG_None, nullptr);
    CheckDvdSubtitleItems(Item->Parent());
}

void DvdAudioStreamSelect(forms::TMenuItem* Item) {
    if (!DvdPlaying() || !State.DvdInfo2 || !State.DvdControl2)
        return;
    const int stream = Item->MenuIndex();
    if (stream < 0 || com::FAILED(State.DvdControl2->SelectAudioStream(static_cast<ULONG>(stream),
                                                                       DVD_CMD_FLAG_Flush, nullptr)))
        return;
    CheckOnly(Item->Parent(), stream);
}

void DvdAngleSelect(forms::TMenuItem* Item) {
    if (!State.DvdControl2)
        return;
    CheckOnly(Item->Parent(), Item->MenuIndex());
    if (const std::optional<int> angle = NumberIn(TextAfterDash(Item->Caption())))
        State.DvdControl2->SelectAngle(static_cast<ULONG>(*angle), DVD_CMD_FLAG_Flush, nullptr);
}

std::string TextAfterDash(const std::string& S) {
    const std::size_t dash = S.find('-');
    return dash == std::string::npos ? std::string() : S.substr(dash + 1);
}

void DvdRestartTitle() {
    if (State.PlayType != PlayTypes::Dvd)
        return;
    State.PlayRate = 1.0;
    if (!State.DvdControl2)
        return;
    int title = 0, chapter = 0;
    GetCurrentTitleChapter(title, chapter);
    State.DvdControl2->PlayChapterInTitle(static_cast<ULONG>(title), 1, DVD_CMD_FLAG_None, nullptr);
}

void UpdateDvdChapterButtons(forms::TImage* Backward, forms::TImage* Forward, forms::TImage* Previous,
                             forms::TImage* Next) {
    int chapter = 0;
    unsigned count = 0;
    GetChapterCount(chapter, count);
    Previous->SetEnabled(count > 1 && chapter != 1);
    Next->SetEnabled(count > 1 && chapter != static_cast<int>(count));
    Backward->SetEnabled(true);
    Forward->SetEnabled(true);
}

void UpdateDvdChapterMenus(forms::TMenuItem* PreviousChapter, forms::TMenuItem* NextChapter) {
    int chapter = 0;
    unsigned count = 0;
    GetChapterCount(chapter, count);
    PreviousChapter->SetEnabled(count > 1 && chapter != 1);
    NextChapter->SetEnabled(count > 1 && chapter != static_cast<int>(count));
}

void DvdNextChapter() {
    if (State.DvdControl2)
        State.DvdControl2->PlayNextChapter(DVD_CMD_FLAG_None, nullptr);
}

void DvdPreviousChapter() {
    if (State.DvdControl2)
        State.DvdControl2->PlayPrevChapter(DVD_CMD_FLAG_None, nullptr);
}

void DvdPlayTitle(win32::DWORD Title, win32::DWORD Flags) {
    if (State.DvdControl2)
        State.DvdControl2->PlayTitle(Title, Flags, nullptr);
}

void DvdPlayChapterInTitle(win32::DWORD Title, win32::DWORD Chapter, win32::DWORD Flags) {
    if (State.DvdControl2)
        State.DvdControl2->PlayChapterInTitle(Title, Chapter, Flags, nullptr);
}
