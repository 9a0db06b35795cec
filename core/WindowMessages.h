#pragma once
// The private window messages between the program's windows: the main window, the play-list window and the
// capture-list window, the tray icon's call-back and the media graph's notification message.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/Types.h"

inline constexpr win32::UINT WM_TRAYICON = win32::WM_USER + 1;
inline constexpr win32::UINT WM_GRAPHNOTIFY = win32::WM_USER + 3;

// lParam of 2024 and 2025: the key of the double-clicked row's text among ListTextParcels.
inline constexpr win32::UINT WM_PLAYLIST_PLAYDVDCHAPTER = win32::WM_USER + 1000; // 2024
inline constexpr win32::UINT WM_PLAYLIST_OPENDVDCHAPTER = win32::WM_USER + 1001;
inline constexpr win32::UINT WM_PLAYLIST_PLAYITEM = win32::WM_USER + 1002;
inline constexpr win32::UINT WM_PLAYLIST_PIPITEM = win32::WM_USER + 1003;
// wParam 0 after the end of a medium, 1 next, 2 previous; lParam the new PlayListIndex.
inline constexpr win32::UINT WM_PLAYLIST_SETCURRENT = win32::WM_USER + 1004;
// lParam DvdChapterIndex.
inline constexpr win32::UINT WM_PLAYLIST_SETDVDCHAPTER = win32::WM_USER + 1005;
inline constexpr win32::UINT WM_PLAYLIST_RELOAD = win32::WM_USER + 1006;
// lParam: the key of the captured frame among CapturedFrames (core/FrameCapture.h).
inline constexpr win32::UINT WM_CAPTURELIST_ADD = win32::WM_USER + 1007;
inline constexpr win32::UINT WM_CAPTURELIST_CAPTURE = win32::WM_USER + 1008;
inline constexpr win32::UINT WM_PLAYLIST_ITEMDELETED = win32::WM_USER + 1009;
inline constexpr win32::UINT WM_PLAYLIST_CLEARED = win32::WM_USER + 1010;
inline constexpr win32::UINT WM_PLAYLIST_FILELOADED = win32::WM_USER + 1011;
inline constexpr win32::UINT WM_PLAYLIST_LOADFILE = win32::WM_USER + 1012;
inline constexpr win32::UINT WM_PLAYLIST_CLEAR = win32::WM_USER + 1013;
inline constexpr win32::UINT WM_PLAYLIST_SAVEFILE = win32::WM_USER + 1014;
inline constexpr win32::UINT WM_PLAYLIST_ADDFILES = win32::WM_USER + 1015; // 2039

// What a message cannot carry in its two numbers (a text, a picture) travels beside it: the sender puts it
// here and passes the key as lParam, the receiver takes it out. Each message thus carries its own, however
// many are queued before the first is handled (a shared variable would hold only the last one).
template <class T> class TMessageParcels {
public:
    win32::LPARAM Put(T Value) {
        const win32::LPARAM key = ++last_;
        parcels_.emplace(key, std::move(Value));
        return key;
    }
    // The parcel of Key, taken out; nothing for a key that holds none (0, or one taken already).
    std::optional<T> Take(win32::LPARAM Key) {
        const auto at = parcels_.find(Key);
        if (at == parcels_.end())
            return std::nullopt;
        std::optional<T> value(std::move(at->second));
        parcels_.erase(at);
        return value;
    }
    bool Any(const std::function<bool(const T&)>& Test) const {
        for (const auto& [key, value] : parcels_)
            if (Test(value))
                return true;
        return false;
    }
    std::size_t Count() const { return parcels_.size(); }
    // Drops whatever waits: its receiver is gone.
    void Clear() { parcels_.clear(); }

private:
    std::map<win32::LPARAM, T> parcels_;
    win32::LPARAM last_ = 0;
};

// The texts of the play-list rows that 2024 and 2025 act on.
inline TMessageParcels<std::string> ListTextParcels;
