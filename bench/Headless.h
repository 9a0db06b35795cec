#pragma once
// The player's windows in a benchmark, without a screen or devices: Qt's offscreen platform and the fake
// sound output, screen saver and power service, unless the environment names others. Called before the
// QApplication is made.

#include <cstdlib>

namespace bench {

inline void UseHeadlessPlayer() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 0);
    ::setenv("QUOREL_SCREENSAVER", "fake", 0);
    ::setenv("QUOREL_POWER", "fake", 0);
}

} // namespace bench
