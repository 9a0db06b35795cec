#include "platform/forms/ScrollBox.h"

#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class ScrollBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 300, 200);
        box = new TScrollBox(&form);
        box->SetBounds(0, 0, 300, 200);
        box->SetBorderStyle(bsNone);
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    TLabel* AddLabel(int Top, const std::string& Caption) {
        auto* label = new TLabel(box->Content());
        label->SetTop(Top);
        label->SetCaption(Caption);
        return label;
    }

    TForm form;
    TScrollBox* box = nullptr;
};

TEST_F(ScrollBoxTest, ScrollsOnlyOnceItsControlsReachPastItsEdge) {
    AddLabel(16, "short");
    QCoreApplication::processEvents();
    EXPECT_EQ(box->VertScrollRange(), 0);
    // A label that grows to many lines after it was placed.
    TLabel* tall = AddLabel(16, "one");
    std::string lines;
    for (int i = 0; i < 28; ++i)
        lines += "line\r";
    tall->SetCaption(lines);
    QCoreApplication::processEvents();
    EXPECT_GT(box->VertScrollRange(), 0);
    EXPECT_GE(box->VertScrollRange(), tall->Top() + tall->Height() - 200);
    // Gone again, nothing to scroll.
    delete tall;
    QCoreApplication::processEvents();
    EXPECT_EQ(box->VertScrollRange(), 0);
}

TEST_F(ScrollBoxTest, ListsItsControlsInTheOrderTheyWerePlaced) {
    TLabel* first = AddLabel(0, "a");
    TLabel* second = AddLabel(20, "b");
    ASSERT_EQ(box->ControlCount(), 2);
    EXPECT_EQ(box->Controls(0), first);
    EXPECT_EQ(box->Controls(1), second);
    EXPECT_THROW(box->Controls(2), EClassLibraryError);
    while (box->ControlCount() > 0)
        delete box->Controls(0);
    EXPECT_EQ(box->ControlCount(), 0);
}

} // namespace
