// The picture-in-picture commands of the main window: the open through the open-pair dialog, the pPip items,
// the video panel's drag of the small picture, previous / next and the reopen of a stored pair.

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/PipEdit.h"
#include "core/PipLayout.h"
#include "tests/support/CaseName.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/ListForm.h"
#include "ui/OpenPipForm.h"
#include "ui/PipSetupForm.h"

namespace {

using namespace ui_testing;
using dshow::NORMALIZEDRECT;
using testing_support::WhileModal;

constexpr NORMALIZEDRECT Full{0.0f, 0.0f, 1.0f, 1.0f};

void Press(TButton* Button) {
    QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
}

NORMALIZEDRECT Rect(int Stream) {
    NORMALIZEDRECT rect{-9, -9, -9, -9};
    WithPipMixer([&](auto& Mixer) { Mixer.GetOutputRect(static_cast<dshow::DWORD>(Stream), &rect); });
    return rect;
}

class PipCommandsTest : public MainFormTest {
protected:
    // "打开画中画..." with the dialog answered: A and B chosen through its "..." buttons, then OK.
    bool OpenPair(const std::string& A, const std::string& B) {
        WhileModal steps([&](QWidget* Dialog) {
            auto* form = dynamic_cast<TOpenPip_Form*>(Dialog);
            ASSERT_NE(form, nullptr);
            chosenFiles = {A};
            Press(form->SpeedButton1);
            chosenFiles = {B};
            Press(form->SpeedButton2);
            Press(form->OK_Btn);
        });
        form->pOpenpictureinpicture->Click();
        return steps.Ran();
    }
    void MouseEvent(QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
        const Qt::MouseButton button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(Type, QPointF(At), QPointF(form->Video_P->mapToGlobal(At)), button, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(form->Video_P, &event);
    }
};

TEST_F(PipCommandsTest, TheOpenItemPlaysThePairChosenInTheDialog) {
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    Run();
    ASSERT_TRUE(OpenPair(a, b));
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.PlayType, PlayTypes::Pip);
    EXPECT_EQ(State.PlayListFiles->Items(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(State.History->Items(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(State.CurrentMediaFile, a);
    EXPECT_EQ(form->CurMedia_L->Caption(), "a.mp4    b.mp4");
    EXPECT_EQ(form->Time_L->Caption(), "0:00:00 / 0:00:02");
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    for (TMenuItem* item : form->PipMenuItems)
        EXPECT_TRUE(item->Enabled()) << item->Name();
    EXPECT_TRUE(form->Previous_XI->Enabled()) << "previous and next swap the pictures";
    EXPECT_TRUE(boxes.empty());
}

// The pair ends with the longer file, found by the progress tick as a media file's end is; it then stops.
TEST_F(PipCommandsTest, ThePairStopsAtItsEnd) {
    Run();
    ASSERT_TRUE(OpenPair(Clip("a.mp4"), Clip("b.mp4")));
    ASSERT_TRUE(testing_support::WaitUntil([] { return !State.IsPlaying; }, std::chrono::seconds(15)));
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_FALSE(State.GraphBuilder);
}

struct NotOpenedCase {
    const char* name;
    bool cancel; // else the close box after an OK with file B missing
};

class PipDialogNotAccepted : public PipCommandsTest, public ::testing::WithParamInterface<NotOpenedCase> {};

// A dialog that is cancelled or closed leaves the playing medium alone, also when an earlier pair is still
// named in the state.
TEST_P(PipDialogNotAccepted, ThePlayingMediumGoesOn) {
    // The long clip: a short one may reach its end on a busy machine before it is looked at.
    const std::string clip = Copy(LongClip(), "c.mp4");
    State.pipMediaFileA = Clip("a.mp4");
    State.pipMediaFileB = Clip("b.mp4");
    Run({clip});
    ASSERT_EQ(State.PlayType, PlayTypes::MediaFile);
    WhileModal steps([&](QWidget* Dialog) {
        auto* dialog = dynamic_cast<TOpenPip_Form*>(Dialog);
        ASSERT_NE(dialog, nullptr);
        if (GetParam().cancel) {
            Press(dialog->Cancel_Btn);
        } else {
            dialog->EditA->SetText(clip);
            Press(dialog->OK_Btn);
            dialog->Close();
        }
    });
    form->pOpenpictureinpicture->Click();
    EXPECT_TRUE(steps.Ran());
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
    EXPECT_EQ(State.CurrentMediaFile, clip);
}

INSTANTIATE_TEST_SUITE_P(Table, PipDialogNotAccepted,
                         ::testing::Values(NotOpenedCase{"Cancel", true},
                                           NotOpenedCase{"CloseBoxAfterRefusedOk", false}),
                         testing_support::CaseName());

TEST_F(PipCommandsTest, TheGraphsOwnRendererRefusesBeforeAnyDialog) {
    Run();
    State.RenderType = RenderTypes::OwnRenderer;
    WhileModal steps([](QWidget* Dialog) { Dialog->close(); });
    form->pOpenpictureinpicture->Click();
    EXPECT_FALSE(steps.Ran());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Picture in picture feature can only run under the VMR7 and VMR9 modes");
}

// A second file that does not play: the user is told, and nothing claims to play.
TEST_F(PipCommandsTest, APairThatDoesNotOpenIsReportedAndShownStopped) {
    const std::string a = Clip("a.mp4");
    const std::string b = Copy(testing_support::MediaFile(testing_support::MediaFixture::NotMedia), "b.mp4");
    Run();
    ASSERT_TRUE(OpenPair(a, b));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "无效或错误的媒体文件!");
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_NE(State.PlayType, PlayTypes::Pip);
    EXPECT_FALSE(State.GraphBuilder);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
}

// The items of pPip while a pair plays: a standard position (on a fresh settings file both pictures start
// full size), the orientation items with their check marks, "完全倒置" doing nothing, the swap, the default
// picture; previous and next swap too.
TEST_F(PipCommandsTest, TheItemsActOnTheSmallPicture) {
    Run();
    ASSERT_TRUE(OpenPair(Clip("a.mp4"), Clip("b.mp4")));
    EXPECT_EQ(Rect(1), Full);
    EXPECT_EQ(Rect(0), Full);
    form->pRightbottom->Click();
    EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    EXPECT_EQ(ReadIniString("Pip", "SmallPosition"), "4");
    EXPECT_EQ(ReadIniString("Pip", "PositionType"), "101");

    form->pUpdownreverse->Click();
    EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 1.0f, 1.0f, 0.5f}));
    EXPECT_TRUE(form->pUpdownreverse->Checked());
    form->UpdatePipMenus();
    EXPECT_TRUE(form->pUpdownreverse->Checked());
    EXPECT_FALSE(form->pNoreverse->Checked());
    form->pCompletereverse->Click();
    EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 1.0f, 1.0f, 0.5f}));
    form->pLeftrightreverse->Click();
    EXPECT_EQ(Rect(1), (NORMALIZEDRECT{1.0f, 1.0f, 0.5f, 0.5f}));
    form->pNoreverse->Click();
    EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    EXPECT_EQ(ReadIniString("Pip", "PositionType"), "102");

    form->pPicswap->Click();
    EXPECT_EQ(State.PipSmallStream, 0);
    EXPECT_EQ(Rect(0), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    form->pPicRestore->Click();
    EXPECT_EQ(Rect(0), (NORMALIZEDRECT{0.25f, 0.25f, 0.75f, 0.75f}))
        << "file A, small now, goes to the centre";
    form->PlayNextCommand();
    EXPECT_EQ(State.PipSmallStream, 1);
    EXPECT_EQ(Rect(0), Full);
    form->PlayPreviousCommand();
    EXPECT_EQ(State.PipSmallStream, 0);
    EXPECT_TRUE(State.IsPlaying);
}

TEST_F(PipCommandsTest, TheItemsAreEnabledOnlyWhileAPairPlays) {
    const std::string clip = Clip("c.mp4");
    Run({clip});
    form->UpdatePipMenus();
    for (TMenuItem* item : form->PipMenuItems)
        EXPECT_FALSE(item->Enabled()) << item->Name();
    ASSERT_TRUE(OpenPair(Clip("a.mp4"), Clip("b.mp4")));
    form->UpdatePipMenus();
    for (TMenuItem* item : form->PipMenuItems)
        EXPECT_TRUE(item->Enabled()) << item->Name();
    EXPECT_TRUE(form->pNoreverse->Checked());
    // Choosing an orientation item while no pair plays does nothing.
    form->StopByType();
    State.PlayType = PlayTypes::MediaFile;
    form->pUpdownreverse->SetChecked(false);
    form->pUpdownreverse->Click();
    EXPECT_FALSE(form->pUpdownreverse->Checked());
}

// The play-list window open on a DVD's chapters shows the pair's two files once the pair opens, with the
// pair's icons, and a swap marks the file shown full size among them.
TEST_F(PipCommandsTest, ThePlayListWindowShowsTheRowsOfThePair) {
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    Run();
    State.PlayType = PlayTypes::Dvd;
    for (const char* row : {"DVD", "Chapter1(1-1)", "Chapter2(1-2)"})
        State.DvdChapterList->Add(row);
    form->PL_LClick(form->PL_L);
    ASSERT_NE(PlayListForm, nullptr);
    const auto rows = [] {
        std::vector<std::string> texts;
        for (int i = 0; i < PlayListForm->RowTotal(); ++i)
            texts.push_back(TList_Form::RowLabel(PlayListForm->RowAt(i))->Caption());
        return texts;
    };
    ASSERT_TRUE(testing_support::WaitUntil([&] { return rows().size() == 3; }, std::chrono::seconds(5)));
    ASSERT_TRUE(OpenPair(a, b));
    ASSERT_EQ(State.PlayType, PlayTypes::Pip);
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] {
            return rows() == std::vector<std::string>{"1. a.mp4", "2. b.mp4"};
        },
        std::chrono::seconds(5)));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(PlayListForm->RowAt(0)), "Play_Pip_s.bmp"));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(PlayListForm->RowAt(1)), "Play_Pip_s.bmp"));
    form->pPicswap->Click();
    testing_support::Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(rows(), (std::vector<std::string>{"1. a.mp4", "2. b.mp4"}));
    EXPECT_EQ(TList_Form::RowLabel(PlayListForm->RowAt(1))->Font().Color(), cl3DLight)
        << "file B is the big picture now";
}

// Dragging the inside of the small picture over the video moves it, keeping its size; the pair plays on
// after the release, the play/pause button showing so, and the close stores the new edges. The cursor goes
// back to the arrow when the mouse leaves the video after a drag whose release never came.
TEST_F(PipCommandsTest, DraggingTheSmallPictureMovesItAndTheEdgesAreStored) {
    WriteIni(DefaultIniText());
    WriteIniString("Pip", "PositionType", "101");
    WriteIniString("Pip", "SmallPosition", "4");
    StartShown();
    form->FormActivate(form.get());
    ASSERT_TRUE(OpenPair(Clip("a.mp4"), Clip("b.mp4")));
    ASSERT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    const TVideoRect& v = State.VideoRect;
    ASSERT_GT(v.Width, 100);
    const QPoint press(v.Left + 3 * v.Width / 4, v.Top + 3 * v.Height / 4);
    const int dx = v.Width / 10;
    MouseEvent(QEvent::MouseMove, press, Qt::NoButton);
    MouseEvent(QEvent::MouseButtonPress, press, Qt::LeftButton);
    MouseEvent(QEvent::MouseMove, press + QPoint(1, 0),
               Qt::LeftButton); // the move right after a press is let go
    MouseEvent(QEvent::MouseMove, press + QPoint(dx / 2, 0), Qt::LeftButton);
    MouseEvent(QEvent::MouseMove, press + QPoint(dx, 0), Qt::LeftButton);
    EXPECT_EQ(forms::Screen().Cursor(), forms::crSizeAll);
    MouseEvent(QEvent::MouseButtonRelease, press + QPoint(dx, 0), Qt::NoButton);
    const float moved = static_cast<float>(dx) / static_cast<float>(v.Width);
    EXPECT_NEAR(Rect(1).left, 0.5f + moved, 1e-5);
    EXPECT_NEAR(Rect(1).right, 1.0f + moved, 1e-5);
    EXPECT_EQ(Rect(1).top, 0.5f);
    EXPECT_FALSE(State.PipDragging);
    EXPECT_EQ(forms::Screen().Cursor(), forms::crDefault);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    // The button shows what the pair does: it plays, so the button offers the pause.
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));

    MouseEvent(QEvent::MouseMove, press + QPoint(dx, 0), Qt::NoButton);
    MouseEvent(QEvent::MouseButtonPress, press + QPoint(dx, 0), Qt::LeftButton);
    MouseEvent(QEvent::MouseMove, press, Qt::LeftButton);
    EXPECT_EQ(forms::Screen().Cursor(), forms::crSizeAll);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form->Video_P, &leave);
    EXPECT_EQ(forms::Screen().Cursor(), forms::crDefault);

    CloseForm();
    EXPECT_EQ(ReadIniString("Pip", "PositionType"), "102");
    EXPECT_EQ(ReadIniString("Pip", "SmallLeft"), std::to_string(PipPercent(0.5f + moved)));
    EXPECT_EQ(ReadIniString("Pip", "SmallRight"), std::to_string(PipPercent(1.0f + moved)));
    EXPECT_EQ(ReadIniString("Pip", "SmallTop"), "50");
    EXPECT_EQ(ReadIniString("Pip", "pipMediaFileB"), tree.Root() + "/b.mp4");
}

// The pair stored at the last close is opened again at the next start where it was left, with its length
// shown.
TEST_F(PipCommandsTest, AStoredPairIsReopenedAtStart) {
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    WriteIni(DefaultsWith("LastPos", "1",
                          DefaultsWith("LastPlayType", "3",
                                       DefaultsWith("pipMediaFileA", a, DefaultsWith("pipMediaFileB", b)))));
    Run();
    ASSERT_TRUE(State.IsPlaying);
    std::int64_t position = 0;
    State.MediaSeeking->GetCurrentPosition(&position);
    EXPECT_GE(position, 10000000) << "resumed at the stored second";
    EXPECT_EQ(State.PlayType, PlayTypes::Pip);
    EXPECT_EQ(State.PlayListFiles->Items(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(form->CurMedia_L->Caption(), "a.mp4    b.mp4");
    EXPECT_EQ(form->Time_L->Caption().substr(form->Time_L->Caption().find(" / ")), " / 0:00:02");
    EXPECT_EQ(form->Ctrl_T->Interval(), 30u);
    // Stopped, the pair is opened again by the play command.
    form->StopByType();
    ASSERT_FALSE(State.IsPlaying);
    form->PlayCommand();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.PlayType, PlayTypes::Pip);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
}

// The setup dialog, reached from its two items while a pair plays.
class PipSetupTest : public PipCommandsTest {
protected:
    // Item clicked with Steps run on the dialog it opens; the dialog is closed by its OK afterwards.
    bool WithDialog(TMenuItem* Item, const std::function<void(TPipSetup_Form&)>& Steps) {
        WhileModal steps([&](QWidget* Dialog) {
            auto* dialog = dynamic_cast<TPipSetup_Form*>(Dialog);
            ASSERT_NE(dialog, nullptr);
            Steps(*dialog);
            Press(dialog->OK_Btn);
        });
        // As a user reaches it: the menu opens (and prepares its items) before the item is chosen.
        form->Main_Pop->OnPopup(form->Main_Pop);
        Item->Click();
        return steps.Ran();
    }
    // A pair of the long clips, paused: it stays open however slowly the test runs.
    bool OpenLongPair() {
        if (!OpenPair(Copy(LongClip(), "a.mp4"), Copy(LongClip(), "b.mp4")))
            return false;
        form->PauseCommand();
        return true;
    }
    static void Tick(TCheckBox* Box) { Box->findChild<QCheckBox*>()->click(); }
    static void Tick(TRadioButton* Radio) { QTest::mouseClick(Radio->Button(), Qt::LeftButton); }
    static float Alpha(int Stream) {
        float alpha = -1;
        WithPipMixer([&](auto& Mixer) { Mixer.GetAlpha(static_cast<dshow::DWORD>(Stream), &alpha); });
        return alpha;
    }
    // The default settings with the [Pip] position keys given as "Key=Value" lines in place of its own.
    static std::string WithPipKeys(const std::string& Lines) {
        std::string text = DefaultIniText();
        const std::string own = "[Pip]\r\nSmallPosition=3\r\n";
        text.replace(text.find(own), own.size(), "[Pip]\r\n" + Lines);
        return text;
    }
    static std::vector<bool> Flips(const TPipSetup_Form& D) {
        return {D.NoConvert_CB->Checked(), D.UpdownConvert_CB->Checked(), D.LeftRightConvert_CB->Checked(),
                D.AllConvert_CB->Checked()};
    }
};

// "画面透明度" opens the parameter page with both pictures' alphas; the second bar sets file B's. The
// position page shows the stored standard position, and a radio button moves the small picture. The up-down
// box flips it and a second click restores it; OK leaves the changes in place and stored.
TEST_F(PipSetupTest, TheDialogActsOnThePlayingPairAtOnce) {
    WriteIni(WithPipKeys("PositionType=101\r\nSmallPosition=4\r\n"));
    Run();
    ASSERT_TRUE(OpenLongPair());
    ASSERT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    ASSERT_TRUE(WithDialog(form->pPicalpha, [&](TPipSetup_Form& D) {
        EXPECT_EQ(D.Caption(), "设置");
        EXPECT_EQ(D.Main_PageCtrl->ActivePage(), D.PicParam_TS);
        EXPECT_EQ(D.MediaA_L->Caption(), "a.mp4");
        EXPECT_EQ(D.MediaB_L->Caption(), "b.mp4");
        EXPECT_EQ(D.AlphaBar_A->Position(), 80);
        EXPECT_EQ(D.AlphaBar_B->Position(), 60);
        EXPECT_EQ(D.AlphaB_L->Caption(), "透明度 60%");
        D.AlphaBar_B->SetPosition(30);
        EXPECT_FLOAT_EQ(Alpha(1), 0.3f);
        EXPECT_FLOAT_EQ(Alpha(0), 0.8f);
        EXPECT_EQ(D.AlphaB_L->Caption(), "透明度 30%");

        D.SetPage(0);
        EXPECT_TRUE(D.StandardPos_CB->Checked());
        EXPECT_FALSE(D.Freemove_CB->Checked());
        EXPECT_TRUE(D.BottomRight_RB->Checked());
        EXPECT_TRUE(D.TopLeft_RB->Enabled());
        EXPECT_FALSE(D.Left_Bar->Enabled());
        Tick(D.TopLeft_RB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.0f, 0.0f, 0.5f, 0.5f}));
        EXPECT_EQ(ReadIniString("Pip", "SmallPosition"), "1");
        Tick(D.BottomRight_RB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));

        D.SetPage(2);
        EXPECT_EQ(Flips(D), (std::vector<bool>{true, false, false, false}));
        Tick(D.UpdownConvert_CB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 1.0f, 1.0f, 0.5f}));
        EXPECT_EQ(Flips(D), (std::vector<bool>{false, true, false, false}));
        Tick(D.UpdownConvert_CB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
        EXPECT_EQ(Flips(D), (std::vector<bool>{false, false, false, false}));
        Tick(D.AllConvert_CB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{1.0f, 1.0f, 0.5f, 0.5f}));
        D.SetPage(0);
        D.SetPage(2);
        EXPECT_EQ(Flips(D), (std::vector<bool>{false, false, false, true})) << "read back from the mixer";
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{1.0f, 1.0f, 0.5f, 0.5f})) << "showing the pages moves nothing";
        Tick(D.NoConvert_CB);
        EXPECT_EQ(Rect(1), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
        Tick(D.SwapPic_CB);
        EXPECT_EQ(State.PipSmallStream, 0);
    }));
    EXPECT_FLOAT_EQ(Alpha(1), 0.3f);
    EXPECT_EQ(Rect(0), (NORMALIZEDRECT{0.5f, 0.5f, 1.0f, 1.0f}));
    EXPECT_EQ(ReadIniString("Pip", "PositionType"), "102");
    EXPECT_EQ(ReadIniString("Pip", "SmallLeft"), "50");
    EXPECT_EQ(ReadIniString("Pip", "SmallTop"), "50");
    EXPECT_EQ(ReadIniString("Pip", "SmallRight"), "100");
    EXPECT_EQ(ReadIniString("Pip", "SmallBottom"), "100");
    EXPECT_TRUE(errors.empty());
}

// The labels of each page stand on the page's own colour, not on boxes of their own.
TEST_F(PipSetupTest, TheLabelsTakeThePagesColour) {
    // A pair named, so that the labels of its files have a text.
    State.pipMediaFileA = Clip("a.mp4");
    State.pipMediaFileB = Clip("b.mp4");
    Run();
    ASSERT_TRUE(WithDialog(form->pPicalpha, [&](TPipSetup_Form& D) {
        for (int page = 0; page < D.Main_PageCtrl->PageCount(); ++page) {
            D.SetPage(page);
            TTabSheet* sheet = D.Main_PageCtrl->Pages(page);
            QTest::qWait(50);
            // The dialog's picture: the page's colour is drawn by the page control around the page.
            const QImage picture = D.grab().toImage();
            const QRgb background = picture.pixel(sheet->mapTo(&D, QPoint(2, sheet->height() - 3)));
            // The page's labels (the class library's controls carry no meta-object of their own, so the
            // widgets are sorted by their C++ type).
            std::vector<TLabel*> labels;
            for (QWidget* widget : sheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (auto* label = dynamic_cast<TLabel*>(widget))
                    labels.push_back(label);
            ASSERT_FALSE(labels.empty());
            for (TLabel* label : labels) {
                ASSERT_GT(label->Width(), 1) << label->Name();
                // The label's last corner: no text is drawn there.
                const QPoint corner = label->mapTo(&D, QPoint(label->Width() - 1, label->Height() - 1));
                EXPECT_EQ(picture.pixel(corner) & RGB_MASK, background & RGB_MASK) << label->Name();
            }
        }
    }));
}

// "画面设置..." opens the position page. With free move the edge bars show the stored edges as far as their
// range reaches, and each bar's first move moves its edge by the bar's own change; a settings file without
// the position keys checks nothing and starts the bars at 0.
TEST_F(PipSetupTest, TheEdgeBarsMoveTheEdgesFromWhatTheyShow) {
    const struct {
        const char *type, *left, *top, *right, *bottom;
        int lastLeft, lastRight;
        bool freeMove;
    } cases[] = {
        {"102", "20", "30", "90", "80", 20, 90, true},
        {"102", "-5", "30", "60", "80", 0, 60, true},
        {nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type ? std::string(c.left) + ".." + c.right : "no keys");
        std::string keys;
        if (c.type != nullptr)
            for (const auto& [key, value] : {std::pair{"PositionType", c.type},
                                             {"SmallLeft", c.left},
                                             {"SmallTop", c.top},
                                             {"SmallRight", c.right},
                                             {"SmallBottom", c.bottom}})
                keys += std::string(key) + "=" + value + "\r\n";
        WriteIni(WithPipKeys(keys));
        Run();
        ASSERT_TRUE(OpenLongPair());
        ASSERT_TRUE(WithDialog(form->pPipsetup, [&](TPipSetup_Form& D) {
            EXPECT_EQ(D.Main_PageCtrl->ActivePage(), D.PipPosition_TS);
            EXPECT_EQ(D.Freemove_CB->Checked(), c.freeMove);
            EXPECT_FALSE(D.StandardPos_CB->Checked());
            for (TRadioButton* radio :
                 {D.TopLeft_RB, D.TopRight_RB, D.BottomLeft_RB, D.BottomRight_RB, D.Center_RB})
                EXPECT_FALSE(radio->Checked());
            EXPECT_EQ(D.Left_Bar->Enabled(), c.freeMove);
            EXPECT_EQ(D.LastLeft(), c.lastLeft);
            EXPECT_EQ(D.LastRight(), c.lastRight);
            EXPECT_EQ(D.Left_L->Caption(), "左 " + std::to_string(c.lastLeft) + "%");
            if (!c.freeMove)
                return;
            const NORMALIZEDRECT before = Rect(1);
            EXPECT_FLOAT_EQ(before.left, static_cast<float>(c.lastLeft) / 100);
            D.Left_Bar->SetPosition(c.lastLeft + 10);
            D.Right_Bar->SetPosition(c.lastRight - 10);
            EXPECT_NEAR(Rect(1).left, before.left + 0.1f, 1e-5);
            EXPECT_NEAR(Rect(1).right, before.right - 0.1f, 1e-5);
            EXPECT_EQ(D.LastLeft(), c.lastLeft + 10);
            EXPECT_EQ(ReadIniString("Pip", "SmallLeft"), std::to_string(c.lastLeft + 10));
        }));
        form->StopByType();
        form.reset();
    }
}

} // namespace
