// The small input controls of the class library: radio buttons on their own, up-down arrows, the standard
// track bar, the colour box and the page control; each where its behaviour differs from Qt's widget.

#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "platform/forms/ColorBox.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/PageControl.h"
#include "platform/forms/RadioButton.h"
#include "platform/forms/StringList.h"
#include "platform/forms/TrackBar.h"
#include "platform/forms/UpDown.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class InputControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 400, 300);
        form.Show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    TForm form;
};

// Three radio buttons on one panel and one on another: checking by code or by a click runs the click of the
// button that became checked, after its siblings were unchecked; the other panel's button is of another
// group.
TEST_F(InputControlsTest, RadioButtonsOfOneParentAreOneGroup) {
    auto* panel = new TPanel(&form);
    panel->SetBounds(0, 0, 200, 200);
    std::vector<TRadioButton*> radios;
    std::vector<std::string> clicks;
    for (int i = 0; i < 3; ++i) {
        auto* radio = new TRadioButton(panel);
        radio->SetBounds(10, 10 + 25 * i, 150, 20);
        radio->SetCaption("Radio " + std::to_string(i));
        radio->OnClick = [&, radio](TObject* Sender) {
            EXPECT_EQ(Sender, radio);
            std::string checked;
            for (TRadioButton* r : radios)
                checked += r->Checked() ? '1' : '0';
            clicks.push_back(radio->Caption() + " " + checked);
        };
        radios.push_back(radio);
    }
    auto* elsewhere = new TRadioButton(&form);
    elsewhere->SetBounds(210, 10, 150, 20);
    elsewhere->SetChecked(true);

    radios[0]->SetChecked(true);
    radios[0]->SetChecked(true);
    QTest::mouseClick(radios[2]->Button(), Qt::LeftButton, {}, QPoint(8, 10));
    QTest::mouseClick(radios[2]->Button(), Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_TRUE(radios[2]->Checked()) << "a click on the checked button leaves it checked";
    radios[2]->SetChecked(false);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Radio 0 100", "Radio 2 001"}));
    EXPECT_FALSE(radios[2]->Checked());
    EXPECT_TRUE(elsewhere->Checked());
    radios[1]->SetEnabled(false);
    radios[1]->SetChecked(true);
    EXPECT_EQ(clicks.back(), "Radio 1 010") << "code checks a disabled button too";
}

// The arrows sit against the edit (and show there, made in a window already on the screen), take a number
// typed into it, step within Min..Max and tell which arrow; a position set by code runs nothing.
TEST_F(InputControlsTest, UpDownStepsTheNumberOfItsEdit) {
    auto* edit = new TEdit(&form);
    edit->SetBounds(120, 50, 40, 22);
    auto* upDown = new TUpDown(&form);
    upDown->SetAssociate(edit);
    upDown->SetMin(0);
    upDown->SetMax(1000);
    std::vector<std::pair<TUDBtnType, int>> clicks;
    upDown->OnClick = [&](TObject*, TUDBtnType Button) { clicks.emplace_back(Button, upDown->Position()); };
    upDown->SetPosition(5);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(edit->Text(), "5");
    EXPECT_EQ(upDown->Left(), edit->Left() + edit->Width());
    EXPECT_EQ(upDown->Left() + upDown->Width(), 160) << "within the edit's old width";
    EXPECT_EQ(upDown->Top(), 50);
    EXPECT_TRUE(upDown->isVisible());
    EXPECT_TRUE(upDown->UpArrow()->isVisible());
    EXPECT_TRUE(upDown->DownArrow()->isVisible());

    QTest::mouseClick(upDown->UpArrow(), Qt::LeftButton);
    EXPECT_EQ(edit->Text(), "6");
    edit->SetText("30");
    QTest::mouseClick(upDown->DownArrow(), Qt::LeftButton);
    EXPECT_EQ(upDown->Position(), 29) << "the typed number is taken first";
    edit->SetText("abc");
    upDown->ClickArrow(btNext);
    EXPECT_EQ(upDown->Position(), 30) << "text that is no number is ignored";
    edit->SetText("1000");
    upDown->ClickArrow(btNext);
    EXPECT_EQ(upDown->Position(), 1000);
    edit->SetText("5000");
    upDown->ClickArrow(btPrev);
    EXPECT_EQ(upDown->Position(), 999) << "a number outside the range is ignored";
    EXPECT_EQ(clicks, (std::vector<std::pair<TUDBtnType, int>>{
                          {btNext, 6}, {btPrev, 29}, {btNext, 30}, {btNext, 1000}, {btPrev, 999}}));
}

TEST_F(InputControlsTest, TrackBarChangeRunsOnlyForTheUser) {
    auto* bar = new TTrackBar(&form);
    bar->SetBounds(10, 10, 260, 22);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 10);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetPosition(bar->Max() / 2);
    bar->SetMax(4);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(changes, 0);
    bar->Slider()->setFocus();
    QTest::keyClick(bar->Slider(), Qt::Key_Left);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(changes, 1);
}

TEST_F(InputControlsTest, ColorBoxSelectsTheStandardColours) {
    auto* box = new TColorBox(&form);
    box->SetBounds(10, 10, 180, 22);
    EXPECT_EQ(box->Count(), 16);
    EXPECT_EQ(box->Selected(), clBlack);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetSelected(clRed);
    EXPECT_EQ(box->Items(box->ItemIndex()), "clRed");
    box->SetSelected(clBtnFace);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Selected(), clBlack);
    EXPECT_EQ(changes, 0);
    EXPECT_THROW(box->Colors(16), EClassLibraryError);
}

// Each sheet's OnShow runs when it becomes visible, by code, by the user's tab or with its window; OnChange
// only for the user's pick.
TEST_F(InputControlsTest, PageControlShowsOneSheetAndTellsWhichBecameVisible) {
    TForm owner;
    owner.SetBounds(0, 0, 300, 200);
    auto* pages = new TPageControl(&owner);
    pages->SetBounds(0, 0, 300, 200);
    std::vector<std::string> log;
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"one", "two", "three"}) {
        auto* sheet = new TTabSheet(pages);
        sheet->SetCaption(caption);
        sheet->OnShow = [&log, caption](TObject*) { log.push_back(std::string("show ") + caption); };
        sheets.push_back(sheet);
    }
    pages->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(pages->ActivePageIndex())); };
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->Tabs()->tabText(1), "two");
    EXPECT_EQ(sheets[2]->PageIndex(), 2);

    pages->SetActivePageIndex(1);
    EXPECT_TRUE(log.empty()) << "nothing is visible before the window is shown";
    owner.Show();
    EXPECT_EQ(log, (std::vector<std::string>{"show two"}));
    log.clear();
    pages->SetActivePageIndex(2);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"show three"}));
    log.clear();
    QTest::mouseClick(pages->Tabs()->tabBar(), Qt::LeftButton, {},
                      pages->Tabs()->tabBar()->tabRect(0).center());
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"show one", "change 0"}));
    pages->SetActivePageIndex(7);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
}

} // namespace
