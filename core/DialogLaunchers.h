#pragma once
// Launchers of the program's modal dialogs: the frame each runs its dialog in, the property command, and the
// dialog library's exports that the launchers call.

#include <memory>
#include <string>

#include "core/PlaybackState.h"
#include "dialoglib/TarvexUseWindow.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"

// The dialog library's four exports. Holding all four here makes the program import every one of them when it
// starts, also those that no command calls yet, so that it does not start with a library that lacks one. The
// launchers call them through these; tests may point one at an answer of their own and put it back after.
using TShutDownDelayForm = decltype(&CreateShutDownDelayForm);
using TManageHistoryForm = decltype(&CreateManageHistoryForm);
using TMediaPropertyForm = decltype(&CreateMediaPropertyForm);
using TGotoMediaForm = decltype(&CreateGotoMediaForm);
extern TShutDownDelayForm ShutDownDelayForm;
extern TManageHistoryForm ManageHistoryForm;
extern TMediaPropertyForm MediaPropertyForm;
extern TGotoMediaForm GotoMediaForm;

// UiFont's face, size and style on the dialog's font, which every control that follows its form's font shows.
void GiveDialogFont(forms::TForm& Dialog);

// The frame every launcher runs its dialog in:
// 1. without an owner window (AppHandle 0, or a window that is gone) nothing happens and no result is
// written;
// 2. the dialog is made with that window as its owner (its creation handler runs);
// 3. it takes UiFont (GiveDialogFont);
// 4. Setup makes the dialog's set-up calls in the launcher's order (language code, texts, settings);
// 5. it is shown modally; 6. Results reads its result fields;
// 7. it is freed on every way out; an exception of steps 2 to 6 goes on to the caller.
template <class TDialog, class SetupCalls, class ReadResults>
void RunDialog(win32::HWND AppHandle, SetupCalls&& Setup, ReadResults&& Results) {
    QWidget* owner = win32::WidgetOf(AppHandle);
    if (owner == nullptr)
        return;
    auto dialog = std::make_unique<TDialog>(owner);
    GiveDialogFont(*dialog);
    Setup(*dialog);
    dialog->ShowModal();
    Results(*dialog);
}

// The set-up calls of most dialogs, for RunDialog: the language code, then the texts loaded for it and
// applied.
template <class TDialog> auto LanguageAndTexts(int Language) {
    return [Language](TDialog& Dialog) {
        Dialog.SetLanguage(Language);
        Dialog.LoadTexts();
        Dialog.ApplyTexts();
    };
}

// The property command: the dialog library's media-property dialog for what is loaded, by PlayType (1 and 3
// the current file with the video's time, size and frame rate; 2 the DVD folder or drive likewise; 4 the
// audio file with its time, width and height 0). Nothing loaded (0), or a play type outside 1..4: no dialog.
void ShowMediaProperty(win32::HWND AppHandle, int Language);

// The picture-in-picture setup dialog at Page (0 the position page, 1 the parameter page). Not built yet:
// nothing shows.
void ShowPipSetupDialog(win32::HWND AppHandle, int Page, int Language);
