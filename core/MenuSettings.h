#pragma once
// Settings-backed menus: the five radio groups of the main menu that mirror settings (sound channel, stay on
// top, action after play, display scale, play mode), the picture-in-picture items, helpers over arrays of
// menu items, and the filters of the program's file dialogs.
//
// Each radio group is an array of items in a fixed order, each item standing for one value of its setting:
//   sound channel  [Play] SoundBalance       pStereo 0, pLefttrack -9999, pRighttrack 9999
//   stay on top    [Play] StayOnTop          pNonever 0, pAlways 1, pOnlyplaying 2
//   after play     [Play] AfterPlay          pShutdown 2, pDormant 3, pAfterExit 1, pDonothing 0
//   display scale  [View] VideoScale         pKeeporiginal 0, pFillWholeWindow -1, pScale43 1, pScale54 2,
//                                            pScale169 4
//   play mode      [PlayControl] PlayMode    pNone 0, pCircleplay 1, pRandomplay 2, pCirclesingleplay 3
// A load reads the setting into its mirror in the shared state and checks the item of that value (none for a
// value no item has). A save takes the value of the first checked item into the mirror (unchanged when none is
// checked) and writes the mirror at once.

#include <string>

#include "platform/forms/Dialogs.h"
#include "platform/forms/Menus.h"

void DisableMenuItems(const forms::TMenuItemArray& Items);
void EnableMenuItems(const forms::TMenuItemArray& Items);
void UncheckMenuItems(const forms::TMenuItemArray& Items);
// Gives every item of Items the click handler Handler.
void SetMenuItemsOnClick(const forms::TMenuItemArray& Items, const forms::TNotifyEvent& Handler);

void LoadSoundBalanceMenu(const forms::TMenuItemArray& Items);
// Also gives the value to the media graph's audio balance when a graph is open.
void SaveSoundBalanceMenu(const forms::TMenuItemArray& Items);

// Left, Top, Width, Height are the main window's. The load makes the window top-most for 1 and not top-most
// for 0; the save does the same, except that a window covering the whole screen is never made top-most.
// Mode 2 (only while playing) changes nothing now.
void LoadStayOnTopMenu(int Left, int Top, int Width, int Height, const forms::TMenuItemArray& Items);
void SaveStayOnTopMenu(int Left, int Top, int Width, int Height, const forms::TMenuItemArray& Items);

void LoadAfterPlayMenu(const forms::TMenuItemArray& Items);
void SaveAfterPlayMenu(const forms::TMenuItemArray& Items);
void LoadVideoScaleMenu(const forms::TMenuItemArray& Items);
void SaveVideoScaleMenu(const forms::TMenuItemArray& Items);
void LoadPlayModeMenu(const forms::TMenuItemArray& Items);
void SavePlayModeMenu(const forms::TMenuItemArray& Items);

// While a picture-in-picture pair plays the items of PipItems are enabled and the orientation item of the
// small picture is checked among ReverseItems; otherwise PipItems are disabled.
void UpdatePipMenus(const forms::TMenuItemArray& PipItems, const forms::TMenuItemArray& ReverseItems);
// Only for picture-in-picture: checks pNoreverse, pUpdownreverse, pLeftrightreverse or pCompletereverse (in
// this order in Items) by the small picture's output rectangle as the mixer reports it; nothing when the mixer
// cannot say or an edge has no width.
void CheckPipReverseItem(const forms::TMenuItemArray& Items);

// The filters of the program's file dialogs.
extern const char* const MediaFileFilter;
extern const char* const VideoFileFilter;
extern const char* const PlayListFileFilter;
extern const char* const ImageSaveFilter;
extern const char* const SubtitleFileFilter;

// The media filter, and several files may be chosen (every other option cleared).
void SetMediaFileFilter(forms::TOpenDialog& Dialog);
// The media filter; the options stay.
void SetMediaFileFilterOnly(forms::TOpenDialog& Dialog);
// The video filter, and several files may be chosen.
void SetVideoFileFilter(forms::TOpenDialog& Dialog);
// The play-list filter, in the Project folder, proposing the name "kmvPlayListFile".
void SetPlayListFileFilter(forms::TOpenDialog& Dialog);
// The image filter, in the Temp folder, proposing FileName.
void SetImageSaveFilter(forms::TOpenDialog& Dialog, const std::string& FileName);
void SetSubtitleFileFilter(forms::TOpenDialog& Dialog);
