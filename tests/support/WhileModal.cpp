#include "tests/support/WhileModal.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace testing_support {

WhileModal::WhileModal(std::function<void(QWidget*)> Steps)
    : steps_(std::move(Steps)), poll_(new QTimer()), guard_(new QTimer()) {
    QObject::connect(poll_, &QTimer::timeout, [this] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible() || !dialog->isActiveWindow() || ran_)
            return;
        ran_ = true;
        poll_->stop();
        steps_(dialog);
    });
    QObject::connect(guard_, &QTimer::timeout, [this] {
        guarded_ = true;
        while (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->close();
            if (QApplication::activeModalWidget() == dialog)
                dialog->hide();
        }
    });
    poll_->start(5);
    guard_->setSingleShot(true);
    guard_->start(20000);
}

WhileModal::~WhileModal() {
    delete poll_;
    delete guard_;
}

} // namespace testing_support
