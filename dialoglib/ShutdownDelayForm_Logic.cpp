#include "dialoglib/ShutdownDelayForm_Logic.h"

std::string CountdownText(int Language, const std::string& ComputerName, int N) {
    switch (Language) {
    case 1:
        return "Computer " + ComputerName + " will shutdown \r\rafter " + std::to_string(N) + " second.";
    case 2:
        return "计算机 " + ComputerName + " 将要在 " + std::to_string(N) + " 秒之后关闭。";
    default:
        return {};
    }
}

TShutdownTexts ShutdownTexts(int Language, const std::string& ComputerName, int CountDown) {
    switch (Language) {
    case 1:
        return {"Shutdown...", CountdownText(Language, ComputerName, CountDown), "OK", "Cancel"};
    case 2:
        return {"关闭计算机...", CountdownText(Language, ComputerName, CountDown), "确定", "放弃"};
    default:
        return {};
    }
}

bool CountdownTick(int& CountDown) {
    if (CountDown < 1)
        return true;
    --CountDown;
    return false;
}
