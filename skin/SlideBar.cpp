#include "skin/SlideBar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <utility>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

#include "assets/SlideBarArt.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/SlideGrafx.h"

using forms::TColor;

namespace {

// The class library's timer as the repeat timer.
class ClassLibraryRepeatTimer : public TSlideRepeatTimer {
public:
    ClassLibraryRepeatTimer() {
        timer_.SetOnTimer([this](forms::TObject*) {
            if (OnTimer)
                OnTimer();
        });
    }
    unsigned Interval() const override { return timer_.Interval(); }
    void SetInterval(unsigned Value) override { timer_.SetInterval(Value); }
    bool Enabled() const override { return timer_.Enabled(); }
    void SetEnabled(bool Value) override { timer_.SetEnabled(Value); }

private:
    forms::TTimer timer_;
};

constexpr unsigned kFirstRepeat = 200;
constexpr unsigned kNextRepeats = 100;

QRect ToQRect(const TRect& R) {
    return QRect(R.left, R.top, R.right - R.left, R.bottom - R.top);
}

int Saturated(long long Value) {
    return static_cast<int>(std::clamp<long long>(Value, INT_MIN, INT_MAX));
}

// Each pixel of one of the 14 colours of the thumb pictures takes the matching new colour, in one pass, so
// that a new colour is never taken for an old one.
QImage Recoloured(QImage Image, const std::array<std::pair<QRgb, QRgb>, 14>& Map) {
    auto recolour = [&](QRgb Pixel) {
        for (const auto& [from, to] : Map)
            if (qRgb(qRed(Pixel), qGreen(Pixel), qBlue(Pixel)) == from)
                return to;
        return Pixel;
    };
    if (Image.format() == QImage::Format_Indexed8 || Image.format() == QImage::Format_Mono) {
        QList<QRgb> table = Image.colorTable();
        for (QRgb& entry : table)
            entry = recolour(entry);
        Image.setColorTable(table);
        return Image;
    }
    Image = Image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < Image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x)
            line[x] = recolour(line[x]);
    }
    return Image;
}

QImage AsArgb(const QImage& Image) {
    return Image.convertToFormat(QImage::Format_ARGB32);
}

QCursor LoadCursorResource(const std::string& Name) {
    QPoint hotSpot;
    const QImage image = skinart::DrawSlideBarCursor(Name, hotSpot);
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

} // namespace

TSlideBar::TSlideBar(QWidget* Owner) : forms::TWinControl(Owner) {
    SetBounds(Left(), Top(), 200, 35);
    repeatTimer_ = std::make_unique<ClassLibraryRepeatTimer>();
    repeatTimer_->SetInterval(kFirstRepeat);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->OnTimer = [this] { RepeatTick(); };
    BuildThumbImages();
    HorzCursor = LoadCursorResource("SLIDEBAR_H_CURSOR");
    VertCursor = LoadCursorResource("SLIDEBAR_V_CURSOR");
}

TSlideBar::~TSlideBar() {
    repeatTimer_->OnTimer = nullptr;
}

void TSlideBar::SetRepeatTimer(std::unique_ptr<TSlideRepeatTimer> Timer) {
    Timer->SetInterval(repeatTimer_->Interval());
    Timer->SetEnabled(repeatTimer_->Enabled());
    repeatTimer_->OnTimer = nullptr;
    repeatTimer_ = std::move(Timer);
    repeatTimer_->OnTimer = [this] { RepeatTick(); };
}

// ---------------------------------------------------------------------------------------------------------
// Properties.

void TSlideBar::SetCustomThumb(const QImage& Value) {
    customThumb_ = Value;
    thumbStyle_ = tsCustom;
    ImagesChanged();
}

void TSlideBar::ImagesChanged() {
    BuildThumbImages();
    BackgroundChanged();
}

void TSlideBar::BackgroundChanged() {
    BackgroundStale = true;
    update();
}

namespace {

template <class T> bool Change(T& Field, T Value) {
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

void TSlideBar::SetHighlightColor(TColor Value) {
    if (Change(highlightColor_, Value))
        ImagesChanged();
}

void TSlideBar::SetHotTrackColor(TColor Value) {
    if (Change(hotTrackColor_, Value))
        ImagesChanged();
}

void TSlideBar::SetHotTrackColorType(TSlideHotTrackColorType Value) {
    if (Change(hotTrackColorType_, Value))
        ImagesChanged();
}

void TSlideBar::SetOrientation(TSlideOrientation Value) {
    if (Change(orientation_, Value))
        ImagesChanged();
}

void TSlideBar::SetPointerType(TPointerType Value) {
    if (Change(pointerType_, Value))
        ImagesChanged();
}

void TSlideBar::SetThumbStyle(TThumbStyle Value) {
    if (Value == thumbStyle_)
        return;
    thumbStyle_ = Value;
    if (!loading_)
        SetTrackWidth(Value == tsMixer || Value == tsFlat ? 6 : 8);
    ImagesChanged();
}

void TSlideBar::SetShowTicks(bool Value) {
    if (Change(showTicks_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTickColor(TColor Value) {
    if (Change(tickColor_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTickStep(int Value) {
    // A step below 1 would divide by zero when the ticks are painted.
    if (Change(tickStep_, std::max(Value, 1)))
        BackgroundChanged();
}

void TSlideBar::SetTickStyle(TTickStyle Value) {
    if (Change(tickStyle_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTrackColor(TColor Value) {
    if (Change(trackColor_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTrackOffset(std::uint16_t Value) {
    if (Change(trackOffset_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTrackFrame(TFrameStyle Value) {
    if (Change(trackFrame_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTrackFrameColor(TColor Value) {
    if (Change(trackFrameColor_, Value))
        BackgroundChanged();
}

void TSlideBar::SetTrackWidth(std::uint16_t Value) {
    if (Change(trackWidth_, std::max<std::uint16_t>(Value, 4)))
        BackgroundChanged();
}

void TSlideBar::SetTransparent(bool Value) {
    if (Change(transparent_, Value))
        BackgroundChanged();
}

bool TSlideBar::TabStop() const {
    return focusPolicy() == Qt::StrongFocus;
}

void TSlideBar::SetTabStop(bool Value) {
    setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TSlideBar::SetMax(int Value) {
    if (Value == max_)
        return;
    max_ = Value > min_ ? Value : min_ + 1;
    if (position_ > max_)
        SetPosition(max_);
    // The ticks follow the range.
    BackgroundChanged();
}

void TSlideBar::SetMin(int Value) {
    if (Value == min_)
        return;
    min_ = Value < max_ ? Value : max_ - 1;
    if (position_ < min_)
        SetPosition(min_);
    BackgroundChanged();
}

void TSlideBar::SetPosition(int Value) {
    // The test comes before the clamp: a value beyond a bound on a bar at that bound still raises the events.
    if (Value == position_)
        return;
    Value = std::clamp(Value, min_, max_);
    if (!AskChanging(Value))
        return;
    position_ = Value;
    InvalidateThumb();
    FireChange();
}

bool TSlideBar::IsPositionAcceptable(int) {
    return true;
}

void TSlideBar::FireChange() {
    if (!forms::CallEvent(OnChange, this))
        EventFailed();
}

bool TSlideBar::AskChanging(int NewPos) {
    bool allow = true;
    if (!forms::CallEvent(OnChanging, this, NewPos, allow)) {
        EventFailed();
        return false;
    }
    return allow;
}

void TSlideBar::FireDrawTick(QPainter& Canvas, QPoint Location, int Index) {
    if (!forms::CallEvent(OnDrawTick, this, Canvas, Location, Index))
        EventFailed();
}

// ---------------------------------------------------------------------------------------------------------
// Thumb pictures and geometry.

void TSlideBar::BuildThumbImages() {
    using namespace forms;
    TColor h1 = clNone, h2 = clNone, h3 = clNone;
    if (hotTrackColorType_ == htctActual) {
        h1 = hotTrackColor_;
        h2 = DarkenColor(hotTrackColor_, 30);
        h3 = LightenColor(hotTrackColor_, 30);
    } else {
        const TColor c = OppositeHueColor(hotTrackColor_, 140);
        h1 = DarkenColor(c, 15);
        h2 = DarkenColor(c, 30);
        h3 = c;
    }
    // The highlight colour itself replaces blue: the recolouring takes every pixel once, so the new colour
    // needs no offset to stay apart from the old ones (adding 1 to the packed value carried a full red into
    // the green byte, giving near black).
    const TColor replacements[14] = {clBtnFace,
                                     clBtnShadow,
                                     cl3DDkShadow,
                                     cl3DLight,
                                     LightenColor(clBtnShadow, 30),
                                     highlightColor_,
                                     DarkenColor(highlightColor_, 30),
                                     LightenColor(highlightColor_, 30),
                                     h1,
                                     h2,
                                     h3,
                                     clBtnShadow,
                                     DarkenColor(clBtnShadow, 30),
                                     LightenColor(clBtnShadow, 30)};
    static constexpr QRgb originals[14] = {
        qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(128, 128, 0), qRgb(255, 255, 0), qRgb(0, 128, 0),
        qRgb(0, 0, 255),     qRgb(0, 0, 128),     qRgb(0, 255, 255), qRgb(255, 0, 0),   qRgb(128, 0, 0),
        qRgb(255, 0, 255),   qRgb(0, 128, 128),   qRgb(128, 0, 128), qRgb(0, 255, 0)};
    std::array<std::pair<QRgb, QRgb>, 14> map;
    for (int i = 0; i < 14; ++i)
        map[static_cast<std::size_t>(i)] = {originals[i], ToQColor(replacements[i]).rgb()};

    // No desktop here has visual styles: tsBox and tsPointer keep their own pictures.
    if (thumbStyle_ == tsCustom) {
        const int w = customThumb_.width() / 3;
        const int h = customThumb_.height();
        ThumbImage = AsArgb(customThumb_.copy(0, 0, w, h));
        ThumbHotImage = ThumbImage;
        ThumbMask = AsArgb(customThumb_.copy(w, 0, w, h));
        ThumbDisabledImage = AsArgb(customThumb_.copy(2 * w, 0, w, h));
    } else {
        const bool vertical = orientation_ == orVertical;
        std::string base;
        bool recolour = true;
        switch (thumbStyle_) {
        case tsBox:
            base = vertical ? "SLIDEBAR_V_BOX" : "SLIDEBAR_H_BOX";
            break;
        case tsMixer:
            base = vertical ? "SLIDEBAR_V_MIXER" : "SLIDEBAR_H_MIXER";
            break;
        case tsFlat:
            base = vertical ? "SLIDEBAR_V_FLAT" : "SLIDEBAR_H_FLAT";
            break;
        case tsXPPointer:
            base = vertical ? "SLIDEBAR_V_XPPTR" : "SLIDEBAR_H_XPPTR";
            recolour = false;
            break;
        case tsXPBox:
            base = vertical ? "SLIDEBAR_V_XPBOX" : "SLIDEBAR_H_XPBOX";
            recolour = false;
            break;
        default:
            base = vertical                  ? "SLIDEBAR_V_PTR"
                   : pointerType_ == ptWin95 ? "SLIDEBAR_WIN95"
                                             : "SLIDEBAR_H_PTR";
            break;
        }
        auto load = [&](const std::string& Name, bool Recolour) {
            const QImage image = skinart::DrawSlideBarBitmap(Name);
            return AsArgb(Recolour ? Recoloured(image, map) : image);
        };
        ThumbImage = load(base, recolour);
        ThumbHotImage = load(base + "_HOT", recolour);
        ThumbDisabledImage = load(base + "_DISABLED", recolour);
        ThumbMask = load(base + "_MASK", false);
    }
    const bool horizontal = orientation_ == orHorizontal;
    ThumbLength = horizontal ? ThumbImage.width() : ThumbImage.height();
    ThumbBreadth = horizontal ? ThumbImage.height() : ThumbImage.width();
    HalfThumb = ThumbLength / 2;
}

int TSlideBar::Span() const {
    const int length = orientation_ == orHorizontal ? Width() : Height();
    return length - ThumbLength - 2 * EndMargin;
}

TRect TSlideBar::CalcTrackRect() const {
    if (orientation_ == orHorizontal)
        return {HalfThumb + EndMargin, trackOffset_, Width() - EndMargin - HalfThumb,
                trackOffset_ + trackWidth_};
    return {trackOffset_, HalfThumb + EndMargin, trackOffset_ + trackWidth_,
            Height() - EndMargin - HalfThumb};
}

TRect TSlideBar::CalcThumbRect() const {
    int shift = 0;
    if (thumbStyle_ == tsPointer || thumbStyle_ == tsXPPointer)
        shift = orientation_ == orHorizontal && pointerType_ == ptWin95 ? 0 : 2;
    const long long travel = static_cast<long long>(Span()) * (static_cast<long long>(position_) - min_) /
                             (static_cast<long long>(max_) - min_);
    const int across = (trackWidth_ - ThumbBreadth) / 2 + trackOffset_ - shift;
    TRect r;
    if (orientation_ == orHorizontal) {
        r.left = EndMargin + static_cast<int>(travel);
        r.right = r.left + ThumbLength;
        r.top = across;
        r.bottom = r.top + ThumbBreadth;
    } else {
        r.bottom = Height() - static_cast<int>(travel) - EndMargin;
        r.top = r.bottom - ThumbLength;
        r.left = across;
        r.right = r.left + ThumbBreadth;
    }
    return r;
}

// ---------------------------------------------------------------------------------------------------------
// Painting.

void TSlideBar::InvalidateThumb() {
    // Qt paints only from a paint event: the old and the new place of the thumb are repainted, from the
    // cached track when it is current.
    if (BackgroundStale) {
        update();
        return;
    }
    update(ToQRect(ThumbRect).united(ToQRect(CalcThumbRect())));
}

void TSlideBar::RebuildBackground() {
    Background = QImage(std::max(1, Width()), std::max(1, Height()), QImage::Format_ARGB32_Premultiplied);
    Background.fill(transparent_ ? QColor(Qt::transparent) : forms::ToQColor(Color()));
    {
        QPainter canvas(&Background);
        PaintTrack(canvas);
        if (showTicks_)
            PaintTicks(canvas);
    }
    BackgroundStale = false;
}

void TSlideBar::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    if (BackgroundStale)
        RebuildBackground();
    canvas.drawImage(0, 0, Background);
    if (hasFocus() && showFocusRect_) {
        QPen dotted(forms::ToQColor(forms::clBtnText));
        dotted.setStyle(Qt::DotLine);
        canvas.setPen(dotted);
        canvas.drawRect(0, 0, Width() - 1, Height() - 1);
    }
    PaintThumb(canvas);
}

void TSlideBar::PaintTrack(QPainter& Canvas) {
    TrackRect = CalcTrackRect();
    const QRect fill = ToQRect(TrackRect);
    if (fill.isValid())
        Canvas.fillRect(fill, forms::ToQColor(Enabled() ? trackColor_ : forms::clBtnFace));
    TRect inner;
    if (trackFrame_ == fsFlat)
        PaintSides(Canvas, TrackRect, trackFrameColor_, inner, sdAll, trackFrameColor_);
    else
        PaintFrame(Canvas, TrackRect, trackFrame_, inner);
}

void TSlideBar::PaintTicks(QPainter& Canvas) {
    const QColor colour = forms::ToQColor(tickColor_);
    Canvas.setPen(colour);
    const double scale = static_cast<double>(Span()) / (static_cast<double>(max_) - min_);
    const bool pointer = thumbStyle_ == tsPointer || thumbStyle_ == tsXPPointer;
    const bool win95Pointer = thumbStyle_ == tsPointer && pointerType_ == ptWin95;
    // The values from Min to Max that are multiples of TickStep.
    long long first = static_cast<long long>(min_) / tickStep_ * tickStep_;
    if (first < min_)
        first += tickStep_;
    for (long long i = first; i <= max_; i += tickStep_) {
        const int offset = static_cast<int>((static_cast<double>(i) - min_) * scale);
        const int index = static_cast<int>(i);
        if (orientation_ == orHorizontal) {
            const int x = offset + EndMargin + HalfThumb;
            if (tickStyle_ == tkOwnerDraw) {
                FireDrawTick(Canvas, QPoint(x, 0), index);
                continue;
            }
            if (!win95Pointer)
                Canvas.fillRect(x, 4, 1, 6, colour);
            if (win95Pointer || !pointer)
                Canvas.fillRect(x, Height() - 10, 1, 6, colour);
        } else {
            const int y = Height() - ThumbLength - offset - EndMargin + HalfThumb;
            if (tickStyle_ == tkOwnerDraw) {
                FireDrawTick(Canvas, QPoint(0, y), index);
                continue;
            }
            Canvas.fillRect(4, y, 6, 1, colour);
            if (!pointer)
                Canvas.fillRect(Width() - 10, y, 6, 1, colour);
        }
    }
}

void TSlideBar::PaintThumb(QPainter& Canvas) {
    ThumbRect = CalcThumbRect();
    if (BackgroundStale)
        RebuildBackground();
    const QImage& picture = !Enabled() ? ThumbDisabledImage : ThumbHot ? ThumbHotImage : ThumbImage;
    if (picture.isNull())
        return;
    // The background under the thumb, ANDed with the mask and ORed with the picture: the mask is black where
    // the thumb shows and white where the background does, the picture black outside the thumb. Where the
    // mask is white, the background keeps its transparency, so that a transparent bar shows its parent there.
    QImage thumb = Background.copy(QRect(ThumbRect.left, ThumbRect.top, picture.width(), picture.height()))
                       .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < thumb.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(thumb.scanLine(y));
        const bool inMask = y < ThumbMask.height();
        const auto* mask = inMask ? reinterpret_cast<const QRgb*>(ThumbMask.constScanLine(y)) : nullptr;
        const auto* image = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < thumb.width(); ++x) {
            const QRgb m = mask != nullptr && x < ThumbMask.width() ? mask[x] & 0xFFFFFF : 0;
            const QRgb rgb = ((out[x] & m) | image[x]) & 0xFFFFFF;
            const QRgb alpha = m == 0xFFFFFF ? out[x] & 0xFF000000 : 0xFF000000;
            out[x] = alpha | rgb;
        }
    }
    Canvas.drawImage(ThumbRect.left, ThumbRect.top, thumb);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse.

void TSlideBar::mousePressEvent(QMouseEvent* Event) {
    captured_ = true;
    QPointer<TSlideBar> self(this);
    forms::TWinControl::mousePressEvent(Event); // OnMouseDown
    if (!self)
        return;
    const QPoint p = Event->position().toPoint();
    PressAt(Event->button() == Qt::LeftButton, p.x(), p.y());
}

void TSlideBar::PressAt(bool LeftButton, int X, int Y) {
    SetFocus();
    if (!LeftButton)
        return;
    const TRect thumb = CalcThumbRect();
    if (PtInRect(thumb, X, Y)) {
        if (Paging)
            ReleaseWith(true);
        Dragging = true;
        DragOffset = QPoint(X - (thumb.left + (thumb.right - thumb.left) / 2),
                            Y - (thumb.top + (thumb.bottom - thumb.top) / 2));
        return;
    }
    if (!PtInRect(CalcTrackRect(), X, Y))
        return;
    repeatTimer_->SetEnabled(true);
    ClickPoint = QPoint(X, Y);
    const double scale = static_cast<double>(Span()) / (static_cast<double>(max_) - min_);
    const bool increasing =
        orientation_ == orHorizontal
            ? X >= EndMargin + static_cast<long long>((static_cast<double>(position_) - min_) * scale)
            : Y < EndMargin + static_cast<long long>((static_cast<double>(max_) - position_) * scale);
    if (!Paging) {
        PageIncrease = increasing;
        Paging = true;
    }
    if (increasing == PageIncrease) {
        const int value = Saturated(static_cast<long long>(position_) +
                                    (PageIncrease ? pageSize_ : -static_cast<int>(pageSize_)));
        if (IsPositionAcceptable(value))
            SetPosition(value);
    } else {
        // The thumb has passed the press point.
        ReleaseWith(true);
    }
}

void TSlideBar::RepeatTick() {
    repeatTimer_->SetInterval(kNextRepeats);
    if (!captured_)
        return;
    eventFailed_ = false;
    QPointer<TSlideBar> self(this);
    if (!forms::CallEvent(OnMouseDown, this, forms::mbLeft, forms::TShiftState{0}, ClickPoint.x(),
                          ClickPoint.y()))
        eventFailed_ = true;
    if (!self)
        return;
    PressAt(true, ClickPoint.x(), ClickPoint.y());
    if (self && eventFailed_) {
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(kFirstRepeat);
    }
}

void TSlideBar::mouseMoveEvent(QMouseEvent* Event) {
    QPointer<TSlideBar> self(this);
    forms::TWinControl::mouseMoveEvent(Event); // OnMouseMove
    if (!self)
        return;
    const QPoint p = Event->position().toPoint();
    const TRect thumb = CalcThumbRect();
    const bool overThumb = PtInRect(thumb, p.x(), p.y());
    if (overThumb)
        setCursor(orientation_ == orVertical ? VertCursor : HorzCursor);
    else
        unsetCursor();
    if (!Dragging) {
        if (overThumb != ThumbHot) {
            ThumbHot = overThumb;
            InvalidateThumb();
        }
        return;
    }
    const TRect track = CalcTrackRect();
    double offset = 0, range = 0;
    if (orientation_ == orHorizontal) {
        offset = p.x() - track.left - DragOffset.x();
        range = track.right - track.left;
    } else {
        offset = track.bottom - p.y() + DragOffset.y();
        range = track.bottom - track.top;
    }
    // A bar too narrow for its thumb has no travel to drag along.
    if (range <= 0)
        return;
    const double value = std::clamp(offset / range * (static_cast<double>(max_) - min_) + min_,
                                    static_cast<double>(min_), static_cast<double>(max_));
    const int position = static_cast<int>(std::nearbyint(value));
    if (IsPositionAcceptable(position))
        SetPosition(position);
}

void TSlideBar::mouseReleaseEvent(QMouseEvent* Event) {
    QPointer<TSlideBar> self(this);
    forms::TWinControl::mouseReleaseEvent(Event); // OnClick, OnMouseUp
    if (!self)
        return;
    if (Event->buttons() == Qt::NoButton)
        captured_ = false;
    ReleaseWith(Event->button() == Qt::LeftButton);
}

void TSlideBar::ReleaseWith(bool LeftButton) {
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(kFirstRepeat);
    Paging = false;
    if (Dragging && LeftButton) {
        Dragging = false;
        ThumbHot = false;
        InvalidateThumb();
    }
}

void TSlideBar::MouseEntered() {}

void TSlideBar::MouseLeft() {
    if (Dragging)
        return;
    ThumbHot = false;
    InvalidateThumb();
}

// ---------------------------------------------------------------------------------------------------------
// Keyboard, focus, size and state.

void TSlideBar::keyPressEvent(QKeyEvent* Event) {
    int key = Event->key();
    const forms::TShiftState shift = forms::ShiftStateOf(Event->modifiers(), Qt::NoButton);
    QPointer<TSlideBar> self(this);
    if (!forms::CallEvent(OnKeyDown, this, key, shift) || !self)
        return;
    const bool keypad = Event->modifiers().testFlag(Qt::KeypadModifier);
    const bool vertical = orientation_ == orVertical;
    long long value = position_;
    bool step = true;
    switch (key) {
    case Qt::Key_PageUp:
        value = static_cast<long long>(position_) + pageSize_;
        break;
    case Qt::Key_PageDown:
        value = static_cast<long long>(position_) - pageSize_;
        break;
    case Qt::Key_End:
        value = vertical ? min_ : max_;
        break;
    case Qt::Key_Home:
        value = vertical ? max_ : min_;
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        if (position_ > min_)
            value = position_ - 1;
        break;
    case Qt::Key_Up:
    case Qt::Key_Right:
        if (position_ < max_)
            value = position_ + 1;
        break;
    case Qt::Key_Minus:
    case Qt::Key_Plus:
        step = keypad;
        if (keypad && key == Qt::Key_Minus && position_ > min_)
            value = position_ - 1;
        if (keypad && key == Qt::Key_Plus && position_ < max_)
            value = position_ + 1;
        break;
    default:
        step = false;
        break;
    }
    if (step) {
        Event->accept();
        if (IsPositionAcceptable(Saturated(value)))
            SetPosition(Saturated(value));
        return;
    }
    if (tabOnEnter_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        // Enter moves on to the next control, as Tab does.
        Event->accept();
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
        return;
    }
    forms::TWinControl::keyPressEvent(Event);
}

void TSlideBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    forms::TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Resized();
}

void TSlideBar::Resized() {
    SetOrientation(Height() > Width() ? orVertical : orHorizontal);
    BackgroundStale = true;
}

void TSlideBar::resizeEvent(QResizeEvent* Event) {
    Resized();
    forms::TWinControl::resizeEvent(Event);
}

void TSlideBar::focusInEvent(QFocusEvent* Event) {
    forms::TWinControl::focusInEvent(Event);
    update();
}

void TSlideBar::focusOutEvent(QFocusEvent* Event) {
    forms::TWinControl::focusOutEvent(Event);
    captured_ = false;
    update();
}

void TSlideBar::hideEvent(QHideEvent* Event) {
    captured_ = false;
    forms::TWinControl::hideEvent(Event);
}

void TSlideBar::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            // A disabled control hears no release: a press held on it ends here.
            captured_ = false;
            ReleaseWith(true);
        }
        BackgroundChanged();
    }
    forms::TWinControl::changeEvent(Event);
}

void TSlideBar::ColorChanged() {
    forms::TWinControl::ColorChanged();
    BackgroundChanged();
}
