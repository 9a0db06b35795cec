#include "core/PipLayout.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "core/MediaOpen.h"
#include "core/WindowMessages.h"
#include "platform/forms/Controls.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"
#include "tests/support/LivePipelines.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/PipMixer.h"
#include "tests/support/TempDir.h"

namespace {

using dshow::NORMALIZEDRECT;
using testing_support::Describe;
using testing_support::MediaFile;
using testing_support::MediaFixture;
using testing_support::PipMixer;

constexpr NORMALIZEDRECT Full{0.0f, 0.0f, 1.0f, 1.0f};

// Both mixing renderers: each operation goes to the mixer of the one in use.
class PipLayout : public ::testing::TestWithParam<TRenderType> {};

struct ApplyCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> settings;
    NORMALIZEDRECT small;
    std::vector<std::pair<const char*, const char*>> stored;
};

TEST_P(PipLayout, ApplyPipPositionLaysTheSmallPictureOutFromTheSettings) {
    const ApplyCase cases[] = {
        {"FreeFullWidthIsCutToHalf",
         {{"PositionType", "102"},
          {"SmallLeft", "0"},
          {"SmallTop", "0"},
          {"SmallRight", "100"},
          {"SmallBottom", "40"}},
         {0.0f, 0.0f, 0.5f, 0.4f},
         {{"SmallRight", "50"}, {"SmallBottom", "40"}}},
        {"FreeFullHeightIsCutToHalf",
         {{"PositionType", "102"},
          {"SmallLeft", "10"},
          {"SmallTop", "0"},
          {"SmallRight", "40"},
          {"SmallBottom", "100"}},
         {0.1f, 0.0f, 0.4f, 0.5f},
         {{"SmallBottom", "50"}}},
        {"FreeReversedEdgesKeepTheFlip",
         {{"PositionType", "102"},
          {"SmallLeft", "80"},
          {"SmallTop", "60"},
          {"SmallRight", "40"},
          {"SmallBottom", "90"}},
         {0.8f, 0.6f, 0.4f, 0.9f},
         {{"SmallLeft", "80"}, {"SmallRight", "40"}}},
        {"StandardBottomRight",
         {{"PositionType", "101"}, {"SmallPosition", "4"}},
         {0.5f, 0.5f, 1.0f, 1.0f},
         {{"SmallPosition", "4"}, {"PositionType", "101"}}},
        {"NoPositionTypeLeavesBothFull", {}, Full, {{"PositionType", "Value no find"}}},
        // A free place whose edges were never stored, or stored without area, would hide the small picture
        // for good: it is not laid out, and nothing is written.
        {"FreeWithoutEdgesLeavesBothFull", {{"PositionType", "102"}}, Full, {{"SmallLeft", "Value no find"}}},
        {"FreeWithoutAreaLeavesBothFull",
         {{"PositionType", "102"},
          {"SmallLeft", "0"},
          {"SmallTop", "0"},
          {"SmallRight", "0"},
          {"SmallBottom", "0"}},
         Full,
         {{"SmallRight", "0"}}},
        {"StandardWithoutARectangleChangesNothing",
         {{"PositionType", "101"}, {"SmallPosition", "9"}},
         Full,
         {{"SmallPosition", "9"}}},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer pip(GetParam());
        for (const auto& [key, value] : c.settings)
            WriteIniString("Pip", key, value);
        ApplyPipPosition();
        EXPECT_EQ(PipMixer::Rect(1), c.small) << Describe(PipMixer::Rect(1));
        EXPECT_EQ(PipMixer::Rect(0), Full) << "the big picture keeps the whole area";
        for (const auto& [key, value] : c.stored)
            EXPECT_EQ(PipMixer::Stored(key), value) << key;
    }
}

TEST_P(PipLayout, StandardPositionsPlaceTheSmallPictureAndAreStored) {
    const NORMALIZEDRECT places[] = {{0.0f, 0.0f, 0.5f, 0.5f},
                                     {0.5f, 0.0f, 1.0f, 0.5f},
                                     {0.0f, 0.5f, 0.5f, 1.0f},
                                     {0.5f, 0.5f, 1.0f, 1.0f},
                                     {0.25f, 0.25f, 0.75f, 0.75f}};
    PipMixer pip(GetParam());
    for (int preset = 1; preset <= 5; ++preset) {
        SetPipStandardPosition(preset);
        EXPECT_EQ(PipMixer::Rect(1), places[preset - 1]) << preset;
        EXPECT_EQ(PipMixer::Stored("SmallPosition"), std::to_string(preset));
        EXPECT_EQ(PipMixer::Stored("PositionType"), "101");
    }
    // A preset without a rectangle reaches neither the mixer nor the settings file.
    WriteIniString("Pip", "PositionType", "102");
    const std::string before = testing_support::ReadFile(pip.tree.IniFile());
    for (int preset : {0, 6, -1}) {
        SetPipStandardPosition(preset);
        EXPECT_EQ(PipMixer::Rect(1), places[4]) << preset;
    }
    EXPECT_EQ(testing_support::ReadFile(pip.tree.IniFile()), before);
}

// A window that keeps the lParam of every WM_PLAYLIST_PIPITEM posted to it, as the play-list window would.
class PipItemWindow {
public:
    PipItemWindow() {
        window.SetMessageHandler(WM_PLAYLIST_PIPITEM,
                                 [this](forms::TMessage& M) { rows.push_back(M.LParam); });
        State.PlayListWindowHandle = window.Handle();
    }
    ~PipItemWindow() { State.PlayListWindowHandle = nullptr; }
    std::vector<win32::LPARAM> Posted() {
        QCoreApplication::processEvents();
        return rows;
    }
    forms::TControl window;
    std::vector<win32::LPARAM> rows;
};

// A swap exchanges the pictures, each keeping its alpha, the small one drawn in front; the play-list window
// is told which file is shown full size. Two swaps restore the layout; a position then moves the file that
// is small at the time.
TEST_P(PipLayout, SwapExchangesThePicturesAndTellsThePlayListWhichFileIsBig) {
    PipMixer pip(GetParam());
    PipItemWindow list;
    const NORMALIZEDRECT corner{0.5f, 0.5f, 1.0f, 1.0f};
    SetPipStandardPosition(4);
    SwapPip();
    EXPECT_EQ(PipMixer::Rect(0), corner);
    EXPECT_EQ(PipMixer::Rect(1), Full);
    EXPECT_EQ(std::pair(State.PipMainStream, State.PipSmallStream), std::pair(1, 0));
    EXPECT_EQ(PipMixer::Alpha(0), 0.8f);
    EXPECT_EQ(PipMixer::Alpha(1), 0.6f);
    EXPECT_LT(PipMixer::ZOrder(0), PipMixer::ZOrder(1)) << "the small picture is drawn in front";
    SwapPip();
    EXPECT_EQ(PipMixer::Rect(1), corner);
    EXPECT_EQ(PipMixer::Rect(0), Full);
    EXPECT_EQ(std::pair(State.PipMainStream, State.PipSmallStream), std::pair(0, 1));
    EXPECT_LT(PipMixer::ZOrder(1), PipMixer::ZOrder(0)) << "the small picture is drawn in front";
    EXPECT_EQ(list.Posted(), (std::vector<win32::LPARAM>{1, 0}));

    SwapPip();
    SetPipStandardPosition(1);
    EXPECT_EQ(PipMixer::Rect(0), (NORMALIZEDRECT{0.0f, 0.0f, 0.5f, 0.5f}))
        << "file A is the small picture now";
    EXPECT_EQ(PipMixer::Rect(1), Full);
    EXPECT_EQ(list.Posted().back(), 1);
    EXPECT_EQ(PipMixer::Stored("PositionType"), "101") << "a swap writes no setting of its own";
}

INSTANTIATE_TEST_SUITE_P(Renderers, PipLayout, ::testing::Values(RenderTypes::Vmr7, RenderTypes::Vmr9),
                         [](const auto& Info) { return Info.param == RenderTypes::Vmr7 ? "Vmr7" : "Vmr9"; });

// Without a mixer (renderer 1000, or nothing open) nothing is drawn, the positions are still stored and the
// swap still tells the play-list window which file is big.
TEST(PipLayoutWithoutMixer, PositionsAreStoredAndNothingIsSwapped) {
    PipMixer pip(RenderTypes::OwnRenderer);
    PipItemWindow list;
    SetPipStandardPosition(2);
    EXPECT_EQ(PipMixer::Stored("SmallPosition"), "2");
    EXPECT_EQ(PipMixer::Stored("PositionType"), "101");
    SetPipCustomRect(10, 20, 30, 40);
    EXPECT_EQ(PipMixer::Stored("SmallLeft") + PipMixer::Stored("SmallTop") + PipMixer::Stored("SmallRight") +
                  PipMixer::Stored("SmallBottom"),
              "10203040");
    SwapPip();
    EXPECT_EQ(std::pair(State.PipMainStream, State.PipSmallStream), std::pair(0, 1));
    EXPECT_EQ(list.Posted(), (std::vector<win32::LPARAM>{0}));
    EXPECT_FALSE(OpenPip(MediaFile(MediaFixture::Mp4H264Aac), MediaFile(MediaFixture::Mp4H264Aac)));
    EXPECT_FALSE(State.GraphBuilder);
}

// --- A real pair. ---

// File B of the pairs: 3 s of a solid colour unlike the fixtures' and a higher tone, in a picture of another
// size and shape than file A's 320 x 240 (4:3): 720 x 300 (12:5), so that measuring the two files in the
// wrong order, or keeping one's size as the other's, shows.
constexpr testing_support::Rgb ColourB{200, 40, 160};

const std::string& ClipB() {
    static const std::string path = [] {
        const std::string file = testing_support::FixtureFolder() + "/pip_b.mp4";
        EXPECT_TRUE(testing_support::MakeMediaFile(
            "videotestsrc num-buffers=75 pattern=solid-color foreground-color=0xFFC828A0 ! "
            "video/x-raw,format=I420,width=720,height=300,framerate=25/1 ! "
            "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux name=mux ! filesink "
            "location={out} "
            "audiotestsrc num-buffers=30 samplesperbuffer=4410 freq=660 volume=0.3 ! "
            "audio/x-raw,rate=44100,channels=2 ! voaacenc ! aacparse ! mux.",
            file));
        return file;
    }();
    return path;
}

testing_support::Rgb Blend(testing_support::Rgb Over, double Alpha, testing_support::Rgb Under) {
    auto mix = [&](int o, int u) { return static_cast<int>(std::lround(Alpha * o + (1.0 - Alpha) * u)); };
    return {mix(Over.r, Under.r), mix(Over.g, Under.g), mix(Over.b, Under.b)};
}

class PipPair : public ::testing::TestWithParam<TRenderType> {
protected:
    void SetUp() override {
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& R) {
            boxes.push_back(R.Text);
            return win32::IDOK;
        });
    }
    void TearDown() override {
        GraphStop();
        win32::SetMessageBoxHandler(nullptr);
    }
    std::vector<std::string> boxes;
};

// The pair plays in one graph at preset 4: file B's picture in the bottom-right quarter over file A's, with
// the alphas 0.8 (big) and 0.6 (small); after a swap the colours exchange, each file keeping its alpha.
TEST_P(PipPair, OpensBothFilesInOneGraphAndSwapsTheirPictures) {
    PipMixer pip(RenderTypes::OwnRenderer);
    State.RenderType = GetParam();
    WriteIniString("PlayControl", "WhileOpenMedia", "2");
    WriteIniString("Pip", "PositionType", "101");
    WriteIniString("Pip", "SmallPosition", "4");
    State.pipMediaFileA = MediaFile(MediaFixture::Mp4H264Aac);
    State.pipMediaFileB = ClipB();
    ASSERT_TRUE(OpenPip(State.pipMediaFileA, State.pipMediaFileB));
    EXPECT_EQ(State.PlayType, PlayTypes::Pip);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, State.pipMediaFileA);
    EXPECT_NEAR(static_cast<double>(State.MediaDuration) / 1e7, 3.0, 0.1) << "the longer file's length";
    // Each file's size, raised as a whole to at least 550 x 350; the window and the picture's shape are file
    // A's.
    EXPECT_EQ(std::pair(State.PipWidthA, State.PipHeightA), std::pair(550, 413));
    EXPECT_EQ(std::pair(State.PipWidthB, State.PipHeightB), std::pair(840, 350));
    EXPECT_EQ(std::pair(State.VideoWidth, State.VideoHeight), std::pair(550, 413));
    EXPECT_NEAR(State.PipFrameRateB, 25.0, 0.01);
    EXPECT_DOUBLE_EQ(AspectForType(0), 0.75);
    EXPECT_EQ(PipMixer::Alpha(0), 0.8f);
    EXPECT_EQ(PipMixer::Alpha(1), 0.6f);

    const TVideoRect& v = State.VideoRect;
    ASSERT_GT(v.Width, 0);
    EXPECT_NEAR(static_cast<double>(v.Height) / v.Width, 0.75, 0.01) << "the video fits in file A's shape";
    const int bigX = v.Left + v.Width / 4, bigY = v.Top + v.Height / 4;
    const int smallX = v.Left + 3 * v.Width / 4, smallY = v.Top + 3 * v.Height / 4;
    const testing_support::Rgb black{0, 0, 0};
    auto shows = [&](testing_support::Rgb Big, testing_support::Rgb Small) {
        return testing_support::WaitUntil([&] {
            const QImage picture = pip.window.Picture();
            return testing_support::NearColour(picture.pixel(bigX, bigY), Big, 20) &&
                   testing_support::NearColour(picture.pixel(smallX, smallY), Small, 20);
        });
    };
    const auto a = testing_support::FixtureColour;
    EXPECT_TRUE(shows(Blend(a, 0.8, black), Blend(ColourB, 0.6, Blend(a, 0.8, black))))
        << std::hex << pip.window.Picture().pixel(bigX, bigY) << " "
        << pip.window.Picture().pixel(smallX, smallY);
    SwapPip();
    EXPECT_TRUE(shows(Blend(ColourB, 0.6, black), Blend(a, 0.8, Blend(ColourB, 0.6, black))))
        << std::hex << pip.window.Picture().pixel(bigX, bigY) << " "
        << pip.window.Picture().pixel(smallX, smallY);
}

struct FailedOpenCase {
    const char* name;
    bool emptyB;
    MediaFixture fileB;
};

// A pair that cannot be opened is reported and leaves nothing behind: no graph, detector or mixer is held,
// no pipeline lives on, and the state is as it was.
TEST_P(PipPair, APairThatDoesNotOpenIsReportedAndLeavesNothingBehind) {
    const FailedOpenCase cases[] = {{"EmptySecondName", true, MediaFixture::NotMedia},
                                    {"SecondNotMedia", false, MediaFixture::NotMedia},
                                    {"SecondCorrupt", false, MediaFixture::Corrupt}};
    for (const FailedOpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer pip(RenderTypes::OwnRenderer);
        State.RenderType = GetParam();
        State.PlayType = PlayTypes::MediaFile;
        State.IsPlaying = false;
        const std::string fileB = c.emptyB ? std::string() : MediaFile(c.fileB);
        testing_support::CountPipelines();
        const int pipelines = testing_support::LivePipelines();
        boxes.clear();
        EXPECT_FALSE(OpenPip(MediaFile(MediaFixture::Mp4H264Aac), fileB));
        EXPECT_EQ(boxes, std::vector<std::string>{"无效或错误的媒体文件!"});
        EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
        EXPECT_FALSE(State.IsPlaying);
        EXPECT_FALSE(State.GraphBuilder || State.MediaDet || State.MediaControl || State.Vmr9MixerControl ||
                     State.Vmr7MixerControl || State.Vmr9WindowlessControl || State.Vmr7WindowlessControl);
        EXPECT_EQ(testing_support::LivePipelines(), pipelines);
    }
}

INSTANTIATE_TEST_SUITE_P(Renderers, PipPair, ::testing::Values(RenderTypes::Vmr7, RenderTypes::Vmr9),
                         [](const auto& Info) { return Info.param == RenderTypes::Vmr7 ? "Vmr7" : "Vmr9"; });

} // namespace
