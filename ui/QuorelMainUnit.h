#pragma once
// The skinned main window of the player, TQuorelMain_Form: its components (the form description is the
// constructor), its start-up (InitState, CreateSharedLists, InitUI, FormShow, FormActivate) and its shut-down
// (FormClose). The unit spreads over a few files by concern:
//   QuorelMainUnit.cpp        start-up and shut-down, the shared lists and the control tables
//   QuorelMainUnit_Build.cpp  the components and menus (the form description)
//   QuorelMainUnit_Skin.cpp   the skin buttons' pictures, states and hints
//   QuorelMainUnit_Commands.cpp  the command routes: which menu item, tray item, skin button, label and
//                             video gesture reaches which command, and the handlers that do more than forward
//   QuorelMainUnit_Frame.cpp  layout, resize, dragging, full screen and the frame
//   QuorelMainUnit_Lists.cpp  the command line, the stored lists and reopening the last medium
//   QuorelMainUnit_Media.cpp  the media commands the buttons and menus forward to, and the display after each
//   QuorelMainUnit_Progress.cpp  the progress ticks, the end of a medium and the two knob strips
//   QuorelMainUnit_Dvd.cpp    the DVD commands, the DVD items of the pop-up menu and their submenus
//   QuorelMainUnit_Lyrics.cpp the lyrics display
//   QuorelMainUnit_History.cpp the history submenu: its commands and its entries
//   QuorelMainUnit_Tray.cpp   tray icon, stay-on-top, the radio groups and help items of the menus, the
//                             property command, and closing only after a modal dialog
//   QuorelMainUnit_Keys.cpp   the shortcut commands and the boss key
//   QuorelMainUnit_Messages.cpp  the private window messages, the companion windows and frame capture
//   QuorelMainUnit_Options.cpp   the options dialog and the restart of playback after a change of renderer
//   QuorelMainUnit_Pip.cpp    the picture-in-picture commands and items

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QImage>

#include "platform/forms/ActnList.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "skin/ximage.h"
#include "ui/QuorelMainUnit_Skin.h"

using TImageArray = std::vector<tximage*>;
using TLabelArray = std::vector<forms::TLabel*>;
using TActionArray = std::vector<forms::TAction*>;

// Why the medium at Path cannot be opened, as the message box says it: its name is a link to nothing, a
// folder, a FIFO or a device, or a file that cannot be read. Empty when none of these holds (no entry of
// that name at all, or a readable file).
std::string UnopenableFileText(const std::string& Path);
// What is wrong with the stored video renderer ([Play] RenderType) that a file is opened with; empty when it
// is one the player knows.
std::string BadRendererText(int RenderType);

class TQuorelMain_Form : public forms::TForm {
public:
    // ProgramFile is where the program folders are found (the running program by default); Arguments are
    // the command line's arguments after the program name.
    explicit TQuorelMain_Form(std::string ProgramFile = DefaultProgramFile(),
                              std::vector<std::string> Arguments = CommandLineArguments());
    ~TQuorelMain_Form() override;

    static std::string DefaultProgramFile();
    // The arguments the program was started with, as the program block captured them (SetCommandLine)
    // before the application object took out the options it knows; file names are made absolute, so that a
    // stored last medium still names its file when the program is started from elsewhere.
    static std::vector<std::string> CommandLineArguments();
    static void SetCommandLine(int Argc, char** Argv);
    // The audio library's version as the start-up check reads it (tests force the wrong-version box).
    static std::function<win32::DWORD()> AudioLibraryVersion;

    // --- Components (the form description). ---
    forms::TPanel* Top_P = nullptr;
    forms::TPanel* Left_P = nullptr;
    forms::TPanel* Right_P = nullptr;
    forms::TPanel* Bottom_P = nullptr;
    forms::TPanel* Ctrl_P = nullptr;
    forms::TPanel* Video_P = nullptr;
    forms::TPanel* Lrc_p = nullptr;

    forms::TImage* Topleft_I = nullptr;
    forms::TImage* Topcenter_I = nullptr;
    forms::TImage* Topright_I = nullptr;
    forms::TImage* SmallLogo_I = nullptr;
    forms::TImage* Left_I = nullptr;
    forms::TImage* Right_I = nullptr;
    forms::TImage* Bottom_I = nullptr;
    forms::TImage* Bottomcenter_I = nullptr;
    forms::TImage* Bottomright_I = nullptr;
    forms::TImage* Ctrlleft_I = nullptr;
    forms::TImage* Ctrlcenter_I = nullptr;
    forms::TImage* Ctrlright_I = nullptr;

    tximage* Menu_xi = nullptr;
    tximage* Ontop_xi = nullptr;
    tximage* Min_xi = nullptr;
    tximage* Max_xi = nullptr;
    tximage* Close_xi = nullptr;
    tximage* TopBar_xi = nullptr;
    tximage* PlayPause_XI = nullptr;
    tximage* Stop_XI = nullptr;
    tximage* Previous_XI = nullptr;
    tximage* Next_XI = nullptr;
    tximage* Backward_XI = nullptr;
    tximage* Forward_XI = nullptr;
    tximage* Volume_XI = nullptr;
    tximage* Open_xi = nullptr;
    tximage* Opendvd_xi = nullptr;
    tximage* Capture_XI = nullptr;
    tximage* maxmin_xi = nullptr;
    tximage* Option_XI = nullptr;
    tximage* VideoPro_XI = nullptr;
    tximage* VideoGo_XI = nullptr;
    tximage* VideoBar_XI = nullptr;
    tximage* SoundPro_XI = nullptr;
    tximage* SoundGo_XI = nullptr;
    tximage* SoundBar_XI = nullptr;
    tximage* BottomBar_xi = nullptr;
    tximage* Mainlogo_I = nullptr;

    forms::TLabel* CurMedia_L = nullptr;
    forms::TLabel* PL_L = nullptr;
    forms::TLabel* CL_L = nullptr;
    forms::TLabel* Status_L = nullptr;
    forms::TLabel* Time_L = nullptr;
    forms::TLabel* Volume_L = nullptr;
    forms::TLabel* mp3Info_L = nullptr;
    forms::TLabel* Lrc_L = nullptr;
    forms::TLabel* LightLrc_L = nullptr;
    forms::TLabel* lTime_L = nullptr;
    forms::TLabel* rTime_L = nullptr;
    forms::TPaintBox* FFTBox = nullptr;

    forms::TTimer* Ctrl_T = nullptr;
    forms::TTimer* RePaint_T = nullptr;
    forms::TTimer* ShowLrc_T = nullptr;

    forms::TPopupMenu* Main_Pop = nullptr;
    forms::TMenuItem *pFile = nullptr, *pOpenFile = nullptr, *pOpendvd = nullptr,
                     *pOpendvddirectory = nullptr, *pOpenpictureinpicture = nullptr, *pClose = nullptr,
                     *pHistory = nullptr, *pManageHistory = nullptr, *pClearHistory = nullptr,
                     *pClearHistoryExit = nullptr, *pCapturescreen = nullptr, *pProperty = nullptr,
                     *pExit = nullptr;
    forms::TMenuItem *pPlay = nullptr, *pPlayPause = nullptr, *pStop = nullptr, *pSingleframestep = nullptr,
                     *pPlayPrevious = nullptr, *pPlayNext = nullptr, *pPlaycontrol = nullptr,
                     *pGoto = nullptr, *pForward = nullptr, *pBackward = nullptr, *pAccelerateplay = nullptr,
                     *pDecelerateplay = nullptr, *pNormalplay = nullptr, *pPreviousframe = nullptr,
                     *pNextframe = nullptr, *pAdjustvolumn = nullptr, *pHoistvolume = nullptr,
                     *pDebasevolume = nullptr, *pSlience = nullptr, *pSoundtrack = nullptr,
                     *pStereo = nullptr, *pLefttrack = nullptr, *pRighttrack = nullptr, *pStayontop = nullptr,
                     *pNonever = nullptr, *pAlways = nullptr, *pOnlyplaying = nullptr, *pAfterplay = nullptr,
                     *pShutdown = nullptr, *pDormant = nullptr, *pAfterExit = nullptr, *pDonothing = nullptr,
                     *pBosskey = nullptr, *pOption = nullptr;
    forms::TMenuItem *pDvdnavigate = nullptr, *pPreviouschapter = nullptr, *pNextchapter = nullptr,
                     *pSubpicture = nullptr, *pDublanguage = nullptr, *pAngle = nullptr, *pMainmenu = nullptr,
                     *pTitlemenu = nullptr, *pChaptermenu = nullptr, *pSubpictureMenu = nullptr,
                     *pDubmenu = nullptr, *pAnglemenu = nullptr;
    forms::TMenuItem *pPip = nullptr, *pPipsetup = nullptr, *pPipstandardpos = nullptr, *pLefttop = nullptr,
                     *pRighttop = nullptr, *pLeftbottom = nullptr, *pRightbottom = nullptr,
                     *pCenter = nullptr, *pPicalpha = nullptr, *pPicswap = nullptr, *pPicreverse = nullptr,
                     *pNoreverse = nullptr, *pUpdownreverse = nullptr, *pLeftrightreverse = nullptr,
                     *pCompletereverse = nullptr, *pPicRestore = nullptr;
    forms::TMenuItem *pView = nullptr, *pFullscreen = nullptr, *pCapturelistview = nullptr,
                     *pPlaylistView = nullptr, *pScale = nullptr, *pKeeporiginal = nullptr,
                     *pFillWholeWindow = nullptr, *pScale43 = nullptr, *pScale54 = nullptr,
                     *pScale169 = nullptr, *pRoom = nullptr, *p50 = nullptr, *p100 = nullptr, *p200 = nullptr;
    forms::TMenuItem *pPlaylist = nullptr, *pPlaymode = nullptr, *pNone = nullptr, *pCircleplay = nullptr,
                     *pRandomplay = nullptr, *pCirclesingleplay = nullptr, *pLoadfromfile = nullptr,
                     *pSaveto = nullptr, *pAdd = nullptr, *pClear = nullptr;
    forms::TMenuItem *pHelp = nullptr, *pMainweb = nullptr, *pAbout = nullptr;

    forms::TPopupMenu* TrayPop = nullptr;
    forms::TMenuItem *tShowmainface = nullptr, *tPlayPause = nullptr, *tOption = nullptr, *tExit = nullptr;

    // The open dialog of the open-file command.
    std::unique_ptr<forms::TOpenDialog> MediaType_OD;

    forms::TActionList* Short_AL = nullptr;
    forms::TAction *aOpenFile = nullptr, *aOpenDvdDirectory = nullptr, *aClose = nullptr,
                   *aCaptureScreen = nullptr, *aProperty = nullptr, *aPlayPause = nullptr, *aStop = nullptr,
                   *aSingleFrameStep = nullptr, *aPlayPrevious = nullptr, *aPlayNext = nullptr,
                   *aGoto = nullptr, *aForward = nullptr, *aBackward = nullptr, *aAcceleratePlay = nullptr,
                   *aDeceleratePlay = nullptr, *aNormalPlay = nullptr, *aPreviousFrame = nullptr,
                   *aNextFrame = nullptr, *aHoistVolume = nullptr, *aDebaseVolume = nullptr,
                   *aSlience = nullptr, *aStereo = nullptr, *aLeftTrack = nullptr, *aRightTrack = nullptr,
                   *aBossKey = nullptr, *aOption = nullptr, *aPlayList = nullptr, *aFullScreen = nullptr;

    // --- Tables of controls, filled by FillControlTables; their order is what their users index. ---
    forms::TMenuItemArray FileMenuItems, PlayMenuItems, PipMenuItems, PipReverseMenuItems, ScaleMenuItems,
        ChannelMenuItems, OnTopMenuItems, AfterPlayMenuItems, PlayModeMenuItems, DvdMenuItems,
        CommandMenuItems;
    TImageArray TransportButtons, ProgressBarImages;
    TLabelArray StatusLabels;
    TActionArray CommandActions;

    // --- Start-up and shut-down. ---
    void FormCreate(forms::TObject* Sender);
    void InitState();
    void CreateSharedLists();
    void FreeSharedLists();
    void FillControlTables();
    void InitUI();
    void FormShow(forms::TObject* Sender);
    void FormActivate(forms::TObject* Sender);
    void FormClose(forms::TObject* Sender, forms::TCloseAction& Action);
    void Close_XIClick(forms::TObject* Sender);
    void tExitClick(forms::TObject* Sender);
    void pExitClick(forms::TObject* Sender);

    // --- Skin pictures and hints (QuorelMainUnit_Skin.cpp). ---
    void RefreshButtonBitmaps();
    void ApplyHints();
    // Shows SkinPath + FileName on Button. A missing or broken file leaves the old picture and is reported
    // once (the class library's error, by the default error box): it never stops what the button does.
    void LoadSkinBitmap(forms::TImage* Button, const std::string& FileName);
    // The variant of Button's pictures that the state gives now (QuorelMainUnit_Skin.h).
    int SkinVariant(const tximage* Button) const;
    // The picture the state rule loads on Event, if any; the Normal picture of the state now.
    void ShowSkinPicture(tximage* Button, TSkinEvent Event);
    void ShowNormalPicture(tximage* Button);

    // --- Command routes (QuorelMainUnit_Commands.cpp). ---
    void Main_PopPopup(forms::TObject* Sender);
    void pOpenFileClick(forms::TObject* Sender);
    void pCloseClick(forms::TObject* Sender);
    void pPlayPauseClick(forms::TObject* Sender);
    void pStopClick(forms::TObject* Sender);
    void pSingleframestepClick(forms::TObject* Sender);
    void pPlayPreviousClick(forms::TObject* Sender);
    void pPlayNextClick(forms::TObject* Sender);
    void pGotoClick(forms::TObject* Sender);
    void pForwardClick(forms::TObject* Sender);
    void pBackwardClick(forms::TObject* Sender);
    void pAccelerateplayClick(forms::TObject* Sender);
    void pDecelerateplayClick(forms::TObject* Sender);
    void pNormalplayClick(forms::TObject* Sender);
    void pNextframeClick(forms::TObject* Sender);
    void pHoistvolumeClick(forms::TObject* Sender);
    void pDebasevolumeClick(forms::TObject* Sender);
    void pSlienceClick(forms::TObject* Sender);
    void pOptionClick(forms::TObject* Sender);
    void pFullscreenClick(forms::TObject* Sender);
    void Min_XIClick(forms::TObject* Sender);
    void Max_XIClick(forms::TObject* Sender);
    void Menu_xiClick(forms::TObject* Sender);
    void Ontop_xiClick(forms::TObject* Sender);
    void Open_xiClick(forms::TObject* Sender);
    void Opendvd_xiMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                           int X, int Y);
    void PlayPause_XIMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                             int X, int Y);
    void Stop_XIMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                        int Y);
    void Previous_XIClick(forms::TObject* Sender);
    void Next_XIClick(forms::TObject* Sender);
    void Backward_XIClick(forms::TObject* Sender);
    void Forward_XIClick(forms::TObject* Sender);
    void maxmin_xiClick(forms::TObject* Sender);
    void Option_XIClick(forms::TObject* Sender);
    void Volume_XIClick(forms::TObject* Sender);
    void VideoBar_XIMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                              int X, int Y);
    void VideoBar_XIMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                            int X, int Y);
    void SoundBar_XIMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                              int X, int Y);
    void SoundBar_XIMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                            int X, int Y);
    // The video panel and the logo on it share these.
    void Video_PClick(forms::TObject* Sender);
    void Video_PDblClick(forms::TObject* Sender);
    void Video_PMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                          int Y);
    void Video_PMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                        int Y);
    void Video_PMouseMove(forms::TObject* Sender, forms::TShiftState Shift, int X, int Y);

    // --- Frame (QuorelMainUnit_Frame.cpp). ---
    void EnableDoubleBuffering();
    void InitialLayout();
    void LayoutControls();
    void LayoutLyricsPanel();
    void RepaintFrame();
    void ResizeByBorder(forms::TShiftState Shift, int Mode);
    void FormResize(forms::TObject* Sender);
    // The window on top of others or not, by [Play] StayOnTop and whether something plays; a window of the
    // screen's size never is. At every resize and every change of the play state (open, stop, end).
    void ApplyStayOnTopOrder();
    void FormCanResize(forms::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void Topcenter_IMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                              int X, int Y);
    void Topcenter_IDblClick(forms::TObject* Sender);
    // The title strip's move and release: the system move starts once the pointer has moved a few pixels with
    // the button held, so that a double click still arrives.
    void Topcenter_IMouseMove(forms::TObject* Sender, forms::TShiftState Shift, int X, int Y);
    void Topcenter_IMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                            int X, int Y);
    void TopBar_xiMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                            int X, int Y);
    void TopBar_xiMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                          int Y);
    void Video_PResize(forms::TObject* Sender);
    void RePaint_TTimer(forms::TObject* Sender);
    void ToggleFullScreen();
    void FullScreenAtOnce();
    void LeaveFullScreenForAudio();
    // Keys the window's controls leave: Escape leaves full screen.
    void FormKeyDown(forms::TObject* Sender, std::uint16_t& Key, forms::TShiftState Shift);

    // --- Command line, stored lists and the last medium (QuorelMainUnit_Lists.cpp). ---
    // The arguments that are files: all but the switches "/o" and "/a".
    forms::TStringList CommandLineFiles() const;
    void OpenCommandLineFiles();
    void OpenAtFirstActivation();
    void HandleSwitchArguments();
    // Virtual so that tests can make the save fail.
    virtual void SaveLastStateAndLists();
    void SaveLastState();
    void SetPlayList(const forms::TStringList& Files);
    void OpenFilesAsPlayList(const forms::TStringList& Files);
    void AppendToStoredPlayList(const std::string& FileName);
    void FindCurrentInPlayList(const forms::TStringList& List);
    void LoadStoredPlayList();
    void LoadStoredDvdList();
    void LoadStoredLists();
    void SaveStoredPlayList();
    void SaveStoredDvdList();
    void SaveStoredLists();
    void ReloadLast();
    // The reopen of the last medium is marked in the settings while it opens, so that a medium that takes the
    // program down as it opens is not opened again at every start: false when the mark says the last medium
    // did so (that start then says so, once).
    bool LastMediumMayReopen();
    // Runs Open, the open step of a reopen, with the mark set.
    void OpenMarked(const std::function<void()>& Open);
    // A medium opened: a mark that kept the last medium from reopening no longer holds.
    void ForgetReloadMark();
    void ReopenMediaFile();
    void ReopenPip();
    void ReopenDvd();
    void ReopenAudio();
    void ShowPipOpened();
    // Tells the play-list window, when it exists, to show the rows of what was just opened
    // (WM_PLAYLIST_RELOAD).
    void ReloadPlayListWindow();

    // --- Media commands and the display after them (QuorelMainUnit_Media.cpp). ---
    void DisableImages(const TImageArray& Images);
    void EnableImages(const TImageArray& Images);
    void UpdatePrevNextButtons(const TImageArray& Buttons);
    void EnableTransportIfPlaying();
    void ShowPausedState();
    void ShowPlayingState();
    void ShowStoppedState();
    void OpenFileDialog();
    // True when the current medium now plays.
    bool OpenCurrentMedia();
    void PlayPlayListEntry(int Index);
    void SelectPipFromList(int Index);
    void PlayDvdChapterFromList(const std::string& Text);
    void OpenDvdAndPlayChapter(const std::string& Text);
    void ShowMediaOpened();
    void ShowDvdOpened();
    void ShowMediaCaption();
    void AddFileToHistory(const std::string& FileName);
    void ShowId3Text(const std::string& FileName);
    void StopByType();
    void StopMediaGraph();
    void StopAudioFile();
    void PauseCommand();
    void ResumeCommand();
    void TogglePause();
    void PlayPauseCommand();
    void PlayCommand();
    void PlayPreviousCommand();
    void PlayNextCommand();
    void StepAndPlay(int Direction);
    void FullScreenCommand();
    void ShowOptions();

    // --- Progress ticks, the end of a medium and the knob strips (QuorelMainUnit_Progress.cpp). ---
    void Ctrl_TTimer(forms::TObject* Sender);
    void VideoTick();
    void AudioTick();
    void PipTick();
    void DvdTick();
    // What the end of a medium leads to, by play type and play mode.
    void RepeatCurrentEntry();
    void PlayNextEntry();
    void PlayRandomEntry();
    void UpdatePositionKnob();
    void SeekFromPositionKnob();
    void VideoBar_XIMouseMove(forms::TObject* Sender, forms::TShiftState Shift, int X, int Y);
    void VideoPro_XIMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                              int X, int Y);
    void SoundBar_XIMouseMove(forms::TObject* Sender, forms::TShiftState Shift, int X, int Y);
    void SoundPro_XIMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                              int X, int Y);
    void SoundPro_XIMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                            int X, int Y);

    // --- DVD commands and the DVD items of the pop-up menu (QuorelMainUnit_Dvd.cpp). ---
    void OpenDvdFolderCommand();
    void OpenDvdAndShow(const std::string& Path);
    void pOpendvddirectoryClick(forms::TObject* Sender);
    void pPreviouschapterClick(forms::TObject* Sender);
    void pNextchapterClick(forms::TObject* Sender);
    void pMainmenuClick(forms::TObject* Sender);
    void pTitlemenuClick(forms::TObject* Sender);
    void pChaptermenuClick(forms::TObject* Sender);
    void pSubpictureMenuClick(forms::TObject* Sender);
    void pDubmenuClick(forms::TObject* Sender);
    void pAnglemenuClick(forms::TObject* Sender);
    // The disc's menu MenuId, from its item; a paused disc plays on (PlayPausedDvd).
    void ShowDiscMenu(int MenuId);
    // A disc's menu is used while the disc plays: its buttons light up under the pointer only then. The
    // commands that take the disc to a menu, to a menu button's target or to a chapter play a paused disc.
    void PlayPausedDvd();
    // The subtitle, audio and angle submenus, made at each pop-up of Main_Pop while a DVD plays.
    void BuildDvdPopupMenus();
    void DvdSubpictureOffClick(forms::TObject* Sender);
    void DvdSubpictureClick(forms::TObject* Sender);
    void DvdAudioStreamClick(forms::TObject* Sender);
    void DvdAngleClick(forms::TObject* Sender);

    // --- Lyrics display (QuorelMainUnit_Lyrics.cpp). ---
    // One step of the lyrics with the audio position Seconds (two decimals), from each audio tick.
    void LyricsStep(double Seconds);
    // After a re-layout, which puts Lrc_L back 20 pixels below the middle: the text where the audio's
    // position puts it, also while paused (no tick would move it) and before the first line.
    void PlaceLyricsAtPosition();
    // Looks for the lyrics of the audio file just opened (LrcFileName in the lyrics folder).
    void FindLyricsFile();
    void LoadLyricsFile(const std::string& FileName);
    void ShowLrc_TTimer(forms::TObject* Sender);
    void Lrc_LMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                        int Y);
    void Lrc_LMouseMove(forms::TObject* Sender, forms::TShiftState Shift, int X, int Y);
    void Lrc_LMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                      int Y);
    void BeginLyricsDrag(int Y);
    void DragLyrics(forms::TShiftState Shift, int Y);
    // The height of one lyrics line in Lrc_L's font, measured at load; the drag's target in whole seconds;
    // the grey last given to LightLrc_L; the label-relative Y of the press that started the drag.
    int LrcLineHeight = 1;
    std::int64_t LrcSeekSeconds = 0;
    int LrcGreyLevel = 0;
    int LrcDragStartY = 0;

    // --- History submenu (QuorelMainUnit_History.cpp). ---
    void pManageHistoryClick(forms::TObject* Sender);
    void pClearHistoryClick(forms::TObject* Sender);
    void pClearHistoryExitClick(forms::TObject* Sender);
    // Plays the path that the clicked entry item carries.
    void HistoryItemClick(forms::TObject* Sender);

    // --- Tray, stay-on-top, the radio groups and help items of the menus, the property command
    // (QuorelMainUnit_Tray.cpp). ---
    void SysCommandMessage(forms::TMessage& Message);
    // Adds the tray icon; false when there is no notification area or no icon picture.
    bool ShowTrayIcon();
    void HideTrayIcon();
    // Hides the window behind the tray icon; with no icon shown, the window stays minimized as it is.
    void MinimizeToTray();
    void TrayIconMessage(forms::TMessage& Message);
    void tShowmainfaceClick(forms::TObject* Sender);
    void tPlayPauseClick(forms::TObject* Sender);
    void tOptionClick(forms::TObject* Sender);
    void PopupUnderButton(forms::TImage* Button, forms::TPopupMenu* Menu);
    void CycleStayOnTop();
    // The hint of the stay-on-top button for the current mode.
    void SetOnTopHint();
    // The stay-on-top button's Normal picture for the current mode (none for a mode outside 0 to 2).
    void ShowStayOnTopPicture();
    void ChannelMenuClick(forms::TObject* Sender);
    void OnTopMenuClick(forms::TObject* Sender);
    void AfterPlayMenuClick(forms::TObject* Sender);
    void ScaleMenuClick(forms::TObject* Sender);
    void PlayModeMenuClick(forms::TObject* Sender);
    void OpenDvdDriveMenuClick(forms::TObject* Sender);
    void pMainwebClick(forms::TObject* Sender);
    void pAboutClick(forms::TObject* Sender);
    void pPropertyClick(forms::TObject* Sender);
    // WM_CLOSE: a close asked for while a modal dialog is open (the after-play exit of a medium that ended
    // under it) waits until the dialog has returned, so that nothing the dialog's caller uses is freed under
    // it.
    void CloseMessage(forms::TMessage& Message);

    // --- Shortcut commands and the boss key (QuorelMainUnit_Keys.cpp). ---
    // WM_HOTKEY: the boss key's id toggles it, other ids are ignored.
    void HotKeyMessage(forms::TMessage& Message);
    void pBosskeyClick(forms::TObject* Sender);

    // --- Window messages, the companion windows and frame capture (QuorelMainUnit_Messages.cpp). ---
    // Binds the message handlers and the two labels' press and release (their clicks are routes).
    void BindCompanions();
    void WMPlayDvdChapter(forms::TMessage& Message);
    void WMOpenDvdChapter(forms::TMessage& Message);
    void WMPlayItem(forms::TMessage& Message);
    void WMPipItem(forms::TMessage& Message);
    void WMCaptureRequest(forms::TMessage& Message);
    void WMItemDeleted(forms::TMessage& Message);
    void WMListCleared(forms::TMessage& Message);
    void WMListFileLoaded(forms::TMessage& Message);
    void PL_LClick(forms::TObject* Sender);
    void PL_LMouseEnter(forms::TObject* Sender);
    void PL_LMouseLeave(forms::TObject* Sender);
    void PL_LMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                       int Y);
    void PL_LMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                     int Y);
    void CL_LClick(forms::TObject* Sender);
    void CL_LMouseEnter(forms::TObject* Sender);
    void CL_LMouseLeave(forms::TObject* Sender);
    void CL_LMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                       int Y);
    void CL_LMouseUp(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift, int X,
                     int Y);
    // The play-list menu items: the play-list window's Load, Save as, Add and Empty (while it exists).
    void pLoadfromfileClick(forms::TObject* Sender);
    void pSavetoClick(forms::TObject* Sender);
    void pAddClick(forms::TObject* Sender);
    void pClearClick(forms::TObject* Sender);
    void RemovePlayListEntry(int Index);
    void ClearPlayList();
    void ShowCaptureWindow();
    void Capture_XIClick(forms::TObject* Sender);
    void pCapturescreenClick(forms::TObject* Sender);
    void CaptureByType();
    // The frame the media file shows: Target := the capture name and Picture := the frame, or Target empty.
    void CaptureFrame(std::string& Target, QImage& Picture);
    void CaptureMediaFrame();
    // The frame of one file of the pair: Target and Picture are set on success only.
    void CapturePipFile(const std::string& FileName, std::string& Target, QImage& Picture);
    void CapturePipFrames();
    // At the close, while the lists are still there: the capture-list window's question about unsaved
    // captures, then both companion windows go.
    void CloseCompanionWindows();
    // Where the companion windows were created; they return there when shown again.
    win32::RECT PlayListWindowBounds{};
    win32::RECT CaptureWindowBounds{};

    // --- The command line's open after the first show (QuorelMainUnit.cpp). ---
    // The show step queues OpenCommandLineFiles until the window was first painted (at most this long when it
    // is not painted); until the open has run, CommandLineOpenPending is set and activations wait for it.
    static constexpr int CommandLineOpenFallbackMs = 300;
    void QueueCommandLineOpen();
    void OpenCommandLineFilesAfterShow();
    bool CommandLineOpenPending = false;

    // --- Picture-in-picture commands and items (QuorelMainUnit_Pip.cpp). ---
    // The video panel's guard of the small picture's cursor (the items' routes are bound with the others).
    void BindPip();
    void OpenPipCommand();
    // The pair pipMediaFileA, pipMediaFileB becomes the play list (SetPlayList).
    void SetPipPlayList();
    void pOpenpictureinpictureClick(forms::TObject* Sender);
    void pLefttopClick(forms::TObject* Sender);
    void pRighttopClick(forms::TObject* Sender);
    void pLeftbottomClick(forms::TObject* Sender);
    void pRightbottomClick(forms::TObject* Sender);
    void pCenterClick(forms::TObject* Sender);
    void pPicswapClick(forms::TObject* Sender);
    void pNoreverseClick(forms::TObject* Sender);
    void pUpdownreverseClick(forms::TObject* Sender);
    void pLeftrightreverseClick(forms::TObject* Sender);
    void pPicRestoreClick(forms::TObject* Sender);
    // The setup dialog at its position page (only while a pair plays) and at its parameter page.
    void pPipsetupClick(forms::TObject* Sender);
    void pPicalphaClick(forms::TObject* Sender);
    // The pPip items enabled only while a pair plays, the small picture's orientation checked.
    void UpdatePipMenus();

    // --- Private fields of the window. ---
    bool FirstActivation = false;
    bool IsFullScreen = false;
    int WasMaximized = 0;
    // The window's rectangle when full screen was entered, which leaving it gives back.
    win32::RECT FullScreenFrom{};
    win32::POINT DragOrigin;
    int ReloadLastSetting = 0;
    int MemoryLastPosSetting = 0;
    int MediaSeconds = 0;
    std::int64_t PositionSeconds = 0;
    std::int64_t AudioPositionSeconds = 0;
    bool PopupShown = false;
    // A drag of the lyrics text is in progress (the audio tick then leaves the lyrics alone).
    bool LrcDragging = false;
    // Set by the full-screen command: the next mouse move over the video is not taken as a drag.
    bool IgnoreNextVideoMove = false;
    // Set at the start of FormClose: from then on the window takes no more private messages, and a further
    // close request does nothing.
    bool ClosingDown = false;
    // Set by FormCreate once InitState has read the settings and the shared lists exist. Until then the
    // window shows, opens and saves nothing (a start-up that stopped on an error closes at its first show).
    bool SharedStateReady = false;

    const std::vector<std::string>& Arguments() const { return arguments_; }

protected:
    bool event(QEvent* Event) override;
    // A minimize by the window manager (from the task bar) goes to the tray as the minimize button's does.
    void changeEvent(QEvent* Event) override;

private:
    void BuildComponents();
    void BuildMenus();
    void BuildActions();
    void BindRoutes();
    void BindSkinButtons();
    void BindFrame();
    void BindProgress();
    void BindTray();
    void BindKeys();
    void BindLyrics();
    // Lrc_L's target line and second for its place during a drag, and the two time labels.
    void ShowLyricsDragTarget();
    // No lyrics: the lists emptied, the scroll timer off, Lrc_L hidden and empty.
    void ClearLyrics();
    // The end of a medium by its play type and play mode (Played: the medium had a length to play).
    void EndOfMedium(bool Played);
    // Stops what ended: the knob and the time text go, the timer stops, then the stop of the play type; with
    // AfterPlay the after-play action follows.
    void StopAtEnd(bool AfterPlay);
    // The continuations: entry PlayListIndex (after-play when there is none), and the open of
    // CurrentMediaFile with the display after it.
    void PlayEntryAtIndex();
    // True when the medium now plays.
    bool OpenContinuation();
    // Knob at Offset pixels from the track's start (the fill 4 pixels further), or back at the start.
    void PlacePositionKnob(int Offset);
    void ResetPositionKnob();
    // Time_L := H:MM:SS + " / " + Total, kept 10 pixels from the right edge; nothing changes while the text
    // stays the same.
    void ShowProgressTime(std::int64_t H, std::int64_t M, std::int64_t S, const std::string& Total);
    void LayoutSteps(bool Initial);
    // The display of the stopped state after a stop, or after an open that did not play.
    void ShowStopped();
    // The resume rule of a reopened media file or pair, once it plays.
    void ResumeReopenedMedium();
    // Shows the frame panels and the menu items that full screen hides.
    void ShowFrameAgain();
    // Shows Ctrl_P at the bottom and Bottom_P directly above it.
    void ShowBottomStrips();
    // Leaves full screen for the state the window had before it (maximized or normal).
    void LeaveFullScreen();
    // Two percent up (1) or down (2), knob and level in step.
    void StepVolumeCommand(int Direction);
    // The rate commands: PlayFaster or PlaySlower on PlayRate, with their status text.
    void RateCommand(bool Faster);
    // Shows the state after a frame step (which leaves a playing medium paused).
    void FrameStepCommand();
    // Runs Step; an error it raises is shown by the default error box and the close goes on.
    void CloseStep(const std::function<void()>& Step);

    // --- Opens that fail (QuorelMainUnit_Media.cpp). ---
    // The message box after a file the user opened by hand (open dialog, command line) did not play.
    void ReportFailedOpen();
    // Whether the stored last medium Path is a file to reopen; when something else is in its place, a box
    // says what.
    bool StoredMediumIsAFile(const std::string& Path);

    std::string programFile_;
    std::vector<std::string> arguments_;
    // The time text being built by a tick; its room is kept, so that a tick allocates nothing.
    std::string progressText_;
    // What the time text shows (hours, minutes, seconds, the length): it is built again only when one
    // changes.
    std::int64_t progressShown_[3] = {-1, -1, -1};
    std::string progressTotal_;
    // The disc path the DVD tick last asked about and whether it names a drive: finding that out reads the
    // machine's list of drives, far too much for every tick.
    std::string tickedDvdPath_;
    bool tickedDvdPathIsDrive_ = false;
    // The audio tick runs a hundred times a second but shows a change only when the rounded second does
    // (the knob follows that second): the stream's byte positions from the last full tick up to the next
    // second's boundary, within which a tick reads the position and is done.
    struct QuietAudioSpan {
        std::uint32_t stream = 0;
        std::uint64_t from = 0, to = 0;
    } quietAudio_;
    // An activation came while the command line's open was pending: it runs once the open is done.
    bool activationWaiting_ = false;
    bool driveCheckRunning_ = false; // the default drive's question (and the options dialog) is up
    // The play list and the DVD chapter list were read from their stored files, or made, in this run: only
    // then may the close write an empty list over the stored one.
    bool playListOfThisRun_ = false;
    bool dvdListOfThisRun_ = false;
    // The stored file was there but could not be read: the close never writes over it, whatever the list
    // holds by then.
    bool playListUnread_ = false;
    bool dvdListUnread_ = false;
    // Whether the settings hold a reopen mark (unknown until read); the reopen's open step runs.
    std::optional<bool> reloadMarked_;
    bool reopening_ = false;
    // Skin files already reported missing or broken.
    std::set<std::string> reportedSkinFiles_;
    // A press on the title strip waits for the pointer to move before the window moves with it.
    bool titleDragPending_ = false;
    win32::POINT titleDragFrom_;
    // The tray icon's picture, loaded at the first minimize to the tray and kept; whether the icon is shown.
    forms::TPicture trayIcon_;
    bool trayIconShown_ = false;
    // Set while a minimize command minimizes the window itself (its state change is no minimize from
    // outside).
    bool minimizing_ = false;
};

// The one main window of the program (set by the program block).
extern TQuorelMain_Form* QuorelMain_Form;
