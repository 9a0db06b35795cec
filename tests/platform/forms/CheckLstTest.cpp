#include "platform/forms/CheckLst.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/StringList.h"
#include "tests/support/ListClicks.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

// A shown check list with the rows a, b, c that logs its events.
class CheckListBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 300, 200);
        list = new TCheckListBox(&form);
        list->SetBounds(0, 0, 300, 200);
        list->SetItemHeight(13);
        for (const char* text : {"a", "b", "c"})
            list->Add(text);
        list->OnClick = [this](TObject*) { log.push_back("click " + Marks()); };
        list->OnClickCheck = [this](TObject*) { log.push_back("check " + Marks()); };
        form.Show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        inner = list->findChild<QListWidget*>();
        ASSERT_NE(inner, nullptr);
    }
    // The marks and the selected row, as "x.." + index.
    std::string Marks() const {
        std::string marks;
        for (int i = 0; i < list->Count(); ++i)
            marks += list->Checked(i) ? 'x' : '.';
        return marks + std::to_string(list->ItemIndex());
    }
    TForm form;
    TCheckListBox* list = nullptr;
    QListWidget* inner = nullptr;
    std::vector<std::string> log;
};

TEST_F(CheckListBoxTest, CodeChangesRunNoEvent) {
    list->SetChecked(1, true);
    list->SetItemIndex(2);
    list->SetItems(0, "A");
    list->Add("d");
    list->Delete(3);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Marks(), ".x.2");
    EXPECT_EQ(list->Items(0), "A");
    EXPECT_THROW(list->Checked(3), EClassLibraryError);
    EXPECT_THROW(list->SetItems(-1, "x"), EClassLibraryError);
}

TEST_F(CheckListBoxTest, ClickOnARowSelectsItThenClicks) {
    testing_support::ClickText(inner, 1);
    testing_support::ClickText(inner, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"click ...1", "click ...1"})) << "the same row clicks again";
}

TEST_F(CheckListBoxTest, ClickOnACheckBoxChangesTheMarkBeforeTheClick) {
    testing_support::ClickCheckBox(inner, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"check ..x2", "click ..x2"}));
}

TEST_F(CheckListBoxTest, KeyboardMovesClickAndSpaceChecksOnly) {
    list->SetItemIndex(0);
    list->SetFocus();
    QTest::keyClick(inner, Qt::Key_Down);
    QTest::keyClick(inner, Qt::Key_Space);
    QTest::keyClick(inner, Qt::Key_Up);
    QTest::keyClick(inner, Qt::Key_Up); // already at the top: nothing moves
    EXPECT_EQ(log, (std::vector<std::string>{"click ...1", "check .x.1", "click .x.0"}));
}

TEST_F(CheckListBoxTest, DeletingRowsKeepsTheSelectionOnItsRowOrDropsIt) {
    list->SetItemIndex(2);
    list->Delete(0);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items(1), "c");
    list->Delete(1);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(7);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(CheckListBoxTest, RowsHaveTheItemHeightAndScrollOverTheScrollWidth) {
    EXPECT_EQ(inner->visualItemRect(inner->item(1)).top() - inner->visualItemRect(inner->item(0)).top(), 13);
    EXPECT_EQ(inner->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    list->SetScrollWidth(2 * list->Width());
    QApplication::processEvents();
    EXPECT_EQ(inner->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_GE(inner->horizontalScrollBar()->maximum(),
              list->Width() - inner->viewport()->width() + list->Width() - 1);
}

} // namespace
