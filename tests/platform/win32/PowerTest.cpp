#include "platform/win32/Power.h"

#include <QDBusError>

#include <gtest/gtest.h>

#include "tests/support/PrivateBus.h"
#include "tests/support/QtApp.h"

using testing_support::PrivateBus;
using testing_support::RecordingBusObject;

namespace {

class LogindPowerServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }

    void SetUp() override {
        ASSERT_TRUE(bus.Started());
        ASSERT_TRUE(logind.registerService("org.freedesktop.login1"));
        ASSERT_TRUE(logind.registerVirtualObject("/org/freedesktop/login1", &manager));
    }
    void TearDown() override { logind.unregisterObject("/org/freedesktop/login1"); }

    PrivateBus bus;
    RecordingBusObject manager;
    QDBusConnection logind = bus.Connect("logind");
    QDBusConnection player = bus.Connect("player");
};

TEST_F(LogindPowerServiceTest, AsksLogindWithoutInteraction) {
    win32::LogindPowerService service(player);
    EXPECT_TRUE(service.Suspend());
    EXPECT_TRUE(service.PowerOff());
    const auto calls = manager.Calls();
    ASSERT_EQ(calls.size(), 2u);
    const char* expected[] = {"Suspend", "PowerOff"};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].Interface, "org.freedesktop.login1.Manager");
        EXPECT_EQ(calls[i].Member, expected[i]);
        ASSERT_EQ(calls[i].Arguments.size(), 1);
        EXPECT_EQ(calls[i].Arguments[0], QVariant(false)); // interactive: never a password prompt
    }
}

TEST_F(LogindPowerServiceTest, RefusalIsReportedAsFailure) {
    manager.Answer = [](const QDBusMessage& call) {
        return call.createErrorReply("org.freedesktop.DBus.Error.AccessDenied", "not allowed");
    };
    win32::LogindPowerService service(player);
    EXPECT_FALSE(service.Suspend());
    EXPECT_FALSE(service.PowerOff());
}

TEST(LogindPowerService, NoBusIsFailureNotCrash) {
    testing_support::EnsureQApplication();
    win32::LogindPowerService service(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none"));
    EXPECT_FALSE(service.Suspend());
    QDBusConnection::disconnectFromBus("none");
}

TEST(PowerCalls, GoToTheServiceInUse) {
    win32::FakePowerService fake;
    win32::SetPowerService(&fake);
    EXPECT_EQ(win32::SetSystemPowerState(win32::TRUE, win32::FALSE), win32::TRUE);
    EXPECT_EQ(win32::SetSystemPowerState(win32::FALSE, win32::FALSE), win32::FALSE); // no hibernation
    EXPECT_EQ(win32::ExitWindowsEx(win32::EWX_SHUTDOWN | win32::EWX_POWEROFF, 0), win32::TRUE);
    EXPECT_EQ(win32::ExitWindowsEx(win32::EWX_REBOOT, 0), win32::FALSE);
    EXPECT_EQ(win32::ExitWindowsEx(win32::EWX_LOGOFF, 0), win32::FALSE);
    fake.Result = false;
    EXPECT_EQ(win32::ExitWindowsEx(win32::EWX_POWEROFF, 0), win32::FALSE);
    win32::SetPowerService(nullptr);
    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"Suspend", "PowerOff", "PowerOff"}));
}

TEST(PowerCalls, TestsGetTheFakeByDefault) {
    // Every test executable runs with QUOREL_POWER=fake: nothing here can power off the machine.
    EXPECT_NE(dynamic_cast<win32::FakePowerService*>(&win32::GetPowerService()), nullptr);
}

} // namespace
