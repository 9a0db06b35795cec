#include "platform/forms/ComCtrls.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace forms {

namespace {

[[noreturn]] void IndexOutOfBounds(int Index) {
    throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
}

// The row shown at (X, Y) of Control, whose inner widget is View.
QTreeWidgetItem* RowAt(const QWidget* Control, const QTreeWidget* View, int X, int Y) {
    const QPoint point = View->viewport()->mapFrom(Control, QPoint(X, Y));
    if (!View->viewport()->rect().contains(point))
        return nullptr;
    return View->itemAt(point);
}

void SelectRow(QTreeWidget* View, QTreeWidgetItem* Row) {
    if (Row != nullptr) {
        View->setCurrentItem(Row, 0, QItemSelectionModel::ClearAndSelect);
    } else {
        View->clearSelection();
        View->setCurrentItem(nullptr);
    }
}

QTreeWidgetItem* SelectedRow(const QTreeWidget* View) {
    const auto rows = View->selectedItems();
    return rows.isEmpty() ? nullptr : rows.front();
}

} // namespace

// The tree widget inside a tree view: knows which label is being edited, and lets the program decide what a
// right click selects.
class TTreeView::TTreeWidget : public QTreeWidget {
public:
    explicit TTreeWidget(QWidget* Parent) : QTreeWidget(Parent) { setItemDelegate(new TEditDelegate(this)); }

    TTreeNode* EditedNode() const {
        if (editor_ == nullptr || !editedIndex_.isValid())
            return nullptr;
        return static_cast<TTreeNode*>(itemFromIndex(editedIndex_));
    }
    void StartEdit(TTreeNode* Node) { editItem(Node, 0); }
    void FinishEdit(bool Cancel) {
        QWidget* editor = editor_;
        if (editor == nullptr)
            return;
        if (!Cancel)
            commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

protected:
    void mousePressEvent(QMouseEvent* Event) override {
        if (Event->button() == Qt::RightButton) {
            Event->accept();
            return;
        }
        QTreeWidget::mousePressEvent(Event);
    }

private:
    class TEditDelegate : public QStyledItemDelegate {
    public:
        explicit TEditDelegate(TTreeWidget* Owner) : QStyledItemDelegate(Owner), owner_(Owner) {}
        QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option,
                              const QModelIndex& Index) const override {
            QWidget* editor = QStyledItemDelegate::createEditor(Parent, Option, Index);
            owner_->editor_ = editor;
            owner_->editedIndex_ = Index;
            return editor;
        }
        void destroyEditor(QWidget* Editor, const QModelIndex& Index) const override {
            if (owner_->editor_ == Editor) {
                owner_->editor_ = nullptr;
                owner_->editedIndex_ = QPersistentModelIndex();
            }
            QStyledItemDelegate::destroyEditor(Editor, Index);
        }

    private:
        TTreeWidget* owner_;
    };

    QPointer<QWidget> editor_;
    QPersistentModelIndex editedIndex_;
};

// TTreeNode

TTreeNode::TTreeNode(TTreeView* View, const std::string& Text) : QTreeWidgetItem(UserType), treeView_(View) {
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    SetText(Text);
}

std::string TTreeNode::Text() const {
    return text(0).toStdString();
}

void TTreeNode::SetText(const std::string& Value) {
    setText(0, QString::fromStdString(Value));
}

bool TTreeNode::Selected() const {
    return treeView_->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    if (Value)
        treeView_->SetSelected(this);
    else if (Selected())
        treeView_->SetSelected(nullptr);
}

TTreeNode* TTreeNode::Parent() const {
    return static_cast<TTreeNode*>(parent());
}

void TTreeNode::EditText() {
    treeView_->tree_->StartEdit(this);
}

void TTreeNode::EndEdit(bool CancelEdit) {
    if (Editing())
        treeView_->tree_->FinishEdit(CancelEdit);
}

bool TTreeNode::Editing() const {
    return treeView_->tree_->EditedNode() == this;
}

// TTreeNodes

int TTreeNodes::Count() const {
    int count = 0;
    for (QTreeWidgetItemIterator it(owner_->tree_); *it != nullptr; ++it)
        ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int Index) const {
    if (Index >= 0) {
        int i = 0;
        for (QTreeWidgetItemIterator it(owner_->tree_); *it != nullptr; ++it, ++i)
            if (i == Index)
                return static_cast<TTreeNode*>(*it);
    }
    IndexOutOfBounds(Index);
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return static_cast<TTreeNode*>(owner_->tree_->topLevelItem(0));
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& Text) {
    return AddChild(Sibling != nullptr ? Sibling->Parent() : nullptr, Text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& Text) {
    auto* node = new TTreeNode(owner_, Text);
    if (Parent != nullptr)
        Parent->addChild(node);
    else
        owner_->tree_->addTopLevelItem(node);
    return node;
}

void TTreeNodes::Clear() {
    owner_->tree_->clear();
}

// TTreeView

TTreeView::TTreeView(QWidget* Parent) : TWinControl(Parent), tree_(new TTreeWidget(this)), items_(this) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(tree_);
    tree_->setColumnCount(1);
    tree_->setHeaderHidden(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

TTreeNode* TTreeView::Selected() const {
    return static_cast<TTreeNode*>(SelectedRow(tree_));
}

void TTreeView::SetSelected(TTreeNode* Node) {
    SelectRow(tree_, Node);
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const {
    return static_cast<TTreeNode*>(RowAt(this, tree_, X, Y));
}

bool TTreeView::IsEditing() const {
    return tree_->EditedNode() != nullptr;
}

// TListSubItems

std::string TListSubItems::operator[](int Index) const {
    if (Index < 0 || Index >= count_)
        IndexOutOfBounds(Index);
    return item_->text(Index + 1).toStdString();
}

int TListSubItems::Add(const std::string& Text) {
    const int index = count_++;
    QTreeWidget* list = item_->listView_->list_;
    if (list->columnCount() < count_ + 1)
        list->setColumnCount(count_ + 1);
    item_->setText(index + 1, QString::fromStdString(Text));
    return index;
}

// TListItem

TListItem::TListItem(TListView* View) : QTreeWidgetItem(UserType), listView_(View), subItems_(this) {
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

std::string TListItem::Caption() const {
    return text(0).toStdString();
}

void TListItem::SetCaption(const std::string& Value) {
    setText(0, QString::fromStdString(Value));
}

bool TListItem::Selected() const {
    return listView_->Selected() == this;
}

void TListItem::SetSelected(bool Value) {
    if (Value)
        listView_->SetSelected(this);
    else if (Selected())
        listView_->SetSelected(nullptr);
}

int TListItem::Index() const {
    return listView_->list_->indexOfTopLevelItem(const_cast<TListItem*>(this));
}

// TListItems

int TListItems::Count() const {
    return owner_->list_->topLevelItemCount();
}

TListItem* TListItems::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        IndexOutOfBounds(Index);
    return static_cast<TListItem*>(owner_->list_->topLevelItem(Index));
}

TListItem* TListItems::Add() {
    auto* item = new TListItem(owner_);
    owner_->list_->addTopLevelItem(item);
    return item;
}

void TListItems::Clear() {
    owner_->list_->clear();
}

// TListView

TListView::TListView(QWidget* Parent) : TWinControl(Parent), list_(new QTreeWidget(this)), items_(this) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(list_);
    list_->setColumnCount(1);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TListItem* TListView::Selected() const {
    return static_cast<TListItem*>(SelectedRow(list_));
}

void TListView::SetSelected(TListItem* Item) {
    SelectRow(list_, Item);
}

TListItem* TListView::GetItemAt(int X, int Y) const {
    return static_cast<TListItem*>(RowAt(this, list_, X, Y));
}

} // namespace forms
