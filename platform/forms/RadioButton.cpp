#include "platform/forms/RadioButton.h"

#include <QRadioButton>

namespace forms {

TRadioButton::TRadioButton(QWidget* Parent) : TWinControl(Parent), button_(new QRadioButton(this)) {
    setFocusPolicy(Qt::NoFocus);
    // Qt groups radio buttons by their Qt parent, and each button here has a parent of its own: the group
    // of the class library (the siblings) is kept by hand.
    button_->setAutoExclusive(false);
    SetInnerWidget(button_);
    QObject::connect(button_, &QRadioButton::toggled, this, [this](bool Checked) { Toggled(Checked); });
}

std::string TRadioButton::Caption() const {
    return button_->text().toStdString();
}

void TRadioButton::SetCaption(const std::string& Value) {
    button_->setText(QString::fromStdString(Value));
}

bool TRadioButton::Checked() const {
    return button_->isChecked();
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == Checked())
        return;
    if (!Value) {
        changingByCode_ = true;
        button_->setChecked(false);
        changingByCode_ = false;
        return;
    }
    button_->setChecked(true);
}

void TRadioButton::Toggled(bool Checked) {
    if (changingByCode_)
        return;
    if (!Checked) {
        // A click on the checked button does not uncheck it.
        changingByCode_ = true;
        button_->setChecked(true);
        changingByCode_ = false;
        return;
    }
    if (parentWidget() != nullptr)
        for (QObject* child : parentWidget()->children())
            if (auto* other = dynamic_cast<TRadioButton*>(child); other != nullptr && other != this)
                other->SetChecked(false);
    Click();
}

} // namespace forms
