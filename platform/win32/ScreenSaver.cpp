#include "platform/win32/ScreenSaver.h"

#include <QDBusMessage>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include "platform/win32/FakeLog.h"

namespace win32 {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";

} // namespace

DesktopScreenSaverService::DesktopScreenSaverService(QDBusConnection Bus, bool UseX11Fallback)
    : bus_(std::move(Bus)), useX11Fallback_(UseX11Fallback) {}

DesktopScreenSaverService::~DesktopScreenSaverService() {
    // The bus drops an inhibition with the connection; the X server keeps a suspension until told.
    if (x11Suspended_)
        SuspendX11(false);
}

bool DesktopScreenSaverService::InhibitOverBus() {
    if (!bus_.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Inhibit");
    call << QString("TarvexDvd") << QString("Playing media");
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    cookie_ = reply.arguments().constFirst().toUInt();
    haveCookie_ = true;
    return true;
}

void DesktopScreenSaverService::SuspendX11(bool Suspend) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr)
        return;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(x11->display(), &eventBase, &errorBase))
        return;
    XScreenSaverSuspend(x11->display(), Suspend ? True : False);
    XFlush(x11->display());
    x11Suspended_ = Suspend;
}

void DesktopScreenSaverService::SetActive(bool Active) {
    if (Active == !inhibited_)
        return;
    if (!Active) {
        if (!InhibitOverBus() && useX11Fallback_)
            SuspendX11(true);
        inhibited_ = true;
        return;
    }
    if (haveCookie_) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "UnInhibit");
        call << cookie_;
        bus_.call(call, QDBus::Block, 5000);
        haveCookie_ = false;
    }
    if (x11Suspended_)
        SuspendX11(false);
    inhibited_ = false;
}

void FakeScreenSaverService::SetActive(bool Active) {
    if (Active == active_)
        return;
    active_ = Active;
    const char* call = Active ? "UnInhibit" : "Inhibit";
    Calls.emplace_back(call);
    AppendFakeLog(std::string("ScreenSaver ") + call);
}

namespace {

ScreenSaverService* chosenService = nullptr;

ScreenSaverService& DefaultScreenSaverService() {
    // Never destroyed: a bus connection must not outlive the application object in a static destructor.
    static ScreenSaverService* const service = []() -> ScreenSaverService* {
        if (FakeRequested("QUOREL_SCREENSAVER"))
            return new FakeScreenSaverService();
        return new DesktopScreenSaverService();
    }();
    return *service;
}

} // namespace

ScreenSaverService& GetScreenSaverService() {
    return chosenService != nullptr ? *chosenService : DefaultScreenSaverService();
}

void SetScreenSaverService(ScreenSaverService* Service) { chosenService = Service; }

BOOL SystemParametersInfo(UINT Action, UINT Param, void* Value, UINT) {
    switch (Action) {
    case SPI_SETSCREENSAVEACTIVE:
        GetScreenSaverService().SetActive(Param != 0);
        return TRUE;
    case SPI_GETSCREENSAVEACTIVE:
        if (Value == nullptr)
            return FALSE;
        *static_cast<BOOL*>(Value) = GetScreenSaverService().Active() ? TRUE : FALSE;
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace win32
