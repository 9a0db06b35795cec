#include "platform/forms/CheckLst.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QStyledItemDelegate>

#include "platform/forms/StringList.h"

namespace forms {

// Runs the list's click after Qt has done what the click does (selecting the row, toggling its mark).
class TCheckListBox::TListWidget : public QListWidget {
public:
    explicit TListWidget(TCheckListBox* Owner) : QListWidget(Owner), owner_(Owner) {}

protected:
    void mousePressEvent(QMouseEvent* Event) override {
        pressedRow_ = row(itemAt(Event->position().toPoint()));
        QListWidget::mousePressEvent(Event);
        // A press on a check box selects its row too, as a press anywhere on the row does.
        if (Event->button() == Qt::LeftButton && pressedRow_ != -1 && owner_->ItemIndex() != pressedRow_)
            setCurrentRow(pressedRow_, QItemSelectionModel::ClearAndSelect);
    }
    void mouseReleaseEvent(QMouseEvent* Event) override {
        const int released = row(itemAt(Event->position().toPoint()));
        const bool click = Event->button() == Qt::LeftButton && released != -1 && released == pressedRow_;
        pressedRow_ = -1;
        QPointer<TCheckListBox> owner(owner_);
        QListWidget::mouseReleaseEvent(Event);
        if (click && owner)
            owner->Click();
    }
    void keyPressEvent(QKeyEvent* Event) override {
        const int before = currentRow();
        QPointer<TCheckListBox> owner(owner_);
        QListWidget::keyPressEvent(Event);
        if (owner && currentRow() != before)
            owner->Click();
    }

private:
    TCheckListBox* owner_;
    int pressedRow_ = -1;
};

// Rows of the control's item height, as wide as its scroll width.
class TCheckListBox::TRowDelegate : public QStyledItemDelegate {
public:
    explicit TRowDelegate(TCheckListBox* Owner) : QStyledItemDelegate(Owner), owner_(Owner) {}
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        const int width = owner_->scrollWidth_ > 0 ? owner_->scrollWidth_
                                                   : QStyledItemDelegate::sizeHint(Option, Index).width();
        return {width, owner_->itemHeight_};
    }

private:
    TCheckListBox* owner_;
};

TCheckListBox::TCheckListBox(QWidget* Parent) : TWinControl(Parent), list_(new TListWidget(this)) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(list_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new TRowDelegate(this));
    list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    LayoutChanged();
    QObject::connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem*) {
        if (!changingByCode_)
            CallEvent(OnClickCheck, this);
    });
}

void TCheckListBox::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TCheckListBox::Count() const {
    return list_->count();
}

std::string TCheckListBox::Items(int Index) const {
    CheckIndex(Index);
    return list_->item(Index)->text().toStdString();
}

void TCheckListBox::SetItems(int Index, const std::string& Text) {
    CheckIndex(Index);
    changingByCode_ = true;
    list_->item(Index)->setText(QString::fromStdString(Text));
    changingByCode_ = false;
}

bool TCheckListBox::Checked(int Index) const {
    CheckIndex(Index);
    return list_->item(Index)->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int Index, bool Value) {
    CheckIndex(Index);
    changingByCode_ = true;
    list_->item(Index)->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
    changingByCode_ = false;
}

void TCheckListBox::Add(const std::string& Text) {
    auto* item = new QListWidgetItem(QString::fromStdString(Text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    changingByCode_ = true;
    list_->addItem(item);
    changingByCode_ = false;
}

void TCheckListBox::Delete(int Index) {
    CheckIndex(Index);
    const int selected = ItemIndex();
    changingByCode_ = true;
    delete list_->takeItem(Index);
    changingByCode_ = false;
    SetItemIndex(selected == Index ? -1 : selected > Index ? selected - 1 : selected);
}

void TCheckListBox::Clear() {
    changingByCode_ = true;
    list_->clear();
    changingByCode_ = false;
}

int TCheckListBox::ItemIndex() const {
    const int row = list_->currentRow();
    return row != -1 && list_->item(row)->isSelected() ? row : -1;
}

void TCheckListBox::SetItemIndex(int Value) {
    changingByCode_ = true;
    if (Value >= 0 && Value < Count()) {
        list_->setCurrentRow(Value, QItemSelectionModel::ClearAndSelect);
    } else {
        list_->clearSelection();
        list_->setCurrentRow(-1);
    }
    changingByCode_ = false;
}

void TCheckListBox::SetItemHeight(int Value) {
    itemHeight_ = std::max(1, Value);
    LayoutChanged();
}

void TCheckListBox::SetScrollWidth(int Value) {
    scrollWidth_ = std::max(0, Value);
    LayoutChanged();
}

void TCheckListBox::SetBorderStyle(TBorderStyle Value) {
    list_->setFrameShape(Value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TCheckListBox::LayoutChanged() {
    list_->setHorizontalScrollBarPolicy(scrollWidth_ > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    list_->doItemsLayout();
}

} // namespace forms
