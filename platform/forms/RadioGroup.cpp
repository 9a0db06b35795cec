#include "platform/forms/RadioGroup.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/forms/StringList.h"

namespace forms {

int TRadioGroupItems::Count() const {
    return static_cast<int>(group_.buttons_.size());
}

std::string TRadioGroupItems::operator[](int Index) const {
    return group_.Button(Index)->text().toStdString();
}

void TRadioGroupItems::Add(const std::string& Item) {
    auto* button = new QRadioButton(QString::fromStdString(Item), group_.box_);
    button->setFocusPolicy(Qt::StrongFocus);
    const int index = Count();
    group_.buttons_.push_back(button);
    group_.group_->addButton(button, index);
    group_.layout_->addWidget(button);
    QObject::connect(button, &QRadioButton::toggled, &group_,
                     [this, index](bool Checked) { group_.Toggled(index, Checked); });
}

void TRadioGroupItems::Clear() {
    group_.itemIndex_ = -1;
    for (QRadioButton* button : group_.buttons_) {
        // Its toggled signal must not report a change of a group that is taking it away.
        QObject::disconnect(button, nullptr, &group_, nullptr);
        group_.group_->removeButton(button);
        delete button;
    }
    group_.buttons_.clear();
}

TRadioGroup::TRadioGroup(QWidget* Parent)
    : TControl(Parent), box_(new QGroupBox(this)), layout_(new QVBoxLayout(box_)),
      group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    SetInnerWidget(box_);
}

TRadioGroup::~TRadioGroup() {
    for (QRadioButton* button : buttons_)
        QObject::disconnect(button, nullptr, this, nullptr);
}

std::string TRadioGroup::Caption() const {
    return box_->title().toStdString();
}

void TRadioGroup::SetCaption(const std::string& Value) {
    box_->setTitle(QString::fromStdString(Value));
}

QRadioButton* TRadioGroup::Button(int Index) const {
    if (Index < 0 || Index >= items_.Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return buttons_[static_cast<std::size_t>(Index)];
}

void TRadioGroup::SetItemIndex(int Value) {
    if (Value < 0 || Value >= items_.Count()) {
        if (itemIndex_ < 0)
            return;
        // An exclusive group keeps one button checked: none is checked only with the rule off for a moment.
        group_->setExclusive(false);
        buttons_[static_cast<std::size_t>(itemIndex_)]->setChecked(false);
        group_->setExclusive(true);
        itemIndex_ = -1;
        CallEvent(OnClick, this);
        return;
    }
    buttons_[static_cast<std::size_t>(Value)]->setChecked(true);
}

void TRadioGroup::Toggled(int Index, bool Checked) {
    // A button is unchecked only as another one is checked, or by SetItemIndex, which reports that itself.
    if (!Checked)
        return;
    itemIndex_ = Index;
    CallEvent(OnClick, this);
}

} // namespace forms
