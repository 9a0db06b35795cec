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
