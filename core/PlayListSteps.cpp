#include "core/PlayListSteps.h"

#include <random>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/shared/OsFamily.h"
#include "core/WindowUtils.h"
#include "platform/win32/Power.h"
#include "platform/win32/Window.h"

void StepPlayListIndex(int Direction) {
    const int count = State.PlayListFiles ? State.PlayListFiles->Count() : 0;
    int& index = State.PlayListIndex;
    if (index == -1)
        return;
    // The list may have shrunk under the index (entries deleted in the play-list window): stepping from
    // there would name no entry either.
    if (index < 0 || index >= count) {
        index = -1;
        return;
    }
    if (Direction == 1)
        index = index < count - 1 ? index + 1 : 0;
    else if (Direction == 2)
        index = index > 0 ? index - 1 : count - 1;
}

int RandomIndex(int N) {
    if (N <= 0)
        return -1;
    // Seeded once: a new seed at every call adds nothing to a uniform draw.
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, N - 1)(generator);
}

void SetSinglePlayList(const std::string& FileName) {
    if (!State.PlayListFiles)
        return;
    State.PlayListFiles->Clear();
    State.PlayListFiles->Add(FileName);
    State.CurrentMediaFile = (*State.PlayListFiles)[0];
    State.PlayListIndex = 0;
}

void DoAfterPlayAction() {
    switch (State.AfterPlay) {
    case AfterPlays::Exit:
        win32::PostMessage(State.MainWindowHandle, win32::WM_CLOSE, 0, 0);
        break;
    case AfterPlays::PowerOff:
        ShowShutDownDelay();
        break;
    case AfterPlays::Suspend:
        SuspendComputer();
        break;
    default:
        break;
    }
}

void ShowShutDownDelay() {
    ShutDownDelayForm(State.MainWindowHandle, State.Language);
}

void SuspendComputer() {
    std::string family;
    GetOsFamily(family);
    if (family == OsFamilyNt)
        SuspendSystem();
    else if (family == OsFamily9x)
        win32::SetSystemPowerState(win32::TRUE, win32::FALSE);
}
