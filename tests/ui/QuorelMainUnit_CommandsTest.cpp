// The command routes of the main window: every menu item, tray item, skin button, label and gesture on the
// video reaches its command; the main menu prepares itself each time it opens; the click that closes it is
// not taken for a play/pause.

#include <set>

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/QuorelMainUnit_Progress.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

constexpr std::int64_t Second = 10000000;

// The dialog library's go-to and property boxes, answered here: each call is counted with what it was given.
struct DialogCalls {
    static inline int Goto = 0;
    static inline std::int64_t GotoLength = 0;
    static inline std::int64_t GotoAnswer = 0;
    static inline int Property = 0;
    static inline std::int32_t PropertyPlayType = 0;
    static inline std::string PropertyFile, PropertyTime;
    static inline std::int32_t PropertyWidth = 0, PropertyHeight = 0;
};

void AnswerGoto(win32::HWND, std::int32_t, std::int64_t Length, std::int32_t, std::int64_t* Seconds,
                std::uint8_t* Cancelled) {
    ++DialogCalls::Goto;
    DialogCalls::GotoLength = Length;
    *Seconds = DialogCalls::GotoAnswer;
    *Cancelled = 0;
}

void AnswerProperty(win32::HWND, std::int32_t PlayType, const char* FileName, const char* MediaTime,
                    std::int32_t Width, std::int32_t Height, double, std::int32_t) {
    ++DialogCalls::Property;
    DialogCalls::PropertyPlayType = PlayType;
    DialogCalls::PropertyFile = FileName;
    DialogCalls::PropertyTime = MediaTime;
    DialogCalls::PropertyWidth = Width;
    DialogCalls::PropertyHeight = Height;
}

// Every item of the main menu and the tray menu, with the names of those that have a handler.
const std::set<std::string>& ItemsWithAHandler() {
    static const std::set<std::string> items = {"pOpenFile",
                                                "pOpendvddirectory",
                                                "pOpenpictureinpicture",
                                                "pClose",
                                                "pManageHistory",
                                                "pClearHistory",
                                                "pClearHistoryExit",
                                                "pCapturescreen",
                                                "pProperty",
                                                "pExit",
                                                "pPlayPause",
                                                "pStop",
                                                "pSingleframestep",
                                                "pPlayPrevious",
                                                "pPlayNext",
                                                "pGoto",
                                                "pForward",
                                                "pBackward",
                                                "pAccelerateplay",
                                                "pDecelerateplay",
                                                "pNormalplay",
                                                "pNextframe",
                                                "pHoistvolume",
                                                "pDebasevolume",
                                                "pSlience",
                                                "pStereo",
                                                "pLefttrack",
                                                "pRighttrack",
                                                "pNonever",
                                                "pAlways",
                                                "pOnlyplaying",
                                                "pShutdown",
                                                "pDormant",
                                                "pAfterExit",
                                                "pDonothing",
                                                "pBosskey",
                                                "pOption",
                                                "pPreviouschapter",
                                                "pNextchapter",
                                                "pMainmenu",
                                                "pTitlemenu",
                                                "pChaptermenu",
                                                "pSubpictureMenu",
                                                "pDubmenu",
                                                "pAnglemenu",
                                                "pPipsetup",
                                                "pLefttop",
                                                "pRighttop",
                                                "pLeftbottom",
                                                "pRightbottom",
                                                "pCenter",
                                                "pPicalpha",
                                                "pPicswap",
                                                "pNoreverse",
                                                "pUpdownreverse",
                                                "pLeftrightreverse",
                                                "pPicRestore",
                                                "pFullscreen",
                                                "pKeeporiginal",
                                                "pFillWholeWindow",
                                                "pScale43",
                                                "pScale54",
                                                "pScale169",
                                                "pNone",
                                                "pCircleplay",
                                                "pRandomplay",
                                                "pCirclesingleplay",
                                                "pLoadfromfile",
                                                "pSaveto",
                                                "pAdd",
                                                "pClear",
                                                "pMainweb",
                                                "pAbout",
                                                "tShowmainface",
                                                "tPlayPause",
                                                "tOption",
                                                "tExit"};
    return items;
}

void CollectItems(TMenuItem* Parent, std::vector<TMenuItem*>& Items) {
    for (int i = 0; i < Parent->Count(); ++i) {
        Items.push_back(Parent->Items(i));
        CollectItems(Parent->Items(i), Items);
    }
}

class CommandRoutesTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        DialogCalls::Goto = DialogCalls::Property = 0;
        GotoMediaForm = &AnswerGoto;
        MediaPropertyForm = &AnswerProperty;
    }
    void TearDown() override {
        GotoMediaForm = &CreateGotoMediaForm;
        MediaPropertyForm = &CreateMediaPropertyForm;
        MainFormTest::TearDown();
    }
    std::vector<TMenuItem*> AllItems() {
        std::vector<TMenuItem*> items;
        CollectItems(form->Main_Pop->Items(), items);
        CollectItems(form->TrayPop->Items(), items);
        return items;
    }
    // The skin controls whose click is a route, and those that act on their release.
    std::vector<TControl*> ClickControls() {
        return {form->Previous_XI, form->Next_XI,   form->Backward_XI, form->Forward_XI, form->Capture_XI,
                form->maxmin_xi,   form->Option_XI, form->Volume_XI,   form->Open_xi,    form->Ontop_xi,
                form->PL_L,        form->CL_L,      form->Video_P,     form->Mainlogo_I};
    }
    void Release(TControl* Control) { Control->OnMouseUp(Control, mbLeft, 0, 1, 1); }
    void Play(V Files) {
        chosenFiles = std::move(Files);
        form->OpenFileDialog();
        ASSERT_TRUE(State.IsPlaying);
    }
    std::int64_t Position() {
        std::int64_t current = -1;
        if (State.MediaSeeking)
            State.MediaSeeking->GetCurrentPosition(&current);
        return current;
    }
    // Ticks until the position is known to the commands that need it.
    void Tick() {
        for (int i = 0; i < 10 && !State.PositionReady; ++i) {
            QCoreApplication::processEvents();
            form->Ctrl_TTimer(nullptr);
        }
    }
};

// Each item that has a handler has one, each that has none has none (a key of such an item does nothing).
TEST_F(CommandRoutesTest, EveryMenuItemHasTheHandlerItsRouteNames) {
    Run();
    std::set<std::string> bound;
    for (TMenuItem* item : AllItems()) {
        if (item->OnClick)
            bound.insert(item->Name());
        else
            EXPECT_FALSE(ItemsWithAHandler().count(item->Name())) << item->Name() << " has no handler";
    }
    EXPECT_EQ(bound, ItemsWithAHandler());
    EXPECT_TRUE(form->Main_Pop->OnPopup);
    for (TControl* control : ClickControls())
        EXPECT_TRUE(control->OnClick) << control->Name();
    for (TControl* control :
         std::initializer_list<TControl*>{form->PlayPause_XI, form->Stop_XI, form->Opendvd_xi})
        EXPECT_TRUE(control->OnMouseUp) << control->Name();
}

// With nothing open, whatever play type the last session left (its file gone since), every route runs: no
// error, nothing plays or claims to, no dialog of the library for a medium that is not there.
TEST_F(CommandRoutesTest, WithNothingOpenEveryRouteRunsAndNothingClaimsToPlay) {
    WriteIni(DefaultsWith("ReloadLast", "0", DefaultsWith("LastMediaFile", tree.Root() + "/gone.mp4")));
    Run();
    ASSERT_EQ(State.PlayType, PlayTypes::MediaFile);
    auto expectNothingPlays = [&](const std::string& Route) {
        EXPECT_FALSE(State.IsPlaying) << Route;
        EXPECT_FALSE(State.IsPaused) << Route;
        // Stopped, or a play of the stored file that did not open.
        const std::string status = form->Status_L->Caption();
        EXPECT_TRUE(status == "准备完毕" || status == "无效或错误的媒体文件!") << Route << ": " << status;
        EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp")) << Route;
        EXPECT_FALSE(form->IsFullScreen) << Route;
        EXPECT_FALSE(form->RePaint_T->Enabled()) << Route;
        EXPECT_TRUE(errors.empty()) << Route << ": " << (errors.empty() ? "" : errors[0]);
    };
    // The web page would open a browser; the exits close the window (tested with the start-up) and the boss
    // key hides every window (tested with it).
    const std::set<std::string> notHere = {"pMainweb", "pExit", "tExit", "pBosskey"};
    // A dialog a route shows (the About box) is closed again.
    auto closingDialogs = [] {
        return std::make_unique<testing_support::WhileModal>([](QWidget* Dialog) { Dialog->close(); });
    };
    for (TMenuItem* item : AllItems()) {
        if (!item->OnClick || notHere.count(item->Name()))
            continue;
        const auto dialogs = closingDialogs();
        item->Click();
        expectNothingPlays(item->Name());
    }
    for (TControl* control : ClickControls()) {
        const auto dialogs = closingDialogs();
        control->Click();
        expectNothingPlays(control->Name());
    }
    form->Video_P->OnDblClick(form->Video_P);
    for (TControl* control : std::initializer_list<TControl*>{form->PlayPause_XI, form->Stop_XI,
                                                              form->VideoBar_XI, form->SoundBar_XI})
        Release(control);
    expectNothingPlays("the released buttons");
    EXPECT_EQ(DialogCalls::Goto, 0);
    EXPECT_EQ(DialogCalls::Property, 0);
    // The capture routes say that there is nothing to capture; nothing else has anything to say.
    for (const auto& box : boxes)
        EXPECT_EQ(box.Text, "No screenshots.");
    EXPECT_EQ(dialogs.size(), 2u); // the open dialog, from pOpenFile and from Open_xi
}

// With a file playing, each route reaches its command.
TEST_F(CommandRoutesTest, WithAFilePlayingEachRouteReachesItsCommand) {
    const V files = {Copy(LongClip(), "a.mp4"), Clip("b.mp4"), Clip("c.mp4")};
    Run();
    Play(files);
    Tick();

    form->pPlayPause->Click();
    EXPECT_TRUE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "暂停");
    form->tPlayPause->Click();
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");

    DialogCalls::GotoAnswer = 6;
    form->pGoto->Click();
    EXPECT_EQ(DialogCalls::Goto, 1);
    EXPECT_EQ(DialogCalls::GotoLength, State.MediaDuration);
    EXPECT_GE(Position(), 6 * Second - Second / 10);

    form->pProperty->Click();
    EXPECT_EQ(DialogCalls::Property, 1);
    EXPECT_EQ(DialogCalls::PropertyPlayType, PlayTypes::MediaFile);
    EXPECT_EQ(DialogCalls::PropertyFile, files[0]);
    EXPECT_EQ(DialogCalls::PropertyTime, "0:00:10");
    EXPECT_EQ(DialogCalls::PropertyWidth, State.VideoWidth);
    EXPECT_EQ(DialogCalls::PropertyHeight, State.VideoHeight);

    Tick();
    const std::int64_t before = Position();
    form->pBackward->Click(); // 5 s back
    EXPECT_LT(Position(), before - 4 * Second);
    Tick();
    const std::int64_t back = Position();
    form->pForward->Click(); // 5 s on
    EXPECT_GT(Position(), back + 4 * Second);

    form->pAccelerateplay->Click();
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.25);
    const std::string faster = form->Status_L->Caption();
    EXPECT_NE(faster, "播放中");
    form->Forward_XI->Click();
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.5);
    form->pDecelerateplay->Click(); // above 1 goes back to 1
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.0);
    form->Backward_XI->Click();
    EXPECT_DOUBLE_EQ(State.PlayRate, 0.75);
    form->pNormalplay->Click();
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.0);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");

    // Volume up and down keep the level and the knob in step.
    auto knobLevel = [&] {
        return ValueFromKnob(form->SoundPro_XI, form->SoundBar_XI, form->SoundGo_XI, 0, 100);
    };
    const int level = State.SoundLevel;
    const int knob = form->SoundBar_XI->Left();
    for (int i = 0; i < 5; ++i) {
        form->pHoistvolume->Click();
        EXPECT_EQ(State.SoundLevel, knobLevel());
    }
    EXPECT_GT(State.SoundLevel, level);
    EXPECT_GT(form->SoundBar_XI->Left(), knob);
    EXPECT_EQ(form->SoundGo_XI->Width(), form->SoundBar_XI->Left() - form->SoundPro_XI->Left());
    for (int i = 0; i < 5; ++i) {
        form->pDebasevolume->Click();
        EXPECT_EQ(State.SoundLevel, knobLevel());
    }
    EXPECT_EQ(form->SoundBar_XI->Left(), knob);

    form->pSlience->Click();
    EXPECT_TRUE(State.isSlience);
    EXPECT_TRUE(form->pSlience->Checked());
    form->Volume_XI->Click();
    EXPECT_FALSE(State.isSlience);

    form->pPlayNext->Click();
    EXPECT_EQ(State.CurrentMediaFile, files[1]);
    form->Next_XI->Click();
    EXPECT_EQ(State.CurrentMediaFile, files[2]);
    form->Previous_XI->Click();
    EXPECT_EQ(State.CurrentMediaFile, files[1]);
    form->pPlayPrevious->Click();
    EXPECT_EQ(State.CurrentMediaFile, files[0]);
    ASSERT_TRUE(State.IsPlaying);

    // A frame step leaves the medium paused, and the window says so.
    form->pSingleframestep->Click();
    EXPECT_TRUE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "暂停");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(form->RePaint_T->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    form->pNextframe->Click();
    EXPECT_TRUE(State.IsPaused);
    Release(form->PlayPause_XI);
    EXPECT_FALSE(State.IsPaused);

    form->pFullscreen->Click();
    EXPECT_TRUE(form->IsFullScreen);
    form->maxmin_xi->Click();
    EXPECT_FALSE(form->IsFullScreen);

    form->pCircleplay->Click();
    EXPECT_EQ(ReadIniInteger("PlayControl", "PlayMode"), 1);

    const std::size_t opened = dialogs.size();
    form->pOpenFile->Click(); // cancelled: what plays goes on
    EXPECT_EQ(dialogs.size(), opened + 1);
    EXPECT_TRUE(State.IsPlaying);

    form->pStop->Click();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Disable_Btn.bmp"));
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    Release(form->PlayPause_XI); // plays the current file again
    EXPECT_TRUE(State.IsPlaying);
    form->pClose->Click();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_TRUE(errors.empty());
}

// The rate items empty the status line for an audio file (it has no rate of its own); the skin buttons leave
// it as it is.
TEST_F(CommandRoutesTest, RateOfAnAudioFileEmptiesTheStatusFromTheMenuOnly) {
    Run();
    Play({Tone("t.wav", 3.0)});
    form->Forward_XI->Click();
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    form->pAccelerateplay->Click();
    EXPECT_EQ(form->Status_L->Caption(), "");
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.0);
}

// Play/pause with nothing open plays the current file, as the play/pause button does: never "paused" with
// nothing there. With no file named at all there is nothing to play and nothing to report.
TEST_F(CommandRoutesTest, PlayPauseWithNothingOpenPlaysTheCurrentFile) {
    const std::string clip = Clip("a.mp4");
    WriteIni(DefaultsWith("ReloadLast", "0", DefaultsWith("LastMediaFile", clip)));
    Run();
    ASSERT_FALSE(State.IsPlaying);
    form->tPlayPause->Click();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_FALSE(form->RePaint_T->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));

    form->pClose->Click();
    State.CurrentMediaFile.clear();
    form->tPlayPause->Click();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    EXPECT_TRUE(boxes.empty());
}

// The normal-play item (and its key) plays the stopped file again, as play/pause does.
TEST_F(CommandRoutesTest, NormalPlayWhileStoppedPlaysTheCurrentFileAgain) {
    Run();
    Play({Clip("a.mp4")});
    form->pStop->Click();
    ASSERT_FALSE(State.IsPlaying);
    form->aNormalPlay->Execute();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    // Paused, it runs on at the normal rate.
    form->PauseCommand();
    form->pNormalplay->Click();
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
}

// Each time the main menu opens it shows the stored choices, read again, and the state of each item.
TEST_F(CommandRoutesTest, TheMenuShowsTheStoredChoicesEachTimeItOpens) {
    Run();
    // The stored play mode shows from the first opening on.
    form->Main_Pop->Popup(100, 100);
    EXPECT_TRUE(form->pNone->Checked());
    form->Main_Pop->Menu()->hide();
    struct Setting {
        const char* Key;
        const char* Value;
        TMenuItem* Checked;
    } const settings[] = {
        {"SoundBalance", "9999", form->pRighttrack}, {"StayOnTop", "2", form->pOnlyplaying},
        {"AfterPlay", "3", form->pDormant},          {"VideoScale", "2", form->pScale54},
        {"PlayMode", "1", form->pCircleplay},        {"ClearHistoryExit", "1", form->pClearHistoryExit},
    };
    std::string ini = ReadFile(tree.IniFile());
    for (const Setting& s : settings)
        ini = DefaultsWith(s.Key, s.Value, ini);
    WriteIni(ini);
    State.isSlience = true;
    form->Main_Pop->Popup(100, 100);
    EXPECT_TRUE(form->PopupShown);
    for (const Setting& s : settings)
        EXPECT_TRUE(s.Checked->Checked()) << s.Key;
    EXPECT_EQ(State.AfterPlay, 3);
    EXPECT_EQ(State.PlayMode, 1);
    EXPECT_TRUE(form->pSlience->Checked());
    EXPECT_FALSE(form->pCapturescreen->Enabled()); // nothing open
    EXPECT_TRUE(form->pFullscreen->Enabled());
    EXPECT_FALSE(form->pFullscreen->Checked());
    for (TMenuItem* item : {form->pLoadfromfile, form->pSaveto, form->pAdd, form->pClear})
        EXPECT_FALSE(item->Enabled()) << item->Name(); // the play-list window is not shown
    for (TMenuItem* item : form->PipMenuItems)
        EXPECT_FALSE(item->Enabled()) << item->Name();
    form->Main_Pop->Menu()->hide();
    EXPECT_FALSE(form->PopupShown); // closed without a click on the video
    State.isSlience = false;
}

// The separators of the menus show no text.
TEST_F(CommandRoutesTest, SeparatorsShowNoText) {
    Run();
    int separators = 0;
    for (TMenuItem* item : AllItems())
        if (item->Caption() == "-") {
            ++separators;
            EXPECT_TRUE(item->Action()->isSeparator());
            EXPECT_TRUE(item->Action()->text().isEmpty());
        }
    EXPECT_EQ(separators, 8);
}

class VideoGesturesTest : public CommandRoutesTest {
protected:
    void SetUp() override {
        CommandRoutesTest::SetUp();
        Run();
        form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        Play({Clip("a.mp4")});
        MoveTo({5, 200});
        MoveTo(Video());
    }
    QPoint Video() { return Over(form->Video_P); }
    void ClickVideo() { ClickAt(Video()); }
};

TEST_F(VideoGesturesTest, AClickPausesAndResumes) {
    ClickVideo();
    EXPECT_TRUE(State.IsPaused);
    ClickVideo();
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(State.IsPlaying);
}

// The second press of a double click undoes the first click's pause; the window goes full screen and back.
TEST_F(VideoGesturesTest, ADoubleClickSwitchesFullScreenAndKeepsPlaying) {
    const QRect normal = form->geometry();
    QTest::mouseDClick(Window(), Qt::LeftButton, {}, Video());
    EXPECT_TRUE(form->IsFullScreen);
    EXPECT_TRUE(form->isFullScreen());
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    QTest::mouseDClick(Window(), Qt::LeftButton, {}, Over(form->Video_P));
    EXPECT_FALSE(form->IsFullScreen);
    EXPECT_FALSE(State.IsPaused);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->geometry(), normal);
}

// In full screen the control and status bars show while the pointer is near the screen's bottom edge.
TEST_F(VideoGesturesTest, InFullScreenTheBarsShowAtTheBottomEdge) {
    form->pFullscreen->Click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->IsFullScreen);
    const int bottom = Screen().Height();
    MoveTo(At(form->Video_P, {100, 100}));
    MoveTo(At(form->Video_P, {100, bottom - 90}));
    EXPECT_TRUE(form->Ctrl_P->Visible());
    EXPECT_TRUE(form->Bottom_P->Visible());
    EXPECT_LT(form->Bottom_P->Top(), form->Ctrl_P->Top()); // the status strip above the control strip
    MoveTo(At(form->Video_P, {100, 100}));
    EXPECT_FALSE(form->Ctrl_P->Visible());
    EXPECT_FALSE(form->Bottom_P->Visible());
}

// The left click that closes the menu opened by a right click on the video is no play/pause, also with a
// submenu open; the next click is.
TEST_F(VideoGesturesTest, TheClickThatClosesTheMenuIsNoPlayPause) {
    for (bool submenu : {false, true}) {
        ClickAt(Video(), Qt::RightButton);
        QMenu* menu = form->Main_Pop->Menu();
        ASSERT_TRUE(menu->isVisible());
        EXPECT_TRUE(form->PopupShown);
        if (submenu) {
            menu->setActiveAction(form->pPlay->Action());
            QTest::keyClick(menu, Qt::Key_Right);
            ASSERT_TRUE(form->pPlay->SubMenu()->isVisible());
        }
        const bool paused = State.IsPaused;
        ClickVideo();
        QCoreApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
        EXPECT_EQ(State.IsPaused, paused) << submenu;
        ClickVideo();
        EXPECT_NE(State.IsPaused, paused) << submenu;
    }
}

// A command chosen from the menu closes it: the next click on the video is a play/pause again.
TEST_F(VideoGesturesTest, AfterAChosenCommandTheNextClickActs) {
    ClickAt(Video(), Qt::RightButton);
    QMenu* menu = form->Main_Pop->Menu();
    ASSERT_TRUE(menu->isVisible());
    QMenu* view = form->pView->SubMenu();
    menu->setActiveAction(form->pView->Action());
    QTest::keyClick(menu, Qt::Key_Right);
    ASSERT_TRUE(view->isVisible());
    // pFullscreen is the first item: choosing it runs the full-screen command.
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(form->IsFullScreen);
    EXPECT_FALSE(form->PopupShown);
    ClickVideo();
    EXPECT_TRUE(State.IsPaused);
}

} // namespace
