#pragma once
// Launchers of the program's modal dialogs. Not built yet: no dialog is shown.

#include "platform/win32/Types.h"

// The resume-choice dialog for a reopened medium (it seeks by itself); Choice is the chosen item, -1 when it
// was closed without a choice. Not built yet: Choice is -1 and the position stays at the start.
void ShowAutoResumePlayDialog(win32::HWND AppHandle, int Language, int& Choice);
