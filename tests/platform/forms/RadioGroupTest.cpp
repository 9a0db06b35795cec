#include "platform/forms/RadioGroup.h"

#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/StringList.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class RadioGroupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 300, 200);
        group = new TRadioGroup(&form);
        group->SetBounds(8, 8, 280, 180);
        group->SetCaption("请选择一个DVD目录");
        for (const char* item : {"/media/a/VIDEO_TS", "/media/b/VIDEO_TS", "/media/c/VIDEO_TS"})
            group->Items().Add(item);
        group->OnClick = [this](TObject* Sender) {
            EXPECT_EQ(Sender, group);
            clicks.push_back(group->ItemIndex());
        };
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void ClickItem(int Index) {
        QRadioButton* button = group->Button(Index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    TForm form;
    TRadioGroup* group = nullptr;
    std::vector<int> clicks;
};

TEST_F(RadioGroupTest, StartsWithNothingCheckedAndHoldsItsItemsInOrder) {
    EXPECT_EQ(group->ItemIndex(), -1);
    ASSERT_EQ(group->Items().Count(), 3);
    EXPECT_EQ(group->Items()[1], "/media/b/VIDEO_TS");
    EXPECT_EQ(group->Caption(), "请选择一个DVD目录");
    EXPECT_THROW(group->Items()[3], EClassLibraryError);
}

TEST_F(RadioGroupTest, AClickOnAnItemChecksItAndRunsOnClickOnlyWhenTheCheckedItemChanges) {
    ClickItem(2);
    EXPECT_EQ(group->ItemIndex(), 2);
    ClickItem(2);
    ClickItem(0);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_TRUE(group->Button(0)->isChecked());
    EXPECT_FALSE(group->Button(2)->isChecked());
    EXPECT_EQ(clicks, (std::vector<int>{2, 0}));
}

TEST_F(RadioGroupTest, SettingTheIndexFromCodeRunsOnClickAsAClickDoes) {
    group->SetItemIndex(1);
    group->SetItemIndex(1);
    group->SetItemIndex(-1);
    group->SetItemIndex(-1);
    EXPECT_EQ(group->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(group->Button(i)->isChecked()) << i;
    EXPECT_EQ(clicks, (std::vector<int>{1, -1}));
    // Nothing checked, a click checks again.
    ClickItem(1);
    EXPECT_EQ(clicks.back(), 1);
}

TEST_F(RadioGroupTest, ClearTakesEveryItemAwayWithoutAClick) {
    ClickItem(1);
    group->Items().Clear();
    EXPECT_EQ(group->Items().Count(), 0);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, (std::vector<int>{1}));
    group->Items().Add("again");
    ClickItem(0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
}

} // namespace
