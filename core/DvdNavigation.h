#pragma once
// DVD navigation on the running DVD graph, through the navigator's control (DvdControl2) and information
// (DvdInfo2) interfaces: the domain, the title's length and position, the chapter; the disc's menus and
// their buttons under the mouse; faster and slower play; the subtitle, audio and angle submenus of the
// pop-up menu; restarting the title; the chapter buttons and menu items. Without the DVD interfaces (no DVD
// open) every operation does nothing.

#include <cstdint>
#include <string>

#include "core/PlaybackState.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"

// The navigator's domain 1..5 (2 and 3 menus, 4 a title); 0 when it is not known.
TDvdDomain GetDvdDomain();
// The current title's length, and the position inside it, in whole seconds and split into H, M, S; 0 (and 0,
// 0, 0) when the navigator cannot say, so that an unread value never ends a title.
std::int64_t GetDvdTitleLengthSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S);
std::int64_t GetDvdPositionSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S);
// The chapter playing and the number of chapters of its title; 0 and 0 when the navigator cannot say.
void GetChapterCount(int& Chapter, unsigned& Count);
// The title and chapter playing; both left as they were when the navigator cannot say.
void GetCurrentTitleChapter(int& Title, int& Chapter);

// The disc's menu MenuId (2 title, 3 root, 4 subpicture, 5 audio, 6 angle, 7 chapter), while a DVD plays.
void ShowDvdMenu(int MenuId);
// Activates the menu button at Point (video-panel pixels); on success the progress timer Timer runs again.
void DvdActivateAtPosition(win32::POINT Point, forms::TTimer& Timer);
// Records the mouse at (X, Y) over the video and highlights the menu button under it.
void DvdSelectAtPosition(int X, int Y);

// The status text of the rate Rate: "播放中" at 1, else "播放中  " with the rate and "x".
std::string DvdRateText(double Rate);
// Double (half) the rate, as the navigator takes it: 1, 2, 4, 8 and back to 1 (1, 0.5, 0.25 ... down to the
// slowest the navigator plays, and from faster back to 1). A rate the navigator refuses leaves Rate as it
// was; StatusText shows the rate that plays.
void DvdFaster(double& Rate, std::string& StatusText);
void DvdSlower(double& Rate, std::string& StatusText);

// Turns the disc's current subpicture stream on (after every DVD open).
void DvdShowSubtitle();

// The items of the subtitle, audio and angle submenus, made at each pop-up of the main menu while a DVD
// plays. The subtitle and audio submenus are built again when the streams the navigator reports are not the
// ones they list (the disc's menus and each title set have streams of their own). The checks show what the
// navigator reports: the subtitle "off" item exactly when subtitles are not shown, the current stream's item
// otherwise, the current audio stream and the current angle. Building never changes what plays.
void PrepareDvdSubtitleMenu(forms::TMenuItem* SubtitleMenu, forms::TMenuItem* AudioMenu, QObject* Owner,
                            const forms::TNotifyEvent& OffClick, const forms::TNotifyEvent& StreamClick);
void BuildDvdSubtitleMenu(forms::TMenuItem* SubtitleMenu, forms::TMenuItem* AudioMenu, QObject* Owner,
                          const forms::TNotifyEvent& OffClick, const forms::TNotifyEvent& StreamClick,
                          unsigned Count, unsigned Current, bool Disabled);
void BuildDvdAudioMenu(forms::TMenuItem* AudioMenu, QObject* Owner, const forms::TNotifyEvent& OnClick);
void BuildDvdAngleMenu(forms::TMenuItem* AngleMenu, QObject* Owner, const forms::TNotifyEvent& OnClick);
// The checks of the subtitle submenu again, as the navigator reports them.
void CheckDvdSubtitleItems(forms::TMenuItem* SubtitleMenu);
// What the click handlers do for their item: subtitles off, the stream of a subtitle item (its place less 2),
// the audio stream of an audio item (its place), the angle of an angle item (the number after "-").
void DvdSubpictureOff(forms::TMenuItem* Item);
void DvdSubpictureSelect(forms::TMenuItem* Item);
void DvdAudioStreamSelect(forms::TMenuItem* Item);
void DvdAngleSelect(forms::TMenuItem* Item);
// The characters after the first "-" of S; "" when S has none.
std::string TextAfterDash(const std::string& S);

// Plays the current title again from its first chapter.
void DvdRestartTitle();
// Previous and next (buttons and menu items) by the current chapter and its title's chapter count;
// backward and forward are enabled.
void UpdateDvdChapterButtons(forms::TImage* Backward, forms::TImage* Forward, forms::TImage* Previous,
                             forms::TImage* Next);
void UpdateDvdChapterMenus(forms::TMenuItem* PreviousChapter, forms::TMenuItem* NextChapter);
void DvdNextChapter();
void DvdPreviousChapter();

// The navigator's PlayTitle and PlayChapterInTitle on DvdControl2.
void DvdPlayTitle(win32::DWORD Title, win32::DWORD Flags);
void DvdPlayChapterInTitle(win32::DWORD Title, win32::DWORD Chapter, win32::DWORD Flags);
