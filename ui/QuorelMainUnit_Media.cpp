// The media commands of the main window: open files through the open dialog, play an entry of the play
// list, previous and next, play, pause and resume, stop, full screen, the DVD rows of the play-list window,
// and the display after each (caption, time text, timers, enabled buttons and menu items, status text,
// screen saver).

#include "ui/QuorelMainUnit.h"

#include "core/AudioPlayback.h"
#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/History.h"
#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PipLayout.h"
#include "core/PlayListSteps.h"
#include "core/PlaybackState.h"
#include "core/Seeking.h"
#include "core/Settings.h"
#include "core/TagsAndLyrics.h"
#include "core/Transport.h"
#include "core/WindowMessages.h"
#include "core/WindowUtils.h"
#include "platform/win32/Files.h"
#include "platform/win32/ScreenSaver.h"
#include "platform/win32/Window.h"
#include "ui/PlayListFile.h"

using namespace forms;

namespace {

void ScreenSaverAllowed(bool Allowed) {
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, Allowed ? win32::TRUE : win32::FALSE, nullptr, 0);
}

// The program's own text for a file that does not open or play.
constexpr const char* InvalidMediumText = "无效或错误的媒体文件!";

void ShowDvdOpenError() {
    Application().MessageBox("Load Dvd file error!", "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

} // namespace

// --- Display procedures. ---

void TQuorelMain_Form::DisableImages(const TImageArray& Images) {
    for (tximage* image : Images)
        image->SetEnabled(false);
}

void TQuorelMain_Form::EnableImages(const TImageArray& Images) {
    for (tximage* image : Images)
        image->SetEnabled(true);
}

void TQuorelMain_Form::UpdatePrevNextButtons(const TImageArray& Buttons) {
    const int entries = State.PlayListFiles ? State.PlayListFiles->Count() : 0;
    const int chapters = State.DvdChapterList ? State.DvdChapterList->Count() : 0;
    const bool enabled = ((State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Audio) &&
                          entries > 1) ||
                         (State.PlayType == PlayTypes::Dvd && chapters > 1) || State.PlayType == PlayTypes::Pip;
    // The table's order: PlayPause, Stop, Backward, Forward, Previous, Next.
    Buttons[4]->SetEnabled(enabled);
    Buttons[5]->SetEnabled(enabled);
}

void TQuorelMain_Form::EnableTransportIfPlaying() {
    if (!State.IsPlaying)
        return;
    EnableImages(TransportButtons);
    UpdatePrevNextButtons(TransportButtons);
    EnableImages(ProgressBarImages);
    RefreshButtonBitmaps();
}

void TQuorelMain_Form::ShowPausedState() {
    Status_L->SetCaption("暂停");
    Backward_XI->SetEnabled(false);
    Forward_XI->SetEnabled(false);
}

void TQuorelMain_Form::ShowPlayingState() {
    Status_L->SetCaption("播放中");
    EnableImages(TransportButtons);
    UpdatePrevNextButtons(TransportButtons);
}

void TQuorelMain_Form::ShowStoppedState() {
    DisableMenuItems(FileMenuItems);
    DisableMenuItems(PlayMenuItems);
    DisableMenuItems(DvdMenuItems);
    Status_L->SetCaption("准备完毕");
    Time_L->SetCaption("");
    DisableImages(TransportButtons);
    PlayPause_XI->SetEnabled(true);
    SoundPro_XI->SetEnabled(true);
    InvalidateClient(State.VideoPanelHandle);
}

void TQuorelMain_Form::ShowStopped() {
    ShowStoppedState();
    Ctrl_T->SetEnabled(false);
    RePaint_T->SetEnabled(false);
    Capture_XI->SetEnabled(false);
    // In full screen the button stays, as the way back to the window.
    maxmin_xi->SetEnabled(IsFullScreen);
    Mainlogo_I->Show();
    VideoBar_XI->SetLeft(VideoPro_XI->Left());
    VideoGo_XI->SetWidth(0);
    mp3Info_L->Hide();
    Lrc_p->Hide();
    // Also after audio: nothing keeps the screen saver off once nothing plays.
    ScreenSaverAllowed(true);
    // Every stop, the end of a medium's too: the buttons show that nothing plays.
    RefreshButtonBitmaps();
    // "On top while playing" follows the play state, not only the window's size.
    ApplyStayOnTopOrder();
}

// --- Opening. ---

void TQuorelMain_Form::OpenFileDialog() {
    SetMediaFileFilter(*MediaType_OD);
    if (!MediaType_OD->Execute() || MediaType_OD->Files.Empty())
        return;
    State.PlayRate = 1.0;
    StopByType();
    SetPlayList(MediaType_OD->Files);
    ShowId3Text(State.CurrentMediaFile);
    OpenCurrentMedia();
    if (State.PlayListWindowHandle != nullptr)
        win32::PostMessage(State.PlayListWindowHandle, WM_PLAYLIST_RELOAD, 0, 0);
    if (State.IsPlaying)
        PlaceVideoInWindow();
    ShowMediaOpened();
    if (!State.IsPlaying) {
        ReportFailedOpen();
        return;
    }
    FullScreenAtOnce();
}

void TQuorelMain_Form::ReportFailedOpen() {
    Application().MessageBox(InvalidMediumText, "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

bool TQuorelMain_Form::OpenCurrentMedia() {
    if (!win32::FileExists(State.CurrentMediaFile))
        return false;
    if (IsAudioFile(State.CurrentMediaFile)) {
        if (!PlayAudioFile(State.CurrentMediaFile))
            return false;
        AddEqualizerEffects();
        FindLyricsFile();
        return true;
    }
    return OpenMediaFile(State.CurrentMediaFile);
}

void TQuorelMain_Form::PlayPlayListEntry(int Index) {
    // Only an entry of the list: a stale row of the play-list window names none.
    if (Index < 0 || Index >= State.PlayListFiles->Count())
        return;
    StopByType();
    State.PlayRate = 1.0;
    State.PlayListIndex = Index;
    State.CurrentMediaFile = (*State.PlayListFiles)[Index];
    AddFileToHistory(State.CurrentMediaFile);
    ShowId3Text(State.CurrentMediaFile);
    OpenCurrentMedia();
    ShowMediaOpened();
    FullScreenAtOnce();
    // A position that is not a number (a hand-edited list) counts as 0, and so does one at or past the end.
    std::int64_t position = Index < State.PlayListPositions->Count()
                                ? PlayListPositionSeconds((*State.PlayListPositions)[Index])
                                : 0;
    if (position < 0 || position >= MediaSeconds)
        position = 0;
    if (MemoryLastPosSetting == 1)
        GotoSeconds(position);
}

void TQuorelMain_Form::SelectPipFromList(int Index) {
    if (Index != -1 && Index != State.PipMainStream)
        SwapPip();
}

void TQuorelMain_Form::PlayDvdChapterFromList(const std::string& Text) {
    if (!State.DvdControl2 || State.PlayType != PlayTypes::Dvd)
        return;
    int title = 0, chapter = 0;
    ParseChapterText(Text, title, chapter);
    if (title == 0)
        ShowDvdMenu(3);
    else
        DvdPlayChapterInTitle(static_cast<win32::DWORD>(title), static_cast<win32::DWORD>(chapter),
                              dshow::DVD_CMD_FLAG_Flush);
    if (!Ctrl_T->Enabled())
        Ctrl_T->SetEnabled(true);
    State.PlayRate = 1.0;
    Status_L->SetCaption("播放中");
}

void TQuorelMain_Form::OpenDvdAndPlayChapter(const std::string& Text) {
    // A disc that did not open is reported, not shown as playing.
    if (!OpenDvd(State.DvdPath)) {
        ShowDvdOpenError();
        return;
    }
    ShowDvdOpened();
    PlayDvdChapterFromList(Text);
}

void TQuorelMain_Form::ShowMediaOpened() {
    // An open that did not play (a missing or unplayable file) shows the stopped state: no time of an
    // earlier medium, no progress timer, no transport. The caption names the file that was tried, whatever
    // played before it (a disc or a pair would otherwise still be named).
    if (!State.IsPlaying) {
        CurMedia_L->SetCaption(ExtractFileName(State.CurrentMediaFile));
        ShowStopped();
        // The stopped state says why nothing plays.
        Status_L->SetCaption(InvalidMediumText);
        RefreshButtonBitmaps();
        return;
    }
    ShowMediaCaption();
    std::int64_t h = 0, m = 0, s = 0;
    // A reopened pair is shown as a media file is: with its length and the graph's timer.
    if (State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip) {
        RefTimeToHms(h, m, s, State.MediaDuration);
        MediaSeconds = static_cast<int>(h * 3600 + m * 60 + s);
        State.VideoTimeText = HmsText(h, m, s);
        Time_L->SetCaption(HmsText(0, 0, 0) + " / " + State.VideoTimeText);
        Ctrl_T->SetInterval(30);
        Mainlogo_I->Hide();
        mp3Info_L->Hide();
        Lrc_p->Hide();
        Capture_XI->SetEnabled(true);
        maxmin_xi->SetEnabled(true);
    } else if (State.PlayType == PlayTypes::Audio) {
        SecondsToHms(h, m, s, State.AudioSeconds);
        State.AudioTimeText = HmsText(h, m, s);
        Time_L->SetCaption(HmsText(0, 0, 0) + " / " + State.AudioTimeText);
        Ctrl_T->SetInterval(1);
        mp3Info_L->Show();
        Capture_XI->SetEnabled(false);
        maxmin_xi->SetEnabled(false);
        if (IsFullScreen)
            LeaveFullScreenForAudio();
        const bool lyrics = !Lrc_L->Caption().empty();
        Lrc_p->SetVisible(lyrics);
        Mainlogo_I->SetVisible(!lyrics);
    }
    Time_L->SetLeft(Width() - Time_L->Width() - 10);
    Status_L->SetCaption("播放中");
    Ctrl_T->SetEnabled(true);
    EnableMenuItems(FileMenuItems);
    EnableMenuItems(PlayMenuItems);
    EnableImages(TransportButtons);
    UpdatePrevNextButtons(TransportButtons);
    EnableImages(ProgressBarImages);
    ScreenSaverAllowed(false);
    RefreshButtonBitmaps();
    ApplyStayOnTopOrder();
}

void TQuorelMain_Form::ShowDvdOpened() {
    ShowMediaCaption();
    ClearMenus(DvdMenuItems);
    EnableMenuItems(FileMenuItems);
    EnableMenuItems(DvdMenuItems);
    pPreviouschapter->SetEnabled(false);
    pNextchapter->SetEnabled(false);
    Ctrl_T->SetInterval(30);
    Ctrl_T->SetEnabled(true);
    EnableImages(ProgressBarImages);
    EnableImages(TransportButtons);
    UpdatePrevNextButtons(TransportButtons);
    for (tximage* button : {Previous_XI, Backward_XI, Forward_XI, Next_XI})
        button->SetEnabled(false);
    State.LastRefreshedChapterIndex = -1;
    Capture_XI->SetEnabled(true);
    Time_L->SetCaption("");
    Status_L->SetCaption("播放菜单");
    Mainlogo_I->Hide();
    DvdShowSubtitle();
    ScreenSaverAllowed(false);
    RefreshButtonBitmaps();
    ApplyStayOnTopOrder();
}

void TQuorelMain_Form::ShowMediaCaption() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        CurMedia_L->SetCaption(ExtractFileName(State.CurrentMediaFile));
        break;
    case PlayTypes::Pip:
        CurMedia_L->SetCaption(ExtractFileName(State.pipMediaFileA) + "    " + ExtractFileName(State.pipMediaFileB));
        break;
    case PlayTypes::Dvd:
        CurMedia_L->SetCaption("Playing Dvd   " + State.DvdPath);
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::AddFileToHistory(const std::string& FileName) {
    TStringList one;
    one.Add(FileName);
    AddUniqueLines(one, *State.History);
    AddFileNameItems(one, pHistory, this, [this](TObject* Sender) { HistoryItemClick(Sender); });
    SaveHistoryList(*State.History);
}

void TQuorelMain_Form::ShowId3Text(const std::string& FileName) {
    if (!IsAudioFile(FileName))
        return;
    std::string text;
    // A missing file is reported once, by the open that follows it ("无效或错误的媒体文件!"), or only in the
    // status text when a play list goes on past it.
    GetId3Text(FileName, text, false);
    mp3Info_L->SetCaption(text);
}

// --- Stop, pause, play. ---

void TQuorelMain_Form::StopByType() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Dvd:
    case PlayTypes::Pip:
        StopMediaGraph();
        break;
    case PlayTypes::Audio:
        StopAudioFile();
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::StopMediaGraph() {
    GraphStop();
    ShowStopped();
}

void TQuorelMain_Form::StopAudioFile() {
    BassStop();
    ShowStopped();
}

void TQuorelMain_Form::PauseCommand() {
    // Nothing open is not paused.
    if (!State.IsPlaying)
        return;
    if (State.PlayType == PlayTypes::Audio) {
        BassPause();
        ShowLrc_T->SetEnabled(false);
    } else {
        GraphPause();
    }
    Ctrl_T->SetEnabled(false);
    RePaint_T->SetEnabled(true);
    ShowPausedState();
}

void TQuorelMain_Form::ResumeCommand() {
    if (State.PlayType == PlayTypes::Audio) {
        BassPlay();
        ShowLrc_T->SetEnabled(true);
    } else {
        GraphRun();
    }
    Ctrl_T->SetEnabled(true);
    RePaint_T->SetEnabled(false);
    ShowPlayingState();
}

void TQuorelMain_Form::TogglePause() {
    if (State.IsPaused)
        ResumeCommand();
    else
        PauseCommand();
    RefreshButtonBitmaps();
}

void TQuorelMain_Form::PlayPauseCommand() {
    // Nothing open (or stopped): as the play/pause button does, play; never a pause of nothing.
    if (!State.IsPlaying) {
        PlayCommand();
        RefreshButtonBitmaps();
        return;
    }
    if (State.PlayType != PlayTypes::Dvd) {
        TogglePause();
        return;
    }
    State.DvdDomain = GetDvdDomain();
    if (State.DvdDomain == DvdDomains::Title)
        TogglePause();
    else if (State.DvdDomain == DvdDomains::VideoManagerMenu || State.DvdDomain == DvdDomains::TitleSetMenu)
        DvdActivateAtPosition(State.DvdMousePoint, *Ctrl_T);
}

void TQuorelMain_Form::PlayCommand() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        if (State.IsPlaying) {
            ResumeCommand();
        } else if (!State.CurrentMediaFile.empty()) {
            // With no file named (nothing opened yet) there is nothing to open and nothing to report.
            OpenCurrentMedia();
            ShowMediaOpened();
        }
        break;
    case PlayTypes::Pip:
        if (State.IsPlaying) {
            ResumeCommand();
        } else {
            OpenPip(State.pipMediaFileA, State.pipMediaFileB);
            ShowPipOpened();
        }
        break;
    case PlayTypes::Dvd:
        if (State.IsPlaying)
            ResumeCommand();
        else
            DvdRestartTitle();
        if (!State.GraphBuilder) {
            if (!OpenDvd(State.DvdPath)) {
                ShowDvdOpenError();
                return;
            }
            ShowDvdOpened();
            FullScreenAtOnce();
        }
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::PlayPreviousCommand() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        StepAndPlay(2);
        break;
    case PlayTypes::Pip:
        SwapPip();
        break;
    case PlayTypes::Dvd:
        DvdPreviousChapter();
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::PlayNextCommand() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        StepAndPlay(1);
        break;
    case PlayTypes::Pip:
        SwapPip();
        break;
    case PlayTypes::Dvd:
        DvdNextChapter();
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::StepAndPlay(int Direction) {
    if (!State.IsPlaying)
        return;
    StopByType();
    StepPlayListIndex(Direction);
    if (State.PlayListIndex == -1)
        State.PlayListIndex = 0;
    // The list may have lost its entries while the medium played: then there is nothing to go to.
    if (State.PlayListIndex >= State.PlayListFiles->Count())
        return;
    State.CurrentMediaFile = (*State.PlayListFiles)[State.PlayListIndex];
    ShowId3Text(State.CurrentMediaFile);
    OpenCurrentMedia();
    if (State.PlayListWindowHandle != nullptr)
        win32::PostMessage(State.PlayListWindowHandle, WM_PLAYLIST_SETCURRENT, static_cast<win32::WPARAM>(Direction),
                           State.PlayListIndex);
    ShowMediaOpened();
}

void TQuorelMain_Form::FullScreenCommand() {
    // Full screen is always left, also once nothing plays there any more (a medium that ended in it).
    if (!IsFullScreen && (!State.IsPlaying || State.PlayType == PlayTypes::Audio))
        return;
    IgnoreNextVideoMove = true;
    ToggleFullScreen();
}
