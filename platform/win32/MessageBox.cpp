#include "platform/win32/MessageBox.h"

#include <cstdio>
#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "platform/win32/FakeLog.h"
#include "platform/win32/Window.h"

namespace win32 {

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

// The boxes shown now, innermost last, and whether boxes are answered at once (EndMessageBoxes).
std::vector<QPointer<QMessageBox>>& OpenBoxes() {
    static std::vector<QPointer<QMessageBox>> boxes;
    return boxes;
}
bool answerAtOnce = false;

struct ButtonSpec {
    int Id;
    QMessageBox::StandardButton Button;
};

std::vector<ButtonSpec> ButtonsOf(UINT Type) {
    switch (Type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_ABORTRETRYIGNORE:
        return {
            {IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}};
    case MB_YESNOCANCEL:
        return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_YESNO:
        return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
    default:
        return {{IDOK, QMessageBox::Ok}};
    }
}

int ClosedWithoutButton(UINT Type) {
    for (const auto& b : ButtonsOf(Type))
        if (b.Id == IDCANCEL)
            return IDCANCEL;
    return (Type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

QMessageBox::Icon IconOf(UINT Type) {
    switch (Type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ShowQtMessageBox(const MessageBoxRequest& Request) {
    const FocusReturn focus(WidgetOf(Request.Owner));
    QMessageBox box(IconOf(Request.Type), QString::fromStdString(Request.Caption),
                    QString::fromStdString(Request.Text), QMessageBox::NoButton, WidgetOf(Request.Owner));
    const auto buttons = ButtonsOf(Request.Type);
    for (const auto& b : buttons)
        box.addButton(b.Button);
    const int defaultId = DefaultMessageBoxButton(Request.Type);
    for (const auto& b : buttons)
        if (b.Id == defaultId)
            box.setDefaultButton(b.Button);
    box.setWindowModality(Request.Owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    OpenBoxes().emplace_back(&box);
    box.exec();
    OpenBoxes().pop_back();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& b : buttons)
        if (clicked != nullptr && clicked == box.button(b.Button))
            return b.Id;
    return ClosedWithoutButton(Request.Type);
}

} // namespace

int DefaultMessageBoxButton(UINT Type) {
    const auto buttons = ButtonsOf(Type);
    const std::size_t index = (Type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0].Id;
}

int MessageBox(HWND Owner, const std::string& Text, const char* Caption, UINT Type) {
    const MessageBoxRequest request{Owner, Text, Caption != nullptr ? Caption : "Error", Type};
    if (Handler())
        return Handler()(request);
    if (answerAtOnce) {
        std::fprintf(stderr, "%s: %s\n", request.Caption.c_str(), request.Text.c_str());
        return ClosedWithoutButton(Type);
    }
    if (FakeRequested("QUOREL_MESSAGE_BOXES")) {
        char type[16];
        std::snprintf(type, sizeof type, "%X", static_cast<unsigned>(Type));
        AppendFakeLog("MessageBox " + request.Caption + "|" + type + "|" + request.Text);
        return DefaultMessageBoxButton(Type);
    }
    // A library called from a program without a GUI application object cannot show a box (Qt would end the
    // program): the text goes to standard error and the default button answers.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: %s\n", request.Caption.c_str(), request.Text.c_str());
        return DefaultMessageBoxButton(Type);
    }
    return ShowQtMessageBox(request);
}

void EndMessageBoxes() {
    answerAtOnce = true;
    for (const QPointer<QMessageBox>& box : std::vector<QPointer<QMessageBox>>(OpenBoxes()))
        if (box)
            box->reject();
}

void SetMessageBoxHandler(MessageBoxHandler NewHandler) { Handler() = std::move(NewHandler); }

} // namespace win32
