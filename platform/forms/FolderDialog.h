#pragma once
// The folder browser: the user picks a folder of the file system (the class library's SelectDirectory over
// the shell's folder browser). Qt's own (widget) directory dialog is used.
//
// A test answers it instead of a user: SetFolderDialogHandler gets every browse that would be shown; a
// program started with QUOREL_FOLDER_DIALOG=<folder> in its environment takes that folder as the answer to
// each browse (an empty value: the browse is cancelled).

#include <functional>
#include <string>

class QWidget;

namespace forms {

// Shows the browser with Caption above the folders, starting at Root ("" for the whole file system).
// True with the chosen folder in Directory; false when cancelled (Directory stays).
bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory,
                     QWidget* Owner = nullptr);

// Answers every browse with Handler (Caption, Directory) from now on; an empty handler shows them again.
using TFolderDialogHandler = std::function<bool(const std::string& Caption, std::string& Directory)>;
void SetFolderDialogHandler(TFolderDialogHandler Handler);

} // namespace forms
