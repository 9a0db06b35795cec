#pragma once
// The class library's up-down control: a pair of arrow buttons that steps a number between Min and Max,
// shown in the edit it is associated with.
//
// As the player's code relies on it:
// - associating an edit puts the arrows against the edit's right side, within the edit's old width, and
//   shows Position in the edit;
// - a click on an arrow first takes the number the edit shows (one within Min..Max; anything else is
//   ignored), then steps it by 1 up to Max or down to Min, shows it and runs OnClick with the arrow;
// - setting Position, Min or Max from code runs nothing.

#include <functional>

#include "platform/forms/WinControls.h"

class QToolButton;

namespace forms {

enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(QWidget* Parent = nullptr);

    TEdit* Associate() const { return associate_; }
    void SetAssociate(TEdit* Edit);
    int Min() const { return min_; }
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position() const { return position_; }
    void SetPosition(int Value);

    // Steps as a click on the arrow does.
    void ClickArrow(TUDBtnType Button);

    TUDClickEvent OnClick;

    // The arrows (tests click them as a user would).
    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void ShowPosition();
    QToolButton* up_;
    QToolButton* down_;
    TEdit* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

} // namespace forms
