#include "app/WindowMap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"

namespace {

std::string TextOf(const QWidget* Widget) {
    if (const auto* label = dynamic_cast<const forms::TLabel*>(Widget))
        return label->Caption();
    if (const auto* panel = dynamic_cast<const forms::TPanel*>(Widget))
        return panel->Caption();
    if (const auto* edit = dynamic_cast<const forms::TEdit*>(Widget))
        return edit->Text();
    if (const auto* combo = dynamic_cast<const forms::TComboBox*>(Widget))
        return combo->Text();
    return {};
}

std::string Clean(std::string Text) {
    for (char& c : Text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return Text;
}

void WriteMap(const std::string& Path) {
    std::ostringstream out;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->objectName().isEmpty())
            continue;
        const std::string windowName = window->objectName().toStdString();
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : widgets) {
            if (w->objectName().isEmpty() || (w != window && w->window() != window))
                continue;
            const QPoint at = w->mapToGlobal(QPoint(0, 0));
            out << windowName << '\t' << w->objectName().toStdString() << '\t' << at.x() << '\t' << at.y()
                << '\t' << w->width() << '\t' << w->height() << '\t' << (w->isVisible() ? 1 : 0) << '\t'
                << Clean(TextOf(w)) << '\n';
        }
    }
    const std::string partial = Path + ".part";
    std::ofstream(partial, std::ios::binary | std::ios::trunc) << out.str();
    std::error_code ec;
    std::filesystem::rename(partial, Path, ec);
}

} // namespace

void WriteWindowMapWhenAsked() {
    const char* file = std::getenv("QUOREL_WINDOW_MAP");
    if (file == nullptr || *file == '\0')
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [path = std::string(file)] { WriteMap(path); });
    timer->start(100);
}
