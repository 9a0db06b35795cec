#include "platform/win32/Window.h"

#include <QApplication>
#include <QWidget>

namespace win32 {

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
    QCoreApplication::sendEvent(widget, &event);
    return event.Result;
}

BOOL PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam) {
    QWidget* widget = WidgetOf(Handle);
    if (widget == nullptr)
        return FALSE;
    QCoreApplication::postEvent(widget, new MessageEvent(Msg, WParam, LParam));
    return TRUE;
}

} // namespace win32
