#include "platform/forms/WinControls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/StringList.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class WinControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 300, 200);
        form.Show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    TForm form;
};

TEST_F(WinControlsTest, ButtonClicksByMouseSpaceEnterAndCode) {
    auto* button = new TButton(&form);
    button->SetBounds(10, 10, 80, 25);
    button->SetCaption("OK");
    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    auto* inner = button->findChild<QPushButton*>();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->text(), "OK");

    QTest::mouseClick(inner, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(inner, Qt::RightButton);
    EXPECT_EQ(clicks, 1) << "only the left button clicks";
    button->SetFocus();
    EXPECT_TRUE(button->Focused());
    QTest::keyClick(inner, Qt::Key_Space);
    QTest::keyClick(inner, Qt::Key_Return);
    EXPECT_EQ(clicks, 3);
    button->Click();
    EXPECT_EQ(clicks, 4);

    button->SetEnabled(false);
    QTest::mouseClick(inner, Qt::LeftButton);
    EXPECT_EQ(clicks, 4) << "a disabled button does not click";
}

TEST_F(WinControlsTest, ButtonHandlerErrorGoesToTheDefaultErrorBox) {
    auto* button = new TButton(&form);
    button->SetBounds(10, 10, 80, 25);
    button->OnClick = [](TObject*) { throw EClassLibraryError("Broken"); };
    std::string shown;
    Application().OnException = [&](TObject*, const std::exception& e) { shown = e.what(); };
    QTest::mouseClick(button->findChild<QPushButton*>(), Qt::LeftButton);
    Application().OnException = nullptr;
    EXPECT_EQ(shown, "Broken");
}

TEST_F(WinControlsTest, EditKeyPressSeesTypedCharactersFirst) {
    auto* edit = new TEdit(&form);
    edit->SetBounds(10, 10, 100, 22);
    std::u32string seen;
    edit->OnKeyPress = [&](TObject*, char32_t& key) {
        seen += key;
        if (key == U'x')
            key = 0;
        else if (key == U'y')
            key = U'Y';
    };
    edit->SetText("12");
    EXPECT_TRUE(seen.empty()) << "text set by code is not typed";
    auto* inner = edit->findChild<QLineEdit*>();
    ASSERT_NE(inner, nullptr);
    edit->SetFocus();
    inner->end(false);
    QTest::keyClicks(inner, "3xy");
    EXPECT_EQ(edit->Text(), "123Y");
    QTest::keyClick(inner, Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "123");
    QTest::keyClick(inner, Qt::Key_Return);
    QTest::keyClick(inner, Qt::Key_Escape);
    QTest::keyClick(inner, Qt::Key_Left);
    QTest::keyClick(inner, Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(seen, (std::u32string{U'3', U'x', U'y', 8, 13, 27}));
}

TEST_F(WinControlsTest, EditWithoutHandlerTakesEveryKey) {
    auto* edit = new TEdit(&form);
    edit->SetBounds(10, 10, 100, 22);
    edit->SetFocus();
    QTest::keyClicks(edit->findChild<QLineEdit*>(), "a-1");
    EXPECT_EQ(edit->Text(), "a-1");
}

TEST_F(WinControlsTest, MemoLines) {
    auto* memo = new TMemo(&form);
    memo->SetBounds(10, 10, 200, 60);
    EXPECT_EQ(memo->Lines().Count(), 0);
    memo->Lines().Add("/media/film.avi");
    memo->Lines().Add("second");
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines()[0], "/media/film.avi");
    EXPECT_EQ(memo->Lines().Text(), "/media/film.avi\r\nsecond\r\n");
    EXPECT_THROW(memo->Lines()[2], EClassLibraryError);
    memo->SetReadOnly(true);
    memo->SetBorderStyle(bsNone);
    memo->SetColor(clBtnFace);
    auto* inner = memo->findChild<QPlainTextEdit*>();
    EXPECT_TRUE(inner->isReadOnly());
    EXPECT_EQ(inner->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(inner->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(inner->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(inner->palette().color(QPalette::Base), ToQColor(clBtnFace));
    memo->Lines().Clear();
    EXPECT_EQ(memo->Lines().Count(), 0);
}

TEST_F(WinControlsTest, ControlsFollowTheirFormsFont) {
    auto* box = new TGroupBox(&form);
    box->SetBounds(5, 5, 200, 100);
    auto* edit = new TEdit(box);
    edit->SetBounds(10, 20, 100, 22);
    form.Font().SetName("MS Serf");
    form.Font().SetSize(9);
    EXPECT_EQ(edit->findChild<QLineEdit*>()->font().family(), "MS Serf");
    EXPECT_EQ(edit->findChild<QLineEdit*>()->font().pointSize(), 9);
    EXPECT_TRUE(edit->isVisibleTo(&form));
}

// The check box's click handler runs for every change of its state, the user's and the code's, and only
// for a change.
TEST_F(WinControlsTest, CheckBoxClickRunsForEveryChangeOfState) {
    auto* box = new TCheckBox(&form);
    box->SetBounds(10, 10, 120, 20);
    box->SetCaption("Save as default");
    box->Show();
    std::vector<bool> seen;
    box->OnClick = [&](TObject*) { seen.push_back(box->Checked()); };
    box->SetChecked(true);
    box->SetChecked(true);
    QTest::mouseClick(box->findChild<QCheckBox*>(), Qt::LeftButton);
    box->SetChecked(false);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_EQ(box->Caption(), "Save as default");
}

// A combo box starts without a selection; code selects without running OnChange, the user's pick runs it.
TEST_F(WinControlsTest, ComboBoxChangeRunsOnlyForTheUsersPick) {
    auto* combo = new TComboBox(&form);
    combo->SetBounds(10, 40, 120, 22);
    combo->Show();
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->Add(".bmp");
    combo->Add(".jpg");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), ".jpg");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    auto* inner = combo->findChild<QComboBox*>();
    inner->setFocus();
    QTest::keyClick(inner, Qt::Key_Down);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->Items(0), ".bmp");
    EXPECT_THROW(combo->Items(2), EClassLibraryError);
    combo->SetItemIndex(1);
    combo->Insert(0, ".gif");
    combo->Insert(3, ".png");
    EXPECT_EQ(combo->Text(), ".jpg") << "the selection stays on its item";
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_THROW(combo->Insert(5, ".tif"), EClassLibraryError);
    EXPECT_EQ(changes, 1);
    auto* empty = new TComboBox(&form);
    empty->Insert(0, "8");
    EXPECT_EQ(empty->ItemIndex(), -1);
}

} // namespace

namespace {

// Speed buttons of one group: a click leaves the clicked one down and the others up, a click on the one that
// is down keeps it down; a button of another group, or of no group, is left alone; Down from code runs
// nothing.
TEST_F(WinControlsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
    std::vector<TSpeedButton*> pages;
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
        pages.push_back(new TSpeedButton(&form));
        pages.back()->SetBounds(10, 10 + 30 * i, 100, 28);
        pages.back()->SetGroupIndex(1);
        pages.back()->OnClick = [&](TObject*) { ++clicks; };
    }
    auto* other = new TSpeedButton(&form);
    other->SetGroupIndex(2);
    other->SetDown(true);
    auto* plain = new TSpeedButton(&form);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down()) << "a button of no group does not stay down";

    auto down = [&] {
        std::vector<bool> state;
        for (TSpeedButton* page : pages)
            state.push_back(page->Down());
        return state;
    };
    pages[0]->SetDown(true);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(pages[2]->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_EQ(down(), (std::vector<bool>{false, false, true}));
    QTest::mouseClick(pages[2]->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_EQ(down(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(clicks, 2);
    pages[1]->Click();
    EXPECT_EQ(down(), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(other->Down());
}

// The list's close comes after the pick became the selection, whether picked with the keyboard or not
// picked at all; the handler may free the box.
TEST_F(WinControlsTest, ComboBoxCloseUpSeesWhatWasPicked) {
    auto* combo = new TComboBox(&form);
    combo->SetBounds(10, 40, 120, 22);
    for (const char* item : {"", "Alt", "Ctrl", "Shift"})
        combo->Add(item);
    combo->SetItemIndex(1);
    combo->SetDropDownCount(24);
    EXPECT_EQ(combo->DropDownCount(), 24);
    std::vector<int> seen;
    combo->OnCloseUp = [&](TObject* Sender) {
        EXPECT_EQ(Sender, combo);
        seen.push_back(combo->ItemIndex());
    };
    auto* inner = combo->findChild<QComboBox*>();
    combo->SetDroppedDown(true);
    ASSERT_TRUE(combo->DroppedDown());
    QTest::keyClick(inner->view(), Qt::Key_Down);
    QTest::keyClick(inner->view(), Qt::Key_Return);
    QTRY_COMPARE(seen.size(), 1u);
    EXPECT_EQ(seen[0], 2);
    EXPECT_FALSE(combo->DroppedDown());

    combo->SetDroppedDown(true);
    QTest::keyClick(inner->view(), Qt::Key_Escape);
    QTRY_COMPARE(seen.size(), 2u);
    EXPECT_EQ(seen[1], 2) << "nothing picked: the selection stays";

    QPointer<TComboBox> alive(combo);
    combo->OnCloseUp = [&](TObject*) { delete combo; };
    combo->SetDroppedDown(true);
    combo->SetDroppedDown(false);
    QTRY_VERIFY(alive.isNull());
}

} // namespace
