#pragma once
// Message boxes with the styles and results of the Windows message box, shown as Qt message boxes.
//
// A test answers the boxes instead of a user: SetMessageBoxHandler gets every box and returns the button. A
// program started with QUOREL_MESSAGE_BOXES=fake shows none: each box is logged (FakeLog.h) as
// "MessageBox <caption>|<type in hex>|<text>" and answered with its default button. In a process without a GUI
// application object a box writes its caption and text to standard error and answers its default button.

#include <functional>
#include <string>

#include "platform/win32/Types.h"

namespace win32 {

struct MessageBoxRequest {
    HWND Owner = nullptr;
    std::string Text;
    std::string Caption;
    UINT Type = 0;
};

// Shows Text with Caption (nullptr: the system's caption "Error"), the buttons and icon of Type (MB_OK,
// MB_YESNO, MB_ICONINFORMATION, ...) and MB_DEFBUTTONn as the default; modal to Owner, or to the whole
// program when Owner is 0. Returns the button chosen (IDOK, IDYES, ...); closing the box without a button
// gives IDCANCEL where there is a Cancel button, IDNO for Yes/No and IDOK for OK alone.
int MessageBox(HWND Owner, const std::string& Text, const char* Caption, UINT Type);

// The button a box of Type answers when the user just presses Enter.
int DefaultMessageBoxButton(UINT Type);

// The program is ending and nobody may be there to answer: every box shown now ends as closed without a
// button, and every later one is answered at once in the same way, its caption and text written to the
// error output.
void EndMessageBoxes();

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
// Answers every box with Handler from now on; an empty handler shows them again.
void SetMessageBoxHandler(MessageBoxHandler Handler);

} // namespace win32
