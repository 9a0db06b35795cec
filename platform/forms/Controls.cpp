#include "platform/forms/Controls.h"

#include <algorithm>
#include <vector>

#include <QContextMenuEvent>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>

#include "platform/forms/Menus.h"
#include "platform/win32/Window.h"

namespace forms {

namespace {

TMouseButton ButtonOf(Qt::MouseButton Button) {
    switch (Button) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

} // namespace

Qt::CursorShape CursorShapeOf(TCursor Cursor) {
    switch (Cursor) {
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crNo:
        return Qt::ForbiddenCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    TShiftState shift = 0;
    if (Modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (Modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (Modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    if (Buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (Buttons & Qt::RightButton)
        shift |= ssRight;
    if (Buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

void SetEnabledColor(QPalette& Palette, QPalette::ColorRole Role, const QColor& Color) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        Palette.setColor(group, Role, Color);
}

TControl::TControl(QWidget* Parent, Qt::WindowFlags Flags) : QWidget(Parent, Flags) {
    setMouseTracking(true);
    font_ = TFont::FromQFont(font());
    font_.OnChange = [this] { FontChanged(); };
    if (Parent != nullptr && !Flags.testFlag(Qt::Window))
        show();
}

TControl::~TControl() { font_.OnChange = nullptr; }

std::string TControl::Name() const { return objectName().toStdString(); }

void TControl::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

win32::HWND TControl::Handle() const { return win32::HandleOf(this); }

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == x() && ATop == y() && AWidth == width() && AHeight == height())
        return;
    const bool resized = AWidth != width() || AHeight != height();
    setGeometry(ALeft, ATop, AWidth, AHeight);
    // A hidden widget gets its resize event only when shown; the children must follow now.
    if (resized && !isVisible())
        AlignControls();
    if (align_ != alNone)
        ParentRealign();
}

bool TControl::Visible() const { return !isHidden(); }

void TControl::SetVisible(bool Value) {
    if (Value == Visible())
        return;
    setVisible(Value);
}

bool TControl::Enabled() const { return isWindow() ? isEnabled() : isEnabledTo(parentWidget()); }

void TControl::SetEnabled(bool Value) { setEnabled(Value); }

void TControl::SetHint(const std::string& Value) {
    hint_ = Value;
    setToolTip(showHint_ ? QString::fromStdString(hint_) : QString());
}

void TControl::SetShowHint(bool Value) {
    showHint_ = Value;
    SetHint(hint_);
}

void TControl::SetColor(TColor Value) {
    color_ = Value;
    ColorChanged();
}

void TControl::SetCursor(TCursor Value) {
    cursor_ = Value;
    if (Value == crDefault)
        unsetCursor();
    else
        setCursor(QCursor(CursorShapeOf(Value)));
}

void TControl::SetAlign(TAlign Value) {
    if (Value == align_)
        return;
    align_ = Value;
    ParentRealign();
}

TControl* TControl::ParentControl() const { return dynamic_cast<TControl*>(parentWidget()); }

void TControl::SetParent(QWidget* Parent) {
    const bool visible = Visible() || isWindow();
    setParent(Parent);
    if (Parent != nullptr && visible)
        show();
    ParentRealign();
}

void TControl::FontChanged() {
    setFont(font_.ToQFont());
    QPalette p = palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        SetEnabledColor(p, role, ToQColor(font_.Color()));
    setPalette(p);
    update();
}

void TControl::ColorChanged() {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color_));
    setPalette(p);
    update();
}

void TControl::SetInnerWidget(QWidget* Inner) {
    inner_ = Inner;
    if (inner_ != nullptr) {
        inner_->setParent(this);
        inner_->setGeometry(rect());
        inner_->show();
    }
}

void TControl::ParentRealign() {
    if (TControl* parent = ParentControl())
        parent->AlignControls();
}

void TControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0)
        AlignControls();
}

void TControl::AlignControls() {
    if (aligning_ || alignDisabled_ > 0)
        return;
    aligning_ = true;
    std::vector<TControl*> children;
    for (QObject* child : QObject::children())
        if (auto* control = dynamic_cast<TControl*>(child);
            control != nullptr && !control->isWindow() && control->align_ != alNone && !control->isHidden())
            children.push_back(control);
    auto take = [&](TAlign align, auto before) {
        std::vector<TControl*> group;
        for (TControl* c : children)
            if (c->align_ == align)
                group.push_back(c);
        std::stable_sort(group.begin(), group.end(), before);
        return group;
    };
    QRect r = rect();
    for (TControl* c : take(alTop, [](TControl* a, TControl* b) { return a->y() < b->y(); })) {
        c->setGeometry(r.left(), r.top(), r.width(), c->height());
        r.setTop(r.top() + c->height());
    }
    for (TControl* c : take(alBottom, [](TControl* a, TControl* b) {
             return a->y() + a->height() > b->y() + b->height();
         })) {
        c->setGeometry(r.left(), r.bottom() + 1 - c->height(), r.width(), c->height());
        r.setBottom(r.bottom() - c->height());
    }
    for (TControl* c : take(alLeft, [](TControl* a, TControl* b) { return a->x() < b->x(); })) {
        c->setGeometry(r.left(), r.top(), c->width(), std::max(0, r.height()));
        r.setLeft(r.left() + c->width());
    }
    for (TControl* c : take(alRight, [](TControl* a, TControl* b) {
             return a->x() + a->width() > b->x() + b->width();
         })) {
        c->setGeometry(r.right() + 1 - c->width(), r.top(), c->width(), std::max(0, r.height()));
        r.setRight(r.right() - c->width());
    }
    for (TControl* c : take(alClient, [](TControl*, TControl*) { return false; }))
        c->setGeometry(r.left(), r.top(), std::max(0, r.width()), std::max(0, r.height()));
    aligning_ = false;
}

void TControl::SetMessageHandler(win32::UINT Msg, TMessageHandler Handler) {
    if (Handler)
        messageHandlers_[Msg] = std::move(Handler);
    else
        messageHandlers_.erase(Msg);
}

void TControl::DefaultHandler(TMessage& Message) {
    Message.Result = win32::DefWindowProc(Handle(), Message.Msg, Message.WParam, Message.LParam);
}

void TControl::Click() { CallEvent(OnClick, this); }

void TControl::DblClick() { CallEvent(OnDblClick, this); }

void TControl::ChildMouseEnter(TControl* Child) {
    if (TControl* parent = ParentControl())
        parent->ChildMouseEnter(Child);
}

void TControl::ChildMouseLeave(TControl* Child) {
    if (TControl* parent = ParentControl())
        parent->ChildMouseLeave(Child);
}

void TControl::ReportEnter() {
    if (mouseInside_)
        return;
    mouseInside_ = true;
    QPointer<TControl> self(this);
    if (TControl* parent = ParentControl())
        parent->ChildMouseEnter(this);
    if (self)
        MouseEntered();
}

void TControl::ReportLeave() {
    if (!mouseInside_)
        return;
    mouseInside_ = false;
    QPointer<TControl> self(this);
    if (TControl* parent = ParentControl())
        parent->ChildMouseLeave(this);
    if (self)
        MouseLeft();
}

bool TControl::event(QEvent* Event) {
    if (Event->type() == win32::MessageEvent::EventType) {
        auto* m = static_cast<win32::MessageEvent*>(Event);
        TMessage message{m->Msg, m->WParam, m->LParam, 0};
        auto handler = messageHandlers_.find(m->Msg);
        if (handler != messageHandlers_.end()) {
            const TMessageHandler run = handler->second; // the handler may replace itself
            CallEvent(run, message);
        } else {
            DefaultHandler(message);
        }
        m->Result = message.Result;
        m->accept(); // DefaultHandler did the default handling, where wanted
        return true;
    }
    if ((Event->type() == QEvent::ShowToParent || Event->type() == QEvent::HideToParent) && align_ != alNone)
        ParentRealign();
    return QWidget::event(Event);
}

void TControl::mousePressEvent(QMouseEvent* Event) {
    Event->accept();
    const TMouseButton button = ButtonOf(Event->button());
    if (button == mbLeft)
        clicked_ = true;
    const QPoint p = Event->position().toPoint();
    CallEvent(OnMouseDown, this, button, ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TControl::mouseDoubleClickEvent(QMouseEvent* Event) {
    Event->accept();
    const TMouseButton button = ButtonOf(Event->button());
    QPointer<TControl> self(this);
    // The second press of a double click makes no click of its own.
    if (button == mbLeft)
        DblClick();
    if (!self)
        return;
    const QPoint p = Event->position().toPoint();
    CallEvent(OnMouseDown, this, button, ShiftStateOf(Event->modifiers(), Event->buttons()) | ssDouble, p.x(),
              p.y());
}

void TControl::mouseReleaseEvent(QMouseEvent* Event) {
    Event->accept();
    const TMouseButton button = ButtonOf(Event->button());
    const QPoint p = Event->position().toPoint();
    const bool over = rect().contains(p);
    QPointer<TControl> self(this);
    // The last button up ends the capture of the control it went to, whatever the handlers do: a capture that
    // outlived its press would keep every later click from the rest of the program.
    if (Event->buttons() == Qt::NoButton && QWidget::mouseGrabber() == this)
        releaseMouse();
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (over)
            Click();
        if (!self)
            return;
    }
    CallEvent(OnMouseUp, this, button, ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
    if (!self)
        return;
    if (button == mbRight && over)
        PopupContextMenu(Event->globalPosition().toPoint());
}

void TControl::mouseMoveEvent(QMouseEvent* Event) {
    Event->accept();
    const QPoint p = Event->position().toPoint();
    QPointer<TControl> self(this);
    if (Event->buttons() != Qt::NoButton) {
        // Qt reports no enter or leave while a button is held; the class library does, to this control.
        if (rect().contains(p))
            ReportEnter();
        else
            ReportLeave();
        if (!self)
            return;
    }
    CallEvent(OnMouseMove, this, ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TControl::enterEvent(QEnterEvent*) {
    // Qt sends the enter it held back during a press on release; it is not news when the press reported it.
    ReportEnter();
}

void TControl::leaveEvent(QEvent*) { ReportLeave(); }

void TControl::resizeEvent(QResizeEvent*) {
    if (inner_ != nullptr)
        inner_->setGeometry(rect());
    AlignControls();
    CallEvent(OnResize, this);
}

void TControl::contextMenuEvent(QContextMenuEvent* Event) {
    // The popup menu comes with the release of the right button (mouseReleaseEvent).
    Event->accept();
}

void TControl::PopupContextMenu(QPoint GlobalPos) {
    for (TControl* c = this; c != nullptr; c = c->ParentControl()) {
        if (c->popupMenu_ != nullptr && c->popupMenu_->AutoPopup) {
            c->popupMenu_->PopupComponent = c;
            c->popupMenu_->Popup(GlobalPos.x(), GlobalPos.y());
            return;
        }
    }
}

} // namespace forms
