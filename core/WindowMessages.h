#pragma once
// The private window messages between the program's windows: the main window, the play-list window and the
// capture-list window, the tray icon's call-back and the media graph's notification message.

#include "platform/win32/Types.h"

inline constexpr win32::UINT WM_TRAYICON = win32::WM_USER + 1;
inline constexpr win32::UINT WM_GRAPHNOTIFY = win32::WM_USER + 3;

inline constexpr win32::UINT WM_PLAYLIST_PLAYDVDCHAPTER = win32::WM_USER + 1000; // 2024
inline constexpr win32::UINT WM_PLAYLIST_OPENDVDCHAPTER = win32::WM_USER + 1001;
inline constexpr win32::UINT WM_PLAYLIST_PLAYITEM = win32::WM_USER + 1002;
inline constexpr win32::UINT WM_PLAYLIST_PIPITEM = win32::WM_USER + 1003;
// wParam 0 after the end of a medium, 1 next, 2 previous; lParam the new PlayListIndex.
inline constexpr win32::UINT WM_PLAYLIST_SETCURRENT = win32::WM_USER + 1004;
// lParam DvdChapterIndex.
inline constexpr win32::UINT WM_PLAYLIST_SETDVDCHAPTER = win32::WM_USER + 1005;
inline constexpr win32::UINT WM_PLAYLIST_RELOAD = win32::WM_USER + 1006;
inline constexpr win32::UINT WM_CAPTURELIST_ADD = win32::WM_USER + 1007;
inline constexpr win32::UINT WM_CAPTURELIST_CAPTURE = win32::WM_USER + 1008;
inline constexpr win32::UINT WM_PLAYLIST_ITEMDELETED = win32::WM_USER + 1009;
inline constexpr win32::UINT WM_PLAYLIST_CLEARED = win32::WM_USER + 1010;
inline constexpr win32::UINT WM_PLAYLIST_FILELOADED = win32::WM_USER + 1011;
inline constexpr win32::UINT WM_PLAYLIST_LOADFILE = win32::WM_USER + 1012;
inline constexpr win32::UINT WM_PLAYLIST_CLEAR = win32::WM_USER + 1013;
inline constexpr win32::UINT WM_PLAYLIST_SAVEFILE = win32::WM_USER + 1014;
inline constexpr win32::UINT WM_PLAYLIST_ADDFILES = win32::WM_USER + 1015; // 2039
