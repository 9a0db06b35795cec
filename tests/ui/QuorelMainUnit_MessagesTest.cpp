// The private messages that the companion windows send and post to the main window, each sent by its id:
// every one reaches its handler, which does what the message stands for.

#include <functional>

#include <gtest/gtest.h>

#include "core/FrameCapture.h"
#include "core/PlaybackState.h"
#include "core/WindowMessages.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/CaptureForm.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

class MessagesTest : public MainFormTest {
public:
    V Fill(int PlayType, int Index) {
        const V files = {Clip("a.mp4"), Clip("b.mp4"), Clip("c.mp4")};
        State.PlayType = PlayType;
        State.PlayListFiles->Clear();
        State.PlayListPositions->Clear();
        for (const auto& f : files) {
            State.PlayListFiles->Add(f);
            State.PlayListPositions->Add("0");
        }
        State.PlayListIndex = Index;
        State.CurrentMediaFile = files[static_cast<std::size_t>(Index)];
        form->CurMedia_L->SetCaption("b.mp4");
        return files;
    }
};

struct MessageCase {
    const char* name;
    win32::UINT message;
    // Sets the state up and gives the message's lParam.
    std::function<win32::LPARAM(MessagesTest&)> before;
    std::function<void(MessagesTest&)> check;
};

class MainWindowMessages : public MessagesTest, public ::testing::WithParamInterface<MessageCase> {
public:
    const V& Boxes() {
        texts.clear();
        for (const auto& b : boxes)
            texts.push_back(b.Text);
        return texts;
    }
    TestMainForm& Form() { return *form; }
    V texts;
};

TEST_P(MainWindowMessages, ReachesItsHandler) {
    Run();
    const MessageCase& c = GetParam();
    const win32::LPARAM lParam = c.before(*this);
    win32::SendMessage(State.MainWindowHandle, c.message, 0, lParam);
    c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, MainWindowMessages,
    ::testing::Values(
        MessageCase{"PlayDvdChapterTakesTheRowsText", WM_PLAYLIST_PLAYDVDCHAPTER,
                    [](MessagesTest&) {
                        ListTextParcels.Clear();
                        State.PlayType = PlayTypes::Dvd;
                        return ListTextParcels.Put("1. Chapter1(1-1)");
                    },
                    [](MessagesTest&) { EXPECT_EQ(ListTextParcels.Count(), 0u); }},
        MessageCase{"OpenDvdChapterOpensTheDiscFirst", WM_PLAYLIST_OPENDVDCHAPTER,
                    [](MessagesTest&) {
                        State.DvdPath = "/nowhere";
                        return ListTextParcels.Put("1. Chapter1(1-1)");
                    },
                    [](MessagesTest& T) {
                        EXPECT_EQ(static_cast<MainWindowMessages&>(T).Boxes(), V{"Load Dvd file error!"});
                    }},
        MessageCase{"PlayItemPlaysTheEntry", WM_PLAYLIST_PLAYITEM,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::MediaFile, 0);
                        return win32::LPARAM{2};
                    },
                    [](MessagesTest&) {
                        EXPECT_TRUE(State.IsPlaying);
                        EXPECT_EQ(State.PlayListIndex, 2);
                        EXPECT_EQ(State.CurrentMediaFile, (*State.PlayListFiles)[2]);
                    }},
        MessageCase{"PlayItemOutsideTheListDoesNothing", WM_PLAYLIST_PLAYITEM,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::MediaFile, 0);
                        return win32::LPARAM{3};
                    },
                    [](MessagesTest&) {
                        EXPECT_FALSE(State.IsPlaying);
                        EXPECT_EQ(State.PlayListIndex, 0);
                    }},
        MessageCase{"CaptureRequestShowsTheWindowAndCaptures", WM_CAPTURELIST_CAPTURE,
                    [](MessagesTest&) {
                        State.PlayType = PlayTypes::MediaFile;
                        return win32::LPARAM{0};
                    },
                    [](MessagesTest& T) {
                        ASSERT_NE(CaptureListForm, nullptr);
                        EXPECT_TRUE(CaptureListForm->isVisible());
                        EXPECT_EQ(static_cast<MainWindowMessages&>(T).Boxes(), V{"No screenshots."});
                    }},
        MessageCase{"ItemDeletedRemovesTheEntry", WM_PLAYLIST_ITEMDELETED,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::MediaFile, 1);
                        return win32::LPARAM{0};
                    },
                    [](MessagesTest&) {
                        EXPECT_EQ(State.PlayListFiles->Count(), 2);
                        EXPECT_EQ(State.PlayListPositions->Count(), 2);
                        EXPECT_EQ(State.PlayListIndex, 0);
                    }},
        MessageCase{"ItemDeletedWithNoRowChangesNothing", WM_PLAYLIST_ITEMDELETED,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::MediaFile, 1);
                        return win32::LPARAM{-1};
                    },
                    [](MessagesTest&) {
                        EXPECT_EQ(State.PlayListFiles->Count(), 3);
                        EXPECT_EQ(State.PlayListIndex, 1);
                    }},
        MessageCase{"ListClearedEmptiesTheLists", WM_PLAYLIST_CLEARED,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::MediaFile, 1);
                        return win32::LPARAM{0};
                    },
                    [](MessagesTest& T) {
                        EXPECT_TRUE(State.PlayListFiles->Empty());
                        EXPECT_TRUE(State.PlayListPositions->Empty());
                        EXPECT_EQ(State.CurrentMediaFile, "");
                        EXPECT_EQ(State.PlayListIndex, -1);
                        EXPECT_EQ(static_cast<MainWindowMessages&>(T).Form().CurMedia_L->Caption(), "");
                    }},
        MessageCase{"FileLoadedMakesItAMediaList", WM_PLAYLIST_FILELOADED,
                    [](MessagesTest& T) {
                        T.Fill(PlayTypes::Audio, 2);
                        return win32::LPARAM{0};
                    },
                    [](MessagesTest& T) {
                        EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
                        EXPECT_EQ(State.PlayListIndex, 2);
                        EXPECT_EQ(static_cast<MainWindowMessages&>(T).Form().CurMedia_L->Caption(), "");
                    }}),
    testing_support::CaseName());

// The capture window takes the frame that came with its message, once; a key that holds none adds nothing.
TEST_F(MessagesTest, CaptureListAddTakesTheFrameThatCameWithIt) {
    Run();
    State.PlayType = PlayTypes::MediaFile;
    form->CL_LClick(form->CL_L);
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    const win32::LPARAM key =
        CapturedFrames.Put(TCapturedFrame{State.TempPath + "123456789012.bmp", picture});
    win32::SendMessage(State.CaptureWindowHandle, WM_CAPTURELIST_ADD, 0, key);
    win32::SendMessage(State.CaptureWindowHandle, WM_CAPTURELIST_ADD, 0, key);
    win32::SendMessage(State.CaptureWindowHandle, WM_CAPTURELIST_ADD, 0, 0);
    ASSERT_EQ(CaptureListForm->RowTotal(), 1);
    EXPECT_EQ(TCapture_Form::ThumbPath(CaptureListForm->RowAt(0)), State.TempPath + "123456789012.bmp");
    EXPECT_EQ(TCapture_Form::ThumbImage(CaptureListForm->RowAt(0))->Picture().Image(), picture);
}

// The labels "播放列表" and "截屏列表" light up while the pointer is over them and go back to their grey when
// it leaves.
TEST_F(MessagesTest, TheCompanionLabelsLightUpUnderThePointer) {
    Run();
    const QPoint away = Over(form->Video_P);
    for (TLabel* label : {form->PL_L, form->CL_L}) {
        SCOPED_TRACE(label->Caption());
        MoveTo(away);
        EXPECT_EQ(label->Font().Color(), static_cast<TColor>(State.LightGreyColor));
        MoveTo(Over(label));
        EXPECT_EQ(label->Font().Color(), cl3DLight);
        MoveTo(away);
        EXPECT_EQ(label->Font().Color(), static_cast<TColor>(State.LightGreyColor));
    }
}

// Once the close has begun, the companion windows' queued messages reach nothing.
TEST_F(MessagesTest, NothingIsTakenAfterTheCloseBegan) {
    Run();
    const V files = Fill(PlayTypes::MediaFile, 0);
    win32::PostMessage(State.MainWindowHandle, WM_PLAYLIST_PLAYITEM, 0, 1);
    CloseForm();
    EXPECT_FALSE(State.IsPlaying);
}

} // namespace
