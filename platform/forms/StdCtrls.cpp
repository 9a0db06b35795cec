#include "platform/forms/StdCtrls.h"

#include <QFontMetrics>
#include <QPainter>

namespace forms {

namespace {

// The caption as Qt draws it: every line break (CR LF, a lone CR or a lone LF) becomes one LF.
QString DisplayText(const std::string& Caption) {
    QString text = QString::fromStdString(Caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

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
    const QString text = DisplayText(caption_);
    QRect needed;
    if (wordWrap_)
        needed = metrics.boundingRect(QRect(0, 0, std::max(1, Width()), 100000), TextFlags(), text);
    else if (text.contains(QLatin1Char('\n')))
        needed = metrics.boundingRect(QRect(0, 0, 100000, 100000), TextFlags(), text);
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
    painter.drawText(rect(), TextFlags(), DisplayText(caption_));
}

void TLabel::MouseEntered() { CallEvent(OnMouseEnter, this); }

void TLabel::MouseLeft() { CallEvent(OnMouseLeave, this); }

} // namespace forms
