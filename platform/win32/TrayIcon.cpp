#include "platform/win32/TrayIcon.h"

#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/win32/FakeLog.h"
#include "platform/win32/Window.h"

namespace win32 {

DesktopTrayIconService::DesktopTrayIconService() = default;

DesktopTrayIconService::~DesktopTrayIconService() = default;

bool DesktopTrayIconService::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool DesktopTrayIconService::Add(const NOTIFYICONDATA& Data) {
    if (Data.hIcon.isNull() || !Available())
        return false;
    auto& icon = icons_[{Data.hWnd, Data.uID}];
    if (!icon) {
        icon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                         [window = Data.hWnd, id = Data.uID,
                          message = Data.uCallbackMessage](QSystemTrayIcon::ActivationReason Reason) {
                             if (Reason == QSystemTrayIcon::Trigger && message != 0)
                                 PostMessage(window, message, id, WM_LBUTTONDOWN);
                         });
    }
    icon->setIcon(QIcon(QPixmap::fromImage(Data.hIcon)));
    icon->setToolTip(QString::fromStdString(Data.szTip));
    icon->setContextMenu(Data.Menu);
    icon->show();
    return true;
}

bool DesktopTrayIconService::Delete(HWND Window, UINT Id) {
    return icons_.erase({Window, Id}) > 0;
}

bool FakeTrayIconService::Add(const NOTIFYICONDATA& Data) {
    Calls.push_back("Add " + std::to_string(Data.uID) + " " + Data.szTip);
    AppendFakeLog("Tray " + Calls.back());
    if (!HasArea || Data.hIcon.isNull())
        return false;
    Icons[Data.uID] = Data;
    return true;
}

bool FakeTrayIconService::Delete(HWND, UINT Id) {
    Calls.push_back("Delete " + std::to_string(Id));
    AppendFakeLog("Tray " + Calls.back());
    return Icons.erase(Id) > 0;
}

bool FakeTrayIconService::Click(UINT Id, UINT MouseMessage) const {
    auto it = Icons.find(Id);
    if (it == Icons.end())
        return false;
    return PostMessage(it->second.hWnd, it->second.uCallbackMessage, Id, static_cast<LPARAM>(MouseMessage)) !=
           FALSE;
}

namespace {

TrayIconService* chosenService = nullptr;

TrayIconService& DefaultTrayIconService() {
    // Never destroyed: an icon must not outlive the application object in a static destructor.
    static TrayIconService* const service = []() -> TrayIconService* {
        if (FakeRequested("QUOREL_TRAY"))
            return new FakeTrayIconService();
        return new DesktopTrayIconService();
    }();
    return *service;
}

} // namespace

TrayIconService& GetTrayIconService() {
    return chosenService != nullptr ? *chosenService : DefaultTrayIconService();
}

void SetTrayIconService(TrayIconService* Service) {
    chosenService = Service;
}

BOOL Shell_NotifyIcon(DWORD Message, const NOTIFYICONDATA* Data) {
    if (Data == nullptr)
        return FALSE;
    switch (Message) {
    case NIM_ADD:
    case NIM_MODIFY:
        return GetTrayIconService().Add(*Data) ? TRUE : FALSE;
    case NIM_DELETE:
        return GetTrayIconService().Delete(Data->hWnd, Data->uID) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

} // namespace win32
