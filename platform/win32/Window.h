#pragma once
// Window handles, messages and the window functions over Qt widgets.
//
// A handle is the widget's address, so it means the same in the program and in both libraries; WidgetOf
// checks that the widget still exists, so a stale handle names no window. Messages travel as Qt events:
// SendMessage delivers at once and returns the receiver's result, PostMessage queues. A receiver that does not
// accept the MessageEvent leaves the message to DefWindowProc as well, which gives WM_CLOSE, WM_SYSCOMMAND
// and WM_NCLBUTTONDOWN their default effect and ignores everything else.
//
// Everything here is for the GUI thread only.

#include <vector>

#include <QEvent>
#include <QPointer>

#include "platform/win32/Types.h"

class QWidget;

namespace win32 {

HWND HandleOf(const QWidget* Widget);
// The widget Handle names, or nullptr for 0 and for a window that no longer exists.
QWidget* WidgetOf(HWND Handle);
bool IsWindow(HWND Handle);

// One window message. It arrives not accepted; receivers that handle it set Result and accept it.
class MessageEvent : public QEvent {
public:
    // A fixed number, the same in every library that handles messages.
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(QEvent::User + 0x0301);

    MessageEvent(UINT Msg, WPARAM WParam, LPARAM LParam)
        : QEvent(EventType), Msg(Msg), WParam(WParam), LParam(LParam) {}

    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result = 0;
};

// Delivers the message to the window at once and returns the window's Result; 0 when Handle names no window.
// A message the window does not accept gets the default handling of DefWindowProc too.
LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);
// Queues the message for the window; FALSE when Handle names no window. When the message comes up, it is
// delivered as SendMessage delivers it, unless the window has gone meanwhile.
BOOL PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);

// The default handling of a message:
// - WM_CLOSE closes the window (its close handling runs);
// - WM_SYSCOMMAND with SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE minimizes, maximizes or restores the window,
//   SC_CLOSE sends it WM_CLOSE;
// - WM_NCLBUTTONDOWN with HTCAPTION lets the window manager move the window with the mouse, as a grab of a
//   caption bar would (it must come while the left button is held); where no window manager takes the move,
//   the window follows the pointer until the button is released;
// - anything else: nothing. Returns 0.
LRESULT DefWindowProc(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);

// Shows, hides, minimizes, maximizes or restores the window by an SW_ command. SW_RESTORE brings a minimized
// window back to the state it had before (maximized or normal) and a maximized or full-screen one to normal.
// A maximized window takes the screen's work area. Where no window manager runs, the window is placed here
// (the work area, the whole screen, back to its normal rectangle). For a child control every command but
// SW_HIDE shows it. Returns TRUE when the window was visible before.
BOOL ShowWindow(HWND Handle, int CmdShow);

// Shows the top-level window full screen: the whole screen, above the desktop's panels (on Linux a maximized
// window gets the work area only). SW_SHOWMAXIMIZED, SW_SHOWNORMAL or SW_RESTORE end it. Returns TRUE when
// the window was visible before; FALSE for a child control, which is left alone.
BOOL ShowWindowFullScreen(HWND Handle);

// Moves and sizes the window: a top-level window by its outer rectangle in screen coordinates, a child
// control in its parent's client coordinates. The window is told first (WM_WINDOWPOSCHANGING) and may refuse
// the new size or the move; the rest still applies.
BOOL MoveWindow(HWND Handle, int X, int Y, int Width, int Height, BOOL Repaint);

// As MoveWindow, unless SWP_NOMOVE or SWP_NOSIZE; InsertAfter HWND_TOPMOST or HWND_NOTOPMOST makes a top-level
// window stay above all others or not (without hiding it). Without SWP_NOACTIVATE the window is activated.
BOOL SetWindowPos(HWND Handle, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags);

// GWL_EXSTYLE with the WS_EX_TOPMOST bit is all that is kept.
constexpr int GWL_EXSTYLE = -20;
constexpr LONG WS_EX_TOPMOST = 0x00000008;
LONG GetWindowLong(HWND Handle, int Index);

// The outer rectangle in screen coordinates.
BOOL GetWindowRect(HWND Handle, RECT* Rect);
// (0, 0, client width, client height).
BOOL GetClientRect(HWND Handle, RECT* Rect);
// showCmd: SW_SHOWMAXIMIZED (3) maximized, SW_SHOWMINIMIZED (2) minimized, else SW_SHOWNORMAL (1); the
// normal position is the rectangle the window returns to when restored.
BOOL GetWindowPlacement(HWND Handle, WINDOWPLACEMENT* Placement);
BOOL IsWindowVisible(HWND Handle);
BOOL IsIconic(HWND Handle);
// TRUE for a maximized window, and for one shown full screen (it fills the screen as a maximized one does).
BOOL IsZoomed(HWND Handle);
BOOL EnableWindow(HWND Handle, BOOL Enable);
BOOL IsWindowEnabled(HWND Handle);

// Schedules a repaint of Rect (the whole client area when Rect is nullptr).
BOOL InvalidateRect(HWND Handle, const RECT* Rect, BOOL Erase);
BOOL UpdateWindow(HWND Handle);

// Raises the window and asks for it to be the active window.
BOOL SetForegroundWindow(HWND Handle);
HWND GetForegroundWindow();

// Mouse capture: every mouse event goes to the window until ReleaseCapture. Returns the previous capture.
HWND SetCapture(HWND Handle);
BOOL ReleaseCapture();
HWND GetCapture();

BOOL GetCursorPos(POINT* Point);
BOOL ClientToScreen(HWND Handle, POINT* Point);
BOOL ScreenToClient(HWND Handle, POINT* Point);

// The top-level windows of the program that are shown now, menus and dialogs included (not tool tips, nor the
// window of a tray icon, which belongs to the notification area), in no particular order.
std::vector<HWND> VisibleTopLevelWindows();

// True while a modal window is open (a dialog, a message box, a file dialog; also one hidden while its loop
// runs) or another message loop runs inside the program's own: a window freed now could be one that the code
// waiting for that loop goes on to use.
bool InsideModalLoop();

// Made as a modal window (a dialog, a message box, a file dialog) opens: remembers the active window, or
// Opener's window when none is active, and gives it the keyboard back when it ends, once the modal window has
// closed. A window manager does so itself; without one the focus would stay on the root window and every key
// would be lost until the user clicked a window. A window hidden or gone by then is left alone.
class FocusReturn {
public:
    explicit FocusReturn(QWidget* Opener = nullptr);
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> window_;
};

// SM_CXSCREEN and SM_CYSCREEN: the size of the primary screen; 0 for anything else.
int GetSystemMetrics(int Index);

} // namespace win32
