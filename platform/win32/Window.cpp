#include "platform/win32/Window.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "platform/win32/WindowManager.h"

namespace win32 {

namespace {

// A message waiting in the queue; it names its window by handle, so a window destroyed meanwhile is skipped.
class PostedMessageEvent : public QEvent {
public:
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(QEvent::User + 0x0302);
    PostedMessageEvent(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam)
        : QEvent(EventType), Handle(Handle), Msg(Msg), WParam(WParam), LParam(LParam) {}
    HWND Handle;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

class MessageQueue : public QObject {
protected:
    bool event(QEvent* e) override {
        if (e->type() != PostedMessageEvent::EventType)
            return QObject::event(e);
        auto* m = static_cast<PostedMessageEvent*>(e);
        SendMessage(m->Handle, m->Msg, m->WParam, m->LParam);
        return true;
    }
};

QObject* TheMessageQueue() {
    static QPointer<QObject> queue;
    if (queue.isNull())
        queue = new MessageQueue; // lives until the process ends
    return queue.data();
}

// The outer rectangle a top-level window has beyond its client area.
QSize FrameExtra(const QWidget* w) {
    if (!w->isWindow())
        return {0, 0};
    return w->frameGeometry().size() - w->geometry().size();
}

void SetStaysOnTop(QWidget* w, bool OnTop) {
    Qt::WindowFlags flags = w->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == OnTop)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, OnTop);
    if (QWindow* window = w->windowHandle()) {
        // QWidget::setWindowFlags would hide the window; the platform window takes the change as it is.
        w->overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        w->setWindowFlags(flags);
    }
}

BOOL Place(QWidget* w, HWND Handle, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags) {
    WINDOWPOS pos{Handle, InsertAfter, X, Y, Cx, Cy, Flags};
    SendMessage(Handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!IsWindow(Handle))
        return FALSE;
    if (w->isWindow() && (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST))
        SetStaysOnTop(w, InsertAfter == HWND_TOPMOST);
    if ((pos.flags & SWP_NOMOVE) == 0)
        w->move(pos.x, pos.y);
    if ((pos.flags & SWP_NOSIZE) == 0) {
        const QSize extra = FrameExtra(w);
        w->resize(std::max(0, pos.cx - extra.width()), std::max(0, pos.cy - extra.height()));
    }
    if ((pos.flags & SWP_SHOWWINDOW) != 0)
        w->show();
    if ((pos.flags & SWP_HIDEWINDOW) != 0)
        w->hide();
    if ((pos.flags & SWP_NOACTIVATE) == 0 && w->isWindow() && w->isVisible())
        w->activateWindow();
    return TRUE;
}

RECT ToRect(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// The rectangle a window placed here had in its normal state, kept for the way back.
constexpr const char* kNormalGeometry = "win32NormalGeometry";
constexpr Qt::WindowStates kPlacedStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// Puts a top-level window into the normal, maximized (the work area) or full-screen (the whole screen) state.
// A window manager does the placing; where none runs, nobody would, and the window would only claim the
// state: it is placed here, and goes back to its normal rectangle from here.
void ShowInState(QWidget* w, Qt::WindowStates Wanted) {
    if (WindowManagerPlacesWindows()) {
        if (Wanted.testFlag(Qt::WindowFullScreen))
            w->showFullScreen();
        else if (Wanted.testFlag(Qt::WindowMaximized))
            w->showMaximized();
        else
            w->showNormal();
        return;
    }
    const Qt::WindowStates before = w->windowState();
    const bool wasPlaced = (before & kPlacedStates) != 0;
    const Qt::WindowStates others = before & ~(kPlacedStates | Qt::WindowMinimized);
    if (Wanted == Qt::WindowNoState) {
        w->setWindowState(others);
        const QRect normal = w->property(kNormalGeometry).toRect();
        if (wasPlaced && normal.isValid())
            w->setGeometry(normal);
        w->show();
        return;
    }
    if (!wasPlaced)
        w->setProperty(kNormalGeometry, w->geometry());
    const QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        w->setGeometry(Wanted.testFlag(Qt::WindowFullScreen) ? screen->geometry()
                                                             : screen->availableGeometry());
    // After the geometry: Qt takes a new size of a window for the end of its maximized or full-screen state.
    w->setWindowState(others | Wanted);
    w->show();
}

// Moves a window with the pointer until the button is released, as a window manager's move would: for a
// system move where no window manager takes one.
class PointerMove : public QObject {
public:
    PointerMove(QWidget* Window, QPoint Grab) : window_(Window), grab_(Grab) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(Event);
            if (window_ != nullptr && (mouse->buttons() & Qt::LeftButton) != 0) {
                window_->move(mouse->globalPosition().toPoint() - grab_);
                return true;
            }
        }
        if (Event->type() == QEvent::MouseButtonRelease || window_ == nullptr) {
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPoint grab_; // the pointer's place in the window
};

void StartSystemMove(QWidget* Window) {
    if (QWindow* handle = Window->windowHandle(); handle != nullptr && handle->startSystemMove())
        return;
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) == 0)
        return;
    new PointerMove(Window, QCursor::pos() - Window->pos());
}

} // namespace

HWND HandleOf(const QWidget* Widget) { return reinterpret_cast<HWND>(const_cast<QWidget*>(Widget)); }

QWidget* WidgetOf(HWND Handle) {
    if (Handle == nullptr)
        return nullptr;
    // Qt's list of live widgets is shared by every library of the process, unlike any table of our own.
    for (QWidget* widget : QApplication::allWidgets())
        if (HandleOf(widget) == Handle)
            return widget;
    return nullptr;
}

bool IsWindow(HWND Handle) { return WidgetOf(Handle) != nullptr; }

LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam) {
    QWidget* widget = WidgetOf(Handle);
    if (widget == nullptr)
        return 0;
    MessageEvent event(Msg, WParam, LParam);
    event.ignore();
    QCoreApplication::sendEvent(widget, &event);
    if (!event.isAccepted())
        DefWindowProc(Handle, Msg, WParam, LParam);
    return event.Result;
}

BOOL PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!IsWindow(Handle))
        return FALSE;
    QCoreApplication::postEvent(TheMessageQueue(), new PostedMessageEvent(Handle, Msg, WParam, LParam));
    return TRUE;
}

LRESULT DefWindowProc(HWND Handle, UINT Msg, WPARAM WParam, LPARAM) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return 0;
    switch (Msg) {
    case WM_CLOSE:
        w->close();
        break;
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(Handle, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(Handle, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(Handle, SW_RESTORE);
            break;
        case SC_CLOSE:
            SendMessage(Handle, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (WParam == HTCAPTION)
            StartSystemMove(w->window());
        break;
    default:
        break;
    }
    return 0;
}

BOOL ShowWindow(HWND Handle, int CmdShow) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    const BOOL wasVisible = w->isVisible() ? TRUE : FALSE;
    if (CmdShow == SW_HIDE) {
        w->hide();
        return wasVisible;
    }
    if (!w->isWindow()) {
        w->show();
        return wasVisible;
    }
    switch (CmdShow) {
    case SW_SHOWNORMAL:
        ShowInState(w, Qt::WindowNoState);
        w->raise();
        w->activateWindow();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        w->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        ShowInState(w, Qt::WindowMaximized);
        w->activateWindow();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: {
        const bool was = w->testAttribute(Qt::WA_ShowWithoutActivating);
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
        w->show();
        w->setAttribute(Qt::WA_ShowWithoutActivating, was);
        break;
    }
    case SW_RESTORE:
        if (w->isMinimized()) {
            // Back to the state before the minimize: a window maximized then keeps its maximized bit.
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
            w->show();
        } else {
            ShowInState(w, Qt::WindowNoState);
        }
        w->activateWindow();
        break;
    default:
        w->show();
        break;
    }
    return wasVisible;
}

BOOL ShowWindowFullScreen(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || !w->isWindow())
        return FALSE;
    const BOOL wasVisible = w->isVisible() ? TRUE : FALSE;
    ShowInState(w, Qt::WindowFullScreen);
    w->activateWindow();
    return wasVisible;
}

BOOL MoveWindow(HWND Handle, int X, int Y, int Width, int Height, BOOL Repaint) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    const BOOL ok = Place(w, Handle, nullptr, X, Y, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (ok && Repaint && IsWindow(Handle))
        w->update();
    return ok;
}

BOOL SetWindowPos(HWND Handle, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    return Place(w, Handle, InsertAfter, X, Y, Cx, Cy, Flags);
}

LONG GetWindowLong(HWND Handle, int Index) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || Index != GWL_EXSTYLE)
        return 0;
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? WS_EX_TOPMOST : 0;
}

BOOL GetWindowRect(HWND Handle, RECT* Rect) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || Rect == nullptr)
        return FALSE;
    *Rect = w->isWindow() ? ToRect(w->frameGeometry()) : ToRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    return TRUE;
}

BOOL GetClientRect(HWND Handle, RECT* Rect) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || Rect == nullptr)
        return FALSE;
    *Rect = RECT{0, 0, w->width(), w->height()};
    return TRUE;
}

BOOL GetWindowPlacement(HWND Handle, WINDOWPLACEMENT* Placement) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || Placement == nullptr)
        return FALSE;
    if (w->isMinimized())
        Placement->showCmd = SW_SHOWMINIMIZED;
    else if (w->isMaximized())
        Placement->showCmd = SW_SHOWMAXIMIZED;
    else
        Placement->showCmd = SW_SHOWNORMAL;
    QRect normal = w->isWindow() && (w->isMinimized() || w->isMaximized() || w->isFullScreen())
                       ? w->normalGeometry()
                       : w->geometry();
    // A window placed here in place of a window manager keeps its normal rectangle itself.
    if (const QRect kept = w->property(kNormalGeometry).toRect();
        kept.isValid() && (w->windowState() & kPlacedStates) != 0)
        normal = kept;
    Placement->rcNormalPosition = ToRect(normal);
    return TRUE;
}

BOOL IsWindowVisible(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    return w != nullptr && w->isVisible() ? TRUE : FALSE;
}

BOOL IsIconic(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    return w != nullptr && w->isMinimized() ? TRUE : FALSE;
}

BOOL IsZoomed(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    return w != nullptr && (w->isMaximized() || w->isFullScreen()) && !w->isMinimized() ? TRUE : FALSE;
}

BOOL EnableWindow(HWND Handle, BOOL Enable) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    const BOOL wasDisabled = w->isEnabled() ? FALSE : TRUE;
    w->setEnabled(Enable != FALSE);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    return w != nullptr && w->isEnabled() ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND Handle, const RECT* Rect, BOOL) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    if (Rect == nullptr)
        w->update();
    else
        w->update(QRect(QPoint(Rect->left, Rect->top), QPoint(Rect->right - 1, Rect->bottom - 1)));
    return TRUE;
}

BOOL UpdateWindow(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    w->repaint();
    return TRUE;
}

BOOL SetForegroundWindow(HWND Handle) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr)
        return FALSE;
    w->window()->raise();
    w->window()->activateWindow();
    return TRUE;
}

HWND GetForegroundWindow() { return HandleOf(QApplication::activeWindow()); }

HWND SetCapture(HWND Handle) {
    HWND previous = GetCapture();
    if (QWidget* w = WidgetOf(Handle))
        w->grabMouse();
    return previous;
}

BOOL ReleaseCapture() {
    if (QWidget* w = QWidget::mouseGrabber())
        w->releaseMouse();
    return TRUE;
}

HWND GetCapture() { return HandleOf(QWidget::mouseGrabber()); }

BOOL GetCursorPos(POINT* Point) {
    if (Point == nullptr)
        return FALSE;
    const QPoint p = QCursor::pos();
    *Point = POINT{p.x(), p.y()};
    return TRUE;
}

namespace {

template <class Map> BOOL MapPoint(HWND Handle, POINT* Point, Map map) {
    QWidget* w = WidgetOf(Handle);
    if (w == nullptr || Point == nullptr)
        return FALSE;
    const QPoint p = map(w, QPoint(Point->x, Point->y));
    *Point = POINT{p.x(), p.y()};
    return TRUE;
}

} // namespace

BOOL ClientToScreen(HWND Handle, POINT* Point) {
    return MapPoint(Handle, Point, [](QWidget* w, QPoint p) { return w->mapToGlobal(p); });
}

BOOL ScreenToClient(HWND Handle, POINT* Point) {
    return MapPoint(Handle, Point, [](QWidget* w, QPoint p) { return w->mapFromGlobal(p); });
}

std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::ToolTip || w->inherits("QSystemTrayIconSys"))
            continue;
        windows.push_back(HandleOf(w));
    }
    return windows;
}

bool InsideModalLoop() {
    return QApplication::activeModalWidget() != nullptr || QThread::currentThread()->loopLevel() > 1;
}

FocusReturn::FocusReturn(QWidget* Opener) : window_(QApplication::activeWindow()) {
    if (window_ == nullptr && Opener != nullptr)
        window_ = Opener->window();
}

FocusReturn::~FocusReturn() {
    QWidget* w = window_.data();
    if (w == nullptr || !w->isVisible() || w->isMinimized())
        return;
    // Not past another modal window, which has the keyboard by right.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != w)
        return;
    w->activateWindow();
}

int GetSystemMetrics(int Index) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 0;
    switch (Index) {
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    default:
        return 0;
    }
}

} // namespace win32
