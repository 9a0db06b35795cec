#include "platform/win32/CloseRequests.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace win32 {

namespace {

// The window manager asks a window to close with a client message of the protocol WM_PROTOCOLS holding the
// atom WM_DELETE_WINDOW.
class CloseRequestFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& EventType, void* Message, qintptr*) override {
        if (EventType != "xcb_generic_event_t" || !window_ || !onBlocked_)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(Message);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(Message);
        if (client->format != 32 || client->window != static_cast<xcb_window_t>(window_->winId()) ||
            !Atoms() || client->type != protocols_ || client->data.data32[0] != deleteWindow_)
            return false;
        if (QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget() != window_)
            onBlocked_();
        return false; // Qt goes on with it as usual (and drops it while the window is blocked)
    }

    void Watch(QWidget* Window, std::function<void()> OnBlocked) {
        window_ = Window;
        onBlocked_ = std::move(OnBlocked);
    }

private:
    // The two atoms, asked once from the display the program runs on.
    bool Atoms() {
        if (protocols_ != 0)
            return true;
        auto* x11 =
            qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr || x11->display() == nullptr)
            return false;
        protocols_ = static_cast<xcb_atom_t>(XInternAtom(x11->display(), "WM_PROTOCOLS", False));
        deleteWindow_ = static_cast<xcb_atom_t>(XInternAtom(x11->display(), "WM_DELETE_WINDOW", False));
        return protocols_ != 0;
    }

    QPointer<QWidget> window_;
    std::function<void()> onBlocked_;
    xcb_atom_t protocols_ = 0;
    xcb_atom_t deleteWindow_ = 0;
};

} // namespace

void WatchBlockedCloseRequests(QWidget* Window, std::function<void()> OnBlocked) {
    static CloseRequestFilter* filter = nullptr;
    if (filter == nullptr) {
        filter = new CloseRequestFilter; // lives as long as the process: Qt keeps a pointer to it
        QCoreApplication::instance()->installNativeEventFilter(filter);
    }
    filter->Watch(Window, std::move(OnBlocked));
}

} // namespace win32
