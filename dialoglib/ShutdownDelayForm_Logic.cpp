#include "dialoglib/ShutdownDelayForm_Logic.h"

#include "core/shared/OsFamily.h"
#include "platform/forms/Forms.h"
#include "platform/win32/ComputerName.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Power.h"

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

std::string GetLocalComputerName() {
    const std::string name = win32::GetComputerName();
    return name.empty() ? "localhost" : name;
}

bool PowerOffSystem() {
    return win32::ExitWindowsEx(win32::EWX_POWEROFF, 0) != win32::FALSE;
}

TPowerOffRefusedTexts PowerOffRefusedTexts(int Language) {
    if (Language == 2)
        return {"无法关闭计算机：系统拒绝了关机请求。", "信息"};
    return {"The computer could not be shut down: the system refused.", "Information"};
}

void ShutDownComputer(int Language) {
    std::string family;
    GetOsFamily(family);
    ShutDownComputer(family, Language);
}

void ShutDownComputer(std::string_view OsFamily, int Language) {
    bool accepted = false;
    if (OsFamily == OsFamilyNt)
        accepted = PowerOffSystem();
    else if (OsFamily == OsFamily9x)
        accepted = win32::ExitWindowsEx(win32::EWX_POWEROFF, 0) != win32::FALSE;
    else
        return;
    if (!accepted) {
        const TPowerOffRefusedTexts texts = PowerOffRefusedTexts(Language);
        win32::MessageBox(forms::Application().Handle(), texts.Text, texts.Caption.c_str(),
                          win32::MB_OK | win32::MB_ICONINFORMATION);
    }
}
