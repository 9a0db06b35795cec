#include "dialoglib/ShutdownDelayForm.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/win32/MessageBox.h"
#include "platform/win32/Power.h"
#include "tests/support/QtApp.h"
#include "tests/support/WhileModal.h"

using namespace forms;
using testing_support::WhileModal;

namespace {

// The dialog as the export sets it up, powering off through a recording fake.
class ShutdownDelayFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        win32::SetPowerService(&power);
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& r) {
            boxes.push_back(r);
            return win32::IDOK;
        });
        owner.Show();
        Application().SetHandle(owner.Handle());
        SetUpForm(form, "studio", 1);
    }
    void TearDown() override {
        win32::SetPowerService(nullptr);
        win32::SetMessageBoxHandler(nullptr);
        Application().SetHandle(nullptr);
    }
    // As the export does.
    static void SetUpForm(TShutdownDelay_Form& Form, const std::string& ComputerName, int Language) {
        Form.CountDown = ShutdownCountDownStart;
        Form.ComputerName = ComputerName;
        Form.SetLanguage(Language);
        Form.LoadTexts();
        Form.ApplyTexts();
    }
    static void Press(TButton* Button) {
        QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
    }

    win32::FakePowerService power;
    std::vector<win32::MessageBoxRequest> boxes;
    TForm owner;
    TShutdownDelay_Form form{&owner};
};

TEST_F(ShutdownDelayFormTest, CountsDownOnceASecondAndPowersOffAtTheTickAfterZero) {
    EXPECT_EQ(form.Delay_Timer->Interval(), 1000u);
    EXPECT_TRUE(form.Delay_Timer->Running()) << "counting from creation";
    EXPECT_EQ(form.Caption(), "Shutdown...");
    EXPECT_EQ(form.ShowDelay_L->Caption(), "Computer studio will shutdown \n\nafter 30 second.");
    EXPECT_EQ(form.ShowDelay_L->Font().Name(), "MS Sans Serif");

    std::vector<std::string> shown;
    int ticks = 0;
    WhileModal steps([&](QWidget*) {
        form.Delay_Timer->SetInterval(10);
        const TNotifyEvent tick = form.Delay_Timer->OnTimer();
        form.Delay_Timer->SetOnTimer([&, tick](TObject* Sender) {
            ++ticks;
            EXPECT_TRUE(power.Calls.empty()) << "no power-off before tick 31";
            tick(Sender);
            shown.push_back(form.ShowDelay_L->Caption());
        });
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(ticks, 31);
    ASSERT_EQ(shown.size(), 31u);
    EXPECT_EQ(shown[0], "Computer studio will shutdown \n\nafter 29 second.");
    EXPECT_EQ(shown[29], "Computer studio will shutdown \n\nafter 0 second.");
    EXPECT_EQ(power.Calls, std::vector<std::string>{"PowerOff"});
    EXPECT_FALSE(form.Delay_Timer->Running());
    EXPECT_TRUE(boxes.empty());
}

// Where the text of the label needs to be drawn, wrapped at its width, in the label's own coordinates.
QRect TextRect(const TLabel& Label) {
    return QFontMetrics(Label.font())
        .boundingRect(QRect(0, 0, Label.Width(), 100000), Qt::TextWordWrap,
                      QString::fromStdString(Label.Caption()));
}

// The full host name is shown, however long: the label, its panel and the dialog grow to hold the wrapped
// text, and a short name keeps the designed sizes.
TEST_F(ShutdownDelayFormTest, TheWholeTextShowsWhateverTheLengthOfTheName) {
    std::string oneWord;
    for (int i = 0; i < 64; ++i)
        oneWord += static_cast<char>('a' + i % 26);
    const std::string dotted = "media-server-with-a-long-name.north-wing.building-7.example.org";
    for (const std::string& name : {std::string("studio"), std::string(30, 'w'), oneWord, dotted}) {
        for (int language : {1, 2}) {
            TShutdownDelay_Form shown(&owner);
            SetUpForm(shown, name, language);
            const std::string where = name + " in language " + std::to_string(language);
            const TLabel& label = *shown.ShowDelay_L;
            const auto expectAllShown = [&](const std::string& When) {
                const QRect text = TextRect(label);
                EXPECT_LE(text.width(), label.Width()) << where << When;
                EXPECT_LE(text.height(), label.Height()) << where << When;
                EXPECT_TRUE(shown.Panel1->rect().contains(label.geometry())) << where << When;
                EXPECT_LE(shown.Panel1->Height(), shown.OK_Btn->Top()) << where << When;
                for (const TControl* control :
                     {static_cast<const TControl*>(shown.Panel1), static_cast<const TControl*>(shown.OK_Btn),
                      static_cast<const TControl*>(shown.Cancel_Btn)})
                    EXPECT_TRUE(shown.rect().contains(control->geometry()))
                        << where << When << ": " << control->Name();
            };
            expectAllShown("");
            shown.Delay_TimerTimer(nullptr);
            expectAllShown(", a second later");
            if (name == "studio") {
                EXPECT_EQ(shown.size(), QSize(393, 105)) << where;
                EXPECT_EQ(shown.Panel1->geometry(), QRect(0, 0, 393, 62)) << where;
                EXPECT_EQ(label.geometry().topLeft(), QPoint(60, 12));
                EXPECT_EQ(label.Width(), 320);
                EXPECT_EQ(shown.OK_Btn->geometry(), QRect(224, 72, 75, 25)) << where;
                EXPECT_EQ(shown.Cancel_Btn->geometry(), QRect(310, 72, 75, 25)) << where;
            }
        }
    }
}

TEST_F(ShutdownDelayFormTest, OkPowersOffAtOnce) {
    WhileModal steps([&](QWidget*) { Press(form.OK_Btn); });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(power.Calls, std::vector<std::string>{"PowerOff"});
    EXPECT_FALSE(form.Delay_Timer->Running());
}

TEST_F(ShutdownDelayFormTest, CancelAndTheCloseBoxPowerNothingOff) {
    WhileModal cancel([&](QWidget*) { Press(form.Cancel_Btn); });
    form.ShowModal();
    EXPECT_TRUE(cancel.Ran());
    EXPECT_FALSE(form.Delay_Timer->Running()) << "stopped for good";

    TShutdownDelay_Form closed(&owner);
    closed.CountDown = 0;
    WhileModal closeBox([&](QWidget*) { closed.Close(); });
    closed.ShowModal();
    EXPECT_TRUE(closeBox.Ran());
    EXPECT_TRUE(power.Calls.empty());
}

// The report is in the dialog's language; a code without texts still gets a message that says something.
TEST_F(ShutdownDelayFormTest, ARefusedPowerOffIsReportedInTheDialogsLanguage) {
    struct Case {
        int language;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {1, "The computer could not be shut down: the system refused.", "Information"},
        {2, "无法关闭计算机：系统拒绝了关机请求。", "信息"},
        {3, "The computer could not be shut down: the system refused.", "Information"},
    };
    power.Result = false;
    for (const Case& c : cases) {
        boxes.clear();
        TShutdownDelay_Form refused(&owner);
        SetUpForm(refused, "studio", c.language);
        WhileModal steps([&](QWidget*) { Press(refused.OK_Btn); });
        refused.ShowModal();
        EXPECT_TRUE(steps.Ran());
        ASSERT_EQ(boxes.size(), 1u) << c.language;
        EXPECT_EQ(boxes[0].Text, c.text) << c.language;
        EXPECT_EQ(boxes[0].Caption, c.caption) << c.language;
        EXPECT_EQ(boxes[0].Owner, owner.Handle());
    }
    EXPECT_EQ(power.Calls, std::vector<std::string>(3, "PowerOff"));
}

TEST_F(ShutdownDelayFormTest, OtherLanguagesShowNoTextsButStillCount) {
    TShutdownDelay_Form blank(&owner);
    blank.CountDown = 1;
    blank.ComputerName = "studio";
    blank.SetLanguage(3);
    blank.LoadTexts();
    blank.ApplyTexts();
    EXPECT_EQ(blank.Caption() + blank.ShowDelay_L->Caption() + blank.OK_Btn->Caption() +
                  blank.Cancel_Btn->Caption(),
              "");
    blank.Delay_TimerTimer(nullptr);
    EXPECT_EQ(blank.CountDown, 0);
    EXPECT_TRUE(power.Calls.empty());
    blank.Delay_TimerTimer(nullptr);
    EXPECT_EQ(power.Calls, std::vector<std::string>{"PowerOff"});
}

TEST(ShutDownComputer, ByOperatingSystemFamily) {
    testing_support::EnsureQApplication();
    win32::FakePowerService power;
    win32::SetPowerService(&power);
    ShutDownComputer("Windows NT/2000/XP", 1);
    ShutDownComputer("Windows 95/98/98SE/Me", 1);
    EXPECT_EQ(power.Calls.size(), 2u);
    ShutDownComputer("", 1);
    ShutDownComputer("Linux", 1);
    EXPECT_EQ(power.Calls.size(), 2u) << "an unknown family powers nothing off";
    ShutDownComputer(1);
    EXPECT_EQ(power.Calls.size(), 3u) << "this platform is of the NT family";
    win32::SetPowerService(nullptr);
}

} // namespace
