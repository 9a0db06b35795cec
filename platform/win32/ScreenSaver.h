#pragma once
// Keeping the screen saver off while media plays. The player switches it through SystemParametersInfo
// (SPI_SETSCREENSAVEACTIVE); that goes to one screen-saver service: the desktop's org.freedesktop.ScreenSaver
// inhibition over the session bus (with the X11 screen-saver extension where no such service answers), or a
// recording fake in tests.

#include <cstdint>
#include <string>
#include <vector>

#include <QDBusConnection>

#include "platform/win32/Types.h"

namespace win32 {

class ScreenSaverService {
public:
    virtual ~ScreenSaverService() = default;
    // Active false keeps the screen saver off until Active true. Asking twice for the same state changes
    // nothing: one inhibition is held at most.
    virtual void SetActive(bool Active) = 0;
    virtual bool Active() const = 0;
};

// org.freedesktop.ScreenSaver Inhibit / UnInhibit on Bus, holding one cookie while inhibited. When the bus
// service does not answer and the program runs on X11, the X screen-saver extension is suspended instead.
class DesktopScreenSaverService : public ScreenSaverService {
public:
    explicit DesktopScreenSaverService(QDBusConnection Bus = QDBusConnection::sessionBus(),
                                       bool UseX11Fallback = true);
    ~DesktopScreenSaverService() override;
    void SetActive(bool Active) override;
    bool Active() const override { return !inhibited_; }

private:
    bool InhibitOverBus();
    void SuspendX11(bool Suspend);

    QDBusConnection bus_;
    bool useX11Fallback_;
    bool inhibited_ = false;
    std::uint32_t cookie_ = 0;
    bool haveCookie_ = false;
    bool x11Suspended_ = false;
};

// Records "Inhibit" and "UnInhibit" as a desktop service would see them (one inhibition at most).
class FakeScreenSaverService : public ScreenSaverService {
public:
    void SetActive(bool Active) override;
    bool Active() const override { return active_; }

    std::vector<std::string> Calls;

private:
    bool active_ = true;
};

// The service in use: the desktop's, or a FakeScreenSaverService when QUOREL_SCREENSAVER=fake.
ScreenSaverService& GetScreenSaverService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps ownership.
void SetScreenSaverService(ScreenSaverService* Service);

constexpr UINT SPI_GETSCREENSAVEACTIVE = 0x0010;
constexpr UINT SPI_SETSCREENSAVEACTIVE = 0x0011;

// SPI_SETSCREENSAVEACTIVE: Param non-zero allows the screen saver, 0 keeps it off. SPI_GETSCREENSAVEACTIVE:
// writes the state as a BOOL into Value. Other actions are not offered (FALSE).
BOOL SystemParametersInfo(UINT Action, UINT Param, void* Value, UINT WinIni);

} // namespace win32
