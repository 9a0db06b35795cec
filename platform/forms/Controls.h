#pragma once
// The base of every control of the class library: TControl, a Qt widget with the class library's
// properties, events and mouse rules. Panels, labels, images and forms derive from it; so do the input
// controls (buttons, edits, check boxes, lists), which put a Qt widget inside (SetInnerWidget).
//
// The rules the player's code relies on, which differ from Qt's own:
// - a press captures the mouse for the control (Qt's implicit grab), and so may a handler
// (win32::SetCapture);
//   the release of the last button held ends a capture of the control it reaches; a click (OnClick) comes for
//   the left button only, when it is released over the control that it went down on, and before OnMouseUp; a
//   double click gives OnDblClick and then OnMouseDown with ssDouble, after the first press's click;
// - the pointer coming over a control and going off it is reported for disabled controls too, and while a
//   button is held on a control, to that control alone as the pointer leaves it and comes back (Qt holds
//   these back until the release); the parent hears of it before the control's own handler runs
//   (ChildMouseEnter / ChildMouseLeave);
// - a right-button release over a control pops up the popup menu of the control or of its nearest parent
//   that has one;
// - children with an Align share the control's client area: alTop and alBottom first (in the order of their
//   positions), then alLeft and alRight, then alClient takes the rest, after every change of size, alignment
//   or visibility;
// - handlers run through CallEvent: an exception they raise ends that handler and is shown by the
//   application's default error box (Forms.h); no exception crosses into Qt.
//
// A handler may free the control it runs for; the control does not touch itself afterwards.

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include <QWidget>

#include "platform/forms/Graphics.h"
#include "platform/win32/Types.h"

class QEnterEvent;

namespace forms {

using TObject = QObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 0x01;
constexpr TShiftState ssAlt = 0x02;
constexpr TShiftState ssCtrl = 0x04;
constexpr TShiftState ssLeft = 0x08;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;
constexpr TShiftState ssDouble = 0x40;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A window message as a form's message handler sees it.
struct TMessage {
    win32::UINT Msg = 0;
    win32::WPARAM WParam = 0;
    win32::LPARAM LParam = 0;
    win32::LRESULT Result = 0;
};
using TMessageHandler = std::function<void(TMessage& Message)>;

// The one catch point: the application's exception handling (Forms.cpp).
void HandleEventException(std::exception_ptr Error);

// Calls Handler with Args when it is assigned; an exception it raises goes to HandleEventException.
// Returns false when the handler raised.
template <class Handler, class... Args> bool CallEvent(const Handler& Event, Args&&... A) {
    if (!Event)
        return true;
    try {
        Event(std::forward<Args>(A)...);
        return true;
    } catch (...) {
        HandleEventException(std::current_exception());
        return false;
    }
}

class TPopupMenu;

class TControl : public QWidget {
public:
    // A control with a parent is visible (as the class library's controls are when placed on a form).
    explicit TControl(QWidget* Parent = nullptr, Qt::WindowFlags Flags = {});
    ~TControl() override;

    std::string Name() const;
    void SetName(const std::string& Name);
    int Tag = 0;

    // Position in the parent's client area (a form: on the screen) and outer size.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
    void SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
    void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
    void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

    // The control's own visibility and enabled state, whatever its parent's.
    virtual bool Visible() const;
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool Value);
    // Visible and all parents visible.
    bool Showing() const { return isVisible(); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& Value) { font_.Assign(Value); }
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value) { popupMenu_ = Value; }
    bool DoubleBuffered() const { return doubleBuffered_; }
    // Qt paints every widget through a back buffer; the flag is kept for the code that sets it.
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }

    // The TControl that holds this one, or nullptr.
    TControl* ParentControl() const;
    void SetParent(QWidget* Parent);

    win32::HWND Handle() const;
    void BringToFront() { raise(); }
    void SendToBack() { lower(); }
    void Invalidate() { update(); }
    void Repaint() { repaint(); }
    void Refresh() { repaint(); }
    QPoint ClientToScreen(QPoint Point) const { return mapToGlobal(Point); }
    QPoint ScreenToClient(QPoint Point) const { return mapFromGlobal(Point); }

    // Re-lays out the children that have an Align.
    void AlignControls();
    // While a form builds its controls, alignment waits (so that the design positions decide the order of
    // panels with the same Align); EnableAlign lays out once the count is back at 0.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    // Handlers for window messages sent or posted to this control, by message id. A message without a handler
    // gets DefaultHandler; a handler that wants the default behaviour too calls DefaultHandler itself.
    void SetMessageHandler(win32::UINT Msg, TMessageHandler Handler);
    virtual void DefaultHandler(TMessage& Message);

    // Runs OnClick, as a click with the mouse does.
    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

protected:
    // The pointer came over the control or went off it (the class library's mouse-enter and mouse-leave
    // notifications). The parent has been told already.
    virtual void MouseEntered() {}
    virtual void MouseLeft() {}
    // A child (or a child's child) reports that the pointer came over it or went off it. By default the report
    // goes on to this control's parent.
    virtual void ChildMouseEnter(TControl* Child);
    virtual void ChildMouseLeave(TControl* Child);
    virtual void DblClick();
    // The font or colour changed; the default applies them to the widget and repaints.
    virtual void FontChanged();
    virtual void ColorChanged();
    // A control that wraps a Qt widget (an edit, a list) puts it here: it fills the control and takes its font,
    // colours and enabled state.
    void SetInnerWidget(QWidget* Inner);
    QWidget* InnerWidget() const { return inner_; }

    bool event(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    void ReportEnter();
    void ReportLeave();
    void ParentRealign();
    void PopupContextMenu(QPoint GlobalPos);

    std::string hint_;
    bool showHint_ = true;
    TFont font_;
    TColor color_ = clBtnFace;
    TCursor cursor_ = crDefault;
    TAlign align_ = alNone;
    TPopupMenu* popupMenu_ = nullptr;
    bool doubleBuffered_ = false;
    QWidget* inner_ = nullptr;
    std::map<win32::UINT, TMessageHandler> messageHandlers_;

    bool mouseInside_ = false; // as last reported to MouseEntered / MouseLeft
    bool clicked_ = false;     // the left button went down on this control and has not come up yet
    bool aligning_ = false;
    int alignDisabled_ = 0;
};

// The Qt cursor of a class-library cursor.
Qt::CursorShape CursorShapeOf(TCursor Cursor);

// The class library's shift state of a Qt input event.
TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

// Gives Role the colour Color while the control is enabled (the active and inactive colour groups): a
// disabled control keeps the style's disabled colours, so that it looks disabled whatever colours it has.
void SetEnabledColor(QPalette& Palette, QPalette::ColorRole Role, const QColor& Color);

} // namespace forms
