#include "platform/forms/TrackBar.h"

#include <QSlider>

namespace forms {

TTrackBar::TTrackBar(QWidget* Parent) : TWinControl(Parent), slider_(new QSlider(Qt::Horizontal, this)) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(slider_);
    slider_->setRange(0, 10);
    slider_->setPageStep(2);
    slider_->setTickPosition(QSlider::TicksBelow);
    QObject::connect(slider_, &QSlider::valueChanged, this, [this](int) {
        if (!changingByCode_)
            CallEvent(OnChange, this);
    });
}

int TTrackBar::Min() const {
    return slider_->minimum();
}

void TTrackBar::SetMin(int Value) {
    changingByCode_ = true;
    slider_->setMinimum(Value);
    changingByCode_ = false;
}

int TTrackBar::Max() const {
    return slider_->maximum();
}

void TTrackBar::SetMax(int Value) {
    changingByCode_ = true;
    slider_->setMaximum(Value);
    changingByCode_ = false;
}

int TTrackBar::Position() const {
    return slider_->value();
}

void TTrackBar::SetPosition(int Value) {
    changingByCode_ = true;
    slider_->setValue(Value);
    changingByCode_ = false;
}

int TTrackBar::PageSize() const {
    return slider_->pageStep();
}

void TTrackBar::SetPageSize(int Value) {
    slider_->setPageStep(Value);
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    tickStyle_ = Value;
    slider_->setTickPosition(Value == tsNone ? QSlider::NoTicks : QSlider::TicksBelow);
}

} // namespace forms
