#include "platform/forms/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "platform/win32/Window.h"

namespace forms {

namespace {

TFileDialogHandler& Handler() {
    static TFileDialogHandler handler;
    return handler;
}

TSelectDirectoryHandler& DirectoryHandler() {
    static TSelectDirectoryHandler handler;
    return handler;
}

std::vector<std::string> Split(const std::string& Text, char Separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto at = Text.find(Separator, start);
        parts.push_back(Text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

} // namespace

std::vector<std::string> FileDialogNameFilters(const std::string& Filter) {
    std::vector<std::string> filters;
    if (Filter.empty())
        return filters;
    const std::vector<std::string> parts = Split(Filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns;
        for (const std::string& pattern : Split(parts[i + 1], ';')) {
            if (pattern.empty())
                continue;
            if (!patterns.empty())
                patterns += ' ';
            patterns += pattern;
        }
        filters.push_back(parts[i] + " (" + patterns + ")");
    }
    return filters;
}

void SetFileDialogHandler(TFileDialogHandler NewHandler) {
    Handler() = std::move(NewHandler);
}

bool TOpenDialog::Execute() {
    if (Handler())
        return Handler()(*this);

    const win32::FocusReturn focus(owner_);
    QFileDialog dialog(owner_ != nullptr ? owner_ : QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!Title.empty())
        dialog.setWindowTitle(QString::fromStdString(Title));
    if (IsSaveDialog()) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (Options & ofOverwritePrompt) == 0);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if ((Options & ofAllowMultiSelect) != 0)
            dialog.setFileMode(QFileDialog::ExistingFiles);
        else if ((Options & ofFileMustExist) != 0)
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
    }
    QStringList nameFilters;
    for (const std::string& filter : FileDialogNameFilters(Filter))
        nameFilters << QString::fromStdString(filter);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        if (FilterIndex >= 1 && FilterIndex <= nameFilters.size())
            dialog.selectNameFilter(nameFilters[FilterIndex - 1]);
    }
    if (!InitialDir.empty())
        dialog.setDirectory(QString::fromStdString(InitialDir));
    if (!FileName.empty())
        dialog.selectFile(QString::fromStdString(FileName));

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    Files.Clear();
    for (const QString& file : chosen)
        Files.Add(file.toStdString());
    FileName = Files[0];
    const auto index = nameFilters.indexOf(dialog.selectedNameFilter());
    if (index >= 0)
        FilterIndex = static_cast<int>(index) + 1;
    return true;
}

void SetSelectDirectoryHandler(TSelectDirectoryHandler NewHandler) {
    DirectoryHandler() = std::move(NewHandler);
}

bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory,
                     QWidget* Owner) {
    if (DirectoryHandler()) {
        std::string chosen = Directory;
        if (!DirectoryHandler()(Caption, chosen))
            return false;
        Directory = chosen;
        return true;
    }
    const win32::FocusReturn focus(Owner);
    const QString picked = QFileDialog::getExistingDirectory(
        Owner != nullptr ? Owner : QApplication::activeWindow(), QString::fromStdString(Caption),
        QString::fromStdString(Root), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (picked.isEmpty())
        return false;
    Directory = picked.toStdString();
    return true;
}

} // namespace forms
