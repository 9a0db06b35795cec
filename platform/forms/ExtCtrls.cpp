#include "platform/forms/ExtCtrls.h"

#include <algorithm>

#include <QPainter>
#include <QTimer>

namespace forms {

TPanel::TPanel(QWidget* Parent) : TControl(Parent) {
    setAutoFillBackground(false);
    ColorChanged();
}

void TPanel::SetBevelOuter(TPanelBevel Value) {
    bevelOuter_ = Value;
    update();
}

void TPanel::SetBevelInner(TPanelBevel Value) {
    bevelInner_ = Value;
    update();
}

void TPanel::SetCaption(const std::string& Value) {
    caption_ = Value;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(Color()));
    QRect r = rect();
    for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == bvNone || r.width() < 2 || r.height() < 2)
            continue;
        const QColor light = ToQColor(clBtnHighlight);
        const QColor dark = ToQColor(clBtnShadow);
        const QColor& topLeft = bevel == bvRaised ? light : dark;
        const QColor& bottomRight = bevel == bvRaised ? dark : light;
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    if (!caption_.empty()) {
        painter.setPen(ToQColor(Font().Color()));
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, QString::fromStdString(caption_));
    }
}

TImage::TImage(QWidget* Parent) : TControl(Parent) {
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    masked_ = QImage();
    if (transparent_ && !picture_.Empty()) {
        QImage image = picture_.Image().convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image.pixel(0, image.height() - 1) | 0xFF000000u;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
        }
        masked_ = image;
    }
    if (autoSize_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    update();
}

void TImage::SetAutoSize(bool Value) {
    autoSize_ = Value;
    PictureChanged();
}

void TImage::SetStretch(bool Value) {
    stretch_ = Value;
    update();
}

void TImage::SetCenter(bool Value) {
    center_ = Value;
    update();
}

void TImage::SetTransparent(bool Value) {
    transparent_ = Value;
    PictureChanged();
}

void TImage::paintEvent(QPaintEvent*) {
    if (picture_.Empty())
        return;
    QPainter painter(this);
    const QImage& image = transparent_ ? masked_ : picture_.Image();
    if (stretch_) {
        painter.drawImage(rect(), image);
        return;
    }
    QPoint at(0, 0);
    if (center_)
        at = QPoint((width() - image.width()) / 2, (height() - image.height()) / 2);
    painter.drawImage(at, image);
}

TPaintBox::TPaintBox(QWidget* Parent) : TControl(Parent) {}

void TPaintBox::paintEvent(QPaintEvent*) {
    if (!OnPaint)
        return;
    QPainter painter(this);
    CallEvent(OnPaint, this, painter);
}

TTimer::TTimer(QObject* Owner) : QObject(Owner), timer_(new QTimer(this)) {
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, this, [this] {
        const TNotifyEvent run = onTimer_; // the handler may replace itself or free the timer's owner
        CallEvent(run, this);
    });
}

TTimer::~TTimer() { timer_->stop(); }

std::string TTimer::Name() const { return objectName().toStdString(); }

void TTimer::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

void TTimer::UpdateTimer() {
    timer_->stop();
    if (enabled_ && interval_ > 0 && onTimer_)
        timer_->start(static_cast<int>(std::max(10u, std::min(interval_, 0x7FFFFFFFu))));
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == interval_)
        return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
    if (Value == enabled_)
        return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Handler) {
    onTimer_ = std::move(Handler);
    UpdateTimer();
}

bool TTimer::Running() const { return timer_->isActive(); }

} // namespace forms
