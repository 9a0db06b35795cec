#include "core/Transport.h"

#include <filesystem>

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"
#include "tests/support/CaseName.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/PaintCounter.h"
#include "tests/support/RunTree.h"

namespace {

// The whole table, entry by entry, as the design lists it (it falls instead of rising at 16-17 and 66-67).
TEST(VolumeTable, HoldsTheListedAttenuationsAndClampsLevels) {
    const int listed[101] = {
        -10000, -6418, -6147, -6000, -5892, -4826, -4647, -4540, -4477, -4162, // 0-9
        -3876,  -3614, -3500, -3492, -3374, -3261, -3100, -3153, -3048, -2947, // 10-19
        -2849,  -2755, -2700, -2663, -2575, -2520, -2489, -2406, -2325, -2280, // 20-29
        -2246,  -2170, -2095, -2050, -2023, -1952, -1900, -1884, -1834, -1820, // 30-39
        -1800,  -1780, -1757, -1695, -1636, -1579, -1521, -1500, -1464, -1436, // 40-49
        -1420,  -1408, -1353, -1299, -1246, -1195, -1144, -1096, -1060, -1049, // 50-59
        -1020,  -1003, -957,  -912,  -868,  -800,  -774,  -784,  -760,  -744,  // 60-69
        -705,   -667,  -630,  -610,  -594,  -570,  -558,  -525,  -493,  -462,  // 70-79
        -432,   -403,  -375,  -348,  -322,  -297,  -285,  -273,  -250,  -228,  // 80-89
        -207,   -187,  -176,  -168,  -150,  -102,  -75,   -19,   -10,   0,     // 90-99
        0,                                                                     // 100
    };
    ASSERT_EQ(VolumeTable.size(), 101u);
    for (std::size_t level = 0; level < VolumeTable.size(); ++level) {
        EXPECT_EQ(VolumeTable[level], listed[level]) << "level " << level;
        EXPECT_EQ(VolumeForLevel(static_cast<int>(level)), listed[level]) << "level " << level;
    }
    EXPECT_EQ(VolumeForLevel(-1), -10000) << "a missing SoundLevel reads -1";
    EXPECT_EQ(VolumeForLevel(250), 0);
}

// A graph playing the MP4 fixture in a panel.
class PlayingGraph : public ::testing::Test {
protected:
    void SetUp() override {
        State.RenderType = RenderTypes::Vmr9;
        WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
        State.CurrentMediaFile = testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac);
        ASSERT_TRUE(OpenMediaFile(State.CurrentMediaFile));
        State.PlayRate = 1.0;
    }
    void TearDown() override { GraphStop(); }
    testing_support::RunTree tree;
    testing_support::MediaWindow window{400, 300};
};

struct RateCase {
    const char* name;
    bool faster;
    double from;
    double to;
    const char* text;
};

class RateSteps : public PlayingGraph, public ::testing::WithParamInterface<RateCase> {};

TEST_P(RateSteps, StepTheRateAndSayIt) {
    double rate = GetParam().from;
    std::string text = "unchanged";
    (GetParam().faster ? PlayFaster : PlaySlower)(rate, text);
    EXPECT_EQ(rate, GetParam().to);
    EXPECT_EQ(text, GetParam().text);
    double applied = 0;
    State.MediaSeeking->GetRate(&applied);
    EXPECT_EQ(applied, GetParam().to) << "the graph runs at the new rate";
}

INSTANTIATE_TEST_SUITE_P(Table, RateSteps,
                         ::testing::Values(RateCase{"FasterFromOne", true, 1.0, 1.25, "播放中  1.25x"},
                                           RateCase{"FasterFromTwo", true, 2.0, 1.0, "播放中"},
                                           RateCase{"FasterFromHalf", true, 0.5, 1.0, "播放中"},
                                           RateCase{"FasterFromOneAndThreeQuarters", true, 1.75, 2.0,
                                                    "播放中  2.00x"},
                                           RateCase{"SlowerFromOne", false, 1.0, 0.75, "播放中  0.75x"},
                                           RateCase{"SlowerFromQuarter", false, 0.25, 1.0, "播放中"},
                                           RateCase{"SlowerFromOneAndAHalf", false, 1.5, 1.0, "播放中"}),
                         testing_support::CaseName());

// With nothing open, after a stop, or for audio, a rate command changes nothing (and does not crash).
TEST(Rate, NothingToChangeWithoutAGraph) {
    testing_support::RunTree tree;
    for (int playType : {PlayTypes::Nothing, PlayTypes::MediaFile, PlayTypes::Audio}) {
        State.PlayType = playType;
        double rate = 1.0;
        std::string text = "unchanged";
        PlayFaster(rate, text);
        PlaySlower(rate, text);
        EXPECT_EQ(rate, 1.0);
        EXPECT_EQ(text, "unchanged");
    }
}

TEST_F(PlayingGraph, PauseRunStopKeepTheFlagsInStep) {
    GraphPause();
    EXPECT_TRUE(State.IsPlaying && State.IsPaused);
    State.PlayRate = 1.5;
    GraphRun();
    EXPECT_TRUE(State.IsPlaying && !State.IsPaused);
    EXPECT_EQ(State.PlayRate, 1.0);
    GraphStop();
    EXPECT_FALSE(State.IsPlaying || State.IsPaused);
    EXPECT_FALSE(State.GraphBuilder || State.MediaControl || State.MediaSeeking || State.Vmr9Filter ||
                 State.Vmr9WindowlessControl || State.MediaDet);
    GraphRun();
    GraphPause();
    EXPECT_FALSE(State.IsPlaying) << "nothing to run or pause after a stop";
}

// A graph that never got its control (a failed open) is still released by a stop.
TEST(GraphStop, ReleasesAHalfBuiltGraph) {
    testing_support::RunTree tree;
    testing_support::MediaWindow window(400, 300);
    State.RenderType = RenderTypes::Vmr9;
    void* raw = nullptr;
    ASSERT_EQ(com::CoCreateInstance(com::CLSID_FilterGraph, nullptr, 3, dshow::IGraphBuilder::Iid, &raw), com::S_OK);
    State.GraphBuilder = com::ComPtr<dshow::IGraphBuilder>::Adopt(static_cast<dshow::IGraphBuilder*>(raw));
    CreateVmr9();
    ASSERT_TRUE(State.Vmr9Filter);
    GraphStop();
    EXPECT_FALSE(State.GraphBuilder || State.Vmr9Filter || State.Vmr9FilterConfig || State.Vmr9WindowlessControl);
}

TEST_F(PlayingGraph, VolumeWhileMutedWaitsForUnmute) {
    SetVolumePercent(50);
    win32::LONG volume = 0;
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, -1420);
    EXPECT_EQ(ToggleMuteGraph(50), "Slience_Normal_btn.bmp");
    EXPECT_EQ(ReadIniString("Play", "isSlience"), "1");
    SetVolumePercent(80);
    EXPECT_EQ(State.SoundLevel, 80);
    EXPECT_EQ(State.VolumeAttenuation, -432);
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, -10000) << "muted: the new level is not heard";
    EXPECT_EQ(ToggleMuteGraph(80), "Sound_normal_btn.bmp");
    EXPECT_EQ(ReadIniString("Play", "isSlience"), "0");
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, -432);
    SetVolumePercent(-1);
    EXPECT_EQ(State.SoundLevel, 0);
}

// A one-colour picture under the skin folder.
void WriteSkinPicture(const std::string& Name, QColor Colour) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Colour);
    std::filesystem::create_directories(State.SkinPath);
    ASSERT_TRUE(picture.save(QString::fromStdString(State.SkinPath + Name), "BMP"));
}

// Mute sets the menu check from isSlience (a check out of step, as a muted start-up leaves it until the popup
// menu is shown, comes right) and shows the Normal picture of the new state on the button.
TEST_F(PlayingGraph, ToggleMuteChecksTheItemByTheStateAndShowsTheNewState) {
    WriteSkinPicture("Slience_Normal_btn.bmp", Qt::red);
    WriteSkinPicture("Sound_Normal_btn.bmp", Qt::blue); // the default skin's spelling
    forms::TMenuItem item;
    forms::TImage button;
    State.isSlience = false;
    item.SetChecked(true);
    ToggleMute(&item, &button, 50);
    EXPECT_TRUE(State.isSlience);
    EXPECT_TRUE(item.Checked());
    ASSERT_FALSE(button.Picture().Empty());
    EXPECT_EQ(button.Picture().Image().pixel(0, 0), qRgb(255, 0, 0));
    win32::LONG volume = 0;
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, -10000);
    EXPECT_EQ(ReadIniString("Play", "isSlience"), "1");

    ToggleMute(&item, &button, 50);
    EXPECT_FALSE(State.isSlience);
    EXPECT_FALSE(item.Checked());
    EXPECT_EQ(button.Picture().Image().pixel(0, 0), qRgb(0, 0, 255));
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, VolumeTable[50]);
    EXPECT_EQ(ReadIniString("Play", "isSlience"), "0");
}

// While an audio file plays, mute is the audio library's: a graph standing by keeps its volume.
TEST_F(PlayingGraph, ToggleMuteOfAnAudioFileLeavesTheGraphAlone) {
    forms::TMenuItem item;
    State.BasicAudio->put_Volume(VolumeTable[30]);
    State.PlayType = PlayTypes::Audio;
    State.isSlience = false;
    ToggleMute(&item, nullptr, 30);
    EXPECT_TRUE(State.isSlience);
    EXPECT_TRUE(item.Checked());
    win32::LONG volume = 0;
    State.BasicAudio->get_Volume(&volume);
    EXPECT_EQ(volume, VolumeTable[30]);
    ToggleMute(&item, nullptr, 30);
    EXPECT_FALSE(State.isSlience);
}

TEST_F(PlayingGraph, FrameStepLeavesTheGraphPausedAndSaysSo) {
    win32::LONG before = 0;
    (void)before;
    StepOneFrame(State.VideoFrameStep.Get());
    EXPECT_TRUE(State.IsPlaying && State.IsPaused);
    std::int64_t position = 0;
    State.MediaSeeking->GetCurrentPosition(&position);
    testing_support::WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    std::int64_t later = 0;
    State.MediaSeeking->GetCurrentPosition(&later);
    EXPECT_EQ(later, position);
    StepOneFrame(nullptr); // no graph: nothing
}

using testing_support::MeasureAdvance;
using testing_support::PositionOf;
using testing_support::Pump;
using testing_support::WaitUntil;

constexpr std::int64_t Millisecond = 10000; // in 100-ns units

struct TransportCase {
    const char* name;
    testing_support::MediaFixture fixture;
    // The RealMedia demuxer cannot seek the files ffmpeg makes (they have no index): its seeks and rate
    // changes are refused and playback goes on as it was.
    bool seeks;
};

// Each file a user meets, opened as the player opens it (mixing renderer 9, the video fitting the panel).
class EveryFileTransport : public ::testing::TestWithParam<TransportCase> {
protected:
    void SetUp() override {
        State.RenderType = RenderTypes::Vmr9;
        WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
        State.CurrentMediaFile = testing_support::MediaFile(GetParam().fixture);
        ASSERT_TRUE(OpenMediaFile(State.CurrentMediaFile));
        seeking = State.MediaSeeking.Get();
        seeking->GetStopPosition(&stop);
    }
    void TearDown() override { GraphStop(); }
    // The graph has come to the paused state and its position holds there.
    void ExpectPausedAndHolding() {
        dshow::OAFilterState state = -1;
        State.MediaControl->GetState(5000, &state);
        EXPECT_EQ(state, dshow::State_Paused);
        const std::int64_t held = PositionOf(seeking);
        Pump(std::chrono::milliseconds(250));
        EXPECT_EQ(PositionOf(seeking), held);
    }
    bool SeekTo(std::int64_t Milliseconds) {
        std::int64_t target = Milliseconds * Millisecond;
        const com::HRESULT hr = seeking->SetPositions(&target, dshow::AM_SEEKING_AbsolutePositioning, nullptr,
                                                      dshow::AM_SEEKING_NoPositioning);
        EXPECT_EQ(hr, GetParam().seeks ? com::S_OK : com::E_FAIL);
        return com::SUCCEEDED(hr);
    }
    testing_support::RunTree tree;
    testing_support::MediaWindow window{400, 300};
    dshow::IMediaSeeking* seeking = nullptr;
    std::int64_t stop = 0;
};

// While it plays the position follows the clock; paused, it holds.
TEST_P(EveryFileTransport, AdvancesInRealTimeAndHoldsWhilePaused) {
    Pump(std::chrono::milliseconds(200));
    const testing_support::Advance a = MeasureAdvance(seeking, std::chrono::milliseconds(500));
    EXPECT_GT(a.position, a.wall / 2);
    EXPECT_LT(a.position, a.wall + 50 * Millisecond) << "never ahead of the clock";
    GraphPause();
    ExpectPausedAndHolding();
}

// An accurate seek lands within one frame (40 ms) of its target, paused or running, and a seek made while
// paused stays paused. A refused seek leaves the position where playback has it.
TEST_P(EveryFileTransport, SeekLandsWithinOneFrame) {
    GraphPause();
    const std::int64_t before = PositionOf(seeking);
    if (SeekTo(1300)) {
        EXPECT_NEAR(static_cast<double>(PositionOf(seeking)), 1300.0 * Millisecond, 40.0 * Millisecond);
        Pump(std::chrono::milliseconds(200));
        EXPECT_NEAR(static_cast<double>(PositionOf(seeking)), 1300.0 * Millisecond, 40.0 * Millisecond)
            << "a seek made while paused stays paused";
    } else {
        EXPECT_EQ(PositionOf(seeking), before);
    }
    GraphRun();
    Pump(std::chrono::milliseconds(100));
    const std::int64_t running = PositionOf(seeking);
    if (SeekTo(500)) {
        const std::int64_t landed = PositionOf(seeking);
        EXPECT_GE(landed, 500 * Millisecond - 40 * Millisecond);
        EXPECT_LT(landed, 500 * Millisecond + 300 * Millisecond);
    } else {
        EXPECT_TRUE(WaitUntil([&] { return PositionOf(seeking) > running + 200 * Millisecond; }))
            << "playing on from where it was";
    }
}

// The rate command at 1.75 steps to 2.0: the position then runs twice as fast as the clock. A refused rate
// is said as plain playing, and playback goes on at the rate it had.
TEST_P(EveryFileTransport, RateTwoAdvancesTwiceAsFast) {
    Pump(std::chrono::milliseconds(100));
    double rate = 1.75;
    std::string text;
    PlayFaster(rate, text);
    EXPECT_EQ(rate, 2.0);
    EXPECT_EQ(text, GetParam().seeks ? "播放中  2.00x" : "播放中");
    const double expected = GetParam().seeks ? 2.0 : 1.0;
    double applied = 0;
    seeking->GetRate(&applied);
    EXPECT_EQ(applied, expected);
    Pump(std::chrono::milliseconds(100));
    const testing_support::Advance a = MeasureAdvance(seeking, std::chrono::milliseconds(400));
    EXPECT_GT(static_cast<double>(a.position), static_cast<double>(a.wall) * expected * 0.75);
    EXPECT_LT(static_cast<double>(a.position), static_cast<double>(a.wall) * expected + 80.0 * Millisecond);
    EXPECT_EQ(seeking->SetRate(0.0), com::E_INVALIDARG);
    EXPECT_EQ(seeking->SetRate(-1.0), com::E_INVALIDARG);
}

// A step moves one frame (40 ms at 25 fps); from a running graph it leaves the graph paused on the new
// frame, and the flags say so. (The steps are measured from the first step's frame: the position a paused
// graph reports before it need not be a frame's time.)
TEST_P(EveryFileTransport, FrameStepMovesOneFrame) {
    GraphPause();
    SeekTo(400);
    StepOneFrame(State.VideoFrameStep.Get());
    const std::int64_t first = PositionOf(seeking);
    StepOneFrame(State.VideoFrameStep.Get());
    EXPECT_EQ(PositionOf(seeking) - first, 40 * Millisecond);
    StepOneFrame(State.VideoFrameStep.Get());
    EXPECT_EQ(PositionOf(seeking) - first, 80 * Millisecond);

    GraphRun();
    Pump(std::chrono::milliseconds(200));
    StepOneFrame(State.VideoFrameStep.Get());
    EXPECT_TRUE(State.IsPlaying && State.IsPaused);
    ExpectPausedAndHolding();
}

// The player finds the end by polling: after the end the position is the stop position, exactly, and a
// frame step finds nothing to step to (the flags stay as they are).
TEST_P(EveryFileTransport, AfterTheEndThePositionIsTheStopPosition) {
    SeekTo(stop / Millisecond - 300);
    EXPECT_TRUE(WaitUntil([&] { return PositionOf(seeking) == stop; }));
    Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(PositionOf(seeking), stop);
    StepOneFrame(State.VideoFrameStep.Get());
    EXPECT_TRUE(State.IsPlaying && !State.IsPaused);
    EXPECT_EQ(PositionOf(seeking), stop);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EveryFileTransport,
    ::testing::Values(TransportCase{"Mp4H264Aac", testing_support::MediaFixture::Mp4H264Aac, true},
                      TransportCase{"MkvVp8Vorbis", testing_support::MediaFixture::MkvVp8Vorbis, true},
                      TransportCase{"AviMpeg4Mp3", testing_support::MediaFixture::AviMpeg4Mp3, true},
                      TransportCase{"MpegPsMpeg2", testing_support::MediaFixture::MpegPsMpeg2, true},
                      TransportCase{"RealMedia", testing_support::MediaFixture::RealMedia, false}),
    testing_support::CaseName());

// Counts the paint events a widget gets.
class PaintCounter : public testing_support::PaintCounter {
public:
    using testing_support::PaintCounter::PaintCounter;

    // Pumps events until no paint came for a while, so that paints asked for earlier are not counted later.
    void SettleAndReset() {
        int before = -1;
        for (int round = 0; round < 50 && paints != before; ++round) {
            before = paints;
            Pump(std::chrono::milliseconds(100));
        }
        paints = 0;
    }
};

// A paused file on a mixing renderer is painted again from its kept frame when the panel asks (its paint
// handling and repaint timer); the DVD graph and a closed graph paint nothing.
TEST_F(PlayingGraph, RepaintVideoPaintsTheKeptFrameAgain) {
    GraphPause();
    const TVideoRect r = State.VideoRect;
    const QPoint centre(r.Left + r.Width / 2, r.Top + r.Height / 2);
    ASSERT_TRUE(WaitUntil([&] {
        return testing_support::NearColour(window.Picture().pixel(centre), testing_support::FixtureColour);
    }));
    Pump(std::chrono::milliseconds(50));
    PaintCounter counter(&window.Panel());
    RepaintVideo(State.VideoPanelHandle);
    EXPECT_TRUE(WaitUntil([&] { return counter.paints > 0; }));
    EXPECT_TRUE(testing_support::NearColour(window.Picture().pixel(centre), testing_support::FixtureColour));

    counter.SettleAndReset();
    State.PlayType = PlayTypes::Dvd;
    RepaintVideo(State.VideoPanelHandle);
    Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(counter.paints, 0);
    State.PlayType = PlayTypes::MediaFile;
    GraphStop();
    counter.SettleAndReset();
    RepaintVideo(State.VideoPanelHandle);
    Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(counter.paints, 0);
}

struct Image {
    int Left = 0;
    int Width = 0;
};

struct KnobCase {
    const char* name;
    int level;
    int direction;
    int knobLeft;
    int expectedLevel;
    int expectedKnob;
};

class VolumeKnob : public ::testing::TestWithParam<KnobCase> {};

// The track is 110 wide at 20, the knob 10 wide: a span of 100, two pixels a step; the knob stays on the
// track and the fill reaches exactly to the knob.
TEST_P(VolumeKnob, StepsLevelAndKnobTogether) {
    testing_support::RunTree tree;
    const Image track{20, 110};
    Image thumb{GetParam().knobLeft, 10}, fill{20, 3};
    StepVolume(GetParam().level, track, thumb, fill, GetParam().direction);
    EXPECT_EQ(State.SoundLevel, GetParam().expectedLevel);
    EXPECT_EQ(thumb.Left, GetParam().expectedKnob);
    EXPECT_EQ(fill.Width, thumb.Left - track.Left);
}

INSTANTIATE_TEST_SUITE_P(Table, VolumeKnob,
                         ::testing::Values(KnobCase{"UpAt99", 99, 1, 119, 100, 120},
                                           KnobCase{"UpAt100", 100, 1, 120, 100, 120},
                                           KnobCase{"DownAt1", 1, 2, 21, 0, 20},
                                           KnobCase{"DownAt0", 0, 2, 20, 0, 20},
                                           KnobCase{"UpInTheMiddle", 50, 1, 70, 52, 72}),
                         testing_support::CaseName());

TEST(SetSliderThumb, PlacesTheKnobForTheValue) {
    const Image track{20, 110};
    Image thumb{0, 10}, fill{0, 0};
    SetSliderThumb(30, 0, 100, track, thumb, fill);
    EXPECT_EQ(thumb.Left, 50);
    EXPECT_EQ(fill.Width, 30);
    SetSliderThumb(-1, 0, 100, track, thumb, fill);
    EXPECT_EQ(thumb.Left, 20);
    SetSliderThumb(400, 0, 100, track, thumb, fill);
    EXPECT_EQ(thumb.Left, 120);
}

} // namespace
