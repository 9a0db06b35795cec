#include "core/DialogLaunchers.h"

TShutDownDelayForm ShutDownDelayForm = &CreateShutDownDelayForm;
TManageHistoryForm ManageHistoryForm = &CreateManageHistoryForm;
TMediaPropertyForm MediaPropertyForm = &CreateMediaPropertyForm;
TGotoMediaForm GotoMediaForm = &CreateGotoMediaForm;

void ShowAutoResumePlayDialog(win32::HWND, int, int& Choice) {
    Choice = -1;
}

void ShowSelHardDiskDvdDialog(win32::HWND, int, int& Index) {
    Index = -1;
}
