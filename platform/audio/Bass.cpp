#include "platform/audio/Bass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include <gst/audio/audio.h>

#include "platform/audio/BassProbe.h"
#include "platform/gst/Gst.h"

namespace bass {

namespace {

constexpr QWORD Invalid = static_cast<QWORD>(-1);
constexpr DWORD Version = 0x02040000;
constexpr int MaxEqualizerBands = 64; // what the equaliser element offers
constexpr auto PrerollLimit = std::chrono::seconds(10);
constexpr auto SeekLimit = std::chrono::seconds(5);
constexpr GstClockTime ScanLimit = 20 * GST_SECOND;
// A playing stream whose position stands this long with nothing left to play has ended, whether or not its
// end came.
constexpr auto StallLimit = std::chrono::seconds(3);
// A position read this recently still serves the stall check: the player's tick reads the position and then
// asks whether the stream is active, and the two need not both ask the output.
constexpr auto PositionReuseLimit = std::chrono::milliseconds(20);

// What streams take for the desktop's output, when a test replaces it (BassProbe.h).
std::atomic<GstElement* (*)()> desktopOutputForTests{nullptr};

// Follows the stream time at which the data passing one pad ends: the end of the last sample seen.
class EndTracker {
public:
    EndTracker() { gst_segment_init(&segment_, GST_FORMAT_TIME); }
    void Attach(GstElement* element, const char* padName) {
        GstPad* pad = gst_element_get_static_pad(element, padName);
        gst_pad_add_probe(
            pad,
            static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
            OnData, this, nullptr);
        gst_object_unref(pad);
    }
    // -1 until data arrived (since the last flush, that is since the last seek).
    gint64 End() const { return end_; }

private:
    static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    std::atomic<gint64> end_{-1};
    GstSegment segment_{}; // the probe's own: written and read in the streaming thread only
};

GstPadProbeReturn EndTracker::OnData(GstPad*, GstPadProbeInfo* info, gpointer self) {
    auto* tracker = static_cast<EndTracker*>(self);
    if ((GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) != 0) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
            const GstSegment* segment = nullptr;
            gst_event_parse_segment(event, &segment);
            gst_segment_copy_into(segment, &tracker->segment_);
        } else if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP) {
            tracker->end_ = -1; // a seek: what follows is counted afresh, in order with the data
        }
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (buffer == nullptr || !GST_BUFFER_PTS_IS_VALID(buffer) || tracker->segment_.format != GST_FORMAT_TIME)
        return GST_PAD_PROBE_OK;
    guint64 start = GST_BUFFER_PTS(buffer);
    guint64 stop = GST_BUFFER_DURATION_IS_VALID(buffer) ? start + GST_BUFFER_DURATION(buffer) : start;
    guint64 clippedStart = 0;
    guint64 clippedStop = 0;
    if (gst_segment_clip(&tracker->segment_, GST_FORMAT_TIME, start, stop, &clippedStart, &clippedStop)) {
        guint64 end = gst_segment_to_stream_time(&tracker->segment_, GST_FORMAT_TIME, clippedStop);
        if (end != GST_CLOCK_TIME_NONE && static_cast<gint64>(end) > tracker->end_)
            tracker->end_ = static_cast<gint64>(end);
    }
    return GST_PAD_PROBE_OK;
}

// The length of a file whose stream does not tell it before it plays (MPEG audio without a header that gives
// the frame count): the file is read to its end and split into frames without decoding them, which is fast.
// -1 when that fails.
gint64 ScanLength(const std::string& path) {
    gst::GstRef<GstElement> pipeline(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* parser = gst_element_factory_make("parsebin", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (source == nullptr || parser == nullptr || sink == nullptr)
        return -1;
    gst_bin_add_many(GST_BIN(pipeline.Get()), source, parser, sink, nullptr);
    gst_element_link(source, parser);
    g_object_set(source, "location", path.c_str(), nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);
    g_signal_connect(parser, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, gpointer target) {
                         GstPad* sinkPad = gst_element_get_static_pad(GST_ELEMENT(target), "sink");
                         if (!gst_pad_is_linked(sinkPad))
                             gst_pad_link(pad, sinkPad);
                         gst_object_unref(sinkPad);
                     }),
                     sink);
    EndTracker end;
    end.Attach(sink, "sink");

    gst_element_set_state(pipeline.Get(), GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline.Get());
    GstMessage* done = gst_bus_timed_pop_filtered(
        bus, ScanLimit, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = done != nullptr && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
    if (done != nullptr)
        gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline.Get(), GST_STATE_NULL);
    return ended ? end.End() : -1;
}

// One stream: filesrc ! decodebin (aiffparse for AIFF) ! audioconvert ! audioresample ! equalizer-nbands !
// volume ! output.
// The GStreamer threads touch only the atomics; everything else belongs to the caller (under the library
// lock).
class Stream {
public:
    static std::unique_ptr<Stream> Open(const std::string& path, int bytesPerSample, double volume);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Called first by every call on the stream (in the caller's thread).
    void EndIfFailed();

    bool Play(bool restart);
    bool Pause();
    void Stop();
    DWORD Activity();

    // In nanoseconds of stream time; -1 when unknown.
    gint64 LengthNs();
    gint64 PositionNs();
    bool SeekNs(gint64 target);
    // Ends a playing stream that stands with nothing left to play (see StallLimit).
    void EndIfStalled();

    QWORD NsToBytes(gint64 ns) const;
    gint64 BytesToNs(QWORD bytes) const;
    double BytesToSeconds(QWORD bytes) const;
    QWORD SecondsToBytes(double seconds) const;

    void SetVolume(double volume);
    bool AddEqualizerBand();

    double OutputGain() const;
    int EqualizerBands() const { return bands_; }
    double LargestEqualizerGain() const;
    int OutputSampleBits() const;
    void BreakData(bool output);

private:
    explicit Stream(int bytesPerSample) : bytesPerSample_(bytesPerSample) {}
    bool Build(const std::string& path, double volume, bool fakeOutput);
    bool WaitForPreroll();
    bool WaitUntilSettled(std::chrono::steady_clock::duration limit);
    QWORD BytesPerFrame() const { return static_cast<QWORD>(channels_.load()) * bytesPerSample_; }

    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
    static void OnPadAdded(GstElement* decoder, GstPad* pad, gpointer self);
    static void OnNoMorePads(GstElement* decoder, gpointer self);
    static GstPadProbeReturn OnDecodedEvent(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    enum class State { Stopped, Playing, Paused };

    struct QueryUnref {
        void operator()(GstQuery* query) const { gst_query_unref(query); }
    };

    const int bytesPerSample_;
    gst::GstRef<GstElement> pipeline_;
    // Kept for the position that the progress tick asks for many times a second: a new query each time would
    // allocate.
    std::unique_ptr<GstQuery, QueryUnref> positionQuery_{gst_query_new_position(GST_FORMAT_TIME)};
    GstElement* convert_ = nullptr;
    GstElement* equalizer_ = nullptr;
    GstElement* volume_ = nullptr;
    GstElement* output_ = nullptr;
    State state_ = State::Stopped;
    bool shutDown_ = false; // after an error: the stream stands at its end for good
    int bands_ = 0;
    gint64 duration_ = -1;
    gint64 lastPosition_ = 0;
    gint64 seekTarget_ = 0;
    gint64 scannedLength_ = -1;    // the length found by reading the file, when the stream did not tell it
    gint64 realLength_ = -1;       // the end of the last sample, once the stream has played to its end
    gint64 standingPosition_ = -1; // where a playing stream was last seen, and since when
    std::chrono::steady_clock::time_point standingSince_;
    std::chrono::steady_clock::time_point positionReadAt_; // when the output was last asked; reset by seeks

    std::atomic<int> rate_{0};
    std::atomic<int> channels_{0};
    std::atomic<bool> audioLinked_{false};
    std::atomic<bool> failed_{false};
    std::atomic<bool> outputFailed_{false}; // the error came from the output
    std::atomic<bool> ended_{false};
    std::atomic<bool> durationChanged_{true}; // the duration is to be asked (again)
    EndTracker decoded_;                      // the end of the decoded data since the last seek
};

std::unique_ptr<Stream> Stream::Open(const std::string& path, int bytesPerSample, double volume) {
    std::unique_ptr<Stream> stream(new Stream(bytesPerSample));
    if (!stream->Build(path, volume, false) || !stream->WaitForPreroll()) {
        // An output that opened (the check at start-up passed) may still fail to start this stream (the sound
        // server refuses it, the device is taken): the stream then plays on the clocked fake output, as when
        // no output opens at all, instead of the file being one that cannot be played. The bin aborts its
        // state change before the error reaches our bus handler: shutting the pipeline down joins the
        // streaming threads, so the error has been seen once it returns.
        gst_element_set_state(stream->pipeline_.Get(), GST_STATE_NULL);
        if (!stream->outputFailed_)
            return nullptr;
        stream.reset(new Stream(bytesPerSample));
        if (!stream->Build(path, volume, true) || !stream->WaitForPreroll())
            return nullptr;
    }
    if (stream->LengthNs() < 0)
        stream->scannedLength_ = ScanLength(path);
    return stream;
}

// AIFF holds PCM only. Its parser is linked directly: decodebin exposes that parser's source pad too late to
// catch the first buffer when the parser runs in pull mode (the stream then never prerolls).
bool IsAiffFile(const std::string& path) {
    char head[12] = {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(head, sizeof head))
        return false;
    const std::string_view form(head, 4);
    const std::string_view kind(head + 8, 4);
    return form == "FORM" && (kind == "AIFF" || kind == "AIFC");
}

bool Stream::Build(const std::string& path, double volume, bool fakeOutput) {
    const bool aiff = IsAiffFile(path);
    pipeline_.Reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* decoder = gst_element_factory_make(aiff ? "aiffparse" : "decodebin", nullptr);
    convert_ = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    equalizer_ = gst_element_factory_make("equalizer-nbands", nullptr);
    volume_ = gst_element_factory_make("volume", nullptr);
    GstElement* (*desktopOutput)() = desktopOutputForTests.load();
    output_ = fakeOutput      ? gst::CreateFakeAudioOutput()
              : desktopOutput ? desktopOutput()
                              : gst::CreateAudioOutput();
    GstElement* output = output_;
    GstElement* all[] = {source, decoder, convert_, resample, equalizer_, volume_, output};
    for (GstElement* element : all) {
        if (element == nullptr) {
            for (GstElement* other : all)
                if (other != nullptr)
                    gst_object_unref(gst_object_ref_sink(other));
            return false;
        }
    }
    gst_bin_add_many(GST_BIN(pipeline_.Get()), source, decoder, convert_, resample, equalizer_, volume_,
                     output, nullptr);
    if (!gst_element_link(source, decoder) ||
        !gst_element_link_many(convert_, resample, equalizer_, volume_, output, nullptr))
        return false;
    if (aiff) {
        if (!gst_element_link(decoder, convert_))
            return false;
        audioLinked_ = true;
    } else {
        g_signal_connect(decoder, "pad-added", G_CALLBACK(OnPadAdded), this);
        g_signal_connect(decoder, "no-more-pads", G_CALLBACK(OnNoMorePads), this);
    }

    g_object_set(source, "location", path.c_str(), nullptr);
    // One band at gain 0 until effects are added: the equaliser then passes the sound through untouched.
    g_object_set(equalizer_, "num-bands", 1, nullptr);
    GObject* band = gst_child_proxy_get_child_by_index(GST_CHILD_PROXY(equalizer_), 0);
    g_object_set(band, "gain", 0.0, nullptr);
    g_object_unref(band);
    g_object_set(volume_, "volume", volume, nullptr);

    GstPad* decoded = gst_element_get_static_pad(convert_, "sink");
    gst::GuardSegment(decoded);
    gst_pad_add_probe(decoded, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnDecodedEvent, this, nullptr);
    gst_object_unref(decoded);
    decoded_.Attach(convert_, "sink");

    // Nobody pops the bus: its messages are read as they are posted and dropped.
    GstBus* bus = gst_element_get_bus(pipeline_.Get());
    gst_bus_set_sync_handler(bus, OnBusMessage, this, nullptr);
    gst_object_unref(bus);
    return true;
}

bool Stream::WaitForPreroll() {
    if (gst_element_set_state(pipeline_.Get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return false;
    return WaitUntilSettled(PrerollLimit) && audioLinked_ && rate_ > 0 && channels_ > 0;
}

// Whether the pipeline reached the state it was set to (prerolled) before an error or the limit.
bool Stream::WaitUntilSettled(std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!failed_) {
        GstStateChangeReturn result =
            gst_element_get_state(pipeline_.Get(), nullptr, nullptr, 20 * GST_MSECOND);
        if (result == GST_STATE_CHANGE_FAILURE)
            return false;
        if (result == GST_STATE_CHANGE_SUCCESS)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    }
    return false;
}

Stream::~Stream() {
    if (pipeline_) {
        gst_element_set_state(pipeline_.Get(), GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(pipeline_.Get());
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
    }
}

GstBusSyncReply Stream::OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
    auto* stream = static_cast<Stream*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        stream->ended_ = true;
        break;
    case GST_MESSAGE_ERROR:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(stream->output_) ||
            gst_object_has_as_ancestor(GST_MESSAGE_SRC(message), GST_OBJECT(stream->output_)))
            stream->outputFailed_ = true;
        stream->failed_ = true;
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        stream->durationChanged_ = true;
        break;
    default:
        break;
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void Stream::OnPadAdded(GstElement*, GstPad* pad, gpointer self) {
    auto* stream = static_cast<Stream*>(self);
    if (stream->audioLinked_)
        return;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr)
        caps = gst_pad_query_caps(pad, nullptr);
    const bool isAudio = !gst_caps_is_empty(caps) &&
                         g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    gst_caps_unref(caps);
    if (!isAudio)
        return;
    GstPad* sink = gst_element_get_static_pad(stream->convert_, "sink");
    if (gst_pad_link(pad, sink) == GST_PAD_LINK_OK)
        stream->audioLinked_ = true;
    gst_object_unref(sink);
}

GstPadProbeReturn Stream::OnDecodedEvent(GstPad*, GstPadProbeInfo* info, gpointer self) {
    auto* stream = static_cast<Stream*>(self);
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
        GstCaps* caps = nullptr;
        gst_event_parse_caps(event, &caps);
        GstAudioInfo format;
        if (gst_audio_info_from_caps(&format, caps)) {
            stream->rate_ = GST_AUDIO_INFO_RATE(&format);
            stream->channels_ = GST_AUDIO_INFO_CHANNELS(&format);
        }
    }
    return GST_PAD_PROBE_OK;
}

void Stream::OnNoMorePads(GstElement*, gpointer self) {
    auto* stream = static_cast<Stream*>(self);
    if (!stream->audioLinked_)
        stream->failed_ = true; // a file without sound: fail now instead of waiting for the preroll limit
}

// An error once the stream plays (its decoder or output failed) has stopped the streaming for good, while the
// pipeline would still report playing at a position that no longer moves. The stream ends there as at its
// end: stopped, its position its length, so that the player goes on as after the last sample. The pipeline is
// shut down, as GStreamer asks after an error.
void Stream::EndIfFailed() {
    if (!failed_ || shutDown_)
        return;
    shutDown_ = true;
    if (realLength_ < 0) {
        const gint64 length = LengthNs();
        realLength_ = length >= 0 ? length : lastPosition_;
    }
    lastPosition_ = realLength_;
    state_ = State::Stopped;
    gst_element_set_state(pipeline_.Get(), GST_STATE_NULL);
}

bool Stream::Play(bool restart) {
    if (shutDown_)
        return false;
    if (LengthNs() == 0) {
        // Nothing to play (a WAV header without data): the stream is at its end at once. Run, some parsers
        // would send empty buffers for ever, taking a whole core.
        realLength_ = 0;
        ended_ = true;
        state_ = State::Playing;
        return true;
    }
    if (restart && !SeekNs(0))
        return false;
    if (gst_element_set_state(pipeline_.Get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return false;
    state_ = State::Playing;
    return true;
}

bool Stream::Pause() {
    if (state_ == State::Stopped)
        return false;
    if (state_ == State::Playing) {
        PositionNs(); // the position just before the pause stands while the output settles
        gst_element_set_state(pipeline_.Get(), GST_STATE_PAUSED);
    }
    state_ = State::Paused;
    return true;
}

void Stream::Stop() {
    if (state_ == State::Playing)
        gst_element_set_state(pipeline_.Get(), GST_STATE_PAUSED);
    state_ = State::Stopped;
}

DWORD Stream::Activity() {
    EndIfStalled();
    if (ended_ || state_ == State::Stopped)
        return BASS_ACTIVE_STOPPED;
    return state_ == State::Playing ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_PAUSED;
}

gint64 Stream::LengthNs() {
    if (ended_ && realLength_ < 0) {
        // Data decoded before the last seek may still be counted when nothing followed it (a seek to the
        // end): only an end at or past the seek target is the end of the file.
        gint64 decodedEnd = decoded_.End();
        if (decodedEnd >= 0 && decodedEnd >= seekTarget_)
            realLength_ = decodedEnd;
        else if (scannedLength_ >= 0)
            realLength_ = scannedLength_;
        else if (duration_ >= 0)
            realLength_ = duration_;
        else
            realLength_ = lastPosition_;
    }
    if (realLength_ >= 0)
        return realLength_;
    if (scannedLength_ >= 0)
        return scannedLength_;
    // The duration is asked once, and again when the pipeline says it changed: estimated lengths (a
    // variable-bit-rate file without an index) are refined while the file plays.
    if (durationChanged_.exchange(false)) {
        gint64 duration = -1;
        if (gst_element_query_duration(pipeline_.Get(), GST_FORMAT_TIME, &duration) && duration >= 0)
            duration_ = duration;
        else
            durationChanged_ = true;
    }
    return duration_;
}

gint64 Stream::PositionNs() {
    if (ended_ || shutDown_)
        return lastPosition_ = LengthNs();
    gint64 position = -1;
    GstQuery* query = positionQuery_.get();
    gst_query_set_position(query, GST_FORMAT_TIME, -1);
    // The output knows what it has played: asking it spares the walk over the whole pipeline at every tick.
    if (gst_element_query(output_, query))
        gst_query_parse_position(query, nullptr, &position);
    positionReadAt_ = std::chrono::steady_clock::now();
    // Before preroll and for a moment after a seek there is no position: the last good one stands.
    if (position >= 0) {
        gint64 length = LengthNs();
        if (length >= 0 && position > length && scannedLength_ < 0) {
            // An estimated length may fall short of the data by less than the pipeline tells a change for.
            durationChanged_ = true;
            length = LengthNs();
        }
        lastPosition_ = length >= 0 && position > length ? length : position;
    }
    return lastPosition_;
}

void Stream::EndIfStalled() {
    if (state_ != State::Playing || ended_ || shutDown_) {
        standingPosition_ = -1;
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const gint64 position = now - positionReadAt_ < PositionReuseLimit ? lastPosition_ : PositionNs();
    if (position != standingPosition_) {
        standingPosition_ = position;
        standingSince_ = now;
        return;
    }
    if (now - standingSince_ < StallLimit)
        return;
    // Nothing left to play: the position stands at the length, or everything decoded has been played and
    // nothing more comes. An output that holds back the sound it was given (a blocked device) is not that.
    const gint64 length = LengthNs();
    const gint64 decodedEnd = decoded_.End();
    if ((length >= 0 && position >= length) || decodedEnd < 0 || position >= decodedEnd) {
        ended_ = true;
        standingPosition_ = -1;
        gst_element_set_state(pipeline_.Get(), GST_STATE_PAUSED);
    }
}

bool Stream::SeekNs(gint64 target) {
    if (shutDown_)
        return false;
    gint64 length = LengthNs();
    if (target < 0)
        target = 0;
    if (length >= 0 && target > length)
        target = length;
    const bool wasEnded = ended_;
    const gint64 previousTarget = seekTarget_;
    ended_ = false;
    seekTarget_ = target;
    if (!gst_element_seek_simple(pipeline_.Get(), GST_FORMAT_TIME,
                                 static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                 target)) {
        ended_ = wasEnded;
        seekTarget_ = previousTarget;
        return false;
    }
    // A flushing seek prerolls again; waiting for it makes the next position query tell the new position.
    WaitUntilSettled(SeekLimit);
    lastPosition_ = target;
    positionReadAt_ = {};
    return true;
}

QWORD Stream::NsToBytes(gint64 ns) const {
    if (ns < 0)
        return Invalid;
    return gst_util_uint64_scale_round(static_cast<guint64>(ns), static_cast<guint64>(rate_), GST_SECOND) *
           BytesPerFrame();
}

gint64 Stream::BytesToNs(QWORD bytes) const {
    // A byte position too far for a time (the scaling then gives its largest value) stands for the end of any
    // stream, not for a negative time: it saturates.
    const guint64 ns =
        gst_util_uint64_scale_round(bytes / BytesPerFrame(), GST_SECOND, static_cast<guint64>(rate_));
    return static_cast<gint64>(std::min<guint64>(ns, G_MAXINT64));
}

double Stream::BytesToSeconds(QWORD bytes) const {
    return static_cast<double>(bytes / BytesPerFrame()) / rate_;
}

QWORD Stream::SecondsToBytes(double seconds) const {
    // Seconds past what bytes can count saturate at the last whole frame below the error value -1.
    const QWORD perFrame = BytesPerFrame();
    const QWORD mostFrames = (Invalid - 1) / perFrame;
    const double frames = std::round(seconds * rate_);
    if (!(frames < static_cast<double>(mostFrames)))
        return mostFrames * perFrame;
    return static_cast<QWORD>(frames) * perFrame;
}

void Stream::SetVolume(double volume) {
    g_object_set(volume_, "volume", volume, nullptr);
}

bool Stream::AddEqualizerBand() {
    if (bands_ >= MaxEqualizerBands)
        return false;
    // The first effect takes the band that is already there; each further one adds a band. New bands start at
    // gain 0, so the sound stays as it is.
    if (bands_ > 0)
        g_object_set(equalizer_, "num-bands", bands_ + 1, nullptr);
    ++bands_;
    return true;
}

double Stream::OutputGain() const {
    double volume = 0;
    g_object_get(volume_, "volume", &volume, nullptr);
    return volume;
}

int Stream::OutputSampleBits() const {
    GstPad* pad = gst_element_get_static_pad(output_, "sink");
    GstCaps* caps = gst_pad_get_current_caps(pad);
    gst_object_unref(pad);
    if (caps == nullptr)
        return 0;
    GstAudioInfo format;
    const int bits = gst_audio_info_from_caps(&format, caps) ? GST_AUDIO_INFO_WIDTH(&format) : 0;
    gst_caps_unref(caps);
    return bits;
}

// Fails every buffer that reaches the decoded data (or the output) from now on; the output also never sees
// the end of the stream.
void Stream::BreakData(bool output) {
    GstPad* pad = gst_element_get_static_pad(output ? output_ : convert_, "sink");
    gst_pad_add_probe(
        pad, GST_PAD_PROBE_TYPE_BUFFER,
        +[](GstPad*, GstPadProbeInfo* info, gpointer) {
            gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(info));
            GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_ERROR;
            return GST_PAD_PROBE_HANDLED;
        },
        nullptr, nullptr);
    if (output) {
        gst_pad_add_probe(
            pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
            +[](GstPad*, GstPadProbeInfo* info, gpointer) {
                return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS ? GST_PAD_PROBE_DROP
                                                                                       : GST_PAD_PROBE_OK;
            },
            nullptr, nullptr);
    }
    gst_object_unref(pad);
}

double Stream::LargestEqualizerGain() const {
    double largest = 0;
    guint count = gst_child_proxy_get_children_count(GST_CHILD_PROXY(equalizer_));
    for (guint i = 0; i < count; ++i) {
        GObject* band = gst_child_proxy_get_child_by_index(GST_CHILD_PROXY(equalizer_), i);
        double gain = 0;
        g_object_get(band, "gain", &gain, nullptr);
        g_object_unref(band);
        largest = std::max(largest, std::abs(gain));
    }
    return largest;
}

// The library's state: every stream by its handle, and what applies to every stream.
struct Library {
    std::mutex lock;
    bool initialised = false;
    double volume = 1.0;
    DWORD lastHandle = 0;
    DWORD lastEffect = 0;
    std::map<DWORD, std::unique_ptr<Stream>> streams;

    Stream* Find(DWORD handle) {
        auto found = streams.find(handle);
        return found == streams.end() ? nullptr : found->second.get();
    }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

// Runs action on the stream that handle names, under the library lock; fallback when it names none.
template <class Result, class Action> Result WithStream(DWORD handle, Result fallback, Action action) {
    Library& library = TheLibrary();
    std::lock_guard guard(library.lock);
    Stream* stream = library.Find(handle);
    if (stream == nullptr)
        return fallback;
    stream->EndIfFailed();
    return action(*stream);
}

BOOL Truth(bool value) {
    return value ? TRUE : FALSE;
}

int BytesPerSample(DWORD flags) {
    if ((flags & BASS_SAMPLE_FLOAT) != 0)
        return 4;
    if ((flags & BASS_SAMPLE_8BITS) != 0)
        return 1;
    return 2;
}

} // namespace

DWORD BASS_GetVersion() {
    return Version;
}

BOOL BASS_Init(int, DWORD, DWORD, void*, const void*) {
    gst::EnsureInitialised();
    Library& library = TheLibrary();
    std::lock_guard guard(library.lock);
    library.initialised = true;
    return TRUE;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    Library& library = TheLibrary();
    std::lock_guard guard(library.lock);
    // Only whole files from a path are played.
    if (!library.initialised || mem != FALSE || file == nullptr || offset != 0 || length != 0)
        return 0;
    // Only regular files: a FIFO or a device named like an audio file would be opened in this thread, which
    // would then wait, with the library locked, for data that may never come.
    std::error_code error;
    if (!std::filesystem::is_regular_file(static_cast<const char*>(file), error))
        return 0;
    std::unique_ptr<Stream> stream =
        Stream::Open(static_cast<const char*>(file), BytesPerSample(flags), library.volume);
    if (!stream)
        return 0;
    HSTREAM handle = ++library.lastHandle;
    library.streams.emplace(handle, std::move(stream));
    return handle;
}

BOOL BASS_StreamFree(HSTREAM handle) {
    Library& library = TheLibrary();
    std::unique_ptr<Stream> stream;
    {
        std::lock_guard guard(library.lock);
        auto found = library.streams.find(handle);
        if (found == library.streams.end())
            return FALSE;
        stream = std::move(found->second);
        library.streams.erase(found);
    }
    return TRUE; // the pipeline is shut down outside the lock
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
    return WithStream(handle, FALSE, [&](Stream& stream) { return Truth(stream.Play(restart != FALSE)); });
}

BOOL BASS_ChannelPause(DWORD handle) {
    return WithStream(handle, FALSE, [](Stream& stream) { return Truth(stream.Pause()); });
}

BOOL BASS_ChannelStop(DWORD handle) {
    return WithStream(handle, FALSE, [](Stream& stream) {
        stream.Stop();
        return TRUE;
    });
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    return WithStream(handle, BASS_ACTIVE_STOPPED, [](Stream& stream) { return stream.Activity(); });
}

QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode) {
    if (mode != BASS_POS_BYTE)
        return Invalid;
    return WithStream(handle, Invalid, [](Stream& stream) { return stream.NsToBytes(stream.LengthNs()); });
}

QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
    if (mode != BASS_POS_BYTE)
        return Invalid;
    return WithStream(handle, Invalid, [](Stream& stream) { return stream.NsToBytes(stream.PositionNs()); });
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode) {
    if (mode != BASS_POS_BYTE || pos == Invalid)
        return FALSE;
    return WithStream(handle, FALSE,
                      [&](Stream& stream) { return Truth(stream.SeekNs(stream.BytesToNs(pos))); });
}

double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
    if (pos == Invalid)
        return -1.0;
    return WithStream(handle, -1.0, [&](Stream& stream) { return stream.BytesToSeconds(pos); });
}

QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos) {
    if (!(pos >= 0.0) || !std::isfinite(pos))
        return Invalid;
    return WithStream(handle, Invalid, [&](Stream& stream) { return stream.SecondsToBytes(pos); });
}

BOOL BASS_SetVolume(float volume) {
    if (!(volume >= 0.0F && volume <= 1.0F))
        return FALSE;
    Library& library = TheLibrary();
    std::lock_guard guard(library.lock);
    library.volume = volume;
    for (auto& [handle, stream] : library.streams)
        stream->SetVolume(volume);
    return TRUE;
}

HFX BASS_ChannelSetFX(DWORD handle, DWORD type, int) {
    if (type != BASS_FX_DX8_PARAMEQ)
        return 0;
    // The library lock is held: effect handles are counted under it too.
    return WithStream(handle, HFX{0}, [](Stream& stream) {
        return stream.AddEqualizerBand() ? ++TheLibrary().lastEffect : HFX{0};
    });
}

namespace probe {

double OutputGain(DWORD handle) {
    return WithStream(handle, -1.0, [](Stream& stream) { return stream.OutputGain(); });
}

int EqualizerBands(DWORD handle) {
    return WithStream(handle, -1, [](Stream& stream) { return stream.EqualizerBands(); });
}

double LargestEqualizerGain(DWORD handle) {
    return WithStream(handle, -1.0, [](Stream& stream) { return stream.LargestEqualizerGain(); });
}

int OutputSampleBits(DWORD handle) {
    return WithStream(handle, -1, [](Stream& stream) { return stream.OutputSampleBits(); });
}

void UseDesktopOutput(GstElement* (*make)()) {
    desktopOutputForTests = make;
}

BOOL BreakDecoding(DWORD handle) {
    return WithStream(handle, FALSE, [](Stream& stream) {
        stream.BreakData(false);
        return TRUE;
    });
}

BOOL BreakOutput(DWORD handle) {
    return WithStream(handle, FALSE, [](Stream& stream) {
        stream.BreakData(true);
        return TRUE;
    });
}

} // namespace probe

} // namespace bass
