#include "platform/win32/ScreenSaver.h"

#include <gtest/gtest.h>

#include "tests/support/PrivateBus.h"
#include "tests/support/QtApp.h"

using testing_support::PrivateBus;
using testing_support::RecordingBusObject;

namespace {

class DesktopScreenSaverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }

    void SetUp() override {
        ASSERT_TRUE(bus.Started());
        saver.Answer = [this](const QDBusMessage& call) {
            if (call.member() == "Inhibit")
                return call.createReply(QVariant::fromValue(nextCookie++));
            return call.createReply();
        };
        ASSERT_TRUE(desktop.registerService("org.freedesktop.ScreenSaver"));
        ASSERT_TRUE(desktop.registerVirtualObject("/org/freedesktop/ScreenSaver", &saver));
    }
    void TearDown() override { desktop.unregisterObject("/org/freedesktop/ScreenSaver"); }

    std::vector<QString> Members() const {
        std::vector<QString> members;
        for (const auto& c : saver.Calls())
            members.push_back(c.Member);
        return members;
    }

    PrivateBus bus;
    RecordingBusObject saver;
    uint nextCookie = 41;
    QDBusConnection desktop = bus.Connect("desktop");
    QDBusConnection player = bus.Connect("player");
};

TEST_F(DesktopScreenSaverTest, HoldsOneInhibitionAndReleasesItsCookie) {
    win32::DesktopScreenSaverService service(player, false);
    EXPECT_TRUE(service.Active());
    service.SetActive(false);
    service.SetActive(false);
    EXPECT_FALSE(service.Active());
    service.SetActive(true);
    service.SetActive(true);
    EXPECT_TRUE(service.Active());
    service.SetActive(false);
    service.SetActive(true);

    const auto calls = saver.Calls();
    ASSERT_EQ(Members(), (std::vector<QString>{"Inhibit", "UnInhibit", "Inhibit", "UnInhibit"}));
    EXPECT_EQ(calls[0].Interface, "org.freedesktop.ScreenSaver");
    ASSERT_EQ(calls[0].Arguments.size(), 2);
    EXPECT_EQ(calls[0].Arguments[0].toString(), "TarvexDvd");
    ASSERT_EQ(calls[1].Arguments.size(), 1);
    EXPECT_EQ(calls[1].Arguments[0].toUInt(), 41u);
    EXPECT_EQ(calls[3].Arguments[0].toUInt(), 42u);
}

TEST_F(DesktopScreenSaverTest, RefusedInhibitionIsNotReleasedLater) {
    saver.Answer = [](const QDBusMessage& call) {
        return call.createErrorReply("org.freedesktop.DBus.Error.NotSupported", "no");
    };
    win32::DesktopScreenSaverService service(player, false);
    service.SetActive(false);
    EXPECT_FALSE(service.Active()); // the request stands even though nobody holds it
    service.SetActive(true);
    EXPECT_EQ(Members(), (std::vector<QString>{"Inhibit"}));
}

TEST(SystemParametersInfo, SwitchesTheScreenSaverServiceInUse) {
    win32::FakeScreenSaverService fake;
    win32::SetScreenSaverService(&fake);
    win32::BOOL active = win32::FALSE;
    EXPECT_EQ(win32::SystemParametersInfo(win32::SPI_GETSCREENSAVEACTIVE, 0, &active, 0), win32::TRUE);
    EXPECT_EQ(active, win32::TRUE);
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
    win32::SystemParametersInfo(win32::SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    EXPECT_EQ(active, win32::FALSE);
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
    EXPECT_EQ(win32::SystemParametersInfo(0x1234, 0, nullptr, 0), win32::FALSE);
    win32::SetScreenSaverService(nullptr);
    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"Inhibit", "UnInhibit"}));
}

} // namespace
