// The program block: the application object, its title, the one main window and the message loop.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include "app/WindowMap.h"
#include "core/PlaybackState.h"
#include "platform/com/Guids.h"
#include "platform/com/Unknown.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/media/VideoRenderer.h"
#include "platform/win32/Display.h"
#include "platform/win32/Window.h"
#include "ui/QuorelMainUnit.h"

namespace {

int terminateFds[2] = {-1, -1};

void OnTerminateSignal(int) {
    char byte = 1;
    [[maybe_unused]] auto n = ::write(terminateFds[0], &byte, 1);
}

// A session logout or `kill` closes the main window as the user would, so that its close handling runs, also
// while a modal box is up (nobody may be there to answer it, nor the boxes the close itself shows). The
// signal is caught from the start; when it comes before the message loop runs, the window closes as soon as
// the loop starts.
void CloseOnTerminateSignal() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminateFds) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(terminateFds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        [[maybe_unused]] auto n = ::read(terminateFds[1], &byte, 1);
        forms::Application().EndProgram();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Saves a picture of the main window as the screen shows it, under a temporary name first, so that a test
// waiting for the file never reads half of it.
void SaveMainWindowPicture(const std::string& Path) {
    forms::TForm* main = forms::Application().MainForm();
    QScreen* screen = QGuiApplication::primaryScreen();
    const std::string partial = Path + ".part";
    // On a busy machine the window may not be on the screen yet: then it is tried again a little later.
    if (main == nullptr || screen == nullptr || !main->isVisible() ||
        !screen->grabWindow(main->winId()).save(QString::fromStdString(partial), "PNG")) {
        QTimer::singleShot(200, [Path] { SaveMainWindowPicture(Path); });
        return;
    }
    std::error_code ec;
    std::filesystem::rename(partial, Path, ec);
}

// Test hook: QUOREL_GRAB_WINDOW=<file.png> saves a picture of the main window as the screen shows it, once
// it has been up for a moment (for looking at the skin under a real X server); QUOREL_GRAB_WINDOW_AGAIN=
// <file.png> saves a second one a second later (for seeing what moves).
void GrabMainWindowWhenAsked() {
    const char* file = std::getenv("QUOREL_GRAB_WINDOW");
    if (file == nullptr || *file == '\0')
        return;
    QTimer::singleShot(1500, [path = std::string(file)] { SaveMainWindowPicture(path); });
    const char* again = std::getenv("QUOREL_GRAB_WINDOW_AGAIN");
    if (again != nullptr && *again != '\0')
        QTimer::singleShot(2500, [path = std::string(again)] { SaveMainWindowPicture(path); });
}

// Test hook: QUOREL_GRAB_WINDOW_ON_SIGNAL=<file.png> saves a picture of the main window there at each
// SIGUSR1, so that a test driving the program sees what it shows at the moment it chooses.
int grabFds[2] = {-1, -1};

void OnGrabSignal(int) {
    char byte = 1;
    [[maybe_unused]] auto n = ::write(grabFds[0], &byte, 1);
}

void GrabMainWindowOnSignalWhenAsked() {
    const char* file = std::getenv("QUOREL_GRAB_WINDOW_ON_SIGNAL");
    if (file == nullptr || *file == '\0' || ::socketpair(AF_UNIX, SOCK_STREAM, 0, grabFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(grabFds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [path = std::string(file)] {
        char byte;
        [[maybe_unused]] auto n = ::read(grabFds[1], &byte, 1);
        SaveMainWindowPicture(path);
    });
    struct sigaction action = {};
    action.sa_handler = OnGrabSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

// Test hook: QUOREL_FILE_DIALOG_ANSWERS=<file> answers the program's file dialogs instead of a user: each
// dialog takes the next line of the file as the file chosen; an empty line, or no line left, cancels it.
void AnswerFileDialogsWhenAsked() {
    const char* file = std::getenv("QUOREL_FILE_DIALOG_ANSWERS");
    if (file == nullptr || *file == '\0')
        return;
    forms::SetFileDialogHandler(
        [path = std::string(file), next = std::size_t{0}](forms::TOpenDialog& Dialog) mutable {
            std::ifstream answers(path);
            std::string line;
            for (std::size_t i = 0; i <= next; ++i)
                if (!std::getline(answers, line))
                    line.clear();
            ++next;
            if (line.empty())
                return false;
            Dialog.FileName = line;
            Dialog.Files.Clear();
            Dialog.Files.Add(line);
            return true;
        });
}

// Test hook: QUOREL_OPENED_MEDIA=<file> appends the path of each medium the program opens to the file, one
// line each, once it plays, so that a test sees from outside what played and in which order. An open is told
// by what it makes: a new media graph (counted as its class makes them) or a new audio stream (whose handle
// is never used again). The state is looked at far more often than any medium can end.
std::atomic<long long> graphsMade = 0;

void LogOpenedMediaWhenAsked() {
    const char* file = std::getenv("QUOREL_OPENED_MEDIA");
    if (file == nullptr || *file == '\0')
        return;
    com::ClassFactory makeGraph = com::RevokeClassFactory(com::CLSID_FilterGraph);
    com::RegisterClassFactory(com::CLSID_FilterGraph, [makeGraph](const com::IID& Iid, void** Object) {
        ++graphsMade;
        return makeGraph(Iid, Object);
    });
    // An open: the play type, and the audio stream's handle or the number of the graph.
    using Open = std::pair<TPlayType, long long>;
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [path = std::string(file), logged = Open{}]() mutable {
        if (!State.IsPlaying)
            return;
        const Open open{State.PlayType, State.PlayType == PlayTypes::Audio
                                            ? static_cast<long long>(State.BassStream)
                                            : graphsMade.load()};
        if (open == logged)
            return;
        logged = open;
        std::ofstream(path, std::ios::binary | std::ios::app) << State.CurrentMediaFile << '\n';
    });
    poll->start(10);
}

// Test hook: QUOREL_PLAY_STATE=<file> keeps in the file what the player is doing, one "name=value" line each:
// playing and paused (0 or 1), the whole seconds of the media graph's position, the rate, full screen (0 or
// 1) and the caption of the modal dialog that is open (empty for none). The file is rewritten, under a
// temporary name first, whenever one of them changes.
void WritePlayStateWhenAsked() {
    const char* file = std::getenv("QUOREL_PLAY_STATE");
    if (file == nullptr || *file == '\0')
        return;
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [path = std::string(file), written = std::string()]() mutable {
        long long position = 0;
        if (State.MediaSeeking) {
            dshow::LONGLONG current = 0;
            if (com::SUCCEEDED(State.MediaSeeking->GetCurrentPosition(&current)))
                position = current / 10'000'000;
        }
        QWidget* modal = QApplication::activeModalWidget();
        std::ostringstream text;
        text << "playing=" << State.IsPlaying << "\npaused=" << State.IsPaused << "\nposition=" << position
             << "\nrate=" << State.PlayRate
             << "\nfullscreen=" << (QuorelMain_Form != nullptr && QuorelMain_Form->IsFullScreen)
             << "\nmodal=" << (modal != nullptr ? modal->windowTitle().toStdString() : "") << "\n";
        if (text.str() == written)
            return;
        written = text.str();
        const std::string partial = path + ".part";
        std::ofstream(partial, std::ios::binary | std::ios::trunc) << written;
        std::error_code ec;
        std::filesystem::rename(partial, path, ec);
    });
    poll->start(20);
}

long long MonotonicNanoseconds() {
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count());
}

// The moment of the first paint of a widget of the main window, seen before the widget paints.
class FirstMainWindowPaint : public QObject {
public:
    FirstMainWindowPaint() : QObject(QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (at == 0 && Event->type() == QEvent::Paint && Watched->isWidgetType() &&
            QuorelMain_Form != nullptr && static_cast<QWidget*>(Watched)->window() == QuorelMain_Form) {
            at = MonotonicNanoseconds();
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }
    long long at = 0;
};

// Test hook: QUOREL_START_TIMES=<file> writes, once both are known, when the main window was first painted
// and when the first video frame was painted or an audio file began to play ("shown=" and "frame=",
// nanoseconds of the monotonic clock, which every process of the machine shares), and the video panel's size
// then ("panel=WxH"), for the start-up benchmark. Looked at every 2 ms until then.
void WriteStartTimesWhenAsked() {
    const char* file = std::getenv("QUOREL_START_TIMES");
    if (file == nullptr || *file == '\0')
        return;
    auto* shown = new FirstMainWindowPaint;
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout,
                     [poll, shown, path = std::string(file), frame = 0LL, panel = QSize()]() mutable {
                         if (frame == 0 && (dshow::VideoRenderer::FramesPainted() > 0 ||
                                            (State.IsPlaying && State.PlayType == PlayTypes::Audio))) {
                             frame = MonotonicNanoseconds();
                             if (const QWidget* video = win32::WidgetOf(State.VideoPanelHandle))
                                 panel = video->size();
                         }
                         if (shown->at == 0 || frame == 0)
                             return;
                         poll->stop();
                         const std::string partial = path + ".part";
                         std::ofstream(partial, std::ios::binary | std::ios::trunc)
                             << "shown=" << shown->at << "\nframe=" << frame << "\npanel=" << panel.width()
                             << 'x' << panel.height() << "\n";
                         std::error_code ec;
                         std::filesystem::rename(partial, path, ec);
                     });
    poll->start(2);
}

// Test hook: QUOREL_FOLDER_DIALOG=<folder> answers every folder browser with the folder instead of showing
// it (an empty value cancels each browse), so that a test under a real X server can drive the folder
// commands.
void AnswerFolderBrowsersWhenAsked() {
    const char* answer = std::getenv("QUOREL_FOLDER_DIALOG");
    if (answer == nullptr)
        return;
    forms::SetSelectDirectoryHandler(
        [folder = std::string(answer)](const std::string&, std::string& Directory) {
            if (folder.empty())
                return false;
            Directory = folder;
            return true;
        });
}

} // namespace

int main(int argc, char* argv[]) {
    // Global hot keys and window placement need X11; under Wayland that is XWayland. Without a display the
    // program says so in one line (Qt would abort, advising to reinstall). A platform named in
    // QT_QPA_PLATFORM (the tests' offscreen one) is taken as it is.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') {
        if (const std::string problem = win32::X11DisplayProblem(); !problem.empty()) {
            std::fprintf(stderr, "QuorelMain %s.\n", problem.c_str());
            return 1;
        }
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    // The arguments as given: the application object takes out the options it knows, which may be files.
    TQuorelMain_Form::SetCommandLine(argc, argv);
    forms::Application().Initialize(argc, argv);
    CloseOnTerminateSignal();
    LogOpenedMediaWhenAsked();
    WriteWindowMapWhenAsked();
    WritePlayStateWhenAsked();
    WriteStartTimesWhenAsked();
    GrabMainWindowOnSignalWhenAsked();
    AnswerFileDialogsWhenAsked();
    AnswerFolderBrowsersWhenAsked();
    forms::Application().SetTitle("TarvexDvd 1.2");
    QuorelMain_Form = forms::Application().CreateForm<TQuorelMain_Form>();
    GrabMainWindowWhenAsked();
    return forms::Application().Run();
}
