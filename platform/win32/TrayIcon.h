#pragma once
// The notification-area (tray) icon of a window. Shell_NotifyIcon goes to one tray service: the desktop's
// notification area through Qt's system tray icon (a StatusNotifierItem over D-Bus where the desktop offers
// one, else the XEmbed system tray of X11), or a recording fake in tests. A desktop without a notification
// area (GNOME without an extension, a bare X server) has none: the service says so, and adding fails.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QImage>

#include "platform/win32/Types.h"

class QMenu;
class QSystemTrayIcon;

namespace win32 {

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

struct NOTIFYICONDATA {
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    // A left click on the icon posts this message to hWnd: WParam uID, LParam WM_LBUTTONDOWN.
    UINT uCallbackMessage = 0;
    QImage hIcon;
    std::string szTip;
    // The menu of a right click, which the notification area shows itself beside the icon.
    QMenu* Menu = nullptr;
};

class TrayIconService {
public:
    virtual ~TrayIconService() = default;
    // Whether the desktop has a notification area now.
    virtual bool Available() = 0;
    // Shows the icon uID of hWnd, or changes it when it is there; false without a notification area or with
    // an empty picture.
    virtual bool Add(const NOTIFYICONDATA& Data) = 0;
    // False when there was no such icon.
    virtual bool Delete(HWND Window, UINT Id) = 0;
};

class DesktopTrayIconService : public TrayIconService {
public:
    DesktopTrayIconService();
    ~DesktopTrayIconService() override;
    bool Available() override;
    bool Add(const NOTIFYICONDATA& Data) override;
    bool Delete(HWND Window, UINT Id) override;

private:
    std::map<std::pair<HWND, UINT>, std::unique_ptr<QSystemTrayIcon>> icons_;
};

// Records "Add <id> <tip>" and "Delete <id>"; Available says whether there is a notification area. Click
// plays a click on an icon as the notification area reports it.
class FakeTrayIconService : public TrayIconService {
public:
    bool Available() override { return HasArea; }
    bool Add(const NOTIFYICONDATA& Data) override;
    bool Delete(HWND Window, UINT Id) override;
    // Posts the icon's callback message with MouseMessage (WM_LBUTTONDOWN, WM_RBUTTONDOWN); false without the
    // icon.
    bool Click(UINT Id, UINT MouseMessage) const;

    bool HasArea = true;
    // The icons shown now, by id.
    std::map<UINT, NOTIFYICONDATA> Icons;
    std::vector<std::string> Calls;
};

// The service in use: a FakeTrayIconService when QUOREL_TRAY=fake, else the desktop's.
TrayIconService& GetTrayIconService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps
// ownership.
void SetTrayIconService(TrayIconService* Service);

// NIM_ADD and NIM_MODIFY show the icon of Data, NIM_DELETE removes it (hWnd and uID name it).
BOOL Shell_NotifyIcon(DWORD Message, const NOTIFYICONDATA* Data);

} // namespace win32
