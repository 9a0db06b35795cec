#include "core/DialogLaunchers.h"

void ShowAutoResumePlayDialog(win32::HWND, int, int& Choice) { Choice = -1; }
