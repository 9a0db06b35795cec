#include "app/WindowMap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
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

// The items of the menus on the screen, under the window name "Menu": each by its component's name (its
// caption when it has none), where it is, whether it can be chosen, and its caption, followed by " (checked)"
// when it is checked.
void WriteMenus(std::ostringstream& Out) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const auto* menu = qobject_cast<const QMenu*>(widget);
        if (menu == nullptr || !menu->isVisible())
            continue;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QObject* owner = action->parent();
            std::string name = owner != nullptr && qobject_cast<const QMenu*>(owner) == nullptr
                                   ? owner->objectName().toStdString()
                                   : std::string();
            const std::string caption = Clean(action->text().toStdString());
            if (name.empty())
                name = caption;
            const QRect at = menu->actionGeometry(action).translated(menu->mapToGlobal(QPoint(0, 0)));
            Out << "Menu\t" << name << '\t' << at.x() << '\t' << at.y() << '\t' << at.width() << '\t'
                << at.height() << '\t' << (action->isEnabled() ? 1 : 0) << '\t' << caption
                << (action->isChecked() ? " (checked)" : "") << '\n';
        }
    }
}

void WriteMap(const std::string& Path) {
    std::ostringstream out;
    WriteMenus(out);
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
