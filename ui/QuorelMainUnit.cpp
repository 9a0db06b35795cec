// Start-up and shut-down of the main window.

#include "ui/QuorelMainUnit.h"

#include <filesystem>

#include <QCoreApplication>

#include "core/DvdGraph.h"
#include "core/History.h"
#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Shortcuts.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/audio/Bass.h"
#include "platform/gst/Gst.h"
#include "platform/win32/Files.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/ScreenSaver.h"
#include "platform/win32/System.h"
#include "platform/win32/Window.h"

using namespace forms;

TQuorelMain_Form* QuorelMain_Form = nullptr;

std::function<win32::DWORD()> TQuorelMain_Form::AudioLibraryVersion = [] { return bass::BASS_GetVersion(); };

std::string TQuorelMain_Form::DefaultProgramFile() {
    return win32::GetModuleFileName();
}

namespace {

std::vector<std::string>& CapturedArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}

} // namespace

void TQuorelMain_Form::SetCommandLine(int Argc, char** Argv) {
    CapturedArguments().clear();
    for (int i = 1; i < Argc; ++i)
        CapturedArguments().emplace_back(Argv[i]);
}

std::vector<std::string> TQuorelMain_Form::CommandLineArguments() {
    std::vector<std::string> arguments = CapturedArguments();
    for (std::string& argument : arguments) {
        if (argument.empty() || argument == "/o" || argument == "/a")
            continue;
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(argument, ec);
        if (!ec)
            argument = absolute.lexically_normal().string();
    }
    return arguments;
}

TQuorelMain_Form::TQuorelMain_Form(std::string ProgramFile, std::vector<std::string> Arguments)
    : programFile_(std::move(ProgramFile)), arguments_(std::move(Arguments)) {
    // The form description: the components and their event bindings, then OnCreate.
    BuildComponents();
    BindSkinButtons();
    BindFrame();
    BindProgress();
    BindRoutes();
    BindTray();
    BindKeys();
    BindCompanions();
    BindLyrics();
    BindPip();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    SetMessageHandler(win32::WM_SYSCOMMAND, [this](TMessage& Message) { SysCommandMessage(Message); });
    DoCreate();
}

TQuorelMain_Form::~TQuorelMain_Form() {
    // All teardown happens in FormClose; only the program-wide pointer is let go.
    if (QuorelMain_Form == this)
        QuorelMain_Form = nullptr;
}

bool TQuorelMain_Form::event(QEvent* Event) {
    // Once the close has begun, a queued message of the companion windows must not reach shared lists that
    // are about to be freed.
    if (ClosingDown && Event->type() == win32::MessageEvent::EventType &&
        static_cast<win32::MessageEvent*>(Event)->Msg >= win32::WM_USER) {
        Event->accept();
        return true;
    }
    return TForm::event(Event);
}

void TQuorelMain_Form::FormCreate(TObject*) {
    InitState();
    CreateSharedLists();
    SharedStateReady = true;
    InitUI();
}

void TQuorelMain_Form::InitState() {
    // 1. The media layer's start-up takes the place of the GUI thread's COM initialisation.
    gst::EnsureInitialised();
    // 2.
    FirstActivation = true;
    State.DriveCheckPending = true;
    IsFullScreen = false;
    // 3.-4., 6.-7. The folders beside the program, SkinPath and IniFilePath, the missing folders made (the
    // settings file needs "Ini"), the default settings when there are none and the capture folder.
    StartSettings(programFile_);
    // 5. The control tables touch no setting: filling them after the settings steps changes nothing.
    FillControlTables();
    // 8.
    State.MainWindowHandle = Handle();
    State.VideoPanelHandle = Video_P->Handle();
    // 9.-10.
    State.RenderType = DetectRenderer();
    State.PlayType = PlayTypes::Nothing;
    State.PlayRate = 1.0;
    // 11. A missing level starts at the default 30 and a hand-edited one is kept within the table, so that
    // the volume table is never read outside its 101 entries.
    if (ReadIniString("Play", "SoundLevel") == ValueNoFind)
        State.SoundLevel = 30;
    else
        State.SoundLevel = std::clamp(ReadIniInteger("Play", "SoundLevel"), 0, 100);
    State.VolumeAttenuation = VolumeForLevel(State.SoundLevel);
    // 12.-14.
    State.SelectedPlayListRow = -1;
    State.SelectedCaptureIndex = -1;
    State.VideoWidth = 1;
    State.VideoHeight = 1;
    State.IsPlaying = false;
    State.IsPaused = false;
    State.VideoScale = 0;
    State.DarkGreyColor = win32::RGB(81, 81, 81);
    State.SelectedPanelColor = win32::RGB(50, 56, 53);
    State.LightGreyColor = win32::RGB(153, 153, 153);
    // 15. Settings. A missing text key is empty, not the reader's "Value no find" (which is no drive and no
    // file).
    auto text = [](const char* Section, const char* Key) {
        std::string value = ReadIniString(Section, Key);
        return value == ValueNoFind ? std::string() : value;
    };
    State.DefDriver = text("PlayControl", "DefDriver");
    State.AutoResumePlay = ReadIniInteger("PlayControl", "AutoResumePlay");
    State.PlayType = ReadIniInteger("PlayControl", "LastPlayType");
    ReloadLastSetting = ReadIniInteger("PlayControl", "ReloadLast");
    MemoryLastPosSetting = ReadIniInteger("PlayControl", "MemoryLastPos");
    State.LastPos = static_cast<std::int64_t>(ReadIniInteger("PlayControl", "LastPos"));
    State.CurrentMediaFile = text("PlayControl", "LastMediaFile");
    State.PlayMode = ReadIniInteger("PlayControl", "PlayMode");
    State.isSlience = (ReadIniInteger("Play", "isSlience") & 0xFF) != 0;
    State.StayOnTop = ReadIniInteger("Play", "StayOnTop");
    State.ReverseType = ReadIniInteger("Pip", "ReverseType");
    const int selKernelType = ReadIniInteger("Play", "SelKernelType");
    const int storedRenderType = ReadIniInteger("Play", "RenderType");
    if (selKernelType == SelKernelTypes::Stored)
        State.RenderType = storedRenderType;
    // 16.-17.
    State.Language = Languages::Chinese;
    CreateUiFont();
}

void TQuorelMain_Form::FillControlTables() {
    TransportButtons = {PlayPause_XI, Stop_XI, Backward_XI, Forward_XI, Previous_XI, Next_XI};
    ProgressBarImages = {VideoPro_XI, SoundPro_XI};
    FileMenuItems = {pClose, pCapturescreen, pProperty};
    PlayMenuItems = {pPlayPause, pStop, pSingleframestep, pPlayPrevious, pPlayNext, pPlaycontrol};
    PipMenuItems = {pPipsetup, pPipstandardpos, pPicalpha, pPicswap, pPicreverse, pPicRestore};
    PipReverseMenuItems = {pNoreverse, pUpdownreverse, pLeftrightreverse, pCompletereverse};
    ScaleMenuItems = {pKeeporiginal, pFillWholeWindow, pScale43, pScale54, pScale169};
    ChannelMenuItems = {pStereo, pLefttrack, pRighttrack};
    OnTopMenuItems = {pNonever, pAlways, pOnlyplaying};
    AfterPlayMenuItems = {pShutdown, pDormant, pAfterExit, pDonothing};
    PlayModeMenuItems = {pNone, pCircleplay, pRandomplay, pCirclesingleplay};
    DvdMenuItems = {pPreviouschapter, pNextchapter, pSubpicture,     pDublanguage, pAngle,    pMainmenu,
                    pTitlemenu,       pChaptermenu, pSubpictureMenu, pDubmenu,     pAnglemenu};
    StatusLabels = {Status_L, Time_L};
    CommandMenuItems = {
        pOpenFile,    pOpendvddirectory, pClose,          pCapturescreen, pProperty,      pPlayPause,
        pStop,        pSingleframestep,  pPlayPrevious,   pPlayNext,      pGoto,          pForward,
        pBackward,    pAccelerateplay,   pDecelerateplay, pNormalplay,    pPreviousframe, pNextframe,
        pHoistvolume, pDebasevolume,     pSlience,        pStereo,        pLefttrack,     pRighttrack,
        pBosskey,     pOption,           pPlaylistView,   pFullscreen};
    CommandActions = {
        aOpenFile,    aOpenDvdDirectory, aClose,          aCaptureScreen, aProperty,      aPlayPause,
        aStop,        aSingleFrameStep,  aPlayPrevious,   aPlayNext,      aGoto,          aForward,
        aBackward,    aAcceleratePlay,   aDeceleratePlay, aNormalPlay,    aPreviousFrame, aNextFrame,
        aHoistVolume, aDebaseVolume,     aSlience,        aStereo,        aLeftTrack,     aRightTrack,
        aBossKey,     aOption,           aPlayList,       aFullScreen};
}

namespace {

// The shared lists in the order they are created and freed.
std::unique_ptr<TStringList>* const kSharedLists[] = {
    &State.History,       &State.DriveList,         &State.SavedCaptureFiles, &State.DvdChapterList,
    &State.IfoFolderList, &State.VobFolderList,     &State.DvdFolderList,     &State.PlayListFiles,
    &State.PlayListLines, &State.PlayListPositions, &State.LrcTimes,          &State.LrcTexts,
    &State.LrcOffsets,
};

} // namespace

void TQuorelMain_Form::CreateSharedLists() {
    for (auto* list : kSharedLists)
        *list = std::make_unique<TStringList>();
}

void TQuorelMain_Form::FreeSharedLists() {
    for (auto* list : kSharedLists)
        if (*list)
            list->reset();
}

void TQuorelMain_Form::InitUI() {
    // 1.-2.
    EnableDoubleBuffering();
    InitialLayout();
    SetFont(*State.UiFont);
    // 3. Labels.
    auto style = [](TLabel* Label, TColor Color, const char* Caption, bool UiFont = true) {
        if (UiFont)
            Label->Font().Assign(*State.UiFont);
        Label->Font().SetColor(Color);
        Label->SetCaption(Caption);
    };
    const auto lightGrey = static_cast<TColor>(State.LightGreyColor);
    style(CurMedia_L, clBlack, "");
    style(PL_L, lightGrey, "播放列表");
    style(CL_L, lightGrey, "截屏列表");
    style(Status_L, cl3DLight, "准备完毕");
    style(Time_L, cl3DLight, "", false);
    Time_L->SetLeft(Width() - Time_L->Width() - 10);
    style(Volume_L, clBlack, "");
    Lrc_p->Font().Assign(*State.UiFont);
    lTime_L->Font().Assign(*State.UiFont);
    lTime_L->Font().SetColor(lightGrey);
    rTime_L->Font().Assign(*State.UiFont);
    rTime_L->Font().SetColor(lightGrey);
    // 4.-5.
    Video_P->SetColor(clBlack);
    for (TTimer* timer : {Ctrl_T, RePaint_T}) {
        timer->SetInterval(30);
        timer->SetEnabled(false);
    }
    // 6. The audio library's version: only reported, start-up goes on.
    if (win32::HIWORD(AudioLibraryVersion()) != 0x0204)
        win32::MessageBox(nullptr, "\"Bass.dll\" {文件版本不合适}File version of the inappropriate! ",
                          nullptr, win32::MB_ICONERROR);
    // 7.-8.
    Capture_XI->SetEnabled(false);
    DisableImages(TransportButtons);
    DisableImages(ProgressBarImages);
    RefreshButtonBitmaps();
    DisableMenuItems(FileMenuItems);
    DisableMenuItems(PlayMenuItems);
    DisableMenuItems(DvdMenuItems);
    DisableMenuItems(PipMenuItems);
    // 9. The radio groups get their handlers before the shortcut commands copy them into the actions.
    SetMenuItemsOnClick(ChannelMenuItems, [this](TObject* Sender) { ChannelMenuClick(Sender); });
    SetMenuItemsOnClick(OnTopMenuItems, [this](TObject* Sender) { OnTopMenuClick(Sender); });
    SetMenuItemsOnClick(AfterPlayMenuItems, [this](TObject* Sender) { AfterPlayMenuClick(Sender); });
    SetMenuItemsOnClick(ScaleMenuItems, [this](TObject* Sender) { ScaleMenuClick(Sender); });
    SetMenuItemsOnClick(PlayModeMenuItems, [this](TObject* Sender) { PlayModeMenuClick(Sender); });
    // 10.-11.
    LoadStayOnTopMenu(Left(), Top(), Width(), Height(), OnTopMenuItems);
    LoadVideoScaleMenu(ScaleMenuItems);
    // The other stored choices of the menu count from the start too, not only once the menu was opened:
    // a stored after-play action, channel or clear-on-exit choice is the user's.
    LoadSoundBalanceMenu(ChannelMenuItems);
    LoadAfterPlayMenu(AfterPlayMenuItems);
    LoadClearHistoryExitMenu(pClearHistoryExit);
    LoadShortCuts(CommandMenuItems, CommandActions);
    RegisterBossKey(Handle());
    // 12. Left of centre by 28 pixels; Top stays where the desktop-centre placement puts it.
    SetPosition(poDesigned);
    const int left = (Screen().Width() - Width() - 56) / 2;
    const int top = (Screen().Height() - Height()) / 2;
    SetBounds(left, top, Width(), Height());
    // 13.
    ApplyHints();
}

void TQuorelMain_Form::FormShow(TObject*) {
    // A close that came before the window was first shown (a session ending at once) has freed the lists.
    if (ClosingDown)
        return;
    // A start-up that stopped on an error (shown by the error box) before the settings were read and the
    // lists made leaves a window that can neither play nor store anything: the program closes instead.
    if (!SharedStateReady) {
        Close();
        return;
    }
    LayoutControls();
    ListCdDrives(*State.DriveList);
    FillMenuFromList(*State.DriveList, this, pOpendvd,
                     [this](TObject* Sender) { OpenDvdDriveMenuClick(Sender); });
    LoadHistoryList(*State.History);
    AddFileNameItems(*State.History, pHistory, this, [this](TObject* Sender) { HistoryItemClick(Sender); });
    QueueCommandLineOpen();
    LoadSkinBitmap(Volume_XI, State.isSlience ? "Slience_Normal_btn.bmp" : "Sound_normal_btn.bmp");
    ShowStayOnTopPicture();
}

void TQuorelMain_Form::FormActivate(TObject*) {
    // Likewise for an activation that comes after the close began, or after a start-up that stopped before
    // the shared state was there: nothing is opened.
    if (ClosingDown || !SharedStateReady)
        return;
    // The command line's files open after this show step; the activation's work follows the open, as it
    // followed it when the show step opened them itself.
    if (CommandLineOpenPending) {
        activationWaiting_ = true;
        return;
    }
    // Each flag is cleared before its work: that work may show a modal window, and closing it activates this
    // window again, which must not repeat the work.
    if (FirstActivation) {
        FirstActivation = false;
        OpenAtFirstActivation();
    }
    if (!State.DriveCheckPending)
        return;
    if (State.DriveList == nullptr || State.DriveList->Empty()) {
        // With no drive the check stays pending; with DefDriver now empty later activations say nothing.
        if (!State.DefDriver.empty()) {
            State.DefDriver.clear();
            WriteIniString("PlayControl", "DefDriver", "");
            win32::MessageBox(Handle(), "The default cd/dvd driver is not exists!", "Information",
                              win32::MB_OK);
        }
        return;
    }
    State.DriveCheckPending = false;
    if (State.DefDriver.empty())
        return;
    // A drive is its root, which DefDriver begins with (the options dialog stores a drive list entry, which
    // may carry the label): the roots are compared, so that a text that merely begins a root names no drive.
    const std::string wanted = DvdDriveRootOf(State.DefDriver);
    for (const std::string& drive : *State.DriveList)
        if (!wanted.empty() && DvdDriveRootOf(drive) == wanted)
            return;
    if (win32::MessageBox(Handle(),
                          "The default dvd driver " + State.DefDriver + " is invalidate," +
                              " would you like to reset it now?",
                          "Information", win32::MB_YESNO | win32::MB_ICONINFORMATION) == win32::IDYES)
        ShowOptions();
}

void TQuorelMain_Form::QueueCommandLineOpen() {
    if (CommandLineFiles().Empty())
        return;
    // Opening builds and prerolls a media graph, which holds the message loop up for a while: the window is
    // put on the screen first. The fallback is for a window that is not painted (started minimized).
    CommandLineOpenPending = true;
    CallAfterFirstPaint(this, CommandLineOpenFallbackMs, [this] { OpenCommandLineFilesAfterShow(); });
}

void TQuorelMain_Form::OpenCommandLineFilesAfterShow() {
    // A close that came first has freed the lists: nothing is opened.
    if (ClosingDown) {
        CommandLineOpenPending = false;
        return;
    }
    try {
        OpenCommandLineFiles();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    CommandLineOpenPending = false;
    if (ClosingDown)
        return;
    if (activationWaiting_) {
        activationWaiting_ = false;
        FormActivate(this);
    }
}

void TQuorelMain_Form::CloseStep(const std::function<void()>& Step) {
    try {
        Step();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
}

void TQuorelMain_Form::FormClose(TObject*, TCloseAction&) {
    // Every close request comes here (a WM_CLOSE queued behind the first one too), but the teardown runs
    // once: a second one would save from freed lists.
    if (ClosingDown)
        return;
    // Nothing may tick or take a queued message while the state is torn down, and a save error must not
    // stop the rest of the teardown: every step runs, each error is shown.
    ClosingDown = true;
    for (TTimer* timer : {Ctrl_T, RePaint_T, ShowLrc_T})
        timer->SetEnabled(false);
    CloseStep([this] { CloseCompanionWindows(); });
    // The last position was recorded by the progress ticks before they stopped: save first, then stop.
    // A start-up that stopped before the settings were read has nothing to save: its start values would
    // overwrite the stored ones.
    if (SharedStateReady)
        CloseStep([this] { SaveLastStateAndLists(); });
    CloseStep([this] { StopByType(); });
    CloseStep([] {
        // Whatever still plays is released here, so that no pipeline outlives the window.
        if (State.GraphBuilder || State.MediaControl)
            GraphStop();
        if (State.BassStream != 0) {
            bass::BASS_ChannelStop(State.BassStream);
            bass::BASS_StreamFree(State.BassStream);
            State.BassStream = 0;
        }
        State.IsPlaying = false;
        State.IsPaused = false;
    });
    CloseStep([this] {
        if (State.ClearHistoryExit == 1)
            ClearHistory(pHistory);
    });
    CloseStep([this] { FreeSharedLists(); });
    CloseStep([this] { FreeSubItems(pOpendvd); });
    CloseStep([this] { UnregisterBossKey(Handle()); });
    CloseStep([] { FreeUiFont(); });
    // The window goes at once; a minimize just before closing would only flash (and add a tray icon that the
    // next step removes again). Hidden through the class library, so that a close from within the first show
    // does not show it after all.
    CloseStep([this] { Hide(); });
    CloseStep([this] { HideTrayIcon(); });
    CloseStep([] { win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0); });
}

void TQuorelMain_Form::Close_XIClick(TObject*) {
    Close();
}

void TQuorelMain_Form::tExitClick(TObject*) {
    Close();
}

void TQuorelMain_Form::pExitClick(TObject*) {
    win32::SendMessage(Handle(), win32::WM_SYSCOMMAND, win32::SC_MINIMIZE, 0);
    Close();
}
