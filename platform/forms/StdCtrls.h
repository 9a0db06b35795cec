#pragma once
// Standard controls of the class library. Each is a TControl; the input controls put their Qt widget inside
// with SetInnerWidget and turn its signals into the class library's events.

#include <string>

#include <QFont>
#include <QStringList>

#include "platform/forms/Controls.h"

namespace forms {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Lines of text in the control's font and font colour: a line ends at CR, LF or CR LF, and with WordWrap also
// at the control's width. AutoSize, the default, makes the control as large as its text after every change of
// caption or font, keeping its left edge (its right edge when right-justified). Unless Transparent, the
// background is filled with Color. A tab moves to the next tab stop; the stops are far enough apart that the
// text after the tabs of different lines lines up in columns. A paint draws only the lines that cross the part
// being painted, so that a label of many lines (the lyrics) costs what its visible lines cost.
class TLabel : public TControl {
public:
    explicit TLabel(QWidget* Parent = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    // The distance between two lines of the caption: CR LF, LF and CR each start a new line, and a caption
    // that is not word-wrapped draws line i at i * LineHeight from its top. Tabs are expanded.
    int LineHeight() const;

    // The pointer came over the label, and went off it.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void FontChanged() override;
    void MouseEntered() override;
    void MouseLeft() override;

private:
    int TextFlags() const;
    void AdjustBounds();
    int TabStops() const;
    std::string caption_;
    // The caption's lines, split once per caption.
    QStringList lines_;
    // The tab-stop distance of those lines in the font it was measured with (negative: not yet measured).
    mutable int tabs_ = -1;
    mutable QFont tabsFont_;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

} // namespace forms
