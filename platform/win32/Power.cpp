#include "platform/win32/Power.h"

#include <QDBusMessage>

#include "platform/win32/FakeLog.h"

namespace win32 {

LogindPowerService::LogindPowerService(QDBusConnection Bus) : bus_(std::move(Bus)) {}

bool LogindPowerService::Call(const char* Method) {
    if (!bus_.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                                       "org.freedesktop.login1.Manager", Method);
    call << false; // interactive: never ask the user for a password
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 10000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool LogindPowerService::Suspend() { return Call("Suspend"); }
bool LogindPowerService::PowerOff() { return Call("PowerOff"); }

bool FakePowerService::Suspend() {
    Calls.emplace_back("Suspend");
    AppendFakeLog("Power Suspend");
    return Result;
}

bool FakePowerService::PowerOff() {
    Calls.emplace_back("PowerOff");
    AppendFakeLog("Power PowerOff");
    return Result;
}

namespace {

PowerService* chosenService = nullptr;

PowerService& DefaultPowerService() {
    // Never destroyed: a bus connection must not outlive the application object in a static destructor.
    static PowerService* const service = []() -> PowerService* {
        if (FakeRequested("QUOREL_POWER"))
            return new FakePowerService();
        return new LogindPowerService();
    }();
    return *service;
}

} // namespace

PowerService& GetPowerService() { return chosenService != nullptr ? *chosenService : DefaultPowerService(); }

void SetPowerService(PowerService* Service) { chosenService = Service; }

BOOL SetSystemPowerState(BOOL Suspend, BOOL) {
    if (!Suspend)
        return FALSE;
    return GetPowerService().Suspend() ? TRUE : FALSE;
}

BOOL ExitWindowsEx(UINT Flags, DWORD) {
    if ((Flags & (EWX_SHUTDOWN | EWX_POWEROFF)) == 0 || (Flags & EWX_REBOOT) != 0)
        return FALSE;
    return GetPowerService().PowerOff() ? TRUE : FALSE;
}

} // namespace win32
