// The program block: the application object, its title, the one main window and the message loop.

#include <csignal>
#include <cstdlib>
#include <string>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include "platform/forms/Forms.h"
#include "ui/QuorelMainUnit.h"

namespace {

int terminateFds[2] = {-1, -1};

void OnTerminateSignal(int) {
    char byte = 1;
    [[maybe_unused]] auto n = ::write(terminateFds[0], &byte, 1);
}

// A session logout or `kill` closes the main window as the user would, so that its close handling runs. The
// signal is caught from the start; when it comes before the message loop runs, the window closes as soon as
// the loop starts.
void CloseOnTerminateSignal() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminateFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminateFds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        [[maybe_unused]] auto n = ::read(terminateFds[1], &byte, 1);
        if (forms::TForm* main = forms::Application().MainForm())
            main->Close();
        else
            forms::Application().Terminate();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Test hook: QUOREL_GRAB_WINDOW=<file.png> saves a picture of the main window as the screen shows it, once
// it has been up for a moment (for looking at the skin under a real X server).
void GrabMainWindowWhenAsked() {
    const char* file = std::getenv("QUOREL_GRAB_WINDOW");
    if (file == nullptr || *file == '\0')
        return;
    const std::string path = file;
    QTimer::singleShot(1500, [path] {
        forms::TForm* main = forms::Application().MainForm();
        QScreen* screen = QGuiApplication::primaryScreen();
        if (main != nullptr && screen != nullptr)
            screen->grabWindow(main->winId()).save(QString::fromStdString(path), "PNG");
    });
}

} // namespace

int main(int argc, char* argv[]) {
    // Global hot keys and window placement need X11; under Wayland that is XWayland.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") != nullptr)
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // The arguments as given: the application object takes out the options it knows, which may be files.
    TQuorelMain_Form::SetCommandLine(argc, argv);
    forms::Application().Initialize(argc, argv);
    CloseOnTerminateSignal();
    forms::Application().SetTitle("TarvexDvd 1.2");
    QuorelMain_Form = forms::Application().CreateForm<TQuorelMain_Form>();
    GrabMainWindowWhenAsked();
    return forms::Application().Run();
}
