#include "platform/forms/StdCtrls.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStringList>
#include <QTextOption>

namespace forms {

namespace {

// The caption's lines; a line end at the very end starts no further line.
QStringList CaptionLines(const std::string& Caption) {
    QString text = QString::fromStdString(Caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    if (text.endsWith(QChar('\n')))
        text.chop(1);
    return text.split(QChar('\n'));
}

// The distance between two tab stops: eight "x" as Qt has it, but never closer than the widest text that a
// tab follows in the caption (and a blank), so that text after tabs lines up in columns whatever the widths
// of the text before them ("Title", tab, tab, "Song" and "Comment", tab, tab, "Nice one").
int TabDistance(const QFontMetrics& Metrics, const QStringList& Lines) {
    int distance = 8 * Metrics.horizontalAdvance(QChar('x'));
    for (const QString& line : Lines) {
        const QStringList parts = line.split(QChar('\t'));
        for (qsizetype i = 0; i + 1 < parts.size(); ++i)
            if (!parts[i].isEmpty())
                distance = std::max(distance, Metrics.horizontalAdvance(parts[i] + QChar(' ')));
    }
    return distance;
}

int LineWidth(const QFontMetrics& Metrics, const QString& Line, int Tabs) {
    if (!Line.contains(QChar('\t')))
        return Metrics.horizontalAdvance(Line);
    return Metrics.boundingRect(QRect(0, 0, 1 << 20, Metrics.height()), Qt::TextExpandTabs, Line, Tabs)
        .width();
}

// Draws Text in Area as the flags say, with a tab stop every Tabs pixels.
void DrawText(QPainter& Painter, const QRect& Area, int Flags, const QString& Text, int Tabs) {
    QTextOption option(Qt::Alignment(Flags & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)));
    option.setWrapMode((Flags & Qt::TextWordWrap) != 0 ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabStopDistance(Tabs);
    Painter.drawText(QRectF(Area), Text, option);
}

} // namespace

TLabel::TLabel(QWidget* Parent) : TControl(Parent), lines_(CaptionLines(caption_)) {
    AdjustBounds();
}

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
    return flags | Qt::TextExpandTabs;
}

int TLabel::LineHeight() const {
    return QFontMetrics(font()).height();
}

void TLabel::AdjustBounds() {
    if (!autoSize_)
        return;
    const QFontMetrics metrics(font());
    const QStringList& lines = lines_;
    QRect needed;
    const int tabs = TabStops();
    if (wordWrap_) {
        needed = metrics.boundingRect(QRect(0, 0, std::max(1, Width()), 100000), TextFlags(),
                                      lines.join('\n'), tabs);
    } else {
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, LineWidth(metrics, line, tabs));
        needed = QRect(0, 0, width, static_cast<int>(lines.size()) * LineHeight());
    }
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - needed.width();
    SetBounds(left, Top(), wordWrap_ ? Width() : needed.width(), std::max(needed.height(), metrics.height()));
}

int TLabel::TabStops() const {
    if (tabs_ < 0 || font() != tabsFont_) {
        tabsFont_ = font();
        tabs_ = TabDistance(QFontMetrics(tabsFont_), lines_);
    }
    return tabs_;
}

void TLabel::SetCaption(const std::string& Value) {
    if (Value == caption_)
        return;
    caption_ = Value;
    lines_ = CaptionLines(caption_);
    tabs_ = -1;
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

void TLabel::paintEvent(QPaintEvent* Event) {
    QPainter painter(this);
    if (!transparent_)
        painter.fillRect(rect(), ToQColor(Color()));
    painter.setFont(font());
    // Disabled, the text is greyed as the style greys it, whatever the font's colour.
    painter.setPen(isEnabled() ? ToQColor(Font().Color())
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    const int tabs = TabStops();
    if (wordWrap_) {
        DrawText(painter, rect(), TextFlags(), lines_.join('\n'), tabs);
        return;
    }
    // One line at a time at whole multiples of LineHeight, so that a caller can tell where each line is; only
    // the lines that cross the part being painted.
    const int lineHeight = std::max(1, LineHeight());
    const int count = static_cast<int>(lines_.size());
    const int textHeight = count * lineHeight;
    int top = 0;
    if (layout_ == tlCenter)
        top = (Height() - textHeight) / 2;
    else if (layout_ == tlBottom)
        top = Height() - textHeight;
    // Rounded down, also below the text's top.
    auto lineAt = [&](int Y) {
        const int d = Y - top;
        return d >= 0 ? d / lineHeight : -((-d + lineHeight - 1) / lineHeight);
    };
    const QRect painted = Event->rect();
    const int first = std::max(0, lineAt(painted.top()));
    const int last = std::min(count - 1, lineAt(painted.bottom()));
    const int horizontal = TextFlags() & (Qt::AlignHorizontal_Mask | Qt::TextExpandTabs);
    for (int i = first; i <= last; ++i)
        DrawText(painter, QRect(0, top + i * lineHeight, Width(), lineHeight), horizontal | Qt::AlignTop,
                 lines_[i], tabs);
}

void TLabel::MouseEntered() {
    CallEvent(OnMouseEnter, this);
}

void TLabel::MouseLeft() {
    CallEvent(OnMouseLeave, this);
}

} // namespace forms
