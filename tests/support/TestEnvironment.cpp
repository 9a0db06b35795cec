// Linked into every test executable: tests run headless and silent however they are started, and never
// suspend, power off, switch the screen saver of the machine or look at its optical drives (the programs they
// start inherit this).

#include <cstdlib>

namespace {

const bool environmentSet = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 1);
    ::setenv("QUOREL_POWER", "fake", 1);
    ::setenv("QUOREL_SCREENSAVER", "fake", 1);
    ::setenv("QUOREL_DRIVES", "fake", 1);
    return true;
}();

} // namespace
