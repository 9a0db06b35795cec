#pragma once
// The class library's colour box: a drop-down list of the sixteen standard colours, each shown with a
// swatch and its name; black is selected at first.
//
// As for the combo box: OnChange runs when the user picks a colour; setting Selected from code runs nothing.

#include <string>

#include "platform/forms/WinControls.h"

class QComboBox;

namespace forms {

class TColorBox : public TWinControl {
public:
    explicit TColorBox(QWidget* Parent = nullptr);

    int Count() const;
    // The name of colour Index ("clBlack", ...); raises EClassLibraryError outside 0 .. Count-1.
    std::string Items(int Index) const;
    TColor Colors(int Index) const;
    // The selected colour; selecting one that is not in the list selects none (and Selected gives clBlack).
    TColor Selected() const;
    void SetSelected(TColor Value);
    int ItemIndex() const;

    TNotifyEvent OnChange;

private:
    QComboBox* combo_;
    bool changingByCode_ = false;
};

} // namespace forms
