// The media commands of the main window and the display after each.

#include <gtest/gtest.h>

#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowMessages.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainFormFixture.h"

namespace {

using namespace ui_testing;
using testing_support::MediaFile;
using testing_support::MediaFixture;
using V = std::vector<std::string>;

constexpr std::int64_t Second = 10000000;

class MediaCommandsTest : public MainFormTest {
protected:
    // Opens Files through the open dialog, as the user picking them does.
    void OpenThroughDialog(V Files) {
        chosenFiles = std::move(Files);
        form->OpenFileDialog();
    }
    std::int64_t GraphPosition() const {
        std::int64_t current = -1;
        if (State.MediaSeeking)
            State.MediaSeeking->GetCurrentPosition(&current);
        return current;
    }
    // The playing state's display, with Interval the progress timer's.
    void ExpectPlayingDisplay(unsigned Interval) {
        EXPECT_EQ(form->Status_L->Caption(), "播放中");
        EXPECT_TRUE(form->Ctrl_T->Enabled());
        EXPECT_EQ(form->Ctrl_T->Interval(), Interval);
        EXPECT_FALSE(form->RePaint_T->Enabled());
        for (tximage* button : {form->PlayPause_XI, form->Stop_XI, form->Backward_XI, form->Forward_XI})
            EXPECT_TRUE(button->Enabled()) << button->Name();
        for (TMenuItem* item : form->PlayMenuItems)
            EXPECT_TRUE(item->Enabled()) << item->Name();
        EXPECT_TRUE(form->pClose->Enabled());
        EXPECT_TRUE(form->VideoPro_XI->Enabled());
        EXPECT_FALSE(screenSaver.Active());
        EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    }
    void ExpectStoppedDisplay(const std::string& Status = "准备完毕") {
        EXPECT_EQ(form->Status_L->Caption(), Status);
        EXPECT_EQ(form->Time_L->Caption(), "");
        EXPECT_FALSE(form->Ctrl_T->Enabled());
        EXPECT_FALSE(form->RePaint_T->Enabled());
        EXPECT_TRUE(form->PlayPause_XI->Enabled());
        for (tximage* button : {form->Stop_XI, form->Backward_XI, form->Forward_XI, form->Previous_XI, form->Next_XI,
                                form->Capture_XI, form->maxmin_xi})
            EXPECT_FALSE(button->Enabled()) << button->Name();
        for (TMenuItem* item : form->PlayMenuItems)
            EXPECT_FALSE(item->Enabled()) << item->Name();
        EXPECT_TRUE(form->Mainlogo_I->isVisible());
        EXPECT_EQ(form->VideoBar_XI->Left(), form->VideoPro_XI->Left());
        EXPECT_EQ(form->VideoGo_XI->Width(), 0);
        EXPECT_TRUE(screenSaver.Active());
    }
};

TEST_F(MediaCommandsTest, ChosenFilesBecomeThePlayListAndTheFirstPlays) {
    const V files = {Clip("a.mp4"), Tone("b.wav"), Clip("c.mp4")};
    Run();
    OpenThroughDialog(files);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].Filter, MediaFileFilter);
    EXPECT_EQ(dialogs[0].Options, forms::ofAllowMultiSelect);
    EXPECT_EQ(State.PlayListFiles->Items(), files);
    EXPECT_EQ(State.PlayListPositions->Items(), (V{"0", "0", "0"}));
    EXPECT_EQ(State.PlayListIndex, 0);
    EXPECT_EQ(State.CurrentMediaFile, files[0]);
    EXPECT_EQ(State.History->Items(), files);
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
    EXPECT_EQ(State.PlayRate, 1.0);
    ExpectPlayingDisplay(30);
    EXPECT_EQ(form->CurMedia_L->Caption(), "a.mp4");
    EXPECT_EQ(form->Time_L->Caption(), "0:00:00 / 0:00:02");
    EXPECT_EQ(form->Time_L->Left() + form->Time_L->Width(), form->Width() - 10);
    EXPECT_EQ(form->MediaSeconds, 2);
    EXPECT_TRUE(form->Previous_XI->Enabled());
    EXPECT_TRUE(form->Next_XI->Enabled());
    EXPECT_TRUE(form->Capture_XI->Enabled());
    EXPECT_FALSE(form->Mainlogo_I->isVisible());
}

TEST_F(MediaCommandsTest, TheListWindowIsToldToReloadOnlyWhenItExists) {
    const std::string clip = Clip("a.mp4");
    Run();
    OpenThroughDialog({clip}); // no list window: nothing is posted, nothing breaks
    TControl listWindow;
    int reloads = 0;
    listWindow.SetMessageHandler(WM_PLAYLIST_RELOAD, [&](TMessage&) { ++reloads; });
    State.PlayListWindowHandle = listWindow.Handle();
    OpenThroughDialog({clip});
    QCoreApplication::processEvents();
    State.PlayListWindowHandle = nullptr;
    EXPECT_EQ(reloads, 1);
    EXPECT_FALSE(form->Previous_XI->Enabled()); // one entry: nothing to step to
    EXPECT_FALSE(form->Next_XI->Enabled());
}

TEST_F(MediaCommandsTest, CancelledDialogChangesNothing) {
    const std::string clip = Clip("a.mp4");
    Run({clip});
    OpenThroughDialog({});
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, clip);
}

TEST_F(MediaCommandsTest, AnAudioFileShowsItsLengthTextAndTheLogo) {
    const std::string tone = Tone("t.wav", 3.0);
    Run();
    OpenThroughDialog({tone});
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.PlayType, PlayTypes::Audio);
    ExpectPlayingDisplay(1);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:00 / 0:00:03");
    EXPECT_TRUE(form->mp3Info_L->isVisible());
    EXPECT_FALSE(form->Capture_XI->Enabled());
    EXPECT_FALSE(form->maxmin_xi->Enabled());
    EXPECT_TRUE(form->Mainlogo_I->isVisible()); // no lyrics
    EXPECT_FALSE(form->Lrc_p->isVisible());
}

struct FailedOpenCase {
    const char* name;
    const char* file;     // the name tried, in the run tree
    MediaFixture fixture; // what it holds: NotMedia or Corrupt
    bool missing;         // or it does not exist
    bool audio;           // an audio name: an audio file plays before it, else a clip
};

class FailedOpenCases : public MediaCommandsTest, public ::testing::WithParamInterface<FailedOpenCase> {};

// The stopped state says why nothing plays; the user who picked the file is told in a box.
TEST_P(FailedOpenCases, AFileThatDoesNotPlayShowsTheStoppedStateUnderItsNameAndSaysItIsInvalid) {
    const FailedOpenCase& c = GetParam();
    const std::string playing = c.audio ? Tone("playing.wav") : Clip("playing.mp4");
    const std::string bad = c.missing ? tree.Root() + "/" + c.file : Copy(MediaFile(c.fixture), c.file);
    Run({playing});
    ASSERT_TRUE(State.IsPlaying);
    OpenThroughDialog({bad});
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(State.BassStream, 0u);
    EXPECT_FALSE(State.GraphBuilder);
    EXPECT_EQ(State.CurrentMediaFile, bad);
    EXPECT_EQ(form->CurMedia_L->Caption(), c.file) << "the file tried, not the one that played";
    ExpectStoppedDisplay("无效或错误的媒体文件!");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "无效或错误的媒体文件!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_EQ(boxes[0].Type, win32::MB_OK | win32::MB_ICONINFORMATION);
    // Play tries the file again and ends the same way, without a timer left running; the status says so
    // again, with no box for a file the user did not pick just now.
    form->PlayCommand();
    EXPECT_FALSE(State.IsPlaying);
    ExpectStoppedDisplay("无效或错误的媒体文件!");
    EXPECT_EQ(boxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailedOpenCases,
    ::testing::Values(FailedOpenCase{"Missing", "gone.mp4", MediaFixture::NotMedia, true, false},
                      FailedOpenCase{"NotMedia", "text.avi", MediaFixture::NotMedia, false, false},
                      FailedOpenCase{"Corrupt", "cut.mp4", MediaFixture::Corrupt, false, false},
                      FailedOpenCase{"MissingAudio", "gone.mp3", MediaFixture::NotMedia, true, true},
                      FailedOpenCase{"NotAudio", "text.wav", MediaFixture::NotMedia, false, true}),
    testing_support::CaseName());

TEST_F(MediaCommandsTest, StopShowsTheStoppedStateAndAllowsTheScreenSaverAfterAudioToo) {
    for (const std::string& file : {Tone("t.wav"), Clip("a.mp4")}) {
        Run({file});
        ASSERT_TRUE(State.IsPlaying) << file;
        EXPECT_FALSE(screenSaver.Active());
        form->VideoBar_XI->SetLeft(form->VideoPro_XI->Left() + 50);
        form->StopByType();
        EXPECT_FALSE(State.IsPlaying);
        EXPECT_EQ(State.BassStream, 0u);
        EXPECT_FALSE(State.GraphBuilder);
        ExpectStoppedDisplay();
        EXPECT_FALSE(form->mp3Info_L->isVisible());
        form.reset();
    }
}

TEST_F(MediaCommandsTest, PlayPauseTogglesWhatPlaysAndNothingElse) {
    Run();
    form->PlayPauseCommand(); // nothing open: not "paused"
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_FALSE(State.IsPaused);
    OpenThroughDialog({Clip("a.mp4")});
    form->PlayPauseCommand();
    EXPECT_TRUE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "暂停");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(form->RePaint_T->Enabled());
    EXPECT_FALSE(form->Backward_XI->Enabled());
    EXPECT_FALSE(form->Forward_XI->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    form->PlayPauseCommand();
    EXPECT_FALSE(State.IsPaused);
    ExpectPlayingDisplay(30);
}

TEST_F(MediaCommandsTest, PlayAfterStopOpensTheCurrentFileAgain) {
    Run({Tone("t.wav")});
    form->StopByType();
    form->PlayCommand();
    ASSERT_TRUE(State.IsPlaying);
    ExpectPlayingDisplay(1);
}

class PlayListEntryTest : public MediaCommandsTest {
protected:
    void SetUp() override {
        MediaCommandsTest::SetUp();
        first = Clip("a.mp4");
        second = Copy(LongClip(), "long.mp4");
        Run({first, second});
    }
    void Position(const char* Text) { State.PlayListPositions->Put(1, Text); }
    std::string first, second;
};

TEST_F(PlayListEntryTest, AnEntryPlaysFromItsStoredPosition) {
    Position("5");
    form->PlayPlayListEntry(1);
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, second);
    EXPECT_EQ(State.PlayListIndex, 1);
    EXPECT_EQ(form->CurMedia_L->Caption(), "long.mp4");
    EXPECT_GE(GraphPosition(), 5 * Second);
}

TEST_F(PlayListEntryTest, PositionsThatAreNoPointInTheMediumPlayFromTheStart) {
    for (const char* text : {"abc", "10", "99", "-4"}) {
        Position(text);
        form->PlayPlayListEntry(1);
        ASSERT_TRUE(State.IsPlaying) << text;
        EXPECT_LT(GraphPosition(), 5 * Second) << text;
        EXPECT_TRUE(errors.empty()) << text;
    }
}

TEST_F(PlayListEntryTest, WithoutMemoryLastPosNothingIsSought) {
    form->MemoryLastPosSetting = 0;
    Position("5");
    form->PlayPlayListEntry(1);
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_LT(GraphPosition(), 5 * Second);
}

TEST_F(PlayListEntryTest, IndexesOutsideTheListDoNothing) {
    for (int index : {-1, 2, 40}) {
        form->PlayPlayListEntry(index);
        EXPECT_EQ(State.CurrentMediaFile, first) << index;
        EXPECT_EQ(State.PlayListIndex, 0);
        EXPECT_TRUE(State.IsPlaying); // what played goes on
    }
}

TEST_F(MediaCommandsTest, NextAndPreviousWrapAroundAndTellTheListWindow) {
    const V files = {Clip("a.mp4"), Tone("b.wav"), Clip("c.mp4")};
    Run(files);
    TControl listWindow;
    std::vector<std::pair<win32::WPARAM, win32::LPARAM>> told;
    listWindow.SetMessageHandler(WM_PLAYLIST_SETCURRENT,
                                 [&](TMessage& M) { told.emplace_back(M.WParam, M.LParam); });
    State.PlayListWindowHandle = listWindow.Handle();
    form->PlayPreviousCommand(); // from the first entry to the last
    EXPECT_EQ(State.PlayListIndex, 2);
    EXPECT_EQ(State.CurrentMediaFile, files[2]);
    form->PlayPreviousCommand();
    EXPECT_EQ(State.CurrentMediaFile, files[1]);
    EXPECT_EQ(State.PlayType, PlayTypes::Audio);
    ExpectPlayingDisplay(1);
    form->PlayNextCommand();
    form->PlayNextCommand(); // from the last entry to the first
    EXPECT_EQ(State.PlayListIndex, 0);
    EXPECT_EQ(State.CurrentMediaFile, files[0]);
    ASSERT_TRUE(State.IsPlaying);
    QCoreApplication::processEvents();
    State.PlayListWindowHandle = nullptr;
    EXPECT_EQ(told, (std::vector<std::pair<win32::WPARAM, win32::LPARAM>>{{2, 2}, {2, 1}, {1, 2}, {1, 0}}));
}

TEST_F(MediaCommandsTest, NextDoesNothingWhenNothingPlaysAndStopsWhenTheListWasEmptied) {
    const V files = {Clip("a.mp4"), Clip("b.mp4")};
    Run(files);
    form->StopByType();
    form->PlayNextCommand();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(State.PlayListIndex, 0);
    form->PlayCommand();
    ASSERT_TRUE(State.IsPlaying);
    State.PlayListFiles->Clear(); // the play-list window emptied the list meanwhile
    State.PlayListPositions->Clear();
    form->PlayNextCommand();
    EXPECT_FALSE(State.IsPlaying);
    ExpectStoppedDisplay();
    EXPECT_TRUE(errors.empty());
}

TEST_F(MediaCommandsTest, FullScreenIsForVideoWhilePlaying) {
    const std::string clip = Clip("a.mp4"), tone = Tone("t.wav");
    Run();
    form->FullScreenCommand(); // nothing plays
    EXPECT_FALSE(form->IsFullScreen);
    OpenThroughDialog({clip});
    form->FullScreenCommand();
    EXPECT_TRUE(form->IsFullScreen);
    EXPECT_TRUE(form->IgnoreNextVideoMove);
    for (TControl* panel : {form->Top_P, form->Bottom_P, form->Left_P, form->Right_P, form->Ctrl_P})
        EXPECT_FALSE(panel->Visible()) << panel->Name();
    EXPECT_FALSE(form->pPlaylist->Visible());
    // An audio file opened in full screen brings the frame back; the command then does nothing for it.
    OpenThroughDialog({tone});
    EXPECT_FALSE(form->IsFullScreen);
    for (TControl* panel : {form->Top_P, form->Bottom_P, form->Left_P, form->Right_P, form->Ctrl_P})
        EXPECT_TRUE(panel->Visible()) << panel->Name();
    EXPECT_TRUE(form->pPlaylist->Visible());
    form->FullScreenCommand();
    EXPECT_FALSE(form->IsFullScreen);
}

TEST_F(MediaCommandsTest, FullScreenAtOnceEntersFullScreenButNeverLeavesIt) {
    const std::string clip = Clip("a.mp4");
    WriteIni(DefaultsWith("FullScreenAtonce", "1"));
    Run();
    OpenThroughDialog({clip});
    EXPECT_TRUE(form->IsFullScreen);
    OpenThroughDialog({clip}); // the next medium stays in full screen
    EXPECT_TRUE(form->IsFullScreen);
    form->FullScreenCommand();
    EXPECT_FALSE(form->IsFullScreen);
    EXPECT_TRUE(form->Ctrl_P->Visible());
}

TEST_F(MediaCommandsTest, DvdRowsNeedAnOpenDiscAndADiscThatDoesNotOpenIsReported) {
    Run();
    State.PlayType = PlayTypes::Dvd;
    form->PlayDvdChapterFromList("Chapter1(1-1)"); // no disc open
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    State.DvdPath = tree.Root();
    form->OpenDvdAndPlayChapter("Chapter1(1-1)");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Load Dvd file error!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_EQ(boxes[0].Type, win32::MB_OK | win32::MB_ICONINFORMATION);
    EXPECT_NE(form->Status_L->Caption(), "播放菜单");
}

// --- The radio groups of the main menu. ---

struct RadioClickCase {
    const char* name;
    TMenuItemArray TQuorelMain_Form::*group;
    int item;
    const char* section;
    const char* key;
    int value;
};

class RadioClickCases : public MainFormTest, public ::testing::WithParamInterface<RadioClickCase> {};

TEST_P(RadioClickCases, AClickChecksTheItemAloneAndWritesItsValue) {
    const RadioClickCase& c = GetParam();
    Start();
    const TMenuItemArray& items = (*form).*c.group;
    for (TMenuItem* item : items)
        item->SetChecked(true);
    items[static_cast<std::size_t>(c.item)]->Click();
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i]->Checked(), static_cast<int>(i) == c.item) << items[i]->Name();
    EXPECT_EQ(ReadIniInteger(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, RadioClickCases,
    ::testing::Values(RadioClickCase{"RightChannel", &TQuorelMain_Form::ChannelMenuItems, 2, "Play", "SoundBalance", 9999},
                      RadioClickCase{"OnlyWhilePlaying", &TQuorelMain_Form::OnTopMenuItems, 2, "Play", "StayOnTop", 2},
                      RadioClickCase{"Suspend", &TQuorelMain_Form::AfterPlayMenuItems, 1, "Play", "AfterPlay", 3},
                      RadioClickCase{"SixteenNinths", &TQuorelMain_Form::ScaleMenuItems, 4, "View", "VideoScale", 4},
                      RadioClickCase{"Random", &TQuorelMain_Form::PlayModeMenuItems, 2, "PlayControl", "PlayMode", 2}),
    testing_support::CaseName());

TEST_F(MainFormTest, ChannelShortcutActionsCheckTheirItem) {
    Start();
    form->ChannelMenuClick(form->aLeftTrack);
    EXPECT_TRUE(form->pLefttrack->Checked());
    EXPECT_FALSE(form->pStereo->Checked());
    EXPECT_EQ(ReadIniInteger("Play", "SoundBalance"), -9999);
    form->ChannelMenuClick(form->aStereo);
    EXPECT_TRUE(form->pStereo->Checked());
    EXPECT_EQ(State.SoundBalance, 0);
}

TEST_F(MainFormTest, StayOnTopItemSwapsTheButtonsPicture) {
    Start();
    form->pAlways->Click();
    EXPECT_TRUE(Shows(form->Ontop_xi, "Toped_Normal_btn.bmp"));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form->pNonever->Click();
    EXPECT_TRUE(Shows(form->Ontop_xi, "Ontop_Normal_btn.bmp"));
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainFormTest, StoredMenuChoicesCountFromTheStart) {
    WriteIni(DefaultsWith("AfterPlay", "3", DefaultsWith("SoundBalance", "-9999",
                                                           DefaultsWith("ClearHistoryExit", "1"))));
    Start();
    EXPECT_EQ(State.AfterPlay, 3);
    EXPECT_EQ(State.SoundBalance, -9999);
    EXPECT_EQ(State.ClearHistoryExit, 1);
    EXPECT_TRUE(form->pDormant->Checked());
    EXPECT_TRUE(form->pLefttrack->Checked());
    EXPECT_TRUE(form->pClearHistoryExit->Checked());
}

} // namespace
