// Linked into every test executable: tests run headless and silent however they are started.

#include <cstdlib>

namespace {

const bool environmentSet = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 1);
    return true;
}();

} // namespace
