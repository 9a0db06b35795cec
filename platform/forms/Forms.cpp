#include "platform/forms/Forms.h"

#include <chrono>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "platform/forms/Menus.h"
#include "platform/forms/StringList.h"
#include "platform/win32/CloseRequests.h"
#include "platform/win32/Files.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"

namespace forms {

void HandleEventException(std::exception_ptr Error) {
    Application().HandleException(std::move(Error));
}

TForm::TForm(QWidget* Owner) : TControl(Owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    SetColor(clBtnFace);
    setAutoFillBackground(true);
    ApplyWindowFlags();
}

TForm::~TForm() {
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
    if (Application().MainForm() == this)
        Application().SetMainForm(nullptr);
}

std::string TForm::Caption() const {
    return windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& Value) {
    setWindowTitle(QString::fromStdString(Value));
}

void TForm::SetBorderStyle(TBorderStyle Value) {
    borderStyle_ = Value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle Value) {
    formStyle_ = Value;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    Qt::WindowFlags flags = Qt::Window;
    switch (borderStyle_) {
    case bsNone:
        flags |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsSingle:
    case bsSizeable:
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint;
        break;
    }
    // A form with an owner stays above it. A window manager keeps a window above another only when it is
    // that window's transient, which Qt makes of dialogs and tool windows alone: an owned plain window is a
    // tool window (which, as the owned windows of the description, has no task-bar entry either).
    if (parentWidget() != nullptr && (flags & Qt::WindowType_Mask) == Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
    if (formStyle_ == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible)
        show();
}

TWindowState TForm::WindowState() const {
    if (isMinimized())
        return wsMinimized;
    if (isMaximized())
        return wsMaximized;
    return wsNormal;
}

void TForm::SetWindowState(TWindowState Value) {
    Qt::WindowStates state = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (Value == wsMinimized)
        state |= Qt::WindowMinimized;
    else if (Value == wsMaximized)
        state |= Qt::WindowMaximized;
    setWindowState(state);
}

bool TForm::CanResize(int& NewWidth, int& NewHeight) {
    bool resize = true;
    if (!CallEvent(OnCanResize, this, NewWidth, NewHeight, resize))
        return false;
    return resize;
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const QSize extra = frameGeometry().size() - geometry().size();
    if (AWidth != Width() || AHeight != Height()) {
        if (!CanResize(AWidth, AHeight)) {
            AWidth = Width();
            AHeight = Height();
        }
    }
    move(ALeft, ATop);
    const QSize size(std::max(0, AWidth - extra.width()), std::max(0, AHeight - extra.height()));
    const bool resized = size != this->size();
    resize(size);
    if (resized && !isVisible())
        AlignControls(); // a hidden window gets its resize event only when shown
}

void TForm::DefaultHandler(TMessage& Message) {
    if (Message.Msg == win32::WM_WINDOWPOSCHANGING && Message.LParam != 0) {
        auto* pos = reinterpret_cast<win32::WINDOWPOS*>(Message.LParam);
        if ((pos->flags & win32::SWP_NOSIZE) == 0 && (pos->cx != Width() || pos->cy != Height())) {
            int w = pos->cx;
            int h = pos->cy;
            if (CanResize(w, h)) {
                pos->cx = w;
                pos->cy = h;
            } else {
                pos->flags |= win32::SWP_NOSIZE;
            }
        }
        return;
    }
    TControl::DefaultHandler(Message);
}

void TForm::PlaceAtFirstShow() {
    if (placed_)
        return;
    placed_ = true;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect area;
    switch (position_) {
    case poScreenCenter:
        area = screen->geometry();
        break;
    case poDesktopCenter:
        area = screen->virtualGeometry();
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        const QWidget* over = position_ == poOwnerFormCenter && parentWidget() != nullptr
                                  ? parentWidget()->window()
                                  : Application().MainForm();
        area = over != nullptr && over != this ? over->frameGeometry() : screen->geometry();
        break;
    }
    default:
        return;
    }
    move(area.left() + (area.width() - Width()) / 2, area.top() + (area.height() - Height()) / 2);
}

void TForm::SetVisible(bool Value) {
    if (Value) {
        if (!visible_) {
            PlaceAtFirstShow();
            visible_ = true;
            QPointer<TForm> self(this);
            CallEvent(OnShow, this);
            if (!self)
                return;
        }
        if (visible_)
            show();
        return;
    }
    if (!visible_ && isHidden())
        return;
    visible_ = false;
    QPointer<TForm> self(this);
    CallEvent(OnHide, this);
    if (self)
        hide();
}

void TForm::BringToFrontAndActivate() {
    Show();
    raise();
    activateWindow();
}

void TForm::Close() {
    close();
}

bool TForm::RunClose(TCloseAction& Action) {
    return CallEvent(OnClose, this, Action);
}

void TForm::closeEvent(QCloseEvent* Event) {
    Event->ignore();
    if (closing_)
        return;
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    TCloseAction action = caHide;
    QPointer<TForm> self(this);
    closing_ = true;
    const bool ran = RunClose(action);
    if (!self)
        return;
    closing_ = false;
    if (!ran || action == caNone)
        return;
    if (Application().MainForm() == this) {
        Application().Terminate();
        return;
    }
    switch (action) {
    case caHide:
        SetVisible(false);
        break;
    case caMinimize:
        showMinimized();
        break;
    case caFree:
        SetVisible(false);
        Release();
        break;
    default:
        break;
    }
}

void TForm::keyPressEvent(QKeyEvent* Event) {
    std::uint16_t key = VirtualKeyOf(Event->key(), Event->modifiers().testFlag(Qt::KeypadModifier));
    if (key == 0 || !OnKeyDown) {
        TControl::keyPressEvent(Event);
        return;
    }
    QPointer<TForm> self(this);
    CallEvent(OnKeyDown, this, key, ShiftStateOf(Event->modifiers(), QGuiApplication::mouseButtons()));
    if (key == 0)
        Event->accept();
    else if (self)
        TControl::keyPressEvent(Event);
}

void TForm::SetModalResult(TModalResult Value) {
    modalResult_ = Value;
    if (modal_ && Value != mrNone && modalLoop_ != nullptr)
        modalLoop_->quit();
}

TModalResult TForm::ShowModal() {
    if (modal_ || visible_)
        throw EClassLibraryError("Cannot make a visible window modal");
    const win32::FocusReturn focus(parentWidget());
    modal_ = true;
    modalResult_ = mrNone;
    setWindowModality(Qt::ApplicationModal);
    QPointer<TForm> self(this);
    BringToFrontAndActivate();
    QEventLoop loop;
    while (self && modalResult_ == mrNone) {
        // The end of the application ends the dialog too, as cancelled and without OnClose.
        if (Application().Terminated()) {
            modalResult_ = mrCancel;
            break;
        }
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        if (!self)
            break;
        modalLoop_ = nullptr;
        if (modalResult_ == mrNone)
            continue;
        // Ending the dialog is a close: OnClose may still keep it open (caNone).
        TCloseAction action = caHide;
        closing_ = true;
        const bool ran = RunClose(action);
        if (!self)
            break;
        closing_ = false;
        if (!ran || action == caNone)
            modalResult_ = mrNone;
    }
    if (!self)
        return mrCancel;
    modalLoop_ = nullptr;
    modal_ = false;
    SetVisible(false);
    setWindowModality(Qt::NonModal);
    return modalResult_;
}

void TForm::DoCreate() {
    CallEvent(OnCreate, this);
}

bool TForm::event(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::WindowActivate:
        CallEvent(OnActivate, this);
        break;
    case QEvent::WindowDeactivate:
        CallEvent(OnDeactivate, this);
        break;
    default:
        break;
    }
    return TControl::event(Event);
}

TApplication::TApplication() = default;

TApplication::~TApplication() {
    forms_.clear();
    qtApp_.reset();
}

void TApplication::Initialize(int& Argc, char** Argv) {
    if (QCoreApplication::instance() == nullptr)
        qtApp_ = std::make_unique<QApplication>(Argc, Argv);
    QApplication::setQuitOnLastWindowClosed(false);
    terminated_ = false;
}

void TApplication::SetTitle(const std::string& Value) {
    title_ = Value;
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::setApplicationName(QString::fromStdString(Value));
}

void TApplication::AddForm(std::unique_ptr<TForm> Form) {
    if (mainForm_ == nullptr)
        mainForm_ = Form.get();
    forms_.push_back(std::move(Form));
}

int TApplication::Run() {
    QApplication::setQuitOnLastWindowClosed(false);
    int code = 0;
    if (mainForm_ != nullptr && !terminated_) {
        win32::WatchBlockedCloseRequests(mainForm_, [this] { EndProgram(); });
        mainForm_->BringToFrontAndActivate();
        if (!terminated_) {
            running_ = true;
            code = QApplication::exec();
            running_ = false;
        }
    }
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    qtApp_.reset();
    return code;
}

void TApplication::Terminate() {
    terminated_ = true;
    // Ends the message loop and every modal loop running inside it at once. A quit would first ask every
    // window to close, and a modal form that is no dialog box refuses: the quit was then refused and an
    // invisible process stayed. Outside Run there is no loop to end (an exit then would end the next loop
    // that starts instead).
    if (running_)
        QCoreApplication::exit(0);
}

void TApplication::EndProgram() {
    win32::EndMessageBoxes();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<TForm*>(widget)) {
            if (form->Modal())
                form->SetModalResult(mrCancel);
        } else if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible()) {
            dialog->reject();
        }
    }
    // The close waits until the loops of the modal windows have returned, so that it runs in the message
    // loop itself and not inside a box that is going away. A modal window that will not end is given up on.
    auto* wait = new QTimer(QCoreApplication::instance());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    QObject::connect(wait, &QTimer::timeout, [this, wait, deadline] {
        if (QApplication::activeModalWidget() != nullptr && std::chrono::steady_clock::now() < deadline)
            return;
        wait->stop();
        wait->deleteLater();
        if (mainForm_ != nullptr && QApplication::activeModalWidget() == nullptr)
            mainForm_->Close();
        else
            Terminate();
    });
    wait->start(10);
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents();
}

win32::HWND TApplication::Handle() const {
    if (handle_ != nullptr)
        return handle_;
    return mainForm_ != nullptr ? mainForm_->Handle() : nullptr;
}

void TApplication::HandleException(std::exception_ptr Error) {
    try {
        std::rethrow_exception(std::move(Error));
    } catch (const std::exception& e) {
        if (OnException) {
            try {
                OnException(mainForm_, e);
            } catch (...) {
                // An error in the error handler is not shown again.
            }
        } else {
            ShowException(e);
        }
    } catch (...) {
        ShowException(std::runtime_error("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& E) {
    std::string text = E.what();
    if (!text.empty() && text.back() != '.')
        text += '.';
    win32::MessageBox(Handle(), text, title_.c_str(), win32::MB_OK | win32::MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, win32::UINT Flags) {
    QWidget* active = QApplication::activeWindow();
    win32::HWND owner = active != nullptr ? win32::HandleOf(active) : Handle();
    return win32::MessageBox(owner, Text, Caption.c_str(), Flags);
}

std::string TApplication::ExeName() const {
    return win32::GetModuleFileName();
}

TApplication& Application() {
    static TApplication application;
    return application;
}

int TScreen::Width() const {
    return win32::GetSystemMetrics(win32::SM_CXSCREEN);
}

int TScreen::Height() const {
    return win32::GetSystemMetrics(win32::SM_CYSCREEN);
}

TFont TScreen::IconFont() const {
    return TFont::FromQFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == cursor_)
        return;
    if (cursor_ != crDefault)
        QApplication::restoreOverrideCursor();
    cursor_ = Value;
    if (Value != crDefault)
        QApplication::setOverrideCursor(QCursor(CursorShapeOf(Value)));
}

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

namespace {

// Watches every paint of the program until one is of a widget in its window (a window whose own region its
// children cover may get no paint of its own), or until the fallback time is up. It belongs to the
// application, not to the window, so that a window freed by Call does not free the watch while it runs.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* Window, int FallbackMs, std::function<void()> Call)
        : QObject(QCoreApplication::instance()), window_(Window), call_(std::move(Call)) {
        QCoreApplication::instance()->installEventFilter(this);
        fallback_.setSingleShot(true);
        QObject::connect(&fallback_, &QTimer::timeout, this, [this] { Post(); });
        fallback_.start(FallbackMs);
    }

    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (window_ == nullptr || (Event->type() == QEvent::Paint && Watched->isWidgetType() &&
                                   static_cast<QWidget*>(Watched)->window() == window_))
            Post();
        return false;
    }

private:
    void Post() {
        if (posted_)
            return;
        posted_ = true;
        QCoreApplication::instance()->removeEventFilter(this);
        fallback_.stop();
        // Queued: the paint seen here is the window's first, its children are painted after it, and the
        // picture goes to the screen once they all are.
        QTimer::singleShot(0, this, [this] {
            deleteLater();
            if (window_ != nullptr)
                CallEvent(call_);
        });
    }

    QPointer<QWidget> window_;
    std::function<void()> call_;
    QTimer fallback_;
    bool posted_ = false;
};

} // namespace

void CallAfterFirstPaint(QWidget* Window, int FallbackMs, std::function<void()> Call) {
    new FirstPaintWatch(Window, FallbackMs, std::move(Call));
}

} // namespace forms
