#include "platform/forms/Controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "platform/forms/WinControls.h"
#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

using Log = std::vector<std::string>;

// A control that writes every event it gets into a shared log, named after the control.
class Probe : public TControl {
public:
    Probe(QWidget* Parent, const std::string& ControlName, Log& L) : TControl(Parent), log(L) {
        SetName(ControlName);
        OnClick = [this](TObject*) { log.push_back(Name() + " click"); };
        OnDblClick = [this](TObject*) { log.push_back(Name() + " dblclick"); };
        OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            log.push_back(Name() + " down " + ButtonName(b) + ((s & ssDouble) ? " double" : ""));
        };
        OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            log.push_back(Name() + " up " + ButtonName(b));
        };
    }
    static std::string ButtonName(TMouseButton b) { return b == mbLeft ? "left" : b == mbRight ? "right" : "middle"; }

protected:
    void MouseEntered() override { log.push_back(Name() + " enter"); }
    void MouseLeft() override { log.push_back(Name() + " leave"); }
    void ChildMouseEnter(TControl* Child) override {
        log.push_back(Name() + " heard enter " + Child->Name());
        TControl::ChildMouseEnter(Child);
    }
    void ChildMouseLeave(TControl* Child) override {
        log.push_back(Name() + " heard leave " + Child->Name());
        TControl::ChildMouseLeave(Child);
    }

private:
    Log& log;
};

// A form with two buttons a (10..59, 10..59) and b (100..149, 10..59) on a panel.
class MouseRulesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBorderStyle(bsNone);
        form.SetBounds(0, 0, 300, 120);
        panel = new Probe(&form, "panel", log);
        panel->SetBounds(0, 0, 300, 120);
        a = new Probe(panel, "a", log);
        a->SetBounds(10, 10, 50, 50);
        b = new Probe(panel, "b", log);
        b->SetBounds(100, 10, 50, 50);
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        // Qt drops a move to where the pointer already is; the first of two moves enters the window for sure.
        Move({290, 5});
        Move(outside);
        log.clear();
    }
    QWindow* Window() { return form.windowHandle(); }
    void Move(QPoint p) { QTest::mouseMove(Window(), p); }
    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton) { QTest::mousePress(Window(), button, {}, p); }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(Window(), button, {}, p);
    }

    Log log;
    TForm form;
    Probe* panel = nullptr;
    Probe* a = nullptr;
    Probe* b = nullptr;
    const QPoint overA{20, 20};
    const QPoint overB{120, 20};
    const QPoint outside{250, 100};
};

TEST_F(MouseRulesTest, ClickComesBeforeTheMouseUp) {
    Move(overA);
    log.clear();
    Press(overA);
    Release(overA);
    EXPECT_EQ(log, (Log{"a down left", "a click", "a up left"}));
}

TEST_F(MouseRulesTest, OnlyTheLeftButtonReleasedOverTheControlClicks) {
    Move(overA);
    Press(overA, Qt::RightButton);
    Release(overA, Qt::RightButton);
    Press(overA, Qt::MiddleButton);
    Release(overA, Qt::MiddleButton);
    Press(overA);
    Move(outside);
    Release(outside);
    log.erase(std::remove_if(log.begin(), log.end(),
                             [](const std::string& s) { return s.find("enter") != std::string::npos ||
                                                               s.find("leave") != std::string::npos; }),
              log.end());
    EXPECT_EQ(log, (Log{"a down right", "a up right", "a down middle", "a up middle", "a down left", "a up left"}));
}

TEST_F(MouseRulesTest, DoubleClickComesAfterTheFirstClick) {
    Move(overA);
    log.clear();
    QTest::mouseDClick(Window(), Qt::LeftButton, {}, overA);
    EXPECT_EQ(log, (Log{"a down left", "a click", "a up left", "a dblclick", "a down left double", "a up left"}));
}

TEST_F(MouseRulesTest, NeighboursGetLeaveThenEnterWithTheParentToldFirst) {
    Move(overA);
    Move(overB);
    EXPECT_EQ(log, (Log{"panel heard enter a", "a enter", "panel heard leave a", "a leave", "panel heard enter b",
                        "b enter"}));
}

TEST_F(MouseRulesTest, DisabledControlStillGetsEnterAndLeave) {
    b->SetEnabled(false);
    Move(overB);
    Press(overB);
    Release(overB);
    Move(outside);
    // The press goes to the panel under the disabled control, as with the class library's graphic controls.
    EXPECT_EQ(log, (Log{"panel heard enter b", "b enter", "panel down left", "panel click", "panel up left",
                        "panel heard leave b", "b leave"}));
}

TEST_F(MouseRulesTest, WhileHeldOnlyThePressedControlHearsLeaveAndEnter) {
    Move(overA);
    Press(overA);
    Move(overB); // passes over b: b hears nothing
    Move(outside);
    Move(overA);
    Release(overA);
    EXPECT_EQ(log, (Log{"panel heard enter a", "a enter", "a down left", "panel heard leave a", "a leave",
                        "panel heard enter a", "a enter", "a click", "a up left"}));
}

TEST_F(MouseRulesTest, ReleasedOverANeighbourTheNeighbourHearsEnterOnce) {
    Move(overA);
    Press(overA);
    Move(overB);
    Release(overB);
    EXPECT_EQ(log, (Log{"panel heard enter a", "a enter", "a down left", "panel heard leave a", "a leave",
                        "a up left", "panel heard enter b", "b enter"}));
}

TEST_F(MouseRulesTest, RightReleasePopsUpTheNearestParentsMenu) {
    TPopupMenu menu(&form);
    int popups = 0;
    menu.OnPopup = [&](TObject*) { ++popups; };
    panel->SetPopupMenu(&menu);
    Move(overA);
    Press(overA, Qt::RightButton);
    EXPECT_EQ(popups, 0); // not on the press
    Release(overA, Qt::RightButton);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu.PopupComponent, panel);
    menu.Menu()->hide();
}

// A press handler that captures the mouse, for its own control or for the control that holds it: the release
// reaches the capturing control and ends the capture, so that the next click goes where it is made.
TEST_F(MouseRulesTest, ReleaseEndsACaptureThatAPressHandlerTook) {
    for (TControl* captured : std::initializer_list<TControl*>{a, panel}) {
        a->OnMouseDown = [captured](TObject*, TMouseButton, TShiftState, int, int) {
            win32::SetCapture(captured->Handle());
        };
        Move(overA);
        Press(overA);
        EXPECT_EQ(win32::GetCapture(), captured->Handle());
        Release(overA);
        EXPECT_EQ(win32::GetCapture(), nullptr) << captured->Name();
        log.clear();
        Move(overB);
        Press(overB);
        Release(overB);
        EXPECT_NE(std::find(log.begin(), log.end(), "b click"), log.end()) << captured->Name();
        Move(outside);
    }
}

TEST_F(MouseRulesTest, HandlerMayFreeItsControl) {
    a->OnClick = [this](TObject*) { delete a; };
    Move(overA);
    Press(overA);
    Release(overA);
    EXPECT_EQ(panel->findChild<Probe*>("a"), nullptr);
}

TEST_F(MouseRulesTest, ExceptionInAHandlerGoesToTheApplicationAndThePressGoesOn) {
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    a->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw EClassLibraryError("boom"); };
    Move(overA);
    Press(overA);
    Release(overA);
    Application().OnException = nullptr;
    EXPECT_EQ(errors, (std::vector<std::string>{"boom"}));
    EXPECT_NE(std::find(log.begin(), log.end(), "a click"), log.end());
}

class AlignTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBorderStyle(bsNone);
        form.SetBounds(0, 0, 688, 442);
        // As a form builds itself: the design positions decide the order among panels of one alignment.
        form.DisableAlign();
        top = Panel(alTop, {0, 0, 688, 51});
        left = Panel(alLeft, {0, 51, 6, 295});
        right = Panel(alRight, {682, 51, 6, 295});
        bottom = Panel(alBottom, {0, 346, 688, 19});
        ctrl = Panel(alBottom, {0, 365, 688, 77});
        video = Panel(alClient, {6, 51, 676, 295});
        form.EnableAlign();
    }
    TPanel* Panel(TAlign align, QRect r) {
        auto* p = new TPanel(&form);
        p->SetBounds(r.x(), r.y(), r.width(), r.height());
        p->SetAlign(align);
        return p;
    }
    TForm form;
    TPanel *top, *left, *right, *bottom, *ctrl, *video;
};

TEST_F(AlignTest, PanelsShareTheClientArea) {
    EXPECT_EQ(top->geometry(), QRect(0, 0, 688, 51));
    EXPECT_EQ(ctrl->geometry(), QRect(0, 365, 688, 77));
    EXPECT_EQ(bottom->geometry(), QRect(0, 346, 688, 19));
    EXPECT_EQ(left->geometry(), QRect(0, 51, 6, 295));
    EXPECT_EQ(right->geometry(), QRect(682, 51, 6, 295));
    EXPECT_EQ(video->geometry(), QRect(6, 51, 676, 295));
    form.SetBounds(0, 0, 800, 600);
    EXPECT_EQ(ctrl->geometry(), QRect(0, 523, 800, 77));
    EXPECT_EQ(video->geometry(), QRect(6, 51, 788, 453));
}

TEST_F(AlignTest, HiddenPanelsGiveTheirRoomAndComeBackInPlace) {
    for (TPanel* p : {top, bottom, left, right, ctrl})
        p->Hide();
    EXPECT_EQ(video->geometry(), QRect(0, 0, 688, 442));
    form.SetBounds(0, 0, 1024, 768); // as when maximized for full screen
    for (TPanel* p : {top, left, right, ctrl, bottom})
        p->Show();
    EXPECT_EQ(ctrl->geometry(), QRect(0, 691, 1024, 77));
    EXPECT_EQ(bottom->geometry(), QRect(0, 672, 1024, 19)); // directly above the control panel
    EXPECT_EQ(video->geometry(), QRect(6, 51, 1012, 621));
}

TEST_F(AlignTest, ChangingTheHeightOfAnAlignedPanelReflows) {
    top->SetHeight(60);
    EXPECT_EQ(video->geometry(), QRect(6, 60, 676, 286));
}

} // namespace

// A disabled control looks disabled whatever text and background colours it was given (a dialog gives every
// control its font with a colour): its disabled colour group keeps the style's greyed colours, and while
// enabled it shows the colours given.
TEST(DisabledLook, ColoursGivenLeaveTheDisabledGroupToTheStyle) {
    testing_support::EnsureQApplication();
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    form.Font().SetColor(clBlack);
    auto* button = new TButton(&form);
    button->SetBounds(10, 10, 90, 23);
    button->SetCaption("Move up");
    auto* box = new TCheckBox(&form);
    box->SetBounds(10, 40, 150, 17);
    box->SetCaption("Save as default");
    auto* edit = new TEdit(&form);
    edit->SetBounds(10, 70, 150, 21);
    edit->SetText("/home/user/Temp");
    edit->SetColor(clWhite);
    edit->Font().SetColor(clBlack);
    form.Show();
    const QPalette defaults = QApplication::palette();
    QWidget* push = button->findChild<QPushButton*>();
    QWidget* check = box->findChild<QCheckBox*>();
    QWidget* line = edit->findChild<QLineEdit*>();
    const std::pair<QWidget*, QPalette::ColorRole> looks[] = {{push, QPalette::ButtonText},
                                                              {check, QPalette::WindowText},
                                                              {line, QPalette::Text},
                                                              {line, QPalette::Base}};
    for (const auto& [widget, role] : looks) {
        SCOPED_TRACE(std::string(widget->metaObject()->className()) + " role " + std::to_string(role));
        EXPECT_EQ(widget->palette().color(QPalette::Active, role),
                  role == QPalette::Base ? QColor(Qt::white) : QColor(Qt::black));
        EXPECT_EQ(widget->palette().color(QPalette::Disabled, role),
                  defaults.color(QPalette::Disabled, role));
    }
}

// A label draws its own text: disabled, in the palette's disabled text colour instead of its font's.
TEST(DisabledLook, ADisabledLabelDrawsItsTextGreyed) {
    testing_support::EnsureQApplication();
    TForm form;
    form.SetBounds(0, 0, 200, 60);
    auto* label = new TLabel(&form);
    label->SetLeft(10);
    label->SetTop(10);
    label->Font().SetColor(clBlack);
    label->SetCaption("Save path");
    form.Show();
    auto darkest = [&] {
        const QImage picture = label->grab().toImage();
        int gray = 255;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                gray = std::min(gray, qGray(picture.pixel(x, y)));
        return gray;
    };
    EXPECT_LT(darkest(), 40);
    label->SetEnabled(false);
    EXPECT_GT(darkest(), 90);
}

// The text after two tabs starts at one place on every line, whether the text before them is short ("Title")
// or long ("Comment"), and the label is wide enough for all of it.
TEST(LabelTabs, TextAfterTabsLinesUp) {
    testing_support::EnsureQApplication();
    TForm form;
    form.SetBounds(0, 0, 400, 200);
    auto* label = new TLabel(&form);
    label->SetColor(clBlack);
    label->Font().SetColor(clWhite);
    label->SetCaption("Title\t\tSong\r\nArtist\t\tBand\r\nComment\t\tNice one");
    form.Show();
    const QImage picture = label->grab().toImage();
    // Where each line's second column starts: the first lit column after a gap of 20 unlit ones.
    std::vector<int> starts;
    for (int line = 0; line < 3; ++line) {
        std::vector<bool> lit(static_cast<std::size_t>(picture.width()), false);
        for (int y = line * label->LineHeight(); y < (line + 1) * label->LineHeight(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) > 128)
                    lit[static_cast<std::size_t>(x)] = true;
        int gap = 0, start = -1;
        bool seenText = false;
        for (int x = 0; x < picture.width() && start < 0; ++x) {
            if (lit[static_cast<std::size_t>(x)]) {
                if (seenText && gap >= 20)
                    start = x;
                seenText = true;
                gap = 0;
            } else {
                ++gap;
            }
        }
        starts.push_back(start);
        EXPECT_FALSE(lit.back()) << "line " << line << " reaches the label's edge";
    }
    EXPECT_GT(starts[0], 0);
    EXPECT_EQ(starts[1], starts[0]);
    EXPECT_EQ(starts[2], starts[0]);
}
