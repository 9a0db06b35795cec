#include "platform/forms/UpDown.h"

#include <algorithm>
#include <charconv>

#include <QPointer>
#include <QToolButton>

namespace forms {

namespace {

constexpr int ArrowsWidth = 17;

} // namespace

TUpDown::TUpDown(QWidget* Parent)
    : TWinControl(Parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    setFocusPolicy(Qt::NoFocus);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        // Made after the control itself was shown (in a parent on the screen), they show only when told to.
        arrow->show();
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    QObject::connect(up_, &QToolButton::clicked, this, [this] { ClickArrow(btNext); });
    QObject::connect(down_, &QToolButton::clicked, this, [this] { ClickArrow(btPrev); });
    SetBounds(Left(), Top(), ArrowsWidth, 22);
}

void TUpDown::resizeEvent(QResizeEvent* Event) {
    TWinControl::resizeEvent(Event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

void TUpDown::SetAssociate(TEdit* Edit) {
    associate_ = Edit;
    if (Edit == nullptr)
        return;
    if (Edit->parentWidget() != parentWidget())
        setParent(Edit->parentWidget());
    Edit->SetWidth(Edit->Width() - ArrowsWidth);
    SetBounds(Edit->Left() + Edit->Width(), Edit->Top(), ArrowsWidth, Edit->Height());
    show();
    ShowPosition();
}

void TUpDown::SetMin(int Value) {
    min_ = Value;
    position_ = std::max(position_, min_);
    ShowPosition();
}

void TUpDown::SetMax(int Value) {
    max_ = Value;
    position_ = std::min(position_, max_);
    ShowPosition();
}

void TUpDown::SetPosition(int Value) {
    position_ = std::clamp(Value, min_, std::max(min_, max_));
    ShowPosition();
}

void TUpDown::ShowPosition() {
    if (associate_ != nullptr)
        associate_->SetText(std::to_string(position_));
}

void TUpDown::ClickArrow(TUDBtnType Button) {
    if (associate_ != nullptr) {
        const std::string text = associate_->Text();
        int typed = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), typed);
        if (error == std::errc() && end == text.data() + text.size() && typed >= min_ && typed <= max_)
            position_ = typed;
    }
    position_ = Button == btNext ? std::min(position_ + 1, max_) : std::max(position_ - 1, min_);
    QPointer<TUpDown> self(this);
    ShowPosition();
    if (self)
        CallEvent(OnClick, this, Button);
}

} // namespace forms
