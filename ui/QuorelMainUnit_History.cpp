// The history commands of the main window: the manager dialog, clearing the history and clearing it on exit.

#include "ui/QuorelMainUnit.h"

using namespace forms;

// Not built yet: the history manager dialog.
void TQuorelMain_Form::pManageHistoryClick(TObject*) {}

// Not built yet: emptying the history, its menu and its stored file.
void TQuorelMain_Form::pClearHistoryClick(TObject*) {}

// Not built yet: switching [File] ClearHistoryExit and its check mark.
void TQuorelMain_Form::pClearHistoryExitClick(TObject*) {}
