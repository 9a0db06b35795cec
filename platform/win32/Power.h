#pragma once
// Suspending and powering off the machine. The player asks through SetSystemPowerState and ExitWindowsEx; both
// go to one power service: systemd-logind over the system bus (polkit decides whether the user may), or a
// recording fake, so that tests never suspend or power off the machine they run on.

#include <string>
#include <vector>

#include <QDBusConnection>

#include "platform/win32/Types.h"

namespace win32 {

class PowerService {
public:
    virtual ~PowerService() = default;
    // Suspends the machine to memory; false when the system refuses or cannot be asked.
    virtual bool Suspend() = 0;
    // Powers the machine off; false when the system refuses or cannot be asked.
    virtual bool PowerOff() = 0;
};

// org.freedesktop.login1.Manager on Bus. Calls are not interactive: the user is never asked for a password,
// and logind first lets applications that hold delay inhibitors finish.
class LogindPowerService : public PowerService {
public:
    explicit LogindPowerService(QDBusConnection Bus = QDBusConnection::systemBus());
    bool Suspend() override;
    bool PowerOff() override;

private:
    bool Call(const char* Method);
    QDBusConnection bus_;
};

// Records each request ("Suspend", "PowerOff") and answers Result.
class FakePowerService : public PowerService {
public:
    bool Suspend() override;
    bool PowerOff() override;

    std::vector<std::string> Calls;
    bool Result = true;
};

// The service in use: logind, or a FakePowerService when QUOREL_POWER=fake.
PowerService& GetPowerService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps ownership.
void SetPowerService(PowerService* Service);

// Suspend TRUE suspends through the power service; hibernation (Suspend FALSE) is not offered. Force is
// ignored: logind always lets inhibitors speak first. TRUE when the request was accepted.
BOOL SetSystemPowerState(BOOL Suspend, BOOL Force);

constexpr UINT EWX_LOGOFF = 0x00000000;
constexpr UINT EWX_SHUTDOWN = 0x00000001;
constexpr UINT EWX_REBOOT = 0x00000002;
constexpr UINT EWX_FORCE = 0x00000004;
constexpr UINT EWX_POWEROFF = 0x00000008;

// EWX_SHUTDOWN or EWX_POWEROFF powers off through the power service; other requests are refused (FALSE).
BOOL ExitWindowsEx(UINT Flags, DWORD Reason);

} // namespace win32
