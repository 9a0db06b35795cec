#pragma once
// DVD navigation: the navigator's domain, the title's length and position, and the chapter controls.
// Not built yet: nothing is known of a DVD (domain 0, lengths and positions 0) and the controls stay as they
// are.

#include <cstdint>

#include "core/PlaybackState.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"

// The navigator's domain 1..5 (2 and 3 menus, 4 a title); 0 when it is not known.
TDvdDomain GetDvdDomain();
// The current title's length and the position inside it, in whole seconds and split into H, M, S.
std::int64_t GetDvdTitleLengthSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S);
std::int64_t GetDvdPositionSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S);
// Previous and next by the current chapter and the title's chapter count; backward and forward enabled.
void UpdateDvdChapterButtons(forms::TImage* Backward, forms::TImage* Forward, forms::TImage* Previous,
                             forms::TImage* Next);
// pPreviouschapter and pNextchapter likewise.
void UpdateDvdChapterMenus(forms::TMenuItem* PreviousChapter, forms::TMenuItem* NextChapter);

// The disc's menu MenuId (2 title, 3 root, 4 subpicture, 5 audio, 6 angle, 7 chapter). Not built yet.
void ShowDvdMenu(int MenuId);
// Activates the menu button at Point (video-panel pixels); on success the progress timer Timer runs again.
// Not built yet.
void DvdActivateAtPosition(win32::POINT Point, forms::TTimer& Timer);
// Turns the disc's current subpicture stream on. Not built yet.
void DvdShowSubtitle();
// Records Point as DvdMousePoint (the point a play/pause command activates in a menu) and highlights the
// menu button under it. Not built yet: only the point is recorded.
void DvdSelectAtPosition(int X, int Y);
// The stream sub-menus of the main menu, built each time it opens while a DVD plays: the subtitle items
// (an "off" item with OffClick, one per stream with StreamClick), the audio streams and the angles, each with
// Owner owning the items. Not built yet: the sub-menus stay as they are.
void PrepareDvdSubtitleMenu(forms::TMenuItem* SubtitleMenu, forms::TMenuItem* AudioMenu, QObject* Owner,
                            const forms::TNotifyEvent& OffClick, const forms::TNotifyEvent& StreamClick);
void BuildDvdAudioMenu(forms::TMenuItem* AudioMenu, QObject* Owner, const forms::TNotifyEvent& OnClick);
void BuildDvdAngleMenu(forms::TMenuItem* AngleMenu, QObject* Owner, const forms::TNotifyEvent& OnClick);
// Plays the current title again from its start. Not built yet.
void DvdRestartTitle();
// The next and the previous chapter. Not built yet.
void DvdNextChapter();
void DvdPreviousChapter();

// The navigator's PlayTitle and PlayChapterInTitle. The navigator is not built yet, so by default they do
// nothing; replaceable, so that their callers can be tested now.
using TDvdPlayTitle = void (*)(win32::DWORD Title, win32::DWORD Flags);
using TDvdPlayChapterInTitle = void (*)(win32::DWORD Title, win32::DWORD Chapter, win32::DWORD Flags);
extern TDvdPlayTitle DvdPlayTitle;
extern TDvdPlayChapterInTitle DvdPlayChapterInTitle;
