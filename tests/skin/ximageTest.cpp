#include "skin/ximage.h"

#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

using Log = std::vector<std::string>;

// A container that logs what its children report, as the skinned windows' panels hear it.
class LoggingPanel : public TPanel {
public:
    LoggingPanel(QWidget* Parent, Log& L) : TPanel(Parent), log(L) {}

protected:
    void ChildMouseEnter(TControl* Child) override { log.push_back("panel: enter " + Child->Name()); }
    void ChildMouseLeave(TControl* Child) override { log.push_back("panel: leave " + Child->Name()); }

private:
    Log& log;
};

class XImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBorderStyle(bsNone);
        form.SetBounds(0, 0, 200, 60);
        panel = new LoggingPanel(&form, log);
        panel->SetBounds(0, 0, 200, 60);
        for (auto [button, name, left] : {std::tuple{&stop, "Stop_XI", 10}, std::tuple{&next, "Next_XI", 40}}) {
            *button = new tximage(panel);
            (*button)->SetName(name);
            (*button)->SetBounds(left, 10, 30, 30);
            (*button)->OnMouseEnter = [this, n = std::string(name)](TObject*) { log.push_back(n + ": enter"); };
            (*button)->OnMouseLeave = [this, n = std::string(name)](TObject*) { log.push_back(n + ": leave"); };
        }
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::mouseMove(form.windowHandle(), {190, 5});
        QTest::mouseMove(form.windowHandle(), {150, 50});
        log.clear();
    }
    void Move(int x) { QTest::mouseMove(form.windowHandle(), {x, 25}); }

    Log log;
    TForm form;
    LoggingPanel* panel = nullptr;
    tximage* stop = nullptr;
    tximage* next = nullptr;
};

TEST_F(XImageTest, StraightOntoTheNeighbourGivesOneLeaveThenOneEnterParentFirst) {
    Move(20);
    Move(50);
    EXPECT_EQ(log, (Log{"panel: enter Stop_XI", "Stop_XI: enter", "panel: leave Stop_XI", "Stop_XI: leave",
                        "panel: enter Next_XI", "Next_XI: enter"}));
}

TEST_F(XImageTest, WithoutHandlersTheParentIsStillTold) {
    stop->OnMouseEnter = nullptr;
    stop->OnMouseLeave = nullptr;
    Move(20);
    Move(150);
    EXPECT_EQ(log, (Log{"panel: enter Stop_XI", "panel: leave Stop_XI"}));
}

TEST_F(XImageTest, DisabledImageStillGetsItsEvents) {
    stop->SetEnabled(false);
    Move(20);
    Move(150);
    EXPECT_EQ(log, (Log{"panel: enter Stop_XI", "Stop_XI: enter", "panel: leave Stop_XI", "Stop_XI: leave"}));
}

TEST_F(XImageTest, HeldButtonHearsLeaveAndEnterWhileOthersHearNothing) {
    Move(20);
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, {20, 25});
    Move(50);
    Move(20);
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, {20, 25});
    EXPECT_EQ(log, (Log{"panel: enter Stop_XI", "Stop_XI: enter", "panel: leave Stop_XI", "Stop_XI: leave",
                        "panel: enter Stop_XI", "Stop_XI: enter"}));
}

class DerivedImage : public tximage {
public:
    using tximage::tximage;
};

TEST(FindImageControl, FirstChildOfExactlyTheImageClass) {
    testing_support::EnsureQApplication();
    TPanel panel;
    new TImage(&panel);
    new DerivedImage(&panel);
    EXPECT_EQ(FindImageControl(&panel), nullptr); // a subclass does not count
    auto* first = new tximage(&panel);
    new tximage(&panel);
    EXPECT_EQ(FindImageControl(&panel), first);
    EXPECT_EQ(FindImageControl(nullptr), nullptr);
}

} // namespace
