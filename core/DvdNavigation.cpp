#include "core/DvdNavigation.h"

TDvdDomain GetDvdDomain() { return DvdDomains::Unknown; }

std::int64_t GetDvdTitleLengthSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    H = M = S = 0;
    return 0;
}

std::int64_t GetDvdPositionSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    H = M = S = 0;
    return 0;
}

void UpdateDvdChapterButtons(forms::TImage*, forms::TImage*, forms::TImage*, forms::TImage*) {}

void UpdateDvdChapterMenus(forms::TMenuItem*, forms::TMenuItem*) {}

namespace {

void PlayTitleNotBuiltYet(win32::DWORD, win32::DWORD) {}
void PlayChapterInTitleNotBuiltYet(win32::DWORD, win32::DWORD, win32::DWORD) {}

} // namespace

TDvdPlayTitle DvdPlayTitle = &PlayTitleNotBuiltYet;
TDvdPlayChapterInTitle DvdPlayChapterInTitle = &PlayChapterInTitleNotBuiltYet;

void ShowDvdMenu(int) {}
void DvdActivateAtPosition(win32::POINT, forms::TTimer&) {}
void DvdShowSubtitle() {}
void DvdRestartTitle() {}
void DvdNextChapter() {}

void DvdSelectAtPosition(int X, int Y) {
    State.DvdMousePoint = win32::POINT{X, Y};
}

void PrepareDvdSubtitleMenu(forms::TMenuItem*, forms::TMenuItem*, QObject*, const forms::TNotifyEvent&,
                            const forms::TNotifyEvent&) {}
void BuildDvdAudioMenu(forms::TMenuItem*, QObject*, const forms::TNotifyEvent&) {}
void BuildDvdAngleMenu(forms::TMenuItem*, QObject*, const forms::TNotifyEvent&) {}
void DvdPreviousChapter() {}
