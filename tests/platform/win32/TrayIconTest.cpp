#include "platform/win32/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"

using namespace win32;

namespace {

class Receiver : public QWidget {
public:
    std::vector<std::pair<WPARAM, LPARAM>> received;

protected:
    bool event(QEvent* e) override {
        if (e->type() != MessageEvent::EventType)
            return QWidget::event(e);
        auto* m = static_cast<MessageEvent*>(e);
        if (m->Msg == WM_USER + 1)
            received.emplace_back(m->WParam, m->LParam);
        m->accept();
        return true;
    }
};

class TrayIconTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        data.hWnd = HandleOf(&window);
        data.uID = 1;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = WM_USER + 1;
        data.hIcon = picture;
        data.szTip = "TarvexDVD";
        data.Menu = &menu;
    }
    Receiver window;
    QMenu menu;
    NOTIFYICONDATA data;
};

TEST_F(TrayIconTest, NotifyIconAddsAndDeletesThroughTheServiceInUse) {
    FakeTrayIconService fake;
    SetTrayIconService(&fake);
    EXPECT_EQ(Shell_NotifyIcon(NIM_ADD, &data), TRUE);
    ASSERT_EQ(fake.Icons.count(1), 1u);
    EXPECT_EQ(fake.Icons[1].szTip, "TarvexDVD");
    EXPECT_EQ(fake.Icons[1].Menu, &menu);
    EXPECT_TRUE(fake.Click(1, WM_LBUTTONDOWN));
    EXPECT_EQ(Shell_NotifyIcon(NIM_DELETE, &data), TRUE);
    EXPECT_EQ(Shell_NotifyIcon(NIM_DELETE, &data), FALSE);
    EXPECT_FALSE(fake.Click(1, WM_LBUTTONDOWN));
    EXPECT_EQ(Shell_NotifyIcon(NIM_ADD, nullptr), FALSE);
    SetTrayIconService(nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.received, (std::vector<std::pair<WPARAM, LPARAM>>{{1, WM_LBUTTONDOWN}}));
    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"Add 1 TarvexDVD", "Delete 1", "Delete 1"}));
}

TEST_F(TrayIconTest, NoIconWithoutANotificationAreaOrWithoutAPicture) {
    FakeTrayIconService fake;
    fake.HasArea = false;
    EXPECT_FALSE(fake.Add(data));
    fake.HasArea = true;
    NOTIFYICONDATA noPicture = data;
    noPicture.hIcon = QImage();
    EXPECT_FALSE(fake.Add(noPicture));
    EXPECT_TRUE(fake.Icons.empty());
    // The desktop's service likewise: an icon only where the desktop has a notification area.
    DesktopTrayIconService desktop;
    EXPECT_FALSE(desktop.Add(noPicture));
    EXPECT_EQ(desktop.Add(data), desktop.Available());
    EXPECT_EQ(desktop.Delete(data.hWnd, 1), desktop.Available());
    EXPECT_FALSE(desktop.Delete(data.hWnd, 1));
}

} // namespace
