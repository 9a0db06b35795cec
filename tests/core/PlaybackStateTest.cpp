#include "core/PlaybackState.h"

#include <gtest/gtest.h>

namespace {

class PlaybackStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlaybackState(); }
    void TearDown() override { ResetPlaybackState(); }
};

TEST_F(PlaybackStateTest, ResetGivesTheValuesBeforeStartUp) {
    State.PlayType = PlayTypes::Audio;
    State.IsPlaying = true;
    State.CurrentMediaFile = "/a.mp3";
    State.PlayListFiles = std::make_unique<forms::TStringList>();
    ResetPlaybackState();
    EXPECT_EQ(State.PlayType, 0);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_TRUE(State.CurrentMediaFile.empty());
    EXPECT_EQ(State.PlayListFiles, nullptr);
    EXPECT_EQ(State.PlayListIndex, 0);
    EXPECT_FALSE(State.GraphBuilder);
}

TEST_F(PlaybackStateTest, CurrentPlayListEntryIsBoundsChecked) {
    EXPECT_EQ(CurrentPlayListFile(), nullptr) << "no list yet";
    State.PlayListFiles = std::make_unique<forms::TStringList>();
    State.PlayListPositions = std::make_unique<forms::TStringList>();
    EXPECT_EQ(CurrentPlayListFile(), nullptr) << "index 0 of an empty list";

    State.PlayListFiles->Add("/a.avi");
    State.PlayListFiles->Add("/b.avi");
    State.PlayListPositions->Add("0");
    State.PlayListIndex = 1;
    ASSERT_NE(CurrentPlayListFile(), nullptr);
    EXPECT_EQ(*CurrentPlayListFile(), "/b.avi");
    EXPECT_EQ(CurrentPlayListPosition(), nullptr) << "the positions list is shorter";

    for (int index : {-1, 2, 100}) {
        State.PlayListIndex = index;
        EXPECT_EQ(CurrentPlayListFile(), nullptr) << index;
    }
}

TEST_F(PlaybackStateTest, StoredEnumerationValues) {
    // These numbers are stored in Default.ini; changing one breaks existing settings files.
    EXPECT_EQ(RenderTypes::Vmr9, 1009);
    EXPECT_EQ(SoundBalances::Left, -9999);
    EXPECT_EQ(VideoScales::Ratio16x9, 4);
    EXPECT_EQ(PipPositionTypes::Free, 102);
    EXPECT_EQ(AfterPlays::Suspend, 3);
    EXPECT_EQ(DvdDomains::Stop, 5);
}

} // namespace
