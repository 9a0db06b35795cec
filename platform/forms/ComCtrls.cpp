#include "platform/forms/ComCtrls.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
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

// The list inside a list view: gives its owner the mouse presses, once the press has selected the row.
class TListView::TListWidget : public QTreeWidget {
public:
    explicit TListWidget(TListView* Owner) : QTreeWidget(Owner), owner_(Owner) {}

protected:
    void mousePressEvent(QMouseEvent* Event) override {
        QTreeWidget::mousePressEvent(Event);
        if (!owner_->OnMouseDown)
            return;
        TMouseButton button = mbLeft;
        if (Event->button() == Qt::RightButton)
            button = mbRight;
        else if (Event->button() == Qt::MiddleButton)
            button = mbMiddle;
        const QPoint at = viewport()->mapTo(owner_, Event->position().toPoint());
        CallEvent(owner_->OnMouseDown, owner_, button, ShiftStateOf(Event->modifiers(), Event->buttons()),
                  at.x(), at.y());
    }

private:
    TListView* owner_;
};

// The header of a list view: its window procedure, then the owner's extension of it.
class TListView::THeader : public QHeaderView {
public:
    explicit THeader(TListView* Owner) : QHeaderView(Qt::Horizontal), owner_(Owner) {
        setSectionsClickable(true);
        setStretchLastSection(false);
    }

protected:
    void mousePressEvent(QMouseEvent* Event) override {
        QHeaderView::mousePressEvent(Event);
        if (Event->button() == Qt::LeftButton)
            Tell(win32::WM_LBUTTONDOWN);
    }
    void mouseReleaseEvent(QMouseEvent* Event) override {
        QHeaderView::mouseReleaseEvent(Event);
        if (Event->button() == Qt::LeftButton)
            Tell(win32::WM_LBUTTONUP);
    }
    void mouseDoubleClickEvent(QMouseEvent* Event) override {
        QHeaderView::mouseDoubleClickEvent(Event);
        if (Event->button() == Qt::LeftButton)
            Tell(win32::WM_LBUTTONDBLCLK);
    }

private:
    void Tell(win32::UINT Msg) {
        TMessage message;
        message.Msg = Msg;
        CallEvent(owner_->HeaderWindowProc, message);
    }
    TListView* owner_;
};

// Draws the rows of a list view: as high as its small images, with grid lines when asked for.
class TListView::TRowDelegate : public QStyledItemDelegate {
public:
    explicit TRowDelegate(TListView* Owner) : QStyledItemDelegate(Owner), owner_(Owner) {}
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        QSize size = QStyledItemDelegate::sizeHint(Option, Index);
        if (owner_->smallImages_ != nullptr)
            size.setHeight(owner_->smallImages_->Height());
        return size;
    }
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        QStyledItemDelegate::paint(Painter, Option, Index);
        if (!owner_->gridLines_)
            return;
        Painter->save();
        Painter->setPen(QColor(0xC0, 0xC0, 0xC0));
        const QRect cell = Option.rect;
        Painter->drawLine(cell.topRight(), cell.bottomRight());
        Painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        Painter->restore();
    }

private:
    TListView* owner_;
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

void TListSubItems::Set(int Index, const std::string& Text) {
    if (Index < 0 || Index >= count_)
        IndexOutOfBounds(Index);
    item_->setText(Index + 1, QString::fromStdString(Text));
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

void TListItems::Delete(int Index) {
    delete Item(Index);
}

void TListItems::Clear() {
    owner_->list_->clear();
}

// TListColumns

void TListColumns::CheckIndex(int Index) const {
    if (Index < 0 || Index >= count_)
        IndexOutOfBounds(Index);
}

int TListColumns::Add(const std::string& Caption, int Width) {
    const int index = count_++;
    QTreeWidget* list = owner_->list_;
    if (list->columnCount() < count_)
        list->setColumnCount(count_);
    QTreeWidgetItem* header = list->headerItem();
    header->setText(index, QString::fromStdString(Caption));
    list->header()->resizeSection(index, Width);
    return index;
}

std::string TListColumns::Caption(int Index) const {
    CheckIndex(Index);
    return owner_->list_->headerItem()->text(Index).toStdString();
}

int TListColumns::Width(int Index) const {
    CheckIndex(Index);
    return owner_->list_->header()->sectionSize(Index);
}

void TListColumns::SetWidth(int Index, int Value) {
    CheckIndex(Index);
    owner_->list_->header()->resizeSection(Index, Value);
}

// TListView

TListView::TListView(QWidget* Parent) : TWinControl(Parent), list_(new TListWidget(this)), items_(this) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(list_);
    list_->setHeader(new THeader(this));
    list_->setItemDelegate(new TRowDelegate(this));
    list_->setColumnCount(1);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TListView::SetViewStyle(TViewStyle Value) {
    viewStyle_ = Value;
    list_->setHeaderHidden(Value != vsReport);
}

void TListView::SetGridLines(bool Value) {
    gridLines_ = Value;
    list_->viewport()->update();
}

void TListView::SetBorderStyle(TBorderStyle Value) {
    list_->setFrameShape(Value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TListView::SetSmallImages(TImageList* Value) {
    smallImages_ = Value;
    // The rows take their new height.
    list_->doItemsLayout();
}

QRect TListView::SubItemRect(const TListItem* Item, int Column) const {
    if (Item == nullptr || Column < 0 || Column >= list_->columnCount())
        return {};
    const QRect cell = list_->visualRect(list_->indexFromItem(Item, Column));
    if (cell.isEmpty())
        return {};
    return cell.translated(list_->viewport()->mapTo(this, QPoint(0, 0)));
}

int TListView::HeaderHeight() const {
    return list_->isHeaderHidden() ? 0 : list_->header()->height();
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
