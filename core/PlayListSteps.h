#pragma once
// What happens between media: moving through the play list (next and previous with wrap-around, a random
// entry, one file as the whole list) and the after-play action that runs when the last medium has stopped at
// its end and the play mode does not go on: close the player, power off after the countdown dialog, or
// suspend, as AfterPlay says.

#include <string>

// Moves PlayListIndex one entry on (Direction 1, from the last entry to the first) or back (2, from the first
// to the last); other directions do nothing. -1 (the medium is not an entry of the list) stays -1: the caller
// decides what it means. An index outside the list, and any index of an empty list, become -1, since none of
// them names an entry.
void StepPlayListIndex(int Direction);

// A random index 0 .. N-1, uniform over all entries (the entry that just ended may come again); -1 when N is
// 0 or less, so that an empty list gives no entry.
int RandomIndex(int N);

// The play list becomes FileName alone, which is the current file and entry 0. PlayListPositions is the
// caller's.
void SetSinglePlayList(const std::string& FileName);

// By AfterPlay: 1 posts WM_CLOSE to the main window (which closes normally and stores its state), 2 the
// countdown dialog, 3 suspends the computer; anything else does nothing.
void DoAfterPlayAction();

// The dialog library's power-off countdown, modal, owned by the main window.
void ShowShutDownDelay();

// Suspends the computer by the operating-system family; a refusal is silent.
void SuspendComputer();
