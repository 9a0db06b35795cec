#include "dialoglib/GotoForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/win32/MessageBox.h"
#include "tests/support/QtApp.h"
#include "tests/support/WhileModal.h"

using namespace forms;
using testing_support::WhileModal;

namespace {

class GotoFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        owner.Show();
        Application().SetHandle(owner.Handle());
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& r) {
            boxes.push_back(r);
            return win32::IDOK;
        });
        Application().OnException = [this](TObject*, const std::exception& e) {
            errors.emplace_back(e.what());
        };
        // The length 1:30:00 of a media file.
        form.SetLength(1, 54'009'000'000);
        form.SetLanguage(1);
        form.LoadTexts();
        form.ApplyTexts();
    }
    void TearDown() override {
        win32::SetMessageBoxHandler(nullptr);
        Application().OnException = nullptr;
        Application().SetHandle(nullptr);
    }
    static QLineEdit* Inner(TEdit* Edit) { return Edit->findChild<QLineEdit*>(); }
    static void Press(TButton* Button) {
        QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
    }
    void Enter(const char* H, const char* M, const char* S) {
        form.Hour_E->SetText(H);
        form.Minute_E->SetText(M);
        form.Second_E->SetText(S);
    }

    TForm owner;
    TGoto_Form form{&owner};
    std::vector<win32::MessageBoxRequest> boxes;
    std::vector<std::string> errors;
};

TEST_F(GotoFormTest, StartsAtZeroWithTheLengthAndTheTexts) {
    EXPECT_EQ(form.Caption(), "Goto...");
    EXPECT_EQ(form.Default_L->Caption(), "1:30:00");
    EXPECT_EQ(form.MediaTime_L->Caption(), "Media time:");
    EXPECT_EQ(form.Second_L->Caption(), "Second");
    EXPECT_EQ(form.Cancel_Btn->Caption(), "Cancel");
    for (TEdit* edit : {form.Hour_E, form.Minute_E, form.Second_E})
        EXPECT_EQ(edit->Text(), "0");
    EXPECT_TRUE(form.Cancelled());
    EXPECT_EQ(form.ChosenSeconds(), 0);
}

TEST_F(GotoFormTest, EditsTakeDigitsAndBackspaceOnlyAndEnterOrEscapeCloseNothing) {
    WhileModal steps([&](QWidget*) {
        QLineEdit* hour = Inner(form.Hour_E);
        form.Hour_E->SetFocus();
        hour->selectAll();
        QTest::keyClicks(hour, "1a-+ 2");
        QTest::keyClick(hour, Qt::Key_Return);
        QTest::keyClick(hour, Qt::Key_Enter);
        QTest::keyClick(hour, Qt::Key_Escape);
        QTest::keyClick(hour, Qt::Key_Backspace);
        EXPECT_EQ(form.Hour_E->Text(), "1");
        EXPECT_TRUE(form.isVisible()) << "neither Enter nor Escape ends the dialog";
        EXPECT_TRUE(boxes.empty()) << "Enter did not press OK";
        form.Close();
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_TRUE(form.Cancelled());
}

TEST_F(GotoFormTest, AcceptedOkClosesWithTheTime) {
    WhileModal steps([&](QWidget*) {
        Enter("1", "30", "0");
        Press(form.OK_Btn);
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_FALSE(form.Cancelled());
    EXPECT_EQ(form.ChosenSeconds(), 5400);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(GotoFormTest, RefusedTimeShowsTheMessageAndFocusesThePartTooLargeThenCloseBoxCancels) {
    WhileModal steps([&](QWidget*) {
        Enter("1", "30", "1");
        Press(form.OK_Btn);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.Second_E->Focused());
        Enter("1", "45", "0");
        Press(form.OK_Btn);
        EXPECT_TRUE(form.Minute_E->Focused());
        form.Close(); // the close box
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text, "Invalide media time!");
    EXPECT_EQ(boxes[0].Caption, "Info");
    EXPECT_EQ(boxes[0].Type, win32::MB_OK | win32::MB_ICONINFORMATION);
    EXPECT_EQ(boxes[0].Owner, owner.Handle());
    EXPECT_TRUE(form.Cancelled()) << "the refused time is no choice";
    EXPECT_EQ(form.ChosenSeconds(), 6300);
}

TEST_F(GotoFormTest, TextThatIsNoNumberShowsTheConversionErrorAndKeepsTheDialog) {
    WhileModal steps([&](QWidget*) {
        Enter("2", "0", "0");
        Press(form.OK_Btn);         // refused: 7200 is beyond the length
        form.Minute_E->SetText(""); // emptied by the user
        Press(form.OK_Btn);
        EXPECT_TRUE(form.isVisible());
        Press(form.Cancel_Btn);
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'' is not a valid integer value");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form.ChosenSeconds(), 7200) << "the failed conversion left the last time";
    EXPECT_TRUE(form.Cancelled());
}

TEST_F(GotoFormTest, OtherLanguagesLeaveTheTextsEmptyButShowTheLength) {
    TGoto_Form blank(&owner);
    blank.SetLength(2, 3909);
    blank.SetLanguage(0);
    blank.LoadTexts();
    blank.ApplyTexts();
    EXPECT_EQ(blank.Caption(), "");
    EXPECT_EQ(blank.Hour_L->Caption(), "");
    EXPECT_EQ(blank.OK_Btn->Caption(), "");
    EXPECT_EQ(blank.Default_L->Caption(), "1:05:09");
    blank.SetLanguage(2);
    blank.LoadTexts();
    blank.ApplyTexts();
    EXPECT_EQ(blank.Caption(), "转到...");
    EXPECT_EQ(blank.Minute_L->Caption(), "分钟");
}

} // namespace
