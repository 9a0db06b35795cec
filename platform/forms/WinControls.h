#pragma once
// The class library's windowed input controls: buttons, single-line edits, memos and group boxes, each a Qt
// widget inside a TControl (SetInnerWidget).
//
// The rules the player's code relies on, which differ from Qt's own:
// - a button clicks on the left button released over it, on Space, and on Enter while it has the focus; Click
//   from code runs its OnClick too; a form has no default button that Enter presses elsewhere;
// - an edit's OnKeyPress sees every typed character (printable ones, Backspace 8, Enter 13 and Escape 27)
// before
//   the edit does: a handler that sets the key to 0 drops it, one that changes it types the new character;
//   keys that type nothing (arrows, Delete, Ctrl+V) do not reach it, so pasting still works;
// - setting a text from code runs no key handler;
// - a check box's OnClick runs whenever its state changes, by the user or by code (SetChecked), and not when
//   code sets the state it already has;
// - a combo box's OnChange runs only when the user picks an item; SetItemIndex from code runs nothing.

#include <functional>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace forms {

using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

// A control that can hold the keyboard focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(QWidget* Parent = nullptr);

    // Gives the control the focus; in a window that is not active yet, the control gets it when the window is
    // activated.
    void SetFocus();
    bool Focused() const;

protected:
    QWidget* FocusWidget() const;
};

class TButton : public TWinControl {
public:
    explicit TButton(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);

private:
    QPushButton* button_;
};

// A flat button with a caption: clicks as a button does, never takes the focus. Speed buttons with the same
// parent and the same GroupIndex (other than 0) form a group: a click leaves the clicked one down and
// releases the others; a click on the one that is down leaves it down. Setting Down from code runs nothing.
// A glyph, when loaded, is shown left of the caption.
class TSpeedButton : public TButton {
public:
    explicit TSpeedButton(QWidget* Parent = nullptr);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool Down() const;
    void SetDown(bool Value);
    bool Flat() const;
    void SetFlat(bool Value);
    TPicture& Glyph() { return glyph_; }
    const TPicture& Glyph() const { return glyph_; }

    void Click() override;

private:
    void ShowGlyph();
    int groupIndex_ = 0;
    TPicture glyph_;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    bool Checked() const;
    void SetChecked(bool Value);
    // The width that shows the whole caption beside the box, in the box's font.
    int FittingWidth() const;

private:
    QCheckBox* box_;
};

// A drop-down list without free text (the class library's csDropDownList style). OnCloseUp runs each time its
// list closes, once what the user picked there is the selection (nothing picked: the selection is as it
// was); the handler may free the combo box.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(QWidget* Parent = nullptr);

    int Count() const;
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string Items(int Index) const;
    void Add(const std::string& Text);
    // Puts Text before item Index (at the end for Index Count); raises EClassLibraryError outside 0 .. Count.
    void Insert(int Index, const std::string& Text);
    void Clear();
    // -1 when nothing is selected; -1 or an index outside the items selects none.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    // The selected item's text; empty when nothing is selected.
    std::string Text() const;
    // How many items the open list shows without scrolling.
    int DropDownCount() const;
    void SetDropDownCount(int Value);
    // Opens or closes the list, as a click on the box or a choice in the list does.
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;

private:
    class TDropDownList;
    void ListClosed();
    TDropDownList* combo_;
    bool changingByCode_ = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(QWidget* Parent = nullptr);

    std::string Text() const;
    void SetText(const std::string& Value);
    // A read-only edit shows its text and lets it be selected, not typed into.
    bool ReadOnly() const;
    void SetReadOnly(bool Value);

    TKeyPressEvent OnKeyPress;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void ColorChanged() override;

private:
    QLineEdit* edit_;
};

// The lines of a memo.
class TMemoLines {
public:
    explicit TMemoLines(QPlainTextEdit* Edit) : edit_(Edit) {}
    int Count() const;
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string operator[](int Index) const;
    void Add(const std::string& Line);
    void Clear();
    // The lines, each followed by CR LF.
    std::string Text() const;

private:
    QPlainTextEdit* edit_;
};

// Lines of text without scroll bars; WordWrap (the default) breaks them at the control's width.
class TMemo : public TWinControl {
public:
    explicit TMemo(QWidget* Parent = nullptr);

    TMemoLines& Lines() { return lines_; }
    const TMemoLines& Lines() const { return lines_; }
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    // bsNone draws no frame; any other style draws the sunken one.
    void SetBorderStyle(TBorderStyle Value);
    void SetWordWrap(bool Value);

protected:
    // A memo's colour is the colour of its text area.
    void ColorChanged() override;

private:
    QPlainTextEdit* edit_;
    TMemoLines lines_;
};

// A frame with a caption that groups the controls placed on it.
class TGroupBox : public TControl {
public:
    explicit TGroupBox(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);

private:
    QGroupBox* box_;
};

} // namespace forms
