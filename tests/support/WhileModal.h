#pragma once
// Drives a modal dialog from its own modal loop: a test arms WhileModal, then makes the call that shows the
// dialog; Steps run once the dialog is the active modal window. A guard closes every modal window after a
// generous time, so that a test whose steps fail to close the dialog fails instead of hanging.

#include <functional>

class QTimer;
class QWidget;

namespace testing_support {

class WhileModal {
public:
    explicit WhileModal(std::function<void(QWidget* Dialog)> Steps);
    ~WhileModal();
    WhileModal(const WhileModal&) = delete;
    WhileModal& operator=(const WhileModal&) = delete;

    // Whether the steps ran; false also when the guard had to close the dialog.
    bool Ran() const { return ran_ && !guarded_; }

private:
    std::function<void(QWidget*)> steps_;
    QTimer* poll_;
    QTimer* guard_;
    bool ran_ = false;
    bool guarded_ = false;
};

} // namespace testing_support
