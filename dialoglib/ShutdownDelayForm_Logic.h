#pragma once
// What the power-off countdown decides, apart from its widgets: its texts, the count of seconds, and the
// power-off request itself.

#include <string>
#include <string_view>

struct TShutdownTexts {
    std::string Caption, Countdown, OK, Cancel;
};

// The seconds the countdown starts from.
inline constexpr int ShutdownCountDownStart = 30;

// The countdown label for N seconds left; empty for a code other than 1 and 2. The English text keeps its two
// carriage returns: the label shows them as one empty line.
std::string CountdownText(int Language, const std::string& ComputerName, int N);

// 1 English, 2 Chinese; any other code gives empty texts.
TShutdownTexts ShutdownTexts(int Language, const std::string& ComputerName, int CountDown);

// One tick of the countdown timer: true when the count has run out (the dialog then closes and powers the
// computer off); otherwise the count goes down by one second.
bool CountdownTick(int& CountDown);

// The computer's full host name ("localhost" when it cannot be read).
std::string GetLocalComputerName();

// Asks the system to power the computer off; true when the request was accepted. The system's own policy
// decides whether this user may: there is no privilege for the program to enable first.
bool PowerOffSystem();

// The message box of a power-off the system refused: its text and caption in the dialog's language. A code
// other than 1 and 2 gets the English ones: unlike the dialog's captions, this box would say nothing at all
// without its text.
struct TPowerOffRefusedTexts {
    std::string Text, Caption;
};
TPowerOffRefusedTexts PowerOffRefusedTexts(int Language);

// Powers the computer off by the operating-system family: the NT family through PowerOffSystem, the 9x
// family by its direct request, any other family not at all. A request the system refuses is reported in a
// message box owned by the application window, in the dialog's language (the dialog has closed already, so
// nothing else would tell the user why the computer is still running).
void ShutDownComputer(int Language);
void ShutDownComputer(std::string_view OsFamily, int Language);
