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
// - setting a text from code runs no key handler.

#include <functional>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

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
