#pragma once
// The exports of the dialog library libTarvexUseWindow.so, which the program links like an import table.
//
// Each call creates its modal dialog, shows it on the caller's thread, copies its results into the caller's
// out-arguments and frees it before returning. AppHandle names the window that owns the dialog (the program
// passes its main window); a handle of 0 makes the call do nothing, so the out-arguments keep what the caller
// put there. Strings are zero-terminated UTF-8 that the caller owns; the library keeps no pointer to caller
// memory after it returns. No exception leaves an export: an error is shown in a message box instead.
//
// The argument widths are fixed: Language, PlayType, Width, Height and ResultCode are 32-bit, Length and
// Seconds 64-bit, FrameRate a 64-bit floating-point number, Cancelled one byte (0 false, 1 true).

#include <cstdint>

#include "platform/forms/StringList.h"
#include "platform/win32/Types.h"

#define TARVEX_EXPORT __attribute__((visibility("default")))

extern "C" {

// Counts 30 seconds down and then powers the computer off; OK powers it off at once, Cancel does not.
TARVEX_EXPORT void CreateShutDownDelayForm(win32::HWND AppHandle, std::int32_t Language);

// Edits a copy of History (read only through its count and items). ResultCode: 1 OK, and then the file
// "HistoryTemp" in the program's folder holds the edited list; 2 Cancel; 0 closed otherwise.
TARVEX_EXPORT void CreateManageHistoryForm(win32::HWND AppHandle, const forms::TStringList* History,
                                           std::int32_t* ResultCode, std::int32_t Language);

// Shows the medium's type, name, size, frame rate, time text, resolution and path. PlayType 2 takes FileName
// as a DVD folder or drive.
TARVEX_EXPORT void CreateMediaPropertyForm(win32::HWND AppHandle, std::int32_t PlayType, const char* FileName,
                                           const char* MediaTime, std::int32_t Width, std::int32_t Height,
                                           double FrameRate, std::int32_t Language);

// Asks for a time inside the medium. Length is in 100-ns units for play types 1 and 3, in whole seconds
// for 2. Seconds: the chosen time in whole seconds, 0 .. the length when Cancelled is 0. Cancelled is 1 for
// every way out but an accepted OK.
TARVEX_EXPORT void CreateGotoMediaForm(win32::HWND AppHandle, std::int32_t Language, std::int64_t Length,
                                       std::int32_t PlayType, std::int64_t* Seconds, std::uint8_t* Cancelled);
}
