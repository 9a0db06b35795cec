#include "platform/win32/Shell.h"

#include <QDesktopServices>
#include <QUrl>


namespace win32 {

int ShellExecute(HWND, const std::string& Operation, const std::string& File, const std::string&,
                 const std::string&, int) {
    if (!Operation.empty() && QString::fromStdString(Operation).compare("open", Qt::CaseInsensitive) != 0)
        return 31; // SE_ERR_NOASSOC
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(File), QString(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url) ? 33 : 2;
}

} // namespace win32
