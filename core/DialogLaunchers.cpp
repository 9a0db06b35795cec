#include "core/DialogLaunchers.h"

TShutDownDelayForm ShutDownDelayForm = &CreateShutDownDelayForm;
TManageHistoryForm ManageHistoryForm = &CreateManageHistoryForm;
TMediaPropertyForm MediaPropertyForm = &CreateMediaPropertyForm;
TGotoMediaForm GotoMediaForm = &CreateGotoMediaForm;

void ShowAboutDialog(win32::HWND, int) {}

void ShowPipSetupDialog(win32::HWND, int, int) {}

void ShowOpenPipDialog(win32::HWND, int, int& ResultCode) {
    ResultCode = 0;
}

void ShowAutoResumePlayDialog(win32::HWND, int, int& Choice) {
    Choice = -1;
}
