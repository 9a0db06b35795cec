// Linked into every test executable: tests run headless and silent however they are started, and never
// suspend, power off, switch the screen saver of the machine, look at its optical drives or link file types
// in the desktop of the user running them (the programs they start inherit this; a test of the desktop's
// links uses folders of its own).

#include <cstdlib>

namespace {

const bool environmentSet = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 1);
    ::setenv("QUOREL_POWER", "fake", 1);
    ::setenv("QUOREL_SCREENSAVER", "fake", 1);
    ::setenv("QUOREL_DRIVES", "fake", 1);
    ::setenv("QUOREL_DESKTOP_LINKS", "fake", 1);
    return true;
}();

} // namespace
