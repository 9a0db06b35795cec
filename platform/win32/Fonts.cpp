#include "platform/win32/Fonts.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

namespace win32 {

namespace {

// The face whose fonts the screen draws for Face: Face itself, or for a name that the database lists as an
// alias of another face (the desktop's "Sans Serif"), the face Qt resolves it to; empty for a face the
// database does not list.
QString DrawnFamily(const QString& Face) {
    if (QFontDatabase::hasFamily(Face))
        return Face;
    if (!QFontDatabase::families().contains(Face, Qt::CaseInsensitive))
        return {};
    return QFontInfo(QFont(Face)).family();
}

} // namespace

int ScreenLogPixelsY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 0;
    return dpi > 0 ? dpi : 96;
}

int EnumFontFamilies(const std::string& Face, const FONTENUMPROC& Proc) {
    const QString family = DrawnFamily(QString::fromStdString(Face));
    if (family.isEmpty())
        return 1;
    const int dpi = ScreenLogPixelsY();
    auto cell = [dpi](int Points) {
        TEXTMETRIC metric;
        metric.tmHeight = static_cast<LONG>(std::lround(Points * dpi / 72.0));
        return metric;
    };
    if (QFontDatabase::isSmoothlyScalable(family) || QFontDatabase::isScalable(family))
        return Proc(cell(12), TRUETYPE_FONTTYPE);
    int answer = 1;
    for (int points : QFontDatabase::pointSizes(family)) {
        answer = Proc(cell(points), RASTER_FONTTYPE);
        if (answer == 0)
            break;
    }
    return answer;
}

std::vector<std::string> ScreenFontNames() {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families())
        names.push_back(family.toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace win32
