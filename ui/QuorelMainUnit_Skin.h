#pragma once
// The skin files of the main window's buttons: which file a button shows in which state, and which one the
// state rule loads at each mouse event. The names are exact, irregular case included
// ("ForWard_Normal_Btn.bmp" but "Forward_Enter_Btn.bmp", "Opendvd_enter_btn.bmp", "VideoBar_hight.bmp"); the
// skin folder is searched without regard to case.

#include <string>

enum class TSkinState { Normal, Hight, Enter, Disable };

// The variants of the buttons whose pictures follow a state; every other button has variant 0 only.
namespace SkinVariants {
constexpr int Play = 0, Pause = 1;    // PlayPause_XI
constexpr int Max = 0, Restore = 1;   // Max_xi: the window is not maximized, or it is
constexpr int Sound = 0, Slience = 1; // Volume_XI: not muted, or muted
// Ontop_xi: the stay-on-top mode 0, 1 or 2.
} // namespace SkinVariants

// The file Button (its component name, "Stop_XI") shows in State for Variant; "" when it has none (no
// Disable picture, the menu button's press, a variant it does not have).
std::string SkinPictureName(const std::string& Button, int Variant, TSkinState State);

// Whether Button follows the rule of the disableable buttons: while disabled, enter and leave change nothing.
bool SkinButtonCanBeDisabled(const std::string& Button);

enum class TSkinEvent { MouseEnter, MouseLeave, MouseDown, MouseUp };

// The file the state rule loads on Event for Button in Variant, enabled or not; "" when the event changes no
// picture. A release loads the Normal picture, except that the menu button has no press or release pictures,
// the mute button shows its Hight picture (of the state at that moment) and the play/pause and stop buttons
// leave theirs to their release handlers; a disabled stop, previous, next, backward or forward button skips
// its press and release pictures too.
std::string SkinPictureOnEvent(const std::string& Button, int Variant, bool Enabled, TSkinEvent Event);
