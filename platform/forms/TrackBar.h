#pragma once
// The class library's standard track bar: a horizontal slider over Min..Max (0..10 unless set).
//
// As the player's code relies on it: OnChange runs when the user moves the thumb (dragging, clicking beside
// it, the keyboard); setting Position, Min or Max from code runs nothing.

#include "platform/forms/WinControls.h"

class QSlider;

namespace forms {

enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(QWidget* Parent = nullptr);

    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    // How far a click beside the thumb moves it.
    int PageSize() const;
    void SetPageSize(int Value);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle Value);
    // The thumb's length across the bar, and the room kept around the channel; the look of Qt's slider
    // follows the desktop's style, so these are kept for the code that sets them.
    int ThumbLength() const { return thumbLength_; }
    void SetThumbLength(int Value) { thumbLength_ = Value; }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value) { borderWidth_ = Value; }

    TNotifyEvent OnChange;

    // The Qt slider inside (tests move it as a user would).
    QSlider* Slider() const { return slider_; }

private:
    QSlider* slider_;
    TTickStyle tickStyle_ = tsAuto;
    int thumbLength_ = 20;
    int borderWidth_ = 0;
    bool changingByCode_ = false;
};

} // namespace forms
