#pragma once
// Forms, the application object and the screen.
//
// A form is a top-level TControl. Its events, as the player's code relies on them:
// - OnCreate: the derived form's constructor builds its controls, binds their handlers and then calls
//   DoCreate, which runs OnCreate;
// - OnShow: when the form is shown by Show, SetVisible(true) or ShowModal while it was not visible; a window
//   shown again by the window system (restored, or by win32::ShowWindow) gets none, so it runs once for a
//   form that is never hidden through the class library;
// - OnActivate: at every activation of the form's window, also after a modal dialog over it closes;
// - OnClose (with the close action): at every close request (Close, WM_CLOSE, the window manager). Closing
// the
//   main form ends the application unless OnClose answers caNone; another form is hidden (caHide), freed
//   (caFree) or minimized (caMinimize). An exception in OnClose keeps the form open;
// - OnCanResize: every new size (SetBounds, win32::MoveWindow, SetWindowPos) can be refused: the size stays,
//   a move still happens;
// - OnResize: after every change of size;
// - OnKeyDown: a key pressed in the form that none of its controls took, with its virtual-key code; a
//   handler that sets Key to 0 has used it.
// Modal forms (ShowModal) disable the other windows of the program while timers go on running.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

class QApplication;
class QEventLoop;

namespace forms {

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
    poDesigned,
    poDefault,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsStayOnTop };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;

class TForm : public TControl {
public:
    // A form with an owner stays above it (a dialog over its window); the owner frees it.
    explicit TForm(QWidget* Owner = nullptr);
    ~TForm() override;

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    void SetClientWidth(int Value) { resize(Value, height()); }
    void SetClientHeight(int Value) { resize(width(), Value); }

    // A form's outer size includes the frame the window manager gives it.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool Visible() const override { return visible_; }
    void SetVisible(bool Value) override;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Shows the form, raises its window and asks for it to be the active one.
    void BringToFrontAndActivate();
    void Close();
    void Release() { deleteLater(); }

    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value);
    bool Modal() const { return modal_; }

    // Runs OnCreate; the derived constructor calls it last.
    void DoCreate();

    void DefaultHandler(TMessage& Message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCanResizeEvent OnCanResize;
    TKeyEvent OnKeyDown;

protected:
    bool event(QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    // Asks OnCanResize about a new size; true when it may be taken (NewWidth and NewHeight may change).
    bool CanResize(int& NewWidth, int& NewHeight);

private:
    void ApplyWindowFlags();
    void PlaceAtFirstShow();
    bool RunClose(TCloseAction& Action);

    TBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    bool visible_ = false;
    bool placed_ = false;
    bool modal_ = false;
    bool closing_ = false;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication {
public:
    TApplication();
    ~TApplication();

    // Creates the Qt application object unless there is one. Closing the last window does not end the
    // program: only closing the main form does.
    void Initialize(int& Argc, char** Argv);

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& Value);

    // Takes ownership of Form; the first form created is the main form.
    void AddForm(std::unique_ptr<TForm> Form);
    template <class T> T* CreateForm() {
        auto form = std::make_unique<T>();
        T* raw = form.get();
        AddForm(std::move(form));
        return raw;
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* Form) { mainForm_ = Form; }

    // Shows the main form and runs the message loop until the main form closes (or Terminate); then frees the
    // forms it owns, newest first. Returns the exit code.
    int Run();
    // Ends the message loop of Run for sure, with every modal loop inside it: ShowModal answers mrCancel once
    // the application is terminated.
    void Terminate();
    // An end of the program that nobody may be there to answer (a terminate signal; a close of the main form
    // by the window manager while a modal window blocks it): every modal window ends as cancelled, message
    // boxes from then on are answered at once (win32::EndMessageBoxes), and once the modal loops have
    // unwound the main form closes as a user close would (OnClose runs). Without a main form, Terminate.
    void EndProgram();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();

    // The window dialogs take as their owner: there is no hidden application window, so it is the main
    // form's. 0 before the main form exists.
    win32::HWND Handle() const;
    // Makes Value the owner of dialogs in place of the main form: the application object of a library, which
    // has no main form, takes its caller's window.
    void SetHandle(win32::HWND Value) { handle_ = Value; }

    // The default error box: OnException when assigned, else ShowException.
    void HandleException(std::exception_ptr Error);
    // A message box with the title as caption and the stop icon; the text gets a final "." when it has none.
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    // win32::MessageBox owned by the active form (or the main form).
    int MessageBox(const std::string& Text, const std::string& Caption, win32::UINT Flags);

    std::string ExeName() const;

private:
    std::unique_ptr<QApplication> qtApp_;
    std::string title_;
    std::vector<std::unique_ptr<TForm>> forms_;
    TForm* mainForm_ = nullptr;
    win32::HWND handle_ = nullptr;
    bool terminated_ = false;
    bool running_ = false; // inside Run's message loop
};

TApplication& Application();

// The screen: the primary monitor's size and the desktop's fonts and cursor.
class TScreen {
public:
    int Width() const;
    int Height() const;
    // The system's general font (the Windows icon-title font's counterpart).
    TFont IconFont() const;
    TCursor Cursor() const { return cursor_; }
    // A cursor other than crDefault shows over every window of the program until set back.
    void SetCursor(TCursor Value);

private:
    TCursor cursor_ = crDefault;
};

TScreen& Screen();

// Runs Call once from the message loop, after Window (a top-level widget) was painted for the first time: the
// window is then on the screen before work that holds the loop up (an open that builds a media graph). When
// no paint comes within FallbackMs (a window started hidden or minimized, a platform that never shows it),
// Call runs then. Nothing runs once Window is gone; an exception Call raises is shown by the default error
// box.
void CallAfterFirstPaint(QWidget* Window, int FallbackMs, std::function<void()> Call);

} // namespace forms
