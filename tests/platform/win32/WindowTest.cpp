#include "platform/win32/Window.h"

#include <memory>

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"

namespace {

class Receiver : public QWidget {
public:
    std::vector<win32::UINT> received;

protected:
    bool event(QEvent* e) override {
        if (e->type() != win32::MessageEvent::EventType)
            return QWidget::event(e);
        auto* m = static_cast<win32::MessageEvent*>(e);
        received.push_back(m->Msg);
        m->Result = static_cast<win32::LRESULT>(m->WParam + static_cast<win32::WPARAM>(m->LParam));
        return true;
    }
};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
};

TEST_F(WindowTest, SendDeliversAtOnceAndReturnsTheResult) {
    Receiver r;
    EXPECT_EQ(win32::SendMessage(win32::HandleOf(&r), win32::WM_USER + 1000, 2, 3), 5);
    EXPECT_EQ(r.received, std::vector<win32::UINT>{win32::WM_USER + 1000});
}

TEST_F(WindowTest, PostArrivesOnlyWhenEventsAreProcessed) {
    Receiver r;
    EXPECT_EQ(win32::PostMessage(win32::HandleOf(&r), 2030, 0, 0), win32::TRUE);
    EXPECT_TRUE(r.received.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.received, std::vector<win32::UINT>{2030});
}

TEST_F(WindowTest, StaleAndNullHandlesNameNoWindow) {
    auto r = std::make_unique<Receiver>();
    win32::HWND handle = win32::HandleOf(r.get());
    EXPECT_TRUE(win32::IsWindow(handle));
    r.reset();
    EXPECT_FALSE(win32::IsWindow(handle));
    EXPECT_EQ(win32::SendMessage(handle, 1, 0, 0), 0);
    EXPECT_EQ(win32::PostMessage(handle, 1, 0, 0), win32::FALSE);
    EXPECT_EQ(win32::WidgetOf(nullptr), nullptr);
}

TEST_F(WindowTest, PlainWidgetIgnoresMessages) {
    QWidget w;
    EXPECT_EQ(win32::SendMessage(win32::HandleOf(&w), 2030, 7, 7), 0);
}

} // namespace
