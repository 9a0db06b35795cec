#pragma once
// Faults of GStreamer streams that tests provoke or watch for from outside the layer under test.

#include <atomic>

namespace testing_support {

// Counts the critical warnings and warnings that GStreamer and GLib log while it exists (they are still
// printed). One at a time.
class GstWarningCount {
public:
    GstWarningCount();
    ~GstWarningCount();
    GstWarningCount(const GstWarningCount&) = delete;
    GstWarningCount& operator=(const GstWarningCount&) = delete;

    int Criticals() const { return criticals_; }

private:
    std::atomic<int> criticals_{0};
    unsigned handlers_[2] = {};
};

// While it exists, every fake sink made (the clocked fake audio output among them) never gets the end of
// its stream: the stream plays to its last sample and then stands there, as with an output that loses the
// end. One at a time.
class EndOfStreamHeldBack {
public:
    EndOfStreamHeldBack();
    ~EndOfStreamHeldBack();
    EndOfStreamHeldBack(const EndOfStreamHeldBack&) = delete;
    EndOfStreamHeldBack& operator=(const EndOfStreamHeldBack&) = delete;
};

// While it exists and until Tell, no sink made answers for its stream's length, as on a busy machine where the
// demuxer learns the length late. One at a time.
class LengthWithheld {
public:
    LengthWithheld();
    ~LengthWithheld();
    LengthWithheld(const LengthWithheld&) = delete;
    LengthWithheld& operator=(const LengthWithheld&) = delete;

    void Tell();
};

} // namespace testing_support
