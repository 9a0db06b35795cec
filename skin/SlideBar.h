#pragma once
// The track bar: a groove (the track) and a thumb painted from pictures, horizontal or vertical by its
// aspect, with seven thumb styles, optional ticks, transparency over its parent, dragging, paging by presses
// on the track with auto-repeat, keyboard steps and the events OnChanging, OnChange and OnDrawTick.
//
// Rules a user of the control relies on:
// - a setter does nothing when the new value equals the old one;
// - setting Position from code runs OnChanging and OnChange as a user's move does; the value is compared
//   with the current one before it is clamped into Min .. Max, so that a value beyond a bound on a bar at
//   that bound still raises both events;
// - Max stays above Min (a Max not above Min becomes Min + 1, a Min not below Max becomes Max - 1), a
//   position outside the new range is pulled in through the Position setter; TrackWidth is at least 4 and
//   TickStep at least 1;
// - the thumb pictures are our own 16-colour pictures, recoloured into the desktop's colours and the
//   highlight and hot-track colours, or the two XP styles' own colours, or the three frames of CustomThumb;
// - a bar too narrow for its thumb ignores drags;
// - painting never asks the parent to repaint: a transparent bar simply paints nothing under its track and
//   thumb, and the parent shows through.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <QCursor>
#include <QImage>

#include "platform/forms/Graphics.h"
#include "platform/forms/WinControls.h"
#include "skin/SlideCommon.h"

class QPainter;

enum TSlideOrientation { orHorizontal, orVertical };
enum TThumbStyle { tsBox, tsCustom, tsMixer, tsPointer, tsFlat, tsXPPointer, tsXPBox };
enum TPointerType { ptStandard, ptWin95 };
enum TTickStyle { tkStandard, tkOwnerDraw };
enum TSlideHotTrackColorType { htctComplement, htctActual };

class TSlideBar;

using TPositionChangingEvent = std::function<void(forms::TObject* Sender, int NewPos, bool& AllowChange)>;
using TDrawTickEvent = std::function<void(TSlideBar* TrackBar, QPainter& Canvas, QPoint Location, int Index)>;
// Key is a Qt key code; a handler that sets it to 0 keeps the bar from acting on it.
using TKeyEvent = std::function<void(forms::TObject* Sender, int& Key, forms::TShiftState Shift)>;

// The timer the auto-repeat of paging runs on: the class library's timer by default. A test hands a bar one
// that it advances by hand (TSlideBar::SetRepeatTimer).
class TSlideRepeatTimer {
public:
    virtual ~TSlideRepeatTimer() = default;
    virtual unsigned Interval() const = 0;
    // A new interval starts the count again.
    virtual void SetInterval(unsigned Value) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool Value) = 0;
    // Runs at every tick while enabled.
    std::function<void()> OnTimer;
};

class TSlideBar : public forms::TWinControl {
public:
    explicit TSlideBar(QWidget* Owner = nullptr);
    ~TSlideBar() override;

    // While the owner sets the properties its form describes, a new ThumbStyle keeps the described
    // TrackWidth.
    void SetLoading(bool Value) { loading_ = Value; }

    const QImage& CustomThumb() const { return customThumb_; }
    // Copies Value in; the thumb style becomes tsCustom (the track width stays).
    virtual void SetCustomThumb(const QImage& Value);
    forms::TColor HighlightColor() const { return highlightColor_; }
    virtual void SetHighlightColor(forms::TColor Value);
    forms::TColor HotTrackColor() const { return hotTrackColor_; }
    virtual void SetHotTrackColor(forms::TColor Value);
    TSlideHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
    virtual void SetHotTrackColorType(TSlideHotTrackColorType Value);
    int Max() const { return max_; }
    virtual void SetMax(int Value);
    int Min() const { return min_; }
    virtual void SetMin(int Value);
    TSlideOrientation Orientation() const { return orientation_; }
    virtual void SetOrientation(TSlideOrientation Value);
    std::uint16_t PageSize() const { return pageSize_; }
    void SetPageSize(std::uint16_t Value) { pageSize_ = Value; }
    TPointerType PointerType() const { return pointerType_; }
    virtual void SetPointerType(TPointerType Value);
    int Position() const { return position_; }
    virtual void SetPosition(int Value);
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool Value) { showFocusRect_ = Value; }
    bool ShowTicks() const { return showTicks_; }
    virtual void SetShowTicks(bool Value);
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool Value) { tabOnEnter_ = Value; }
    bool TabStop() const;
    void SetTabStop(bool Value);
    TThumbStyle ThumbStyle() const { return thumbStyle_; }
    virtual void SetThumbStyle(TThumbStyle Value);
    forms::TColor TickColor() const { return tickColor_; }
    virtual void SetTickColor(forms::TColor Value);
    int TickStep() const { return tickStep_; }
    virtual void SetTickStep(int Value);
    TTickStyle TickStyle() const { return tickStyle_; }
    virtual void SetTickStyle(TTickStyle Value);
    forms::TColor TrackColor() const { return trackColor_; }
    virtual void SetTrackColor(forms::TColor Value);
    std::uint16_t TrackOffset() const { return trackOffset_; }
    virtual void SetTrackOffset(std::uint16_t Value);
    TFrameStyle TrackFrame() const { return trackFrame_; }
    virtual void SetTrackFrame(TFrameStyle Value);
    forms::TColor TrackFrameColor() const { return trackFrameColor_; }
    virtual void SetTrackFrameColor(forms::TColor Value);
    std::uint16_t TrackWidth() const { return trackWidth_; }
    virtual void SetTrackWidth(std::uint16_t Value);
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool Value);

    // Puts Timer in place of the repeat timer (tests drive paging with a timer of their own).
    void SetRepeatTimer(std::unique_ptr<TSlideRepeatTimer> Timer);
    TSlideRepeatTimer& RepeatTimer() const { return *repeatTimer_; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    forms::TNotifyEvent OnChange;
    TPositionChangingEvent OnChanging;
    TDrawTickEvent OnDrawTick;
    TKeyEvent OnKeyDown;

protected:
    virtual void PaintTrack(QPainter& Canvas);
    virtual void PaintTicks(QPainter& Canvas);
    virtual void PaintThumb(QPainter& Canvas);
    // Whether a value that a press, a drag or a key asks for may be set; always true here.
    virtual bool IsPositionAcceptable(int Value);
    virtual void FireChange();
    // Asks OnChanging; false when it refuses (or raises).
    virtual bool AskChanging(int NewPos);
    virtual void FireDrawTick(QPainter& Canvas, QPoint Location, int Index);

    // The geometry for the current size, range, position and thumb.
    int Span() const;
    TRect CalcTrackRect() const;
    TRect CalcThumbRect() const;

    void BuildThumbImages();
    void RebuildBackground();
    // The thumb has to be drawn again (a move, hot or not): only its old and new places are repainted.
    void InvalidateThumb();
    void RepeatTick();
    // The press handling, for a press of the mouse and for each repeat of a held press on the track.
    void PressAt(bool LeftButton, int X, int Y);
    // The release handling: paging ends, and with the left button a drag too.
    void ReleaseWith(bool LeftButton);

    void MouseEntered() override;
    void MouseLeft() override;
    void ColorChanged() override;
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

    // Pixels kept free at each end of the thumb's travel.
    int EndMargin = 4;
    bool Dragging = false;
    bool Paging = false;
    bool PageIncrease = false;
    QPoint ClickPoint;
    QPoint DragOffset;
    int ThumbBreadth = 0;
    // Where the thumb was last painted.
    TRect ThumbRect;
    int ThumbLength = 0;
    int HalfThumb = 0;
    TRect TrackRect;
    QImage ThumbImage, ThumbHotImage, ThumbMask, ThumbDisabledImage;
    // The track and ticks over the control's colour (transparent for a transparent bar), as the thumb's
    // background.
    QImage Background;
    bool BackgroundStale = true;
    bool ThumbHot = false;
    QCursor HorzCursor, VertCursor;

private:
    void ImagesChanged();
    void BackgroundChanged();
    // The size changed: the orientation follows the aspect.
    void Resized();
    // An event of the bar's own raised an error (it has been shown); ends an auto-repeat.
    void EventFailed() { eventFailed_ = true; }

    int max_ = 10;
    int min_ = 0;
    TSlideOrientation orientation_ = orHorizontal;
    std::uint16_t pageSize_ = 1;
    int position_ = 0;
    TTickStyle tickStyle_ = tkStandard;
    forms::TColor tickColor_ = forms::clBtnShadow;
    int tickStep_ = 1;
    forms::TColor highlightColor_ = forms::clHighlight;
    forms::TColor hotTrackColor_ = forms::clHighlight;
    TSlideHotTrackColorType hotTrackColorType_ = htctComplement;
    bool showTicks_ = true;
    bool tabOnEnter_ = false;
    TThumbStyle thumbStyle_ = tsPointer;
    TPointerType pointerType_ = ptStandard;
    forms::TColor trackColor_ = forms::cl3DLight;
    std::uint16_t trackOffset_ = 20;
    TFrameStyle trackFrame_ = fsStatus;
    forms::TColor trackFrameColor_ = forms::clBtnShadow;
    std::uint16_t trackWidth_ = 8;
    bool showFocusRect_ = true;
    bool transparent_ = false;
    QImage customThumb_;
    std::unique_ptr<TSlideRepeatTimer> repeatTimer_;
    bool loading_ = false;
    bool captured_ = false; // the mouse is held on the bar (the class library's capture)
    bool eventFailed_ = false;
};
