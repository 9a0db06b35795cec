#include "dialoglib/ManageHistoryForm.h"

#include <filesystem>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/win32/MessageBox.h"
#include "tests/support/ListClicks.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhileModal.h"

using namespace forms;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WhileModal;

namespace {

// The dialog as the export sets it up with three entries, writing "HistoryTemp" into a folder of its own.
class ManageHistoryFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        Application().OnException = [this](TObject*, const std::exception& e) {
            errors.emplace_back(e.what());
        };
        owner.Show();
        Application().SetHandle(owner.Handle());
        SetUpForm(form, {"/media/a.avi", "/media/b.mkv", "/media/c.mp3"});
    }
    void TearDown() override {
        Application().OnException = nullptr;
        Application().SetHandle(nullptr);
    }
    void SetUpForm(TManageHistory_Form& Form, std::initializer_list<const char*> Entries) {
        Form.ProgramFolder = dir.Path();
        for (const char* entry : Entries)
            Form.AddHistoryEntry(entry);
        Form.History_CL->SetScrollWidth(2 * Form.History_CL->Width());
        Form.SetLanguage(1);
        Form.LoadTexts();
        Form.ApplyTexts();
    }
    QListWidget* List() const { return form.History_CL->findChild<QListWidget*>(); }
    static void Press(TButton* Button) {
        QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
    }
    // The enabled edit buttons: Clear, Move up, Move down, Delete, OK.
    std::string Enabled() const {
        std::string enabled;
        for (TButton* b : {form.Clear_Btn, form.Moveup_Btn, form.MoveDown_Btn, form.Delete_Btn, form.OK_Btn})
            enabled += b->Enabled() ? '1' : '0';
        return enabled;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < form.History_CL->Count(); ++i)
            rows.push_back((form.History_CL->Checked(i) ? "x " : "  ") + form.History_CL->Items(i));
        return rows;
    }

    TempDir dir;
    std::vector<std::string> errors;
    TForm owner;
    TManageHistory_Form form{&owner};
};

TEST_F(ManageHistoryFormTest, MovesChecksDeletesAndSavesThroughTheWidgets) {
    WhileModal steps([&](QWidget*) {
        EXPECT_EQ(Enabled(), "10000") << "only Clear at first";
        EXPECT_TRUE(form.Cancel_Btn->Focused());
        EXPECT_TRUE(form.SelAll_Btn->Enabled() && form.SelNone_Btn->Enabled() && form.Reverse_Btn->Enabled());

        testing_support::ClickCheckBox(List(), 1);
        EXPECT_EQ(Enabled(), "11110");
        testing_support::ClickCheckBox(List(), 2);
        EXPECT_EQ(Enabled(), "10010") << "two checked rows cannot move";
        testing_support::ClickCheckBox(List(), 2);
        EXPECT_EQ(Enabled(), "11010") << "one checked row, the last one clicked";

        Press(form.Moveup_Btn);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"  /media/a.avi", "  /media/c.mp3", "x /media/b.mkv"}));
        EXPECT_EQ(form.History_CL->ItemIndex(), 1);
        EXPECT_TRUE(form.History_CL->Focused());
        EXPECT_EQ(Enabled(), "11111");

        Press(form.Delete_Btn);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"  /media/a.avi", "  /media/c.mp3"}));
        Press(form.OK_Btn);
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(form.ResultCode(), 1);
    EXPECT_EQ(ReadFile(dir.File("HistoryTemp")), "/media/a.avi\r\n/media/c.mp3\r\n");
    EXPECT_TRUE(errors.empty());
}

// A file name is bytes, not necessarily UTF-8: the list only shows the entries, and what is saved are the
// entries themselves, also after a move.
TEST_F(ManageHistoryFormTest, EntriesThatAreNoUtf8AreSavedByteForByte) {
    TManageHistory_Form bytes(&owner);
    SetUpForm(bytes, {"/media/caf\xE9.avi", "/media/\xFF\xFE.ogg", "/media/ok.mkv"});
    WhileModal steps([&](QWidget*) {
        testing_support::ClickText(bytes.History_CL->findChild<QListWidget*>(), 0);
        Press(bytes.MoveDown_Btn);
        Press(bytes.OK_Btn);
    });
    bytes.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(bytes.ResultCode(), 1);
    EXPECT_EQ(ReadFile(dir.File("HistoryTemp")),
              "/media/\xFF\xFE.ogg\r\n/media/caf\xE9.avi\r\n/media/ok.mkv\r\n");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ManageHistoryFormTest, SelectionButtonsMarkEveryRow) {
    WhileModal steps([&](QWidget*) {
        testing_support::ClickCheckBox(List(), 0);
        Press(form.Reverse_Btn);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"  /media/a.avi", "x /media/b.mkv", "x /media/c.mp3"}));
        Press(form.SelAll_Btn);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"x /media/a.avi", "x /media/b.mkv", "x /media/c.mp3"}));
        Press(form.SelNone_Btn);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"  /media/a.avi", "  /media/b.mkv", "  /media/c.mp3"}));
        EXPECT_FALSE(form.OK_Btn->Enabled()) << "marks alone change nothing";
        Press(form.Clear_Btn);
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ(Enabled(), "00001");
        Press(form.Cancel_Btn);
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(form.ResultCode(), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("HistoryTemp")));
}

TEST_F(ManageHistoryFormTest, AFailedSaveShowsTheErrorAndTheCloseBoxThenReportsZero) {
    form.ProgramFolder = dir.File("missing");
    WhileModal steps([&](QWidget*) {
        Press(form.Clear_Btn);
        Press(form.OK_Btn);
        EXPECT_TRUE(form.isVisible());
        form.Close();
    });
    form.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(form.ResultCode(), 0);
}

TEST_F(ManageHistoryFormTest, AnEmptyHistoryOffersOnlyTheSelectionButtonsAndCancel) {
    TManageHistory_Form empty(&owner);
    SetUpForm(empty, {});
    WhileModal steps([&](QWidget*) {
        for (TButton* b :
             {empty.Clear_Btn, empty.Moveup_Btn, empty.MoveDown_Btn, empty.Delete_Btn, empty.OK_Btn})
            EXPECT_FALSE(b->Enabled());
        Press(empty.SelAll_Btn);
        EXPECT_FALSE(empty.OK_Btn->Enabled());
        empty.Close();
    });
    empty.ShowModal();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(empty.ResultCode(), 0);
    EXPECT_EQ(empty.Caption(), "Manage history");
    EXPECT_EQ(empty.Reverse_Btn->Caption(), "Select reverse");
}

} // namespace
