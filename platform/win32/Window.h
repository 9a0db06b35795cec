#pragma once
// Window handles and messages over Qt widgets.
//
// A handle is the widget's address, so it means the same in the program and in both libraries; WidgetOf
// checks that the widget still exists, so a stale handle names no window. Messages travel as Qt events:
// SendMessage delivers at once and returns the receiver's result, PostMessage queues. A widget that does not
// handle MessageEvent ignores messages (SendMessage then returns 0).

#include <QEvent>

#include "platform/win32/Types.h"

class QWidget;

namespace win32 {

HWND HandleOf(const QWidget* Widget);
// The widget Handle names, or nullptr for 0 and for a window that no longer exists.
QWidget* WidgetOf(HWND Handle);
bool IsWindow(HWND Handle);

// One window message. Receivers set Result and accept the event when they handle it.
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

// Delivers the message to the window at once; 0 when Handle names no window or the window ignores it.
LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);
// Queues the message for the window; FALSE when Handle names no window.
BOOL PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);

} // namespace win32
