#include "platform/forms/StdCtrls.h"

#include <QFontMetrics>
#include <QPainter>

namespace forms {

TLabel::TLabel(QWidget* Parent) : TControl(Parent) { AdjustBounds(); }

int TLabel::TextFlags() const {
    int flags = 0;
    switch (alignment_) {
    case taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    switch (layout_) {
    case tlTop:
        flags |= Qt::AlignTop;
        break;
    case tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_)
        return;
    const QFontMetrics metrics(font());
    const QString text = QString::fromStdString(caption_);
    QRect needed;
    if (wordWrap_)
        needed = metrics.boundingRect(QRect(0, 0, std::max(1, Width()), 100000), TextFlags(), text);
    else
        needed = QRect(0, 0, metrics.horizontalAdvance(text), metrics.height());
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - needed.width();
    SetBounds(left, Top(), wordWrap_ ? Width() : needed.width(), std::max(needed.height(), metrics.height()));
}

void TLabel::SetCaption(const std::string& Value) {
    if (Value == caption_)
        return;
    caption_ = Value;
    AdjustBounds();
    update();
}

void TLabel::SetAutoSize(bool Value) {
    autoSize_ = Value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
    alignment_ = Value;
    update();
}

void TLabel::SetLayout(TTextLayout Value) {
    layout_ = Value;
    update();
}

void TLabel::SetTransparent(bool Value) {
    transparent_ = Value;
    update();
}

void TLabel::SetWordWrap(bool Value) {
    wordWrap_ = Value;
    AdjustBounds();
    update();
}

void TLabel::FontChanged() {
    TControl::FontChanged();
    AdjustBounds();
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_)
        painter.fillRect(rect(), ToQColor(Color()));
    painter.setFont(font());
    painter.setPen(ToQColor(Font().Color()));
    painter.drawText(rect(), TextFlags(), QString::fromStdString(caption_));
}

} // namespace forms
