#pragma once
// What the power-off countdown decides, apart from its widgets: its texts and the count of seconds.

#include <string>

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
