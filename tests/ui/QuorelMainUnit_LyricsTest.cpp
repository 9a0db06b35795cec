// The lyrics display: loading the lyrics of an audio file, the lyrics step of each audio tick, the scroll
// timer and the drag that seeks.

#include <cmath>

#include <QTest>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/TagsAndLyrics.h"
#include "platform/audio/Bass.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/QuorelMainUnit_Lyrics.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

class LyricsTest : public MainFormTest {
protected:
    // An MP3 of Seconds tagged with Artist and Title, and Lyrics as "Lrc/<Artist> - <Title>.lrc".
    std::string TaggedSong(const std::string& Name, double Seconds, const std::string& Lyrics,
                           const std::string& Artist = "Band", const std::string& Title = "Song") {
        const std::string song = tree.Root() + "/" + Name;
        EXPECT_TRUE(testing_support::MakeToneFile(song, testing_support::AudioFormat::Mp3, Seconds));
        testing_support::AppendId3v1Tag(song, Title, Artist);
        WriteFile(State.LrcDir + Artist + " - " + Title + ".lrc", Lyrics);
        return song;
    }
    void Open(const std::string& File) {
        chosenFiles = {File};
        form->OpenFileDialog();
    }
    int Mid() const { return form->Lrc_p->Height() / 2; }
    // Lines as the load leaves them, without a file: Starts in seconds, the last line ending at Length.
    void SetLines(const std::vector<double>& Starts, double Length) {
        State.LrcTimes->Clear();
        State.LrcTexts->Clear();
        State.LrcLineTimes.clear();
        for (std::size_t i = 0; i < Starts.size(); ++i) {
            State.LrcTimes->Add(LrcTimeText(Starts[i]));
            State.LrcTexts->Add("line " + std::to_string(i));
            State.LrcLineTimes.push_back({Starts[i], i + 1 < Starts.size() ? Starts[i + 1] : Length});
        }
        State.AudioLength = Length;
    }
    double AudioPosition() const {
        return bass::BASS_ChannelBytes2Seconds(
            State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
    }
    static TColor Grey(int Level) { return static_cast<TColor>(win32::RGB(Level, Level, Level)); }
};

TEST_F(LyricsTest, AnAudioOpenShowsTheTagAndLoadsTheLyricsNamedAfterIt) {
    const std::string song = TaggedSong(
        "song.mp3", 3.0, "[ar:Band]\r\n[00:12.00]one\r\n[00:00.50]zero\n[00:02.00]two\r\nno time\r\n");
    Run();
    Open(song);
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(form->mp3Info_L->Caption(),
              "Title\t\tSong\r\nArtist\t\tBand\r\nAlbum\t\t\r\nYear\t\t\r\nComment\t\t");
    EXPECT_TRUE(form->mp3Info_L->isVisible());
    EXPECT_EQ(State.LrcFileName, "Band - Song.lrc");
    EXPECT_EQ(State.LrcTimes->Items(), (V{"0.50", "2.00", "12.00"}));
    EXPECT_EQ(State.LrcTexts->Items(), (V{"zero", "two", "one"}));
    EXPECT_EQ(form->Lrc_L->Caption(), "zero\r\ntwo\r\none\r\n");
    ASSERT_EQ(State.LrcLineTimes.size(), 3u);
    EXPECT_DOUBLE_EQ(State.LrcLineTimes[0].Next, 2.0);
    EXPECT_DOUBLE_EQ(State.LrcLineTimes[2].Next, State.AudioLength) << "the last line ends with the stream";
    EXPECT_TRUE(form->Lrc_p->isVisible());
    EXPECT_FALSE(form->Mainlogo_I->isVisible());
    EXPECT_EQ(form->LrcLineHeight, form->Lrc_L->LineHeight());
    EXPECT_EQ(form->Lrc_L->Height(), 3 * form->LrcLineHeight);
    // 20 pixels below the middle, one pixel a tick: the first line (0.50 s) is at the middle at its time.
    EXPECT_EQ(form->ShowLrc_T->Interval(), 25u);
    EXPECT_TRUE(form->ShowLrc_T->Enabled());
    EXPECT_EQ(form->Lrc_L->Left(), (form->Video_P->Width() - form->Lrc_L->Width()) / 2);
}

TEST_F(LyricsTest, TheFirstLineAtTwelveSecondsStartsTheScrollAtSixHundredMilliseconds) {
    const std::string song = TaggedSong("song.mp3", 2.0, "[00:12.00]one\r\n[00:13.00]two\r\n");
    Run();
    Open(song);
    EXPECT_EQ(form->ShowLrc_T->Interval(), 600u);
    EXPECT_EQ(form->Lrc_L->Top(), Mid() + 20);
    const int top = form->Lrc_L->Top();
    form->ShowLrc_TTimer(form->ShowLrc_T);
    EXPECT_EQ(form->Lrc_L->Top(), top - 1);
}

struct LoadCase {
    const char* name;
    std::string lyrics;
    V times;
    V texts;
};
class LyricsFileTest : public LyricsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LyricsFileTest, KeepsEveryTimedLineInTimeOrder) {
    const LoadCase& c = GetParam();
    Run();
    Open(TaggedSong("song.mp3", 2.0, c.lyrics));
    ASSERT_TRUE(State.IsPlaying) << "the audio open completes";
    EXPECT_EQ(State.LrcTimes->Items(), c.times);
    EXPECT_EQ(State.LrcTexts->Items(), c.texts);
    const bool lyrics = !c.times.empty();
    EXPECT_EQ(form->Lrc_p->isVisible(), lyrics);
    EXPECT_EQ(form->ShowLrc_T->Enabled(), lyrics);
    EXPECT_EQ(form->Lrc_L->Caption().empty(), !lyrics);
    EXPECT_EQ(State.LrcLineTimes.size(), c.times.size());
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LyricsFileTest,
    ::testing::Values(LoadCase{"EqualTimesEachWithItsText",
                               "[00:01.00]a\r\n[00:01.00]b\r\n[00:00.50]c\r\n",
                               {"0.50", "1.00", "1.00"},
                               {"c", "a", "b"}},
                      LoadCase{"NoTimedLine", "[ar:Band]\r\n[ti:Song]\r\nplain words\r\n", {}, {}},
                      LoadCase{"Empty", "", {}, {}},
                      // The Chinese code page, with and without a byte-order mark of UTF-8 before it.
                      LoadCase{"GbkText", "[00:01.00]\xb8\xe8\xca\xd6\r\n", {"1.00"}, {"歌手"}},
                      LoadCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF[00:01.00]歌\r\n", {"1.00"}, {"歌"}},
                      LoadCase{"FirstTimeZero", "[00:00.00]start\r\n", {"0.00"}, {"start"}}),
    testing_support::CaseName());

TEST_F(LyricsTest, AFileWithoutLyricsEndsTheLyricsOfTheFileBefore) {
    const std::string first = TaggedSong("a.mp3", 2.0, "[00:01.00]one\r\n", "Band", "First");
    const std::string second = tree.Root() + "/b.mp3";
    ASSERT_TRUE(testing_support::MakeToneFile(second, testing_support::AudioFormat::Mp3, 2.0));
    Run();
    Open(first);
    ASSERT_TRUE(form->Lrc_p->isVisible());
    Open(second);
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.LrcFileName, " - .lrc");
    EXPECT_EQ(form->mp3Info_L->Caption(),
              "Title\t\t\r\nArtist\t\t\r\nAlbum\t\t\r\nYear\t\t\r\nComment\t\tNo relevant information");
    EXPECT_TRUE(State.LrcTimes->Empty());
    EXPECT_TRUE(State.LrcLineTimes.empty());
    EXPECT_FALSE(form->Lrc_p->isVisible());
    EXPECT_FALSE(form->ShowLrc_T->Enabled());
}

// The tag's lines lie over the lyrics panel, which reaches up under them: the panel never hides them.
TEST_F(LyricsTest, TheTagShowsOverTheLyricsPanel) {
    const std::string song = TaggedSong("song.mp3", 3.0, "[00:00.50]zero\r\n[00:01.00]one\r\n");
    Run();
    Open(song);
    ASSERT_TRUE(form->Lrc_p->isVisible());
    ASSERT_TRUE(form->mp3Info_L->isVisible());
    ASSERT_GT(form->mp3Info_L->geometry().bottom(), form->Lrc_p->Top()) << "they overlap";
    const QPoint lastLine(form->mp3Info_L->Left() + 2, form->mp3Info_L->geometry().bottom() - 2);
    EXPECT_EQ(form->Video_P->childAt(lastLine), form->mp3Info_L);
}

// A re-layout (the window resized) puts the text back where the audio's position has it: also while paused,
// when no tick comes to move it, and before the first line, where the scroll timer alone has moved it.
TEST_F(LyricsTest, AResizeWhilePausedLeavesTheTextInStepWithTheAudio) {
    struct Case {
        const char* Lyrics;
        double At;
        double FirstLine;
    } const cases[] = {
        {"[00:00.50]zero\r\n[00:01.00]one\r\n[00:02.00]two\r\n", 1.5, 0.5},
        {"[00:02.00]one\r\n[00:02.50]two\r\n", 1.0, 2.0},
    };
    Run();
    for (const Case& c : cases) {
        Open(TaggedSong("song.mp3", 3.0, c.Lyrics));
        ASSERT_TRUE(State.IsPlaying);
        bass::BASS_ChannelSetPosition(
            State.BassStream, bass::BASS_ChannelSeconds2Bytes(State.BassStream, c.At), bass::BASS_POS_BYTE);
        form->PauseCommand();
        const double at = std::round(AudioPosition() * 100.0) / 100.0;
        form->SetBounds(form->Left(), form->Top(), form->Width() + 40, form->Height() + 60);
        QCoreApplication::processEvents();
        const int top = form->Lrc_L->Top();
        if (at < c.FirstLine) {
            EXPECT_EQ(top, Mid() + 20 - static_cast<int>(20.0 * at / c.FirstLine)) << c.Lyrics;
        } else {
            EXPECT_NE(top, Mid() + 20) << c.Lyrics;
            form->LyricsStep(at); // where the step puts it: no change
            EXPECT_EQ(form->Lrc_L->Top(), top) << c.Lyrics;
        }
        form->StopByType();
    }
}

// --- The lyrics step. ---

struct StepCase {
    const char* name;
    int lineHeight;
    double position;
    unsigned interval; // 0: left as it was (99)
    int line;          // -1: nothing moves
    int pixels;
    int grey; // -1: left as it was (42)
};
class LyricsStepTest : public LyricsTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(LyricsStepTest, PlacesTheTextAndTimesTheScrollByTheLinePlayingNow) {
    const StepCase& c = GetParam();
    Run();
    // Lines from 10.00 to 13.00, 13.00 to 13.01 and 13.01 to the end at 20.00.
    SetLines({10.0, 13.0, 13.01}, 20.0);
    form->LrcLineHeight = c.lineHeight;
    form->ShowLrc_T->SetInterval(99);
    form->Lrc_L->SetTop(7);
    form->LightLrc_L->SetTop(8);
    form->LrcGreyLevel = 42;
    form->LightLrc_L->Font().SetColor(Grey(42));
    form->LyricsStep(c.position);
    EXPECT_EQ(form->ShowLrc_T->Interval(), c.interval == 0 ? 99u : c.interval);
    if (c.line < 0) {
        EXPECT_EQ(form->Lrc_L->Top(), 7);
        EXPECT_EQ(form->LightLrc_L->Top(), 8);
    } else {
        EXPECT_EQ(form->Lrc_L->Top(), Mid() - c.line * c.lineHeight - c.pixels);
        EXPECT_EQ(form->LightLrc_L->Top(), Mid() - c.pixels);
        EXPECT_EQ(form->LightLrc_L->Caption(), "line " + std::to_string(c.line));
        EXPECT_EQ(form->LightLrc_L->Left(), (form->Lrc_p->Width() - form->LightLrc_L->Width()) / 2);
    }
    const int grey = c.grey < 0 ? 42 : c.grey;
    EXPECT_EQ(form->LrcGreyLevel, grey);
    EXPECT_EQ(form->LightLrc_L->Font().Color(), Grey(grey));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LyricsStepTest,
    ::testing::Values(
        StepCase{"LineStart", 15, 10.00, 200, 0, 0, -1},
        // The worked example: 3 s over 15 pixels is 200 ms a pixel; 0.60 s in, 3 pixels and grey 171.
        StepCase{"WorkedExample", 15, 10.60, 200, 0, 3, 171},
        StepCase{"BrightestRising", 15, 11.00, 200, 0, 5, 231},
        StepCase{"BrightestFalling", 15, 11.20, 200, 0, 6, 231},
        StepCase{"DarkestAgain", 15, 12.20, 200, 0, 11, 81},
        StepCase{"PastTheFadeKeepsTheGrey", 15, 12.40, 200, 0, 12, -1},
        // 10 ms over 15 pixels rounds to 1 ms; over 30 pixels it would be 0 and divide by zero.
        StepCase{"ShortLine", 15, 13.00, 1, 1, 0, -1}, StepCase{"ShortLineTallFont", 30, 13.00, 1, 1, 0, -1},
        // 6.99 s over 15 pixels: 466 ms a pixel; 3.50 s in, 7 pixels.
        StepCase{"LastLine", 15, 16.51, 466, 2, 7, 201},
        StepCase{"BeforeTheFirstLine", 15, 5.00, 0, -1, 0, -1},
        StepCase{"AfterTheLastLine", 15, 20.00, 0, -1, 0, -1}),
    testing_support::CaseName());

// The line playing is the first with Start <= t < Next, whatever the lines hold (equal times, a last line
// past the stream's end), found by looking at a handful of lines even among 100,000: the audio tick asks
// every millisecond.
TEST(LyricsLineAt, FindsTheLinePlayingByLookingAtAFewLines) {
    auto linear = [](const std::vector<TLrcLineTime>& Lines, double T) {
        for (std::size_t i = 0; i < Lines.size(); ++i)
            if (LyricsHundredths(Lines[i].Start) <= LyricsHundredths(T) &&
                LyricsHundredths(T) < LyricsHundredths(Lines[i].Next))
                return static_cast<int>(i);
        return -1;
    };
    auto lines = [](const std::vector<double>& Starts, double Length) {
        forms::TStringList times;
        for (double start : Starts)
            times.Add(LrcTimeText(start));
        return LyricsLineTimes(times, Length);
    };
    const std::vector<std::vector<TLrcLineTime>> cases = {
        lines({}, 10.0),
        lines({10.0}, 20.0),
        lines({5.0, 5.0, 5.0, 7.0}, 9.0),
        lines({1.0, 2.5, 2.5, 100.0}, 50.0), // the stream ends before the last line
        lines({0.0, 0.01, 0.02, 13.0, 13.01}, 13.01),
    };
    for (std::size_t c = 0; c < cases.size(); ++c)
        for (double t = -1.0; t <= 110.0; t += 0.01)
            ASSERT_EQ(LyricsLineAt(cases[c], t), linear(cases[c], t)) << "case " << c << " at " << t;

    std::vector<double> starts;
    for (int i = 0; i < 100000; ++i)
        starts.push_back(i * 2.0 + 1.0);
    const std::vector<TLrcLineTime> many = lines(starts, 200001.0);
    for (const auto& [t, line] : {std::pair{0.5, -1},
                                  {1.0, 0},
                                  {100000.99, 49999},
                                  {199999.0, 99999},
                                  {200000.99, 99999},
                                  {200001.0, -1}}) {
        int looked = 0;
        EXPECT_EQ(LyricsLineAt(many, t, &looked), line) << t;
        EXPECT_LE(looked, 18) << "lines looked at for " << t;
    }
}

TEST_F(LyricsTest, TheStepLeavesTheTextAloneWhileItIsDraggedOrWithoutLyrics) {
    Run();
    SetLines({1.0, 2.0}, 3.0);
    form->Lrc_L->SetTop(7);
    form->LrcDragging = true;
    form->LyricsStep(1.5);
    EXPECT_EQ(form->Lrc_L->Top(), 7);
    form->LrcDragging = false;
    SetLines({}, 3.0);
    form->LyricsStep(1.5);
    EXPECT_EQ(form->Lrc_L->Top(), 7);
}

// --- Dragging to seek. ---

class LyricsDragTest : public LyricsTest {
protected:
    // A 10 s song with lines at 1, 3 and 6 s, playing.
    void OpenSong() {
        Run();
        Open(TaggedSong("song.mp3", 10.0, "[00:01.00]one\r\n[00:03.00]two\r\n[00:06.00]three\r\n"));
        ASSERT_TRUE(State.IsPlaying);
        h = form->LrcLineHeight;
        ASSERT_GT(h, 4);
    }
    // Drags from the label's row 5 by Down pixels, the scroll timed at Interval ms a pixel.
    void Drag(int Down, unsigned Interval) {
        form->ShowLrc_T->SetInterval(Interval);
        form->Lrc_LMouseDown(form->Lrc_L, mbLeft, ssLeft, 10, 5);
        form->Lrc_LMouseMove(form->Lrc_L, ssLeft, 10, 5 + Down);
    }
    int h = 0;
};

TEST_F(LyricsDragTest, TheTargetIsTheLineAtTheMiddleAndThePixelsIntoIt) {
    OpenSong();
    // Line 1 ("two", from 3 s) at the middle and 4 pixels past it, at 100 ms a pixel: 3.4 s, shown as
    // 0:00:03.
    form->Lrc_L->SetTop(Mid() - h - 4);
    form->ShowLrc_T->SetInterval(100);
    form->Lrc_LMouseDown(form->Lrc_L, mbLeft, ssLeft, 10, 5);
    EXPECT_TRUE(form->LrcDragging);
    EXPECT_FALSE(form->ShowLrc_T->Enabled());
    EXPECT_EQ(form->LrcSeekSeconds, 3);
    EXPECT_EQ(form->lTime_L->Caption(), "0:00:03  -----------------------------------------------");
    EXPECT_EQ(form->rTime_L->Caption(), "-----------------------------------------------  0:00:03");
    EXPECT_TRUE(form->lTime_L->isVisible());
    EXPECT_TRUE(form->rTime_L->isVisible());
    EXPECT_EQ(form->lTime_L->Left(), 4);
    EXPECT_EQ(form->lTime_L->Top(), (form->Lrc_p->Height() - form->lTime_L->Height()) / 2);
    EXPECT_EQ(form->rTime_L->Left(), form->Lrc_p->Width() - form->rTime_L->Width() - 4);
    // The text follows the pointer: h pixels up puts line 2 ("three", from 6 s) at the middle, 4 pixels past.
    const int light = form->LightLrc_L->Top();
    form->Lrc_LMouseMove(form->Lrc_L, ssLeft, 10, 5 - h);
    EXPECT_EQ(form->Lrc_L->Top(), Mid() - 2 * h - 4);
    EXPECT_EQ(form->LightLrc_L->Top(), light - h);
    EXPECT_EQ(form->LrcSeekSeconds, 6);
    // Moves without the left button held do nothing.
    form->Lrc_LMouseMove(form->Lrc_L, 0, 10, 5 + 3 * h);
    EXPECT_EQ(form->Lrc_L->Top(), Mid() - 2 * h - 4);
}

struct TargetCase {
    const char* name;
    int lineOffset; // Lrc_L's top is Mid() - lineOffset * h - pixels before the drag
    int pixels;
    unsigned interval;
    std::int64_t seconds;
};
class LyricsDragTargetTest : public LyricsDragTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(LyricsDragTargetTest, StaysWithinTheStream) {
    const TargetCase& c = GetParam();
    OpenSong();
    form->Lrc_L->SetTop(Mid() - c.lineOffset * h - c.pixels);
    form->ShowLrc_T->SetInterval(c.interval);
    form->Lrc_LMouseDown(form->Lrc_L, mbLeft, ssLeft, 10, 5);
    EXPECT_EQ(form->LrcSeekSeconds, c.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LyricsDragTargetTest,
    ::testing::Values(
        TargetCase{"FirstLine", 0, 0, 100, 1},
        // The first line lies below the middle: between the start and the first line, never less.
        TargetCase{"AboveTheFirstLine", 0, -3, 100, 0}, TargetCase{"FarAboveTheFirstLine", -5, 0, 1000, 0},
        // Past the last line: its start and the pixels beyond it, but not past the stream's end.
        TargetCase{"PastTheLastLine", 2, 20, 100, 8}, TargetCase{"FarPastTheEnd", 2, 40, 1000, 10}),
    testing_support::CaseName());

TEST_F(LyricsDragTest, ReleasingTheLeftButtonSeeksAndScrollsOnOnlyWhilePlaying) {
    OpenSong();
    form->Lrc_L->SetTop(Mid() - 2 * h); // "three", from 6 s
    Drag(0, 100);
    form->Lrc_LMouseUp(form->Lrc_L, mbRight, 0, 10, 5);
    EXPECT_TRUE(form->LrcDragging) << "the right button neither ends the drag nor seeks";
    EXPECT_LT(AudioPosition(), 3.0);
    form->Lrc_LMouseUp(form->Lrc_L, mbLeft, 0, 10, 5);
    EXPECT_FALSE(form->LrcDragging);
    EXPECT_TRUE(form->ShowLrc_T->Enabled());
    EXPECT_FALSE(form->lTime_L->isVisible());
    EXPECT_FALSE(form->rTime_L->isVisible());
    EXPECT_NEAR(AudioPosition(), 6.0, 0.3);
    // Paused, the text must not scroll away while the audio stands.
    form->PauseCommand();
    ASSERT_TRUE(State.IsPaused);
    form->Lrc_L->SetTop(Mid() - h);
    Drag(0, 100);
    form->Lrc_LMouseUp(form->Lrc_L, mbLeft, 0, 10, 5);
    EXPECT_FALSE(form->ShowLrc_T->Enabled());
    EXPECT_NEAR(AudioPosition(), 3.0, 0.3);
}

TEST_F(LyricsDragTest, TheMouseDragsBothLabels) {
    OpenSong();
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Lrc_L->SetTop(Mid() - h);
    const int top = form->Lrc_L->Top();
    QTest::mousePress(form->Lrc_L, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(form->LrcDragging);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5 + h), form->Lrc_L->mapToGlobal(QPointF(5, 5 + h)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->Lrc_L, &move);
    EXPECT_EQ(form->Lrc_L->Top(), top + h);
    EXPECT_EQ(form->LrcSeekSeconds, 1);
    QTest::mouseRelease(form->Lrc_L, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(form->LrcDragging);
    EXPECT_NEAR(AudioPosition(), 1.0, 0.3);
}

} // namespace
