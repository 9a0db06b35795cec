// The program block: start-up steps, the main window and the message loop.

#include <csignal>
#include <cstdlib>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>

#include "core/Settings.h"
#include "platform/win32/Files.h"

namespace {

int terminateFds[2] = {-1, -1};

void OnTerminateSignal(int) {
    char byte = 1;
    [[maybe_unused]] auto n = ::write(terminateFds[0], &byte, 1);
}

// A session logout or `kill` closes the main window as the user would, so that its close handling runs.
void CloseOnTerminateSignal(QWidget& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminateFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminateFds[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        [[maybe_unused]] auto n = ::read(terminateFds[1], &byte, 1);
        window.close();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[]) {
    // Global hot keys and window placement need X11; under Wayland that is XWayland.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") != nullptr)
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("TarvexDvd 1.2");

    StartSettings(win32::GetModuleFileName());

    QWidget window;
    window.setWindowTitle("TarvexDvd 1.2");
    window.resize(688, 442);
    CloseOnTerminateSignal(window);
    window.show();
    return QApplication::exec();
}
