// The command routes of the main window: which menu item, tray item, skin button, label and mouse gesture on
// the video reaches which command (BindRoutes), the handlers that do more than forward (close and stop, the
// rates, the volume steps, the frame step) and the preparation of the main menu each time it opens. The keys
// reach the menu items' handlers through the actions (LoadShortCuts).

#include <thread>

#include <QMenu>

#include "core/DvdNavigation.h"
#include "core/History.h"
#include "core/MenuSettings.h"
#include "core/PipEdit.h"
#include "core/PlaybackState.h"
#include "core/Seeking.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/win32/Mci.h"
#include "platform/win32/Window.h"
#include "ui/QuorelMainUnit.h"
#include "ui/QuorelMainUnit_Progress.h"

using namespace forms;

namespace {

using TClickHandler = void (TQuorelMain_Form::*)(TObject*);
using TMouseHandler = void (TQuorelMain_Form::*)(TObject*, TMouseButton, TShiftState, int, int);

} // namespace

void TQuorelMain_Form::BindRoutes() {
    auto click = [this](TClickHandler Handler) {
        return [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    };
    auto mouse = [this](TMouseHandler Handler) {
        return [this, Handler](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            (this->*Handler)(Sender, Button, Shift, X, Y);
        };
    };

    // The main menu and the tray menu, the one place their items are bound. Items left out have no handler:
    // pOpendvd, pHistory, pSubpicture, pDublanguage and pAngle hold items built at run time; pPreviousframe,
    // pCompletereverse, pCapturelistview, pPlaylistView, p50, p100 and p200 do nothing; the radio groups get
    // theirs at start-up (InitUI). The play-list items act on the play-list window while it is shown.
    const std::pair<TMenuItem*, TClickHandler> items[] = {
        {pOpenFile, &TQuorelMain_Form::pOpenFileClick},
        {pOpendvddirectory, &TQuorelMain_Form::pOpendvddirectoryClick},
        {pOpenpictureinpicture, &TQuorelMain_Form::pOpenpictureinpictureClick},
        {pClose, &TQuorelMain_Form::pCloseClick},
        {pManageHistory, &TQuorelMain_Form::pManageHistoryClick},
        {pClearHistory, &TQuorelMain_Form::pClearHistoryClick},
        {pClearHistoryExit, &TQuorelMain_Form::pClearHistoryExitClick},
        {pCapturescreen, &TQuorelMain_Form::pCapturescreenClick},
        {pProperty, &TQuorelMain_Form::pPropertyClick},
        {pExit, &TQuorelMain_Form::pExitClick},
        {pPlayPause, &TQuorelMain_Form::pPlayPauseClick},
        {pStop, &TQuorelMain_Form::pStopClick},
        {pSingleframestep, &TQuorelMain_Form::pSingleframestepClick},
        {pPlayPrevious, &TQuorelMain_Form::pPlayPreviousClick},
        {pPlayNext, &TQuorelMain_Form::pPlayNextClick},
        {pGoto, &TQuorelMain_Form::pGotoClick},
        {pForward, &TQuorelMain_Form::pForwardClick},
        {pBackward, &TQuorelMain_Form::pBackwardClick},
        {pAccelerateplay, &TQuorelMain_Form::pAccelerateplayClick},
        {pDecelerateplay, &TQuorelMain_Form::pDecelerateplayClick},
        {pNormalplay, &TQuorelMain_Form::pNormalplayClick},
        {pNextframe, &TQuorelMain_Form::pNextframeClick},
        {pHoistvolume, &TQuorelMain_Form::pHoistvolumeClick},
        {pDebasevolume, &TQuorelMain_Form::pDebasevolumeClick},
        {pSlience, &TQuorelMain_Form::pSlienceClick},
        {pBosskey, &TQuorelMain_Form::pBosskeyClick},
        {pOption, &TQuorelMain_Form::pOptionClick},
        {pPreviouschapter, &TQuorelMain_Form::pPreviouschapterClick},
        {pNextchapter, &TQuorelMain_Form::pNextchapterClick},
        {pMainmenu, &TQuorelMain_Form::pMainmenuClick},
        {pTitlemenu, &TQuorelMain_Form::pTitlemenuClick},
        {pChaptermenu, &TQuorelMain_Form::pChaptermenuClick},
        {pSubpictureMenu, &TQuorelMain_Form::pSubpictureMenuClick},
        {pDubmenu, &TQuorelMain_Form::pDubmenuClick},
        {pAnglemenu, &TQuorelMain_Form::pAnglemenuClick},
        {pPipsetup, &TQuorelMain_Form::pPipsetupClick},
        {pLefttop, &TQuorelMain_Form::pLefttopClick},
        {pRighttop, &TQuorelMain_Form::pRighttopClick},
        {pLeftbottom, &TQuorelMain_Form::pLeftbottomClick},
        {pRightbottom, &TQuorelMain_Form::pRightbottomClick},
        {pCenter, &TQuorelMain_Form::pCenterClick},
        {pPicalpha, &TQuorelMain_Form::pPicalphaClick},
        {pPicswap, &TQuorelMain_Form::pPicswapClick},
        {pNoreverse, &TQuorelMain_Form::pNoreverseClick},
        {pUpdownreverse, &TQuorelMain_Form::pUpdownreverseClick},
        {pLeftrightreverse, &TQuorelMain_Form::pLeftrightreverseClick},
        {pPicRestore, &TQuorelMain_Form::pPicRestoreClick},
        {pFullscreen, &TQuorelMain_Form::pFullscreenClick},
        {pLoadfromfile, &TQuorelMain_Form::pLoadfromfileClick},
        {pSaveto, &TQuorelMain_Form::pSavetoClick},
        {pAdd, &TQuorelMain_Form::pAddClick},
        {pClear, &TQuorelMain_Form::pClearClick},
        {pMainweb, &TQuorelMain_Form::pMainwebClick},
        {pAbout, &TQuorelMain_Form::pAboutClick},
        {tShowmainface, &TQuorelMain_Form::tShowmainfaceClick},
        {tPlayPause, &TQuorelMain_Form::tPlayPauseClick},
        {tOption, &TQuorelMain_Form::tOptionClick},
        {tExit, &TQuorelMain_Form::tExitClick},
    };
    for (const auto& [item, handler] : items)
        item->OnClick = click(handler);
    Main_Pop->OnPopup = click(&TQuorelMain_Form::Main_PopPopup);
    // Main_PopPopup marks the menu as shown, so that a click on the video that closes it is not taken for a
    // play/pause. Such a press only closes the menu here (it never reaches the video): the mark goes as the
    // menu closes, however it closes, so that the next click acts.
    QObject::connect(Main_Pop->Menu(), &QMenu::aboutToHide, this, [this] { PopupShown = false; });

    // The skin buttons and the two labels; their pictures follow the state rule (BindSkinButtons).
    const std::pair<TControl*, TClickHandler> clicks[] = {
        {Close_xi, &TQuorelMain_Form::Close_XIClick},
        {Min_xi, &TQuorelMain_Form::Min_XIClick},
        {Max_xi, &TQuorelMain_Form::Max_XIClick},
        {Menu_xi, &TQuorelMain_Form::Menu_xiClick},
        {Ontop_xi, &TQuorelMain_Form::Ontop_xiClick},
        {Open_xi, &TQuorelMain_Form::Open_xiClick},
        {Previous_XI, &TQuorelMain_Form::Previous_XIClick},
        {Next_XI, &TQuorelMain_Form::Next_XIClick},
        {Backward_XI, &TQuorelMain_Form::Backward_XIClick},
        {Forward_XI, &TQuorelMain_Form::Forward_XIClick},
        {Capture_XI, &TQuorelMain_Form::Capture_XIClick},
        {maxmin_xi, &TQuorelMain_Form::maxmin_xiClick},
        {Option_XI, &TQuorelMain_Form::Option_XIClick},
        {Volume_XI, &TQuorelMain_Form::Volume_XIClick},
        {PL_L, &TQuorelMain_Form::PL_LClick},
        {CL_L, &TQuorelMain_Form::CL_LClick},
    };
    for (const auto& [control, handler] : clicks)
        control->OnClick = click(handler);
    // These act on the release (or the press), wherever the pointer is then.
    const std::pair<TMouseEvent TControl::*, std::pair<TControl*, TMouseHandler>> presses[] = {
        {&TControl::OnMouseUp, {Opendvd_xi, &TQuorelMain_Form::Opendvd_xiMouseUp}},
        {&TControl::OnMouseUp, {PlayPause_XI, &TQuorelMain_Form::PlayPause_XIMouseUp}},
        {&TControl::OnMouseUp, {Stop_XI, &TQuorelMain_Form::Stop_XIMouseUp}},
        {&TControl::OnMouseDown, {VideoBar_XI, &TQuorelMain_Form::VideoBar_XIMouseDown}},
        {&TControl::OnMouseUp, {VideoBar_XI, &TQuorelMain_Form::VideoBar_XIMouseUp}},
        {&TControl::OnMouseDown, {SoundBar_XI, &TQuorelMain_Form::SoundBar_XIMouseDown}},
        {&TControl::OnMouseUp, {SoundBar_XI, &TQuorelMain_Form::SoundBar_XIMouseUp}},
    };
    for (const auto& [event, route] : presses)
        route.first->*event = mouse(route.second);

    // The video and the logo lying on it.
    for (TControl* video : std::initializer_list<TControl*>{Video_P, Mainlogo_I}) {
        video->OnClick = click(&TQuorelMain_Form::Video_PClick);
        video->OnDblClick = click(&TQuorelMain_Form::Video_PDblClick);
        video->OnMouseDown = mouse(&TQuorelMain_Form::Video_PMouseDown);
        video->OnMouseUp = mouse(&TQuorelMain_Form::Video_PMouseUp);
        video->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
            Video_PMouseMove(Sender, Shift, X, Y);
        };
    }
}

// --- The main menu as it opens. ---

void TQuorelMain_Form::Main_PopPopup(TObject*) {
    PopupShown = true;
    // The stored choices, read again: the options dialog or a second player may have changed them.
    LoadSoundBalanceMenu(ChannelMenuItems);
    LoadStayOnTopMenu(Left(), Top(), Width(), Height(), OnTopMenuItems);
    LoadAfterPlayMenu(AfterPlayMenuItems);
    LoadVideoScaleMenu(ScaleMenuItems);
    LoadPlayModeMenu(PlayModeMenuItems);
    LoadClearHistoryExitMenu(pClearHistoryExit);
    UpdatePipMenus();
    pSlience->SetChecked(State.isSlience);
    pPlaylistView->SetChecked(State.PlayListVisible);
    pCapturelistview->SetChecked(State.CaptureListVisible);
    for (TMenuItem* item : {pLoadfromfile, pSaveto, pAdd, pClear})
        item->SetEnabled(State.PlayListVisible);
    pFullscreen->SetChecked(IsFullScreen);
    // Only with a medium open: the play type of the last session stays when nothing is.
    pCapturescreen->SetEnabled(State.IsPlaying &&
                               (State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip));
    pFullscreen->SetEnabled(IsFullScreen || State.PlayType != PlayTypes::Audio);
    if (State.PlayType == PlayTypes::Dvd)
        BuildDvdPopupMenus();
}

// --- Menu items. ---

void TQuorelMain_Form::pOpenFileClick(TObject*) {
    OpenFileDialog();
}

void TQuorelMain_Form::pCloseClick(TObject*) {
    StopByType();
    RefreshButtonBitmaps();
    LoadSkinBitmap(PlayPause_XI, "Play_Normal_Btn.bmp");
}

void TQuorelMain_Form::pStopClick(TObject* Sender) {
    pCloseClick(Sender);
    LoadSkinBitmap(Stop_XI, "Stop_Disable_Btn.bmp");
}

void TQuorelMain_Form::pPlayPauseClick(TObject*) {
    PlayPauseCommand();
}

void TQuorelMain_Form::FrameStepCommand() {
    if (!State.IsPlaying || !State.VideoFrameStep)
        return;
    const bool wasPaused = State.IsPaused;
    StepOneFrame(State.VideoFrameStep.Get());
    // A step leaves a playing medium paused: the window shows it as a pause does.
    if (!wasPaused && State.IsPaused) {
        Ctrl_T->SetEnabled(false);
        RePaint_T->SetEnabled(true);
        ShowPausedState();
        RefreshButtonBitmaps();
    }
}

void TQuorelMain_Form::pSingleframestepClick(TObject*) {
    FrameStepCommand();
}

void TQuorelMain_Form::pNextframeClick(TObject*) {
    FrameStepCommand();
}

void TQuorelMain_Form::pPlayPreviousClick(TObject*) {
    PlayPreviousCommand();
}

void TQuorelMain_Form::pPlayNextClick(TObject*) {
    PlayNextCommand();
}

void TQuorelMain_Form::pGotoClick(TObject*) {
    if (State.IsPlaying)
        ShowGotoDialog(Application().Handle());
}

void TQuorelMain_Form::pForwardClick(TObject*) {
    if (State.IsPlaying)
        Jump(1);
}

void TQuorelMain_Form::pBackwardClick(TObject*) {
    if (State.IsPlaying)
        Jump(2);
}

void TQuorelMain_Form::RateCommand(bool Faster) {
    // The keys reach this while the items are disabled: without a medium open there is no rate to change.
    if (!State.IsPlaying)
        return;
    std::string text;
    if (Faster)
        PlayFaster(State.PlayRate, text);
    else
        PlaySlower(State.PlayRate, text);
    // Play types without a rate of their own (audio, DVD) give no text: the status line is emptied.
    Status_L->SetCaption(text);
}

void TQuorelMain_Form::pAccelerateplayClick(TObject*) {
    RateCommand(true);
}

void TQuorelMain_Form::pDecelerateplayClick(TObject*) {
    RateCommand(false);
}

void TQuorelMain_Form::pNormalplayClick(TObject*) {
    // Back to the normal rate while playing; stopped, it plays the current file again, as Space does.
    PlayCommand();
    RefreshButtonBitmaps();
}

void TQuorelMain_Form::StepVolumeCommand(int Direction) {
    struct Geometry {
        int Left;
        int Width;
    };
    const Geometry track{SoundPro_XI->Left(), SoundPro_XI->Width()};
    Geometry knob{SoundBar_XI->Left(), SoundBar_XI->Width()};
    Geometry fill{SoundGo_XI->Left(), SoundGo_XI->Width()};
    StepVolume(State.SoundLevel, track, knob, fill, Direction);
    SoundBar_XI->SetLeft(knob.Left);
    SoundGo_XI->SetWidth(fill.Width);
    // The level the knob stands for, so that level and knob agree.
    SetVolumePercent(ValueFromKnob(SoundPro_XI, SoundBar_XI, SoundGo_XI, 0, 100));
}

void TQuorelMain_Form::pHoistvolumeClick(TObject*) {
    StepVolumeCommand(1);
}

void TQuorelMain_Form::pDebasevolumeClick(TObject*) {
    StepVolumeCommand(2);
}

void TQuorelMain_Form::pSlienceClick(TObject*) {
    ToggleMute(pSlience, Volume_XI, State.SoundLevel);
}

void TQuorelMain_Form::pOptionClick(TObject*) {
    ShowOptions();
}

void TQuorelMain_Form::pFullscreenClick(TObject*) {
    FullScreenCommand();
}

// --- Skin buttons. ---

void TQuorelMain_Form::Min_XIClick(TObject*) {
    win32::SendMessage(Handle(), win32::WM_SYSCOMMAND, win32::SC_MINIMIZE, 0);
}

void TQuorelMain_Form::Max_XIClick(TObject*) {
    // The picture of the state before the change; the resize that follows shows the new one.
    ShowNormalPicture(Max_xi);
    ToggleMaximize(Handle());
}

void TQuorelMain_Form::Menu_xiClick(TObject*) {
    LoadSkinBitmap(Menu_xi, "Menu_Normal_Menu.bmp");
    PopupUnderButton(Menu_xi, Main_Pop);
}

void TQuorelMain_Form::Ontop_xiClick(TObject*) {
    CycleStayOnTop();
    SetOnTopHint();
}

void TQuorelMain_Form::Open_xiClick(TObject*) {
    OpenFileDialog();
}

void TQuorelMain_Form::Opendvd_xiMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    LoadSkinBitmap(Opendvd_xi, "Opendvd_Normal_btn.bmp");
    // The door command waits until the tray is open: on a thread of its own, so that the window, the ticks
    // and the sound go on meanwhile. Its result is not looked at.
    std::thread([] { win32::mciSendString("Set cdaudio door open wait", nullptr, 0, nullptr); }).detach();
}

void TQuorelMain_Form::PlayPause_XIMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (State.IsPlaying && !State.IsPaused)
        PauseCommand();
    else if (State.IsPlaying == State.IsPaused)
        PlayCommand();
    RefreshButtonBitmaps();
}

void TQuorelMain_Form::Stop_XIMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    StopByType();
    RefreshButtonBitmaps();
    LoadSkinBitmap(PlayPause_XI, "Play_Normal_Btn.bmp");
    LoadSkinBitmap(Stop_XI, "Stop_Disable_Btn.bmp");
}

void TQuorelMain_Form::Previous_XIClick(TObject*) {
    PlayPreviousCommand();
}

void TQuorelMain_Form::Next_XIClick(TObject*) {
    PlayNextCommand();
}

void TQuorelMain_Form::Backward_XIClick(TObject*) {
    if (State.PlayType != PlayTypes::Audio)
        RateCommand(false);
}

void TQuorelMain_Form::Forward_XIClick(TObject*) {
    if (State.PlayType != PlayTypes::Audio)
        RateCommand(true);
}

void TQuorelMain_Form::maxmin_xiClick(TObject*) {
    FullScreenCommand();
}

void TQuorelMain_Form::Option_XIClick(TObject*) {
    ShowOptions();
}

void TQuorelMain_Form::Volume_XIClick(TObject*) {
    ToggleMute(pSlience, Volume_XI, State.SoundLevel);
}

void TQuorelMain_Form::VideoBar_XIMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    Ctrl_T->SetEnabled(false);
    LoadSkinBitmap(VideoBar_XI, "VideoBar_hight.bmp");
}

void TQuorelMain_Form::VideoBar_XIMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    LoadSkinBitmap(VideoBar_XI, "VideoBar_Normal.bmp");
    SeekFromPositionKnob();
    Ctrl_T->SetEnabled(true);
}

void TQuorelMain_Form::SoundBar_XIMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    LoadSkinBitmap(SoundBar_XI, "SoundBar_Hight.bmp");
    Volume_L->SetCaption(std::to_string(State.SoundLevel) + "%");
}

void TQuorelMain_Form::SoundBar_XIMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    LoadSkinBitmap(SoundBar_XI, "SoundBar_Normal.bmp");
    Volume_L->SetCaption("");
}

// --- The video. ---

void TQuorelMain_Form::Video_PClick(TObject*) {
    // The click that closed the main menu is not a play/pause.
    if (State.IsPlaying && !PopupShown)
        PlayPauseCommand();
    PopupShown = false;
}

void TQuorelMain_Form::Video_PDblClick(TObject*) {
    // Nothing plays (a medium that ended in full screen): the double click only leaves full screen.
    if (!State.IsPlaying) {
        if (IsFullScreen)
            FullScreenCommand();
        return;
    }
    // The first click of the two paused or resumed: the play/pause here puts it back.
    PlayPauseCommand();
    FullScreenCommand();
}

void TQuorelMain_Form::Video_PMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    BeginPipDrag(State.PipSmallStream, X, Y, State.VideoPanelHandle, Button);
    IgnoreNextVideoMove = true;
}

void TQuorelMain_Form::Video_PMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (State.PlayType == PlayTypes::Pip && State.PipDragging) {
        RestorePipCursor();
        // The click that ended the drag paused the pair: it plays on.
        PlayCommand();
        State.PipDragging = false;
    }
    win32::ReleaseCapture();
}

void TQuorelMain_Form::Video_PMouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (State.PlayType == PlayTypes::Dvd)
        DvdSelectAtPosition(X, Y);
    if (State.PlayType == PlayTypes::Pip) {
        UpdatePipOrientation();
        if (!IgnoreNextVideoMove)
            PipMouseMove(State.VideoPanelHandle, State.PipSmallStream, X, Y, Shift);
        IgnoreNextVideoMove = false;
    }
    // In full screen the control and status bars show while the pointer is near the screen's bottom edge.
    if (IsFullScreen) {
        if (Y < Screen().Height() - 97) {
            Ctrl_P->Hide();
            Bottom_P->Hide();
        } else if (!Ctrl_P->Visible() || !Bottom_P->Visible()) {
            ShowBottomStrips();
        }
    }
}
