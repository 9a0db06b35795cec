#include "platform/forms/WinControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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
}

} // namespace
