// The main window with its video panel of MediaPanel.h, for tests of the player core: it names the two
// windows in the shared playback state.

#include <QApplication>
#include <QVBoxLayout>

#include "core/PlaybackState.h"
#include "platform/win32/Window.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"

namespace testing_support {

MediaWindow::MediaWindow(int PanelWidth, int PanelHeight) {
    EnsureQApplication();
    main_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(main_.get());
    layout->setContentsMargins(4, 4, 4, 4);
    panel_ = new QWidget;
    layout->addWidget(panel_);
    main_->resize(PanelWidth + 8, PanelHeight + 8);
    main_->show();
    QApplication::processEvents();
    State.MainWindowHandle = win32::HandleOf(main_.get());
    State.VideoPanelHandle = win32::HandleOf(panel_);
}

MediaWindow::~MediaWindow() {
    State.MainWindowHandle = nullptr;
    State.VideoPanelHandle = nullptr;
}

QImage MediaWindow::Picture() const {
    return panel_->grab().toImage();
}

} // namespace testing_support
