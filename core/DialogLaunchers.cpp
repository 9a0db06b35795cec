#include "core/DialogLaunchers.h"

TShutDownDelayForm ShutDownDelayForm = &CreateShutDownDelayForm;
TManageHistoryForm ManageHistoryForm = &CreateManageHistoryForm;
TMediaPropertyForm MediaPropertyForm = &CreateMediaPropertyForm;
TGotoMediaForm GotoMediaForm = &CreateGotoMediaForm;

void GiveDialogFont(forms::TForm& Dialog) {
    if (!State.UiFont)
        return;
    Dialog.Font().SetName(State.UiFont->Name());
    Dialog.Font().SetSize(State.UiFont->Size());
    Dialog.Font().SetStyle(State.UiFont->Style());
}

void ShowMediaProperty(win32::HWND AppHandle, int Language) {
    // The texts are copies that live through the call.
    std::string fileName;
    std::string mediaTime;
    int width = State.VideoWidth;
    int height = State.VideoHeight;
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Pip:
        fileName = State.CurrentMediaFile;
        mediaTime = State.VideoTimeText;
        break;
    case PlayTypes::Dvd:
        fileName = State.DvdPath;
        mediaTime = State.VideoTimeText;
        break;
    case PlayTypes::Audio:
        fileName = State.CurrentMediaFile;
        mediaTime = State.AudioTimeText;
        width = 0;
        height = 0;
        break;
    default:
        return;
    }
    MediaPropertyForm(AppHandle, State.PlayType, fileName.c_str(), mediaTime.c_str(), width, height,
                      State.FrameRate, Language);
}

void ShowPipSetupDialog(win32::HWND, int, int) {}
