#pragma once
// Panels, images, paint boxes and timers of the class library.

#include <functional>

#include <QObject>

#include "platform/forms/Controls.h"

class QPainter;
class QTimer;

namespace forms {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// A container filled with its colour, with an optional bevel and a centred caption.
class TPanel : public TControl {
public:
    explicit TPanel(QWidget* Parent = nullptr);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel Value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    std::string caption_;
};

// A picture in a rectangle: at the top-left corner, centred (Center) or stretched over the rectangle
// (Stretch); AutoSize makes the control as large as its picture. With Transparent the colour of the picture's
// bottom-left pixel is not drawn. Where no picture is drawn, the parent shows through.
class TImage : public TControl {
public:
    explicit TImage(QWidget* Parent = nullptr);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    bool Center() const { return center_; }
    void SetCenter(bool Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void ColorChanged() override {}

private:
    void PictureChanged();
    TPicture picture_;
    QImage masked_; // the picture prepared for Transparent
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

// A control its owner paints (OnPaint, with a painter on the control); without OnPaint it shows nothing.
class TPaintBox : public TControl {
public:
    explicit TPaintBox(QWidget* Parent = nullptr);

    std::function<void(TObject* Sender, QPainter& Canvas)> OnPaint;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void ColorChanged() override {}
};

// Calls OnTimer every Interval milliseconds while Enabled. An interval below 10 ms runs every 10 ms; an
// interval of 0, or no OnTimer, never fires. Changing Interval, Enabled or OnTimer (SetOnTimer) starts the
// count again.
class TTimer : public QObject {
public:
    explicit TTimer(QObject* Owner = nullptr);
    ~TTimer() override;

    std::string Name() const;
    void SetName(const std::string& Name);

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    void SetOnTimer(TNotifyEvent Handler);
    const TNotifyEvent& OnTimer() const { return onTimer_; }

    // Whether it is counting now.
    bool Running() const;

private:
    void UpdateTimer();
    QTimer* timer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
};

} // namespace forms
