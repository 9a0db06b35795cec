#include "platform/forms/ComCtrls.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

// A shown form with a tree view and a list view side by side.
class ViewsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBounds(0, 0, 500, 300);
        tree = new TTreeView(&form);
        tree->SetBounds(10, 10, 200, 250);
        list = new TListView(&form);
        list->SetBounds(250, 10, 200, 250);
        form.Show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        treeWidget = tree->findChild<QTreeWidget*>();
        listWidget = list->findChild<QTreeWidget*>();
        ASSERT_NE(treeWidget, nullptr);
        ASSERT_NE(listWidget, nullptr);
    }

    // Root A with children A1 and A2, then B and C at the top level.
    void BuildTree() {
        a = tree->Items().AddChild(nullptr, "A");
        a1 = tree->Items().AddChild(a, "A1");
        a2 = tree->Items().Add(a1, "A2");
        b = tree->Items().Add(a, "B");
        c = tree->Items().Add(nullptr, "C");
        treeWidget->expandAll();
    }

    // The rectangle of Row in the coordinates of Control, whose inner widget is View.
    static QRect RowRect(const QWidget* Control, const QTreeWidget* View, QTreeWidgetItem* Row) {
        const QRect r = View->visualItemRect(Row);
        return {View->viewport()->mapTo(Control, r.topLeft()), r.size()};
    }

    std::vector<std::string> TreeTexts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < tree->Items().Count(); ++i)
            texts.push_back(tree->Items().Item(i)->Text());
        return texts;
    }

    QLineEdit* Editor() const { return treeWidget->viewport()->findChild<QLineEdit*>(); }

    TForm form;
    TTreeView* tree = nullptr;
    TListView* list = nullptr;
    QTreeWidget* treeWidget = nullptr;
    QTreeWidget* listWidget = nullptr;
    TTreeNode *a = nullptr, *a1 = nullptr, *a2 = nullptr, *b = nullptr, *c = nullptr;
};

TEST_F(ViewsTest, TreeNodesCountEveryNodeInTreeOrder) {
    EXPECT_EQ(tree->Items().Count(), 0);
    EXPECT_EQ(tree->Items().GetFirstNode(), nullptr);
    BuildTree();
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"A", "A1", "A2", "B", "C"}));
    EXPECT_EQ(tree->Items().GetFirstNode(), a);
    EXPECT_EQ(a2->Parent(), a);
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(a1->TreeView(), tree);
    EXPECT_THROW(tree->Items().Item(5), EClassLibraryError);
    EXPECT_THROW(tree->Items().Item(-1), EClassLibraryError);
    tree->Items().Clear();
    EXPECT_EQ(tree->Items().Count(), 0);
}

TEST_F(ViewsTest, OneSelectedNodeSetFromTheViewOrTheNode) {
    BuildTree();
    EXPECT_EQ(tree->Selected(), nullptr);
    tree->SetSelected(a2);
    EXPECT_EQ(tree->Selected(), a2);
    EXPECT_TRUE(a2->Selected());
    b->SetSelected(true);
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_FALSE(a2->Selected());
    a2->SetSelected(false);
    EXPECT_EQ(tree->Selected(), b) << "unselecting another node changes nothing";
    b->SetSelected(false);
    EXPECT_EQ(tree->Selected(), nullptr);
    c->SetImageIndex(4);
    c->SetSelectedIndex(5);
    EXPECT_EQ(c->ImageIndex(), 4);
    EXPECT_EQ(c->SelectedIndex(), 5);
}

TEST_F(ViewsTest, NodeAtAPointOfTheControlFrameIncluded) {
    BuildTree();
    ASSERT_GT(treeWidget->frameWidth(), 0) << "the frame tells the control's points from the rows'";
    const QRect first = RowRect(tree, treeWidget, a);
    for (TTreeNode* node : {a, a1, a2, b, c})
        EXPECT_EQ(tree->GetNodeAt(RowRect(tree, treeWidget, node).center().x(),
                                  RowRect(tree, treeWidget, node).center().y()),
                  node)
            << node->Text();
    EXPECT_EQ(tree->GetNodeAt(first.center().x(), first.bottom()), a) << "last pixel row of A";
    EXPECT_EQ(tree->GetNodeAt(first.center().x(), first.bottom() + 1), a1) << "first pixel row of A1";
    const int belowLast = RowRect(tree, treeWidget, c).bottom() + 5;
    ASSERT_LT(belowLast, tree->Height() - treeWidget->frameWidth());
    EXPECT_EQ(tree->GetNodeAt(first.center().x(), belowLast), nullptr);
    EXPECT_EQ(tree->GetNodeAt(first.center().x(), -first.height()), nullptr);
    EXPECT_EQ(tree->GetNodeAt(tree->Width() + 5, first.center().y()), nullptr);
}

TEST_F(ViewsTest, ARightClickOnTheTreeSelectsNothingALeftClickSelects) {
    BuildTree();
    tree->SetSelected(a);
    const QPoint onB = treeWidget->visualItemRect(b).center();
    QTest::mouseClick(treeWidget->viewport(), Qt::RightButton, {}, onB);
    EXPECT_EQ(tree->Selected(), a);
    QTest::mouseClick(treeWidget->viewport(), Qt::LeftButton, {}, onB);
    EXPECT_EQ(tree->Selected(), b);
}

TEST_F(ViewsTest, LabelEditingEndsKeepingOrThrowingAwayWhatWasTyped) {
    BuildTree();
    b->EditText();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(tree->IsEditing());
    EXPECT_TRUE(b->Editing());
    EXPECT_FALSE(a->Editing());
    Editor()->selectAll();
    QTest::keyClicks(Editor(), "Kept");
    a->EndEdit(true);
    EXPECT_TRUE(b->Editing()) << "ending another node's editing does nothing";
    b->EndEdit(false);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(b->Text(), "Kept");

    b->EditText();
    ASSERT_NE(Editor(), nullptr);
    Editor()->selectAll();
    QTest::keyClicks(Editor(), "Dropped");
    b->EndEdit(true);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(b->Text(), "Kept");
    b->EndEdit(true); // not editing: nothing happens
    EXPECT_EQ(b->Text(), "Kept");
}

TEST_F(ViewsTest, TheUserStartsEditingTheSelectedLabelWithF2) {
    BuildTree();
    tree->SetSelected(c);
    tree->SetFocus();
    QTest::keyClick(treeWidget, Qt::Key_F2);
    EXPECT_TRUE(c->Editing());
    ASSERT_NE(Editor(), nullptr);
    Editor()->selectAll();
    QTest::keyClicks(Editor(), "Renamed");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(c->Text(), "C");
}

TEST_F(ViewsTest, ListItemsHaveACaptionAndSubItemsShownAsColumns) {
    TListItem* first = list->Items().Add();
    first->SetCaption("a.txt");
    EXPECT_EQ(first->SubItems().Add("/data"), 0);
    EXPECT_EQ(first->SubItems().Add("5 KB"), 1);
    TListItem* second = list->Items().Add();
    second->SetCaption("b.txt");
    EXPECT_EQ(list->Items().Count(), 2);
    EXPECT_EQ(list->Items().Item(1), second);
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(first->Caption(), "a.txt");
    EXPECT_EQ(first->SubItems().Count(), 2);
    EXPECT_EQ(first->SubItems()[1], "5 KB");
    EXPECT_EQ(second->SubItems().Count(), 0);
    EXPECT_THROW(second->SubItems()[0], EClassLibraryError);
    EXPECT_THROW(list->Items().Item(2), EClassLibraryError);
    EXPECT_EQ(listWidget->columnCount(), 3);
    EXPECT_EQ(listWidget->topLevelItem(0)->text(1).toStdString(), "/data");
    list->Items().Clear();
    EXPECT_EQ(list->Items().Count(), 0);
}

TEST_F(ViewsTest, ListSelectionByCodeByPointAndByEitherButton) {
    std::vector<TListItem*> items;
    for (const char* caption : {"one", "two", "three"}) {
        items.push_back(list->Items().Add());
        items.back()->SetCaption(caption);
    }
    EXPECT_EQ(list->Selected(), nullptr);
    items[2]->SetSelected(true);
    EXPECT_EQ(list->Selected(), items[2]);
    items[0]->SetSelected(false);
    EXPECT_EQ(list->Selected(), items[2]);
    list->SetSelected(nullptr);
    EXPECT_FALSE(items[2]->Selected());

    for (TListItem* item : items) {
        const QPoint center = RowRect(list, listWidget, item).center();
        EXPECT_EQ(list->GetItemAt(center.x(), center.y()), item) << item->Caption();
    }
    const QRect last = RowRect(list, listWidget, items[2]);
    EXPECT_EQ(list->GetItemAt(last.center().x(), last.bottom() + 5), nullptr);

    QTest::mouseClick(listWidget->viewport(), Qt::RightButton, {},
                      listWidget->visualItemRect(items[1]).center());
    EXPECT_EQ(list->Selected(), items[1]);
    QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, {},
                      listWidget->visualItemRect(items[0]).center());
    EXPECT_EQ(list->Selected(), items[0]);
}

// The report style: the header shows the columns, every row is as high as the small images, the cells
// lie where SubItemRect says, and OnMouseDown comes once the press has selected the row.
TEST_F(ViewsTest, ReportStyleShowsColumnsAndGivesCellsAndPresses) {
    list->SetViewStyle(vsReport);
    list->SetBorderStyle(bsNone);
    list->SetGridLines(true);
    auto* images = new TImageList(list);
    images->SetWidth(0);
    images->SetHeight(20);
    list->SetSmallImages(images);
    EXPECT_EQ(list->Columns().Add("Command", 60), 0);
    list->Columns().Add("Mouse Control", 50);
    list->Columns().Add("Control key", 40);
    EXPECT_EQ(list->Columns().Caption(1), "Mouse Control");
    EXPECT_EQ(list->Columns().Width(2), 40);
    EXPECT_THROW(list->Columns().Width(3), EClassLibraryError);
    EXPECT_FALSE(listWidget->isHeaderHidden());
    std::vector<TListItem*> rows;
    for (const char* caption : {"Open", "Stop", "Close"}) {
        rows.push_back(list->Items().Add());
        rows.back()->SetCaption(caption);
        rows.back()->SubItems().Add("");
        rows.back()->SubItems().Add("Ctrl");
    }
    rows[1]->SubItems().Set(1, "Alt");
    EXPECT_EQ(rows[1]->SubItems()[1], "Alt");
    EXPECT_THROW(rows[1]->SubItems().Set(2, "x"), EClassLibraryError);
    EXPECT_EQ(listWidget->visualItemRect(rows[0]).height(), 20);

    const QRect cell = list->SubItemRect(rows[1], 2);
    EXPECT_EQ(cell.left(), 110);
    EXPECT_EQ(cell.width(), 40);
    EXPECT_EQ(cell.height(), 20);
    EXPECT_GE(cell.top(), list->HeaderHeight());
    EXPECT_TRUE(list->SubItemRect(rows[1], 3).isEmpty());
    EXPECT_TRUE(list->SubItemRect(nullptr, 1).isEmpty());

    std::vector<std::string> presses;
    list->OnMouseDown = [&](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        TListItem* at = list->GetItemAt(X, Y);
        presses.push_back(std::string(Button == mbLeft ? "left " : "right ") + (at ? at->Caption() : "none") +
                          (list->Selected() == at ? " selected" : "") +
                          (cell.contains(X, Y) ? " in cell" : ""));
    };
    const QPoint inViewport = listWidget->viewport()->mapFrom(list, cell.center());
    QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, {}, inViewport);
    EXPECT_EQ(presses, (std::vector<std::string>{"left Stop selected in cell"}));

    rows[2]->Data = rows[0];
    list->Items().Delete(0);
    EXPECT_EQ(list->Items().Count(), 2);
    EXPECT_EQ(list->Items().Item(1)->Data, static_cast<void*>(rows[0]));
}

// The header's own handling comes first: a drag of a divider has changed the width by the release, and an
// extension that puts the widths back on the release keeps them.
TEST_F(ViewsTest, HeaderExtensionHearsOfPressesAfterTheHeader) {
    list->SetViewStyle(vsReport);
    list->Columns().Add("Command", 60);
    list->Columns().Add("Key", 50);
    std::vector<std::pair<win32::UINT, int>> heard;
    list->HeaderWindowProc = [&](TMessage& Message) {
        heard.emplace_back(Message.Msg, list->Columns().Width(0));
        if (Message.Msg == win32::WM_LBUTTONUP)
            list->Columns().SetWidth(0, 60);
    };
    auto* header = listWidget->header();
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(59, y));
    QTest::mouseMove(header->viewport(), QPoint(89, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(89, y));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], std::make_pair(win32::WM_LBUTTONDOWN, 60));
    EXPECT_EQ(heard[1].first, win32::WM_LBUTTONUP);
    EXPECT_GT(heard[1].second, 60) << "the header resized the column before the extension ran";
    EXPECT_EQ(list->Columns().Width(0), 60);
}

} // namespace
