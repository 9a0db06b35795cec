#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <optional>
#include <vector>

#include <pthread.h>

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/com/Guids.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Window.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/LivePipelines.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"
#include "tests/support/StreamFaults.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowlessGraph.h"

// After the platform types: GLib defines TRUE and FALSE as macros.
#include "platform/gst/Gst.h"

namespace {

using namespace dshow;
using com::ComPtr;
using testing_support::MediaFile;
using testing_support::MediaFixture;

constexpr LONGLONG Second = 10000000; // in 100-ns units
constexpr LONGLONG Millisecond = 10000;

template <class T> ComPtr<T> Create(const com::CLSID& Clsid) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, 3, T::Iid, &raw)))
        return nullptr;
    return ComPtr<T>::Adopt(static_cast<T*>(raw));
}

using testing_support::Advance;
using testing_support::MeasureAdvance;
using testing_support::NearColour;
using testing_support::PositionOf;
using testing_support::Pump;
using testing_support::WaitUntil;

using testing_support::WindowlessGraph;

struct PlayableCase {
    const char* name;
    MediaFixture fixture;
};

class EveryContainer : public ::testing::TestWithParam<PlayableCase> {};

// Each file a user meets renders synchronously, knows its duration at once and paints its picture at the
// destination rectangle with the border colour around it.
TEST_P(EveryContainer, RendersPrerolledWithDurationAndPaintsAtTheDestination) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(GetParam().fixture), com::S_OK);
    LONGLONG duration = 0;
    ASSERT_EQ(g.seeking->GetDuration(&duration), com::S_OK);
    EXPECT_NEAR(static_cast<double>(duration) / Second, 2.0, 0.15);
    LONGLONG stop = 0;
    g.seeking->GetStopPosition(&stop);
    EXPECT_EQ(stop, duration) << "after a fresh render the stop position is the duration";
    LONG width = 0, height = 0;
    ASSERT_EQ(g.windowless->GetNativeVideoSize(&width, &height, nullptr, nullptr), com::S_OK);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);

    ASSERT_EQ(g.control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] {
        return NearColour(g.Picture().pixel(250, 150), testing_support::FixtureColour);
    })) << "the picture is painted inside the destination";
    const QImage picture = g.Picture();
    EXPECT_TRUE(NearColour(picture.pixel(55, 5), testing_support::FixtureColour));
    EXPECT_TRUE(NearColour(picture.pixel(444, 294), testing_support::FixtureColour));
    EXPECT_EQ(picture.pixel(25, 150), qRgb(0, 0, 0)) << "border colour left of the destination";
    EXPECT_EQ(picture.pixel(475, 150), qRgb(0, 0, 0)) << "border colour right of the destination";
    EXPECT_EQ(g.control->Stop(), com::S_OK);
}

INSTANTIATE_TEST_SUITE_P(Files, EveryContainer,
                         ::testing::Values(PlayableCase{"Mp4H264Aac", MediaFixture::Mp4H264Aac},
                                           PlayableCase{"MkvVp8Vorbis", MediaFixture::MkvVp8Vorbis},
                                           PlayableCase{"AviMpeg4Mp3", MediaFixture::AviMpeg4Mp3},
                                           PlayableCase{"MpegPsMpeg2", MediaFixture::MpegPsMpeg2},
                                           PlayableCase{"RealMedia", MediaFixture::RealMedia}),
                         testing_support::CaseName());

struct FailingCase {
    const char* name;
    std::function<std::string()> file;
    HRESULT expected;
};

class RenderFailure : public ::testing::TestWithParam<FailingCase> {};

// A failed render says so and leaves nothing that plays: the graph has no stream to run, seek or step.
TEST_P(RenderFailure, ReportsAnErrorAndLeavesNothingRunning) {
    WindowlessGraph g;
    const HRESULT hr = g.graph->RenderFile(com::WideString(GetParam().file()).c_str(), nullptr);
    EXPECT_TRUE(com::FAILED(hr));
    if (GetParam().expected != com::S_OK) {
        EXPECT_EQ(hr, GetParam().expected);
    }
    LONGLONG position = 0;
    EXPECT_EQ(g.seeking->GetCurrentPosition(&position), VFW_E_WRONG_STATE);
    EXPECT_TRUE(com::FAILED(g.control->Run()));
    EXPECT_TRUE(com::FAILED(g.step->Step(1, nullptr)));
    OAFilterState state = -1;
    g.control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    // The same graph renders a good file afterwards.
    EXPECT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RenderFailure,
    ::testing::Values(FailingCase{"Missing", [] { return testing_support::FixtureFolder() + "/none.avi"; },
                                  VFW_E_NOT_FOUND},
                      FailingCase{"Corrupt", [] { return MediaFile(MediaFixture::Corrupt); }, com::S_OK},
                      FailingCase{"NotMedia", [] { return MediaFile(MediaFixture::NotMedia); }, com::S_OK}),
    testing_support::CaseName());

struct StreamErrorCase {
    const char* name;
    int targetMilliseconds;
};

class StreamError : public ::testing::TestWithParam<StreamErrorCase> {};

// An error while the stream plays ends it as its end does: the position reports the stop position, so that
// the player, which polls for the end, goes on. (A seek of the MPEG-2 program stream into its last GOPs
// leaves the video decoder with no frame it can decode before the end: it fails the stream.)
TEST_P(StreamError, EndsTheStreamAtTheStopPosition) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::MpegPsMpeg2), com::S_OK);
    LONGLONG stop = 0;
    g.seeking->GetStopPosition(&stop);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    Pump(std::chrono::milliseconds(100));
    LONGLONG target = GetParam().targetMilliseconds * Millisecond;
    ASSERT_EQ(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        com::S_OK);
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) == stop; }));
    EXPECT_EQ(g.step->Step(1, nullptr), VFW_E_WRONG_STATE) << "nothing to step to after the end";
    // Played again from the start, the stream is whole again.
    target = 0;
    ASSERT_EQ(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        com::S_OK);
    EXPECT_LT(PositionOf(g.seeking.Get()), 300 * Millisecond);
}

INSTANTIATE_TEST_SUITE_P(MpegPs, StreamError,
                         ::testing::Values(StreamErrorCase{"SeekTo1500", 1500},
                                           StreamErrorCase{"SeekTo1674", 1674}),
                         testing_support::CaseName());

// The RealMedia demuxer says it can seek a file without an index and then fails every seek after it has
// flushed the streams. The layer finds that out when it renders: seeks and rate changes are refused, and
// playback goes on as if they had not been asked for, stepping included, to the end.
TEST(RefusedSeek, RealMediaPlaysOnToItsEnd) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::RealMedia), com::S_OK);
    LONGLONG stop = 0;
    g.seeking->GetStopPosition(&stop);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > 300 * Millisecond; }));
    LONGLONG target = 1000 * Millisecond;
    EXPECT_EQ(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        com::E_FAIL);
    EXPECT_EQ(g.seeking->SetRate(2.0), com::E_FAIL);
    double rate = 0;
    g.seeking->GetRate(&rate);
    EXPECT_EQ(rate, 1.0);
    const Advance a = MeasureAdvance(g.seeking.Get(), std::chrono::milliseconds(300));
    EXPECT_GT(a.position, a.wall / 2) << "playing on";
    EXPECT_LT(a.position, a.wall + 50 * Millisecond) << "at the rate it had";

    ASSERT_EQ(g.step->Step(1, nullptr), com::S_OK);
    const LONGLONG stepped = PositionOf(g.seeking.Get());
    ASSERT_EQ(g.step->Step(1, nullptr), com::S_OK);
    EXPECT_EQ(PositionOf(g.seeking.Get()) - stepped, 40 * Millisecond);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) == stop; }));
}

// After the end nothing is left to step to: the step fails at once and the graph stays as it was; paused
// on the last frame, the step finds the end instead of a frame.
TEST(FrameStep, FailsAtTheEnd) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::AviMpeg4Mp3), com::S_OK);
    LONGLONG stop = 0;
    g.seeking->GetStopPosition(&stop);
    LONGLONG target = stop - 200 * Millisecond;
    g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    g.control->Run();
    ASSERT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) == stop; }));
    EXPECT_EQ(g.step->Step(1, nullptr), VFW_E_WRONG_STATE);
    OAFilterState state = -1;
    g.control->GetState(0, &state);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(PositionOf(g.seeking.Get()), stop);

    g.control->Pause();
    target = stop - 20 * Millisecond;
    ASSERT_EQ(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        com::S_OK);
    const LONGLONG last = PositionOf(g.seeking.Get());
    EXPECT_EQ(g.step->Step(1, nullptr), VFW_E_WRONG_STATE);
    EXPECT_EQ(PositionOf(g.seeking.Get()), last);
}

// A file whose picture ends a second before its sound: once the picture has ended there is no frame to step
// to, while the graph still plays the sound.
TEST(FrameStep, FailsOnceThePictureHasEnded) {
    const std::string file = testing_support::FixtureFolder() + "/short-picture.mkv";
    ASSERT_TRUE(testing_support::MakeMediaFile(
        "videotestsrc num-buffers=25 ! video/x-raw,width=320,height=240,framerate=25/1 ! vp8enc deadline=1 ! "
        "matroskamux name=mux ! filesink location={out} "
        "audiotestsrc num-buffers=20 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
        "audioconvert ! "
        "vorbisenc ! mux.",
        file));
    WindowlessGraph g;
    ASSERT_EQ(g.graph->RenderFile(com::WideString(file).c_str(), nullptr), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > 1300 * Millisecond; }));
    EXPECT_EQ(g.step->Step(1, nullptr), VFW_E_WRONG_STATE);
    OAFilterState state = -1;
    g.control->GetState(0, &state);
    EXPECT_EQ(state, State_Running) << "the sound plays on";
}

// A file with nothing to play (the first 44 bytes of a WAV file) renders with duration 0 and is at its end
// as soon as it runs: the position is the stop position, and its parser, which would send empty buffers for
// ever, is never started, nor does any element warn about them.
TEST(ZeroLength, IsAtItsEndAsSoonAsItRuns) {
    testing_support::TempDir dir;
    const std::string file = dir.File("nothing.wav");
    testing_support::WriteFile(file, testing_support::WavHeaderOnly());
    testing_support::GstWarningCount warnings;
    WindowlessGraph g;
    ASSERT_EQ(g.graph->RenderFile(com::WideString(file).c_str(), nullptr), com::S_OK);
    LONGLONG stop = -1;
    g.seeking->GetStopPosition(&stop);
    EXPECT_EQ(stop, 0);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    Pump(std::chrono::milliseconds(300));
    EXPECT_EQ(PositionOf(g.seeking.Get()), 0);
    EXPECT_EQ(warnings.Criticals(), 0);
    OAFilterState state = -1;
    g.control->GetState(0, &state);
    EXPECT_EQ(state, State_Running);
}

// On a busy machine the length can come well after the preroll, and a bare stream without a container
// gets one only once some of it has played (a parser's guess): such a file still renders and plays, its
// length is not given until one comes (rather than given as 0, which would be a file with nothing to play),
// it refuses a seek, a length that comes while it plays is the least it holds, and at its end its position is
// its stop position, as at any end.
struct LateLengthCase {
    const char* name;
    MediaFixture fixture;
    bool withheld;       // the graph's sinks refuse to tell the length until it has played a while
    double seconds;      // the length it ends at, when the file says it (0: a parser's reckoning)
};

class LateLength : public ::testing::TestWithParam<LateLengthCase> {};

TEST_P(LateLength, TheFilePlaysToItsEndWithoutALengthUntilOneComes) {
    std::optional<testing_support::LengthWithheld> late;
    if (GetParam().withheld)
        late.emplace();
    WindowlessGraph g;
    ASSERT_EQ(g.Render(GetParam().fixture), com::S_OK);
    LONGLONG duration = 0, stop = 0;
    EXPECT_TRUE(com::FAILED(g.seeking->GetDuration(&duration))) << "not known yet";
    EXPECT_TRUE(com::FAILED(g.seeking->GetStopPosition(&stop)));
    ASSERT_EQ(g.control->Run(), com::S_OK);
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > Second / 2; })) << "it plays";
    LONGLONG target = Second;
    EXPECT_TRUE(com::FAILED(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning)));
    if (late)
        late->Tell();
    // Read as the player reads them: the position, then the stop.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const LONGLONG position = PositionOf(g.seeking.Get());
            return com::SUCCEEDED(g.seeking->GetStopPosition(&stop)) && position >= stop;
        },
        std::chrono::seconds(10)))
        << "it reaches an end the player sees";
    const LONGLONG end = PositionOf(g.seeking.Get());
    Pump(std::chrono::milliseconds(400));
    EXPECT_EQ(PositionOf(g.seeking.Get()), end) << "the end seen is the stream's: nothing plays after it";
    if (GetParam().seconds > 0) {
        EXPECT_NEAR(static_cast<double>(stop) / Second, GetParam().seconds, 0.15);
    }
    EXPECT_GT(stop, Second);
}

INSTANTIATE_TEST_SUITE_P(Files, LateLength,
                         ::testing::Values(LateLengthCase{"LengthAnsweredLate", MediaFixture::Mp4H264Aac, true, 2.0},
                                           LateLengthCase{"BareStream", MediaFixture::H264Elementary, false, 0}),
                         testing_support::CaseName());

// Volume in hundredths of a decibel; values outside -10000..0 are refused; a file without sound has no
// audio to set (the value is still kept).
TEST(BasicAudio, RangeAndMissingAudio) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    EXPECT_EQ(g.audio->put_Volume(-2246), com::S_OK);
    LONG volume = 0;
    g.audio->get_Volume(&volume);
    EXPECT_EQ(volume, -2246);
    EXPECT_EQ(g.audio->put_Volume(1), com::E_INVALIDARG);
    EXPECT_EQ(g.audio->put_Volume(-10001), com::E_INVALIDARG);
    EXPECT_EQ(g.audio->put_Balance(-9999), com::S_OK);
    EXPECT_EQ(g.audio->put_Balance(10001), com::E_INVALIDARG);

    WindowlessGraph silent;
    ASSERT_EQ(silent.Render(MediaFixture::Mp4VideoOnly), com::S_OK);
    EXPECT_EQ(silent.audio->put_Volume(-100), com::E_NOTIMPL);
}

// The graph's own renderer shows its picture in a child window of the owner, placed by SetWindowPosition;
// windowless controls are not there, and the window calls fail on a graph without video.
TEST(VideoWindow, OwnRendererPaintsIntoAChildWindowWhereItIsPlaced) {
    testing_support::EnsureQApplication();
    QWidget panel;
    panel.resize(400, 300);
    panel.setAutoFillBackground(true);
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel.setPalette(palette);
    panel.show();
    auto graph = Create<IGraphBuilder>(com::CLSID_FilterGraph);
    auto window = com::QueryInterfaceOf<IVideoWindow>(graph.Get());
    EXPECT_EQ(window->put_Owner(win32::HandleOf(&panel)), com::E_NOINTERFACE) << "nothing rendered yet";
    ASSERT_EQ(graph->RenderFile(com::WideString(MediaFile(MediaFixture::Mp4VideoOnly)).c_str(), nullptr),
              com::S_OK);
    ASSERT_EQ(window->put_Owner(win32::HandleOf(&panel)), com::S_OK);
    EXPECT_EQ(window->put_MessageDrain(win32::HandleOf(&panel)), com::S_OK);
    EXPECT_EQ(window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS), com::S_OK);
    ASSERT_EQ(window->SetWindowPosition(100, 50, 200, 150), com::S_OK);
    LONG left = 0, top = 0, width = 0, height = 0;
    window->GetWindowPosition(&left, &top, &width, &height);
    EXPECT_EQ((std::array{left, top, width, height}), (std::array<LONG, 4>{100, 50, 200, 150}));
    com::QueryInterfaceOf<IMediaControl>(graph.Get())->Run();
    // videotestsrc's default pattern: the top-left bar is white-ish, the panel around it stays white; the
    // pattern's last bar is blue, and in its bottom row a black block ends at 425 of its 640 pixels.
    ASSERT_TRUE(WaitUntil([&] {
        const QImage picture = panel.grab().toImage();
        return NearColour(picture.pixel(295, 60), {0, 0, 255}) && qGray(picture.pixel(220, 195)) < 40;
    })) << "the picture fills the child window";
    const QImage picture = panel.grab().toImage();
    EXPECT_EQ(picture.pixel(50, 25), qRgb(255, 255, 255)) << "outside the child window the panel shows";
    EXPECT_EQ(picture.pixel(350, 280), qRgb(255, 255, 255));
    EXPECT_EQ(window->put_Owner(win32::HandleOf(&panel)), com::S_OK);
    EXPECT_FALSE(com::QueryInterfaceOf<IVMRWindowlessControl9>(graph.Get()));
}

// The RealMedia graph built filter by filter: the named filters stand for the elements doing their job;
// the graph completes the chain from the source's output pin.
TEST(RealMediaGraph, BuiltFromTheSourcePinWithTheNamedFilters) {
    WindowlessGraph g;
    ComPtr<IBaseFilter> source;
    IBaseFilter* raw = nullptr;
    ASSERT_EQ(g.graph->AddSourceFilter(com::WideString(MediaFile(MediaFixture::RealMedia)).c_str(),
                                       u"Quorel real source filter", &raw),
              com::S_OK);
    source = ComPtr<IBaseFilter>::Adopt(raw);
    for (const com::CLSID& clsid :
         {com::CLSID_RealMediaSplitter, com::CLSID_RealAudioDecoder, com::CLSID_AC3Filter,
          com::CLSID_RealVideoDecoder, com::CLSID_DSoundRender}) {
        auto filter = Create<IBaseFilter>(clsid);
        ASSERT_TRUE(filter) << com::GuidToString(clsid) << " is available on this machine";
        EXPECT_EQ(g.graph->AddFilter(filter.Get(), u"named"), com::S_OK);
    }
    IEnumPins* enumRaw = nullptr;
    ASSERT_EQ(source->EnumPins(&enumRaw), com::S_OK);
    auto pins = ComPtr<IEnumPins>::Adopt(enumRaw);
    pins->Reset();
    ComPtr<IPin> output;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == com::S_OK) {
        auto held = ComPtr<IPin>::Adopt(pin);
        PIN_DIRECTION direction;
        held->QueryDirection(&direction);
        if (direction == PINDIR_OUTPUT)
            output = held;
    }
    ASSERT_TRUE(output);
    ASSERT_EQ(g.graph->Render(output.Get()), com::S_OK);
    EXPECT_EQ(g.graph->Render(output.Get()), VFW_E_NOT_CONNECTED) << "a rendered pin is taken";
    RECT destination{50, 0, 450, 300};
    g.windowless->SetVideoPosition(nullptr, &destination);
    LONGLONG duration = 0;
    g.seeking->GetDuration(&duration);
    EXPECT_NEAR(static_cast<double>(duration) / Second, 2.0, 0.15);
    g.control->Run();
    EXPECT_TRUE(
        WaitUntil([&] { return NearColour(g.Picture().pixel(250, 150), testing_support::FixtureColour); }));
}

// A class this machine lacks is not registered; taking one away makes it unavailable until given back.
TEST(Classes, MixingRenderersCanBeTakenAway) {
    EXPECT_TRUE(Create<IBaseFilter>(com::CLSID_VideoMixingRenderer9));
    {
        com::ScopedClassRemoval removed(com::CLSID_VideoMixingRenderer9);
        void* raw = nullptr;
        EXPECT_EQ(com::CoCreateInstance(com::CLSID_VideoMixingRenderer9, nullptr, 3, IBaseFilter::Iid, &raw),
                  com::REGDB_E_CLASSNOTREG);
        EXPECT_TRUE(Create<IBaseFilter>(com::CLSID_VideoMixingRenderer));
    }
    EXPECT_TRUE(Create<IBaseFilter>(com::CLSID_VideoMixingRenderer9));
}

// The mixer keeps per-stream placement for the second stream; bad streams are refused.
TEST(MixerControl, KeepsPlacementPerStream) {
    auto vmr = Create<IBaseFilter>(com::CLSID_VideoMixingRenderer9);
    auto config = com::QueryInterfaceOf<IVMRFilterConfig9>(vmr.Get());
    auto mixer = com::QueryInterfaceOf<IVMRMixerControl9>(vmr.Get());
    ASSERT_EQ(config->SetNumberOfStreams(2), com::S_OK);
    NORMALIZEDRECT small{0.6f, 0.6f, 0.95f, 0.95f};
    EXPECT_EQ(mixer->SetOutputRect(1, &small), com::S_OK);
    EXPECT_EQ(mixer->SetAlpha(1, 0.5f), com::S_OK);
    NORMALIZEDRECT got;
    mixer->GetOutputRect(1, &got);
    EXPECT_EQ(got, small);
    mixer->GetOutputRect(0, &got);
    EXPECT_EQ(got, NORMALIZEDRECT{});
    float alpha = 0;
    mixer->GetAlpha(1, &alpha);
    EXPECT_EQ(alpha, 0.5f);
    EXPECT_EQ(mixer->SetAlpha(2, 1.0f), com::E_INVALIDARG);
    EXPECT_EQ(mixer->SetAlpha(0, 1.5f), com::E_INVALIDARG);
}

// Two files in one graph are two streams of the mixing renderer: each painted at its output rectangle, the
// nearer one (lower Z) over the farther one.
TEST(MixerControl, PaintsTwoStreamsNearestLast) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    ASSERT_EQ(g.Render(MediaFixture::Mp4VideoOnly), com::S_OK);
    auto mixer = com::QueryInterfaceOf<IVMRMixerControl9>(g.vmr.Get());
    const NORMALIZEDRECT corner{0.5f, 0.5f, 1.0f, 1.0f};
    ASSERT_EQ(mixer->SetOutputRect(1, &corner), com::S_OK);
    ASSERT_EQ(mixer->SetZOrder(0, 1), com::S_OK);
    ASSERT_EQ(mixer->SetZOrder(1, 0), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    // The destination is (50, 0, 400 x 300): the second stream covers (250, 150) .. (450, 300), its test
    // pattern's bars unlike the first stream's one colour.
    auto second = [](const QImage& picture) {
        return !NearColour(picture.pixel(300, 200), testing_support::FixtureColour);
    };
    ASSERT_TRUE(WaitUntil([&] {
        const QImage picture = g.Picture();
        return NearColour(picture.pixel(150, 100), testing_support::FixtureColour) && second(picture);
    })) << "the first stream fills the destination, the second lies over its corner";
    ASSERT_EQ(mixer->SetZOrder(1, 2), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return !second(g.Picture()); }))
        << "moved behind the first stream, the second is hidden";
    ASSERT_EQ(mixer->SetZOrder(1, 1), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return second(g.Picture()); }))
        << "of two streams with one Z the later one is painted over the earlier";
}

// Each stream's last frame is given as it is drawn, at its output rectangle's size: what the capture of a
// picture-in-picture pair takes of each file.
// Waits until the mixer gives stream Stream's picture at Width x Height; its pixels (BGRx rows) in Pixels.
::testing::AssertionResult StreamImageComes(const WindowlessGraph& G, DWORD Stream, LONG Width, LONG Height,
                                            std::vector<std::uint8_t>& Pixels) {
    LONG width = 0, height = 0;
    if (WaitUntil([&] {
            return com::SUCCEEDED(G.windowless->GetStreamImage(Stream, &width, &height, &Pixels)) &&
                   width == Width && height == Height;
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "stream " << Stream << " is " << width << " x " << height;
}

QRgb PixelOf(const std::vector<std::uint8_t>& Pixels, LONG Width, int X, int Y) {
    const auto at =
        (static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(X)) * 4u;
    return qRgb(Pixels[at + 2], Pixels[at + 1], Pixels[at]);
}

TEST(MixerControl, GivesEachStreamsPictureAsDrawn) {
    WindowlessGraph g;
    std::vector<std::uint8_t> pixels;
    LONG width = 0, height = 0;
    EXPECT_EQ(g.windowless->GetStreamImage(0, &width, &height, &pixels), VFW_E_NOT_CONNECTED);
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    ASSERT_EQ(g.Render(MediaFixture::Mp4VideoOnly), com::S_OK);
    auto mixer = com::QueryInterfaceOf<IVMRMixerControl9>(g.vmr.Get());
    const NORMALIZEDRECT corner{1.0f, 0.5f, 0.5f, 1.0f}; // mirrored
    ASSERT_EQ(mixer->SetOutputRect(1, &corner), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    // The destination is 400 x 300: stream 0 fills it, stream 1 a quarter of it.
    ASSERT_TRUE(StreamImageComes(g, 1, 200, 150, pixels));
    EXPECT_EQ(pixels.size(), 200u * 150u * 4u);
    ASSERT_TRUE(StreamImageComes(g, 0, 400, 300, pixels));
    EXPECT_TRUE(NearColour(PixelOf(pixels, 400, 200, 150), testing_support::FixtureColour));
    EXPECT_EQ(g.windowless->GetStreamImage(2, &width, &height, &pixels), com::E_INVALIDARG);
    EXPECT_EQ(g.windowless->GetStreamImage(0, &width, &height, nullptr), com::E_POINTER);
}

// Before the player places the picture, frames already come at the size it will most likely be painted: the
// video's shape fitted into the panel, not the file's own size. Placed, the frames follow the placement.
TEST(Windowless, FramesBeforePlacementAreFittedIntoThePanel) {
    WindowlessGraph g; // a 500 x 300 panel; the fixture is 320 x 240
    ASSERT_EQ(g.graph->RenderFile(com::WideString(MediaFile(MediaFixture::Mp4H264Aac)).c_str(), nullptr),
              com::S_OK);
    std::vector<std::uint8_t> pixels;
    LONG width = 0, height = 0;
    ASSERT_EQ(g.windowless->GetStreamImage(0, &width, &height, &pixels), com::S_OK);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    RECT destination{0, 0, 160, 120};
    g.windowless->SetVideoPosition(nullptr, &destination);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    ASSERT_TRUE(StreamImageComes(g, 0, 160, 120, pixels));
    EXPECT_TRUE(NearColour(PixelOf(pixels, 160, 80, 60), testing_support::FixtureColour));
}

// A new frame repaints the picture, not the border around it; the border keeps its colour.
// The picture placed again and again while frames flow (a window being resized): each new size reaches the
// converter while frames of the old one are on their way, and the stream goes on playing at the last size.
TEST(Windowless, PlacingThePictureWhileItPlaysKeepsItPlaying) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264AacLong), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    for (int i = 0; i < 150; ++i) {
        RECT destination{0, 0, 160 + (i % 7) * 40, 120 + (i % 5) * 30};
        g.windowless->SetVideoPosition(nullptr, &destination);
        Pump(std::chrono::milliseconds(2));
    }
    RECT last{0, 0, 200, 150};
    g.windowless->SetVideoPosition(nullptr, &last);
    std::vector<std::uint8_t> pixels;
    ASSERT_TRUE(StreamImageComes(g, 0, 200, 150, pixels));
    const LONGLONG before = PositionOf(g.seeking.Get());
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > before + Second / 2; }))
        << "the stream stopped at " << static_cast<double>(PositionOf(g.seeking.Get())) / Second << " s";
    g.control->Stop();
}

TEST(Windowless, ANewFrameRepaintsOnlyThePicture) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264AacLong), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    ASSERT_TRUE(
        WaitUntil([&] { return NearColour(g.Picture().pixel(250, 150), testing_support::FixtureColour); }));
    struct PaintAreas : QObject {
        QRegion painted;
        int paints = 0;
        bool eventFilter(QObject*, QEvent* Event) override {
            if (Event->type() == QEvent::Paint) {
                painted += static_cast<QPaintEvent*>(Event)->region();
                ++paints;
            }
            return false;
        }
    } areas;
    g.panel->installEventFilter(&areas);
    EXPECT_TRUE(WaitUntil([&] { return areas.paints >= 5; }));
    g.panel->removeEventFilter(&areas);
    EXPECT_EQ(areas.painted.boundingRect(), QRect(50, 0, 400, 300));
    const QImage picture = g.Picture();
    EXPECT_EQ(picture.pixel(25, 150), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(475, 150), qRgb(0, 0, 0));
    EXPECT_TRUE(NearColour(picture.pixel(250, 150), testing_support::FixtureColour));
    g.control->Stop();
}

// The audio mixers' inputs that buffers were pushed into, as seen by a tracer of the whole process.
class MixerInputs {
public:
    static MixerInputs& Get() {
        static auto* inputs = new MixerInputs; // never destroyed: GStreamer keeps the hooks
        return *inputs;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        fed_.clear();
    }
    std::size_t Fed() {
        std::lock_guard lock(mutex_);
        return fed_.size();
    }

private:
    MixerInputs() {
        gst::EnsureInitialised();
        const GType type = g_type_register_static_simple(
            GST_TYPE_TRACER, "QuorelTestMixerInputs", sizeof(GstTracerClass), nullptr, sizeof(GstTracer),
            [](GTypeInstance* Instance, gpointer) {
                auto* tracer = reinterpret_cast<GstTracer*>(Instance);
                gst_tracing_register_hook(tracer, "pad-push-pre", G_CALLBACK(&Pushed));
                gst_tracing_register_hook(tracer, "pad-push-list-pre", G_CALLBACK(&Pushed));
            },
            GTypeFlags{});
        g_object_new(type, nullptr);
    }
    static void Pushed(GObject*, GstClockTime, GstPad* Pad, gpointer) {
        GstPad* peer = gst_pad_get_peer(Pad);
        if (peer == nullptr)
            return;
        if (GstElement* element = gst_pad_get_parent_element(peer)) {
            GstElementFactory* factory = gst_element_get_factory(element);
            if (factory != nullptr && std::string(GST_OBJECT_NAME(factory)) == "audiomixer") {
                std::lock_guard lock(Get().mutex_);
                Get().fed_.insert(peer);
            }
            gst_object_unref(element);
        }
        gst_object_unref(peer);
    }

    std::mutex mutex_;
    std::set<const void*> fed_;
};

// A graph of two files plays both sounds mixed into its one audio output (the volume and balance then act
// on both), and lasts as long as the longer file; a graph of one file has no mixer.
TEST(AudioOutput, SoundsOfTwoFilesAreMixedAndTheLongerFileGivesTheDuration) {
    MixerInputs::Get().Clear();
    {
        WindowlessGraph one;
        ASSERT_EQ(one.Render(MediaFixture::Mp4H264Aac), com::S_OK);
        ASSERT_EQ(one.control->Run(), com::S_OK);
        ASSERT_TRUE(WaitUntil([&] { return PositionOf(one.seeking.Get()) > 300 * Millisecond; }));
        EXPECT_EQ(MixerInputs::Get().Fed(), 0u);
    }
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264AacLong), com::S_OK);
    LONGLONG duration = 0;
    ASSERT_EQ(g.seeking->GetDuration(&duration), com::S_OK);
    EXPECT_NEAR(static_cast<double>(duration) / Second, 10.0, 0.1);
    EXPECT_EQ(g.audio->put_Volume(-2000), com::S_OK);
    EXPECT_EQ(g.audio->put_Balance(9999), com::S_OK);
    ASSERT_EQ(g.control->Run(), com::S_OK);
    EXPECT_TRUE(WaitUntil([] { return MixerInputs::Get().Fed() == 2u; })) << MixerInputs::Get().Fed();
    // The pair seeks as one (the mixer passes the seek on to both files), past the shorter file's end too.
    LONGLONG target = 5 * Second;
    ASSERT_EQ(
        g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
        com::S_OK);
    EXPECT_NEAR(static_cast<double>(PositionOf(g.seeking.Get())) / Second, 5.0, 0.1);
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > 5300 * Millisecond; }));
}

// A signal delivered while the graph waits for its pipeline (a render's preroll, a seek settling) may wake
// the wait early; that is no failure. The signals come every millisecond to the waiting thread.
TEST(Waits, ASignalWhileTheGraphWaitsFailsNothing) {
    struct sigaction quiet = {};
    quiet.sa_handler = [](int) {};
    sigemptyset(&quiet.sa_mask);
    quiet.sa_flags = SA_RESTART;
    struct sigaction before = {};
    sigaction(SIGUSR2, &quiet, &before);
    const pthread_t waiting = pthread_self();
    std::atomic<bool> done{false};
    std::thread signaller([&] {
        while (!done) {
            pthread_kill(waiting, SIGUSR2);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int i = 0; i < 3; ++i) {
        WindowlessGraph g;
        EXPECT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK) << i;
        EXPECT_EQ(g.Render(MediaFixture::Mp4VideoOnly), com::S_OK) << i;
        LONGLONG target = Second;
        EXPECT_EQ(g.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                          AM_SEEKING_NoPositioning),
                  com::S_OK);
        EXPECT_EQ(PositionOf(g.seeking.Get()), Second);
    }
    done = true;
    signaller.join();
    sigaction(SIGUSR2, &before, nullptr);
}

// A file that never gives a stream: the render waits its time for a first stream with the wait hook running
// all along, and a hook that gives the wait up ends the render at once. As the second file of a graph the
// file must give a stream of its own too (the first file's streams, given anew, do not count), and the graph
// is left with nothing.
TEST(Waits, TheHookRunsWhileARenderWaitsAndCanGiveItUp) {
    int calls = 0;
    bool goOn = true;
    dshow::SetGraphWaitHook([&] {
        ++calls;
        return goOn;
    });
    WindowlessGraph g;
    const std::u16string stalling = com::WideString(testing_support::StallingRealMediaFile());
    EXPECT_EQ(g.graph->RenderFile(stalling.c_str(), nullptr), VFW_E_UNKNOWN_FILE_TYPE);
    EXPECT_GT(calls, 10);
    goOn = false;
    calls = 0;
    EXPECT_EQ(g.graph->RenderFile(stalling.c_str(), nullptr), com::E_ABORT);
    EXPECT_EQ(calls, 1) << "given up before it began";
    goOn = true;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    EXPECT_EQ(g.graph->RenderFile(stalling.c_str(), nullptr), VFW_E_UNKNOWN_FILE_TYPE);
    EXPECT_TRUE(com::FAILED(g.control->Run()));
    dshow::SetGraphWaitHook(nullptr);
}

// A graph lets go of its pipeline, and with it of every element, decoder and file it built: at a failed
// render, at shutdown and when the last reference goes.
TEST(Lifetime, NoPipelineOutlivesItsGraph) {
    MediaFile(MediaFixture::Mp4H264Aac);
    MediaFile(MediaFixture::NotMedia);
    testing_support::CountPipelines();
    const int before = testing_support::LivePipelines();
    auto playing = [](WindowlessGraph& g) {
        ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
        ASSERT_EQ(g.control->Run(), com::S_OK);
        ASSERT_TRUE(WaitUntil([&] { return PositionOf(g.seeking.Get()) > 100 * Millisecond; }));
    };
    {
        WindowlessGraph g;
        ASSERT_TRUE(com::FAILED(g.Render(MediaFixture::NotMedia)));
        EXPECT_EQ(testing_support::LivePipelines(), before) << "a failed render takes its pipeline down";
        playing(g);
        EXPECT_EQ(testing_support::LivePipelines(), before + 1);
    }
    EXPECT_EQ(testing_support::LivePipelines(), before) << "the released graph leaves no pipeline behind";
    {
        WindowlessGraph g;
        playing(g);
        ShutdownMediaGraphs();
        EXPECT_EQ(testing_support::LivePipelines(), before) << "shutting down lets go of the pipeline";
    }
}

// Shutting down stops every graph; their interfaces stay callable and report failures.
TEST(Shutdown, StopsEveryGraph) {
    WindowlessGraph g;
    ASSERT_EQ(g.Render(MediaFixture::Mp4H264Aac), com::S_OK);
    g.control->Run();
    ShutdownMediaGraphs();
    LONGLONG position = 0;
    EXPECT_EQ(g.seeking->GetCurrentPosition(&position), VFW_E_WRONG_STATE);
    EXPECT_TRUE(com::FAILED(g.control->Run()));
}

} // namespace
