#pragma once
// The class library's common file dialogs: open and save, over Qt's own (widget) file dialog.
//
// A filter is pairs of a caption and a pattern list, all separated by "|" ("Bmp Files(*.bmp)|*.bmp|Jpg
// Files(*.jpg)|*.jpg"), the patterns of a pair separated by ";". Matching ignores the case of names, as the
// dialogs the player was made for do (Qt's widget dialog does; a desktop's native one may not, so it is not
// used).
//
// A test answers the dialogs instead of a user: SetFileDialogHandler gets every dialog that Execute would
// show, fills in its result and returns whether it was accepted.

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/StringList.h"

class QWidget;

namespace forms {

// Options of a file dialog (a set: or them together).
using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 0x0001;
constexpr TOpenOptions ofOverwritePrompt = 0x0002;
constexpr TOpenOptions ofHideReadOnly = 0x0004;
constexpr TOpenOptions ofAllowMultiSelect = 0x0200;
constexpr TOpenOptions ofPathMustExist = 0x0800;
constexpr TOpenOptions ofFileMustExist = 0x1000;
constexpr TOpenOptions ofEnableSizing = 0x800000;

class TOpenDialog {
public:
    // Owner is the window the dialog is modal to (nullptr: the program's active window).
    explicit TOpenDialog(QWidget* Owner = nullptr) : owner_(Owner) {}
    virtual ~TOpenDialog() = default;

    std::string Filter;
    // The pair shown first, counted from 1.
    int FilterIndex = 1;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    std::string InitialDir;
    // The chosen file (the first one when several were chosen); before Execute, the name proposed.
    std::string FileName;
    std::string Title;
    // Every chosen file, in the order the dialog gives them.
    TStringList Files;

    // Shows the dialog modally; true when the user chose (FileName, Files and FilterIndex then hold the
    // choice), false when cancelled (they stay as they were).
    bool Execute();

    virtual bool IsSaveDialog() const { return false; }
    QWidget* Owner() const { return owner_; }

private:
    QWidget* owner_;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool IsSaveDialog() const override { return true; }
};

// The filter as Qt's name filters: one "caption (pattern pattern ...)" per pair, patterns that are empty
// left out. Qt takes the patterns only from the last parentheses and splits them at blanks.
std::vector<std::string> FileDialogNameFilters(const std::string& Filter);

using TFileDialogHandler = std::function<bool(TOpenDialog& Dialog)>;
// Answers every file dialog with Handler from now on; an empty handler shows them again.
void SetFileDialogHandler(TFileDialogHandler Handler);

// The folder browser: shows Caption and lets the user pick an existing folder (below Root when Root is not
// empty). True with the folder in Directory when one was picked; false, with Directory unchanged, when
// cancelled.
bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory,
                     QWidget* Owner = nullptr);

// Answers every folder browser with Handler from now on (it gets the caption and fills in the folder); an
// empty handler shows them again.
using TSelectDirectoryHandler = std::function<bool(const std::string& Caption, std::string& Directory)>;
void SetSelectDirectoryHandler(TSelectDirectoryHandler Handler);

} // namespace forms
