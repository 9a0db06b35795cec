#pragma once
// Launchers of the program's modal dialogs, and the dialog library's exports that they call.

#include "dialoglib/TarvexUseWindow.h"
#include "platform/win32/Types.h"

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

// The About box. Not built yet: nothing shows.
void ShowAboutDialog(win32::HWND AppHandle, int Language);
// The picture-in-picture setup dialog at Page (0 the position page, 1 the parameter page). Not built yet.
void ShowPipSetupDialog(win32::HWND AppHandle, int Page, int Language);
// The dialog that chooses the two files of picture-in-picture (into pipMediaFileA and pipMediaFileB);
// ResultCode 1 OK, 2 Cancel, 0 closed otherwise. Not built yet: ResultCode is 0 and nothing is chosen.
void ShowOpenPipDialog(win32::HWND AppHandle, int Language, int& ResultCode);

// The resume-choice dialog for a reopened medium (it seeks by itself); Choice is the chosen item, -1 when it
// was closed without a choice. Not built yet: Choice is -1 and the position stays at the start.
void ShowAutoResumePlayDialog(win32::HWND AppHandle, int Language, int& Choice);
