#include "core/WindowUtils.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Power.h"
#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"

namespace {

class WindowUtilsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.setGeometry(50, 50, 688, 442);
        window.show();
    }
    win32::HWND Wnd() const { return win32::HandleOf(&window); }
    QWidget window;
};

TEST_F(WindowUtilsTest, ToggleMaximizeRestoresAMaximizedWindowAndMaximizesAnyOther) {
    EXPECT_EQ(GetShowCmd(Wnd()), 1);
    ToggleMaximize(Wnd());
    EXPECT_EQ(GetShowCmd(Wnd()), 3);
    ToggleMaximize(Wnd());
    EXPECT_EQ(GetShowCmd(Wnd()), 1);
    EXPECT_EQ(window.geometry(), QRect(50, 50, 688, 442));
    win32::ShowWindow(Wnd(), win32::SW_MINIMIZE);
    EXPECT_EQ(GetShowCmd(Wnd()), 2);
    ToggleMaximize(Wnd());
    EXPECT_EQ(GetShowCmd(Wnd()), 3);
}

TEST_F(WindowUtilsTest, UiFontIsTheIconFontAtNineAndFreesOnce) {
    ResetPlaybackState();
    CreateUiFont();
    ASSERT_NE(State.UiFont, nullptr);
    EXPECT_EQ(State.UiFont->Name(), forms::Screen().IconFont().Name());
    EXPECT_EQ(State.UiFont->Size(), 9);
    FreeUiFont();
    EXPECT_EQ(State.UiFont, nullptr);
    FreeUiFont(); // nothing the second time
    EXPECT_EQ(State.UiFont, nullptr);
}

TEST_F(WindowUtilsTest, DragWindowAsksTheWindowManagerWithoutChangingTheWindow) {
    DragWindow(Wnd()); // no window manager under the offscreen platform: nothing moves, nothing breaks
    DragWindow(nullptr);
    EXPECT_EQ(window.geometry(), QRect(50, 50, 688, 442));
    InvalidateClient(Wnd());
}

TEST(SuspendSystem, GoesToThePowerService) {
    win32::FakePowerService power;
    win32::SetPowerService(&power);
    EXPECT_TRUE(SuspendSystem());
    power.Result = false;
    EXPECT_FALSE(SuspendSystem());
    win32::SetPowerService(nullptr);
    EXPECT_EQ(power.Calls, (std::vector<std::string>{"Suspend", "Suspend"}));
}

// Receives the URLs that the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST(OpenHomePage, OpensTheMakersPageInTheBrowser) {
    testing_support::EnsureQApplication();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    OpenHomePage();
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl(HomePageAddress));
}

} // namespace

#include "WindowUtilsTest.moc"
