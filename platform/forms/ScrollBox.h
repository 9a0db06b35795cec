#pragma once
// The class library's scroll box: controls placed in it scroll when they reach past its edges.

#include "platform/forms/Forms.h"

class QScrollArea;

namespace forms {

// Controls are placed in the box by making Content() their parent; the scrolled range follows their extent
// (their bounds as they change), with scroll bars only where they do not fit.
class TScrollBox : public TControl {
public:
    explicit TScrollBox(QWidget* Parent = nullptr);

    TControl* Content() const { return content_; }
    // The controls placed in the box, in the order they were placed.
    int ControlCount() const;
    TControl* Controls(int Index) const;

    // bsNone: flat, without a frame; any other style draws the sunken one.
    void SetBorderStyle(TBorderStyle Value);

    // The scroll position: how far the content is scrolled down.
    int VertScrollPosition() const;
    int VertScrollRange() const;

protected:
    void ColorChanged() override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void FitContent();

    QScrollArea* area_;
    TControl* content_;
};

} // namespace forms
