#pragma once
// The hover image control every skin button, knob, strip and frame piece is made of: the class library's
// image with two more events, OnMouseEnter and OnMouseLeave. It knows nothing of skins: the windows that own
// the buttons load their pictures into it. The class library delivers enter and leave as the skin relies on
// (Controls.h): to disabled controls too, to the pressed control alone while a button is held, and to the
// parent first.

#include "platform/forms/ExtCtrls.h"

class tximage : public forms::TImage {
public:
    explicit tximage(QWidget* Parent = nullptr) : forms::TImage(Parent) {}

    forms::TNotifyEvent OnMouseEnter;
    forms::TNotifyEvent OnMouseLeave;

protected:
    void MouseEntered() override { forms::CallEvent(OnMouseEnter, this); }
    void MouseLeft() override { forms::CallEvent(OnMouseLeave, this); }
};

// The first child of Parent, in child order, whose class is exactly tximage (a subclass does not count);
// nullptr when there is none. (A window utility of the player core; it lives with the class it looks for,
// since the core does not reach up into the skin controls.)
tximage* FindImageControl(const QWidget* Parent);
