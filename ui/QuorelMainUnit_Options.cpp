// The options command of the main window: the options dialog, and the restart of playback with another
// renderer when the dialog chose one.

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "ui/OptionForm.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

// The options dialog; when it chose another renderer, the last state and the stored lists are saved, playback
// stops and the last medium is reopened with the new renderer.
void TQuorelMain_Form::ShowOptions() {
    bool restartNeeded = false;
    ShowOptionDialog(Application().Handle(), State.Language, restartNeeded);
    if (!restartNeeded)
        return;
    // The player restarts in this process: what the close would save is saved, playback stops, and the last
    // medium opens again with the new renderer (when the player reopens its last medium at all).
    SaveLastStateAndLists();
    StopByType();
    State.LastPos = ReadIniInteger("PlayControl", "LastPos");
    ReloadLast();
}
