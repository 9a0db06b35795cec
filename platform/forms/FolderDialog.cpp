#include "platform/forms/FolderDialog.h"

#include <cstdlib>

#include <QApplication>
#include <QFileDialog>

namespace forms {

namespace {

TFolderDialogHandler& Handler() {
    static TFolderDialogHandler handler = []() -> TFolderDialogHandler {
        const char* answer = std::getenv("QUOREL_FOLDER_DIALOG");
        if (answer == nullptr)
            return {};
        return [folder = std::string(answer)](const std::string&, std::string& Directory) {
            if (folder.empty())
                return false;
            Directory = folder;
            return true;
        };
    }();
    return handler;
}

} // namespace

void SetFolderDialogHandler(TFolderDialogHandler NewHandler) {
    Handler() = std::move(NewHandler);
}

bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory,
                     QWidget* Owner) {
    if (Handler())
        return Handler()(Caption, Directory);
    QFileDialog dialog(Owner != nullptr ? Owner : QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setWindowTitle(QString::fromStdString(Caption));
    dialog.setLabelText(QFileDialog::LookIn, QString::fromStdString(Caption));
    if (!Root.empty())
        dialog.setDirectory(QString::fromStdString(Root));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Directory = dialog.selectedFiles().front().toStdString();
    return true;
}

} // namespace forms
