#pragma once
// What the media layer and the audio library share of GStreamer: one-time initialisation and the outputs.

#include <gst/gst.h>

namespace gst {

// Initialises GStreamer once for the process; safe to call from every entry point.
void EnsureInitialised();

// A new, floating audio output element: the desktop's default output when one can be opened, otherwise a
// fake output that still runs against the clock, so that time advances in real time (machines without sound,
// CI). The environment variable QUOREL_AUDIO_OUTPUT=fake forces the fake output (the tests set it).
GstElement* CreateAudioOutput();

// A new, floating fake output that runs against the clock: what CreateAudioOutput gives when no output opens,
// also for a stream whose desktop output opened but failed to start it.
GstElement* CreateFakeAudioOutput();

// True when CreateAudioOutput gives the fake output on this machine.
bool AudioOutputIsFake();

// Makes sure that data reaching Pad (a sink pad of ours, downstream of a demuxer or decoder) is placed in
// time: a buffer that comes before any segment (some parsers send one for a broken file, a WAV header
// without its data chunk for instance) is preceded by a default time segment. Without it every element
// after the pad prints a critical warning for each such buffer.
void GuardSegment(GstPad* Pad);

// How many threads a video decoder uses for a picture of Width x Height on a machine of Cores hardware
// threads: one up to 720p, then one more for every 1080p worth of pixels, never more than Cores. A decoder
// left to its own choice starts a thread per core, each holding its own frames, for twice the CPU time and
// memory of one thread at 1080p.
int VideoDecoderThreads(int Width, int Height, int Cores);

// Every video decoder that Bin comes to hold (at any depth, as decodebin plugs them) is given
// VideoDecoderThreads for its stream's picture size before it opens its codec.
void LimitVideoDecoderThreads(GstBin* Bin);

// Owns one GStreamer object reference (gst_object_unref at the end).
template <class T> class GstRef {
public:
    GstRef() = default;
    explicit GstRef(T* object) : object_(object) {}
    GstRef(const GstRef&) = delete;
    GstRef& operator=(const GstRef&) = delete;
    GstRef(GstRef&& other) noexcept : object_(other.Release()) {}
    GstRef& operator=(GstRef&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~GstRef() { Reset(); }

    void Reset(T* object = nullptr) {
        if (object_)
            gst_object_unref(object_);
        object_ = object;
    }
    T* Release() {
        T* o = object_;
        object_ = nullptr;
        return o;
    }
    T* Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace gst
