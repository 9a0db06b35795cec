#pragma once
// The class library's radio button standing on its own (not in a radio group): the radio buttons with the
// same parent form one group, of which at most one is checked.
//
// As the player's code relies on it: OnClick runs whenever a button becomes checked, by a click or by code
// (SetChecked(true)), after the others of its group were unchecked; a click on the checked button, checking
// it again from code, and unchecking run nothing.

#include <string>

#include "platform/forms/WinControls.h"

class QRadioButton;

namespace forms {

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    bool Checked() const;
    void SetChecked(bool Value);

    // The Qt button inside (tests click it as a user would).
    QRadioButton* Button() const { return button_; }

private:
    void Toggled(bool Checked);
    QRadioButton* button_;
    bool changingByCode_ = false;
};

} // namespace forms
