// The player's memory from one run to the next: the stored lists "PlayFileList" and "DvdFileList", the last
// medium saved at close and reopened at start, the command line's files and switches, and SetPlayList, the
// one way a set of chosen files becomes the play list.

#include "ui/QuorelMainUnit.h"

#include <functional>
#include <optional>

#include "core/AudioPlayback.h"
#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/History.h"
#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "core/Seeking.h"
#include "core/Settings.h"
#include "core/TagsAndLyrics.h"
#include "platform/win32/Files.h"
#include "platform/win32/ScreenSaver.h"
#include "ui/AutoResumePlayForm.h"
#include "ui/PlayListFile.h"

using namespace forms;

namespace {

constexpr const char* SwitchOpen = "/o";
constexpr const char* SwitchAppend = "/a";

std::string StoredListPath(const char* Name) { return IncludeTrailingSlash(State.ProjectPath) + Name; }

// A stored text that names nothing: empty, or the reader's fallback for a missing key.
std::string StoredText(const char* Section, const char* Key) {
    std::string value = ReadIniString(Section, Key);
    return value == ValueNoFind ? std::string() : value;
}

// Creates an empty file; false when the file was not there (the caller then stops).
bool EnsureEmptyFile(const std::string& Path) {
    if (win32::FileExists(Path))
        return true;
    TStringList().SaveToFile(Path);
    return false;
}

// FileName added to the lines of a stored list as a last line, unless it is empty or a line is just that
// file. It goes in as a whole line with the position "0", as the list is written: a bare path holding "==="
// would be cut there when the lines are read.
void AddPlayListLineOf(TStringList& Lines, const std::string& FileName) {
    if (FileName.empty() || Lines.IndexOf(FileName) >= 0)
        return;
    std::string line = PlayListLine(FileName, "0");
    if (Lines.IndexOf(line) < 0)
        Lines.Add(std::move(line));
}

// A stored resume point that is negative (a missing key reads -1) or at or past the end plays from the start.
// Duration is the medium's length in whole seconds, 0 for one shorter than a second (whose only point is its
// start); without a Duration (not known yet) only a negative point is mended.
std::int64_t ResumeSeconds(std::int64_t Seconds, std::optional<std::int64_t> Duration) {
    return Seconds < 0 || (Duration && Seconds >= *Duration) ? 0 : Seconds;
}

// The resume rule of a reopened medium, by AutoResumePlay: 0 at the stored point, 1 from the start, 2 as the
// resume-choice dialog says (it seeks by itself). Duration is the medium's length in whole seconds (none when
// not known yet); a DVD's title is started by StartTitle with the navigator flag of the case before the seek.
void ApplyResumeRule(std::optional<std::int64_t> Duration,
                     const std::function<void(win32::DWORD Flags)>& StartTitle) {
    switch (State.AutoResumePlay) {
    case AutoResumePlays::AtStoredPosition:
        StartTitle(dshow::DVD_CMD_FLAG_Block);
        State.LastPos = ResumeSeconds(State.LastPos, Duration);
        GotoSeconds(State.LastPos);
        break;
    case AutoResumePlays::FromBeginning:
        StartTitle(dshow::DVD_CMD_FLAG_Flush);
        GotoSeconds(0);
        break;
    case AutoResumePlays::Ask: {
        // The dialog's first item seeks to the stored point: it is mended as for AutoResumePlay 0.
        State.LastPos = ResumeSeconds(State.LastPos, Duration);
        int choice = -1;
        ShowAutoResumePlayDialog(Application().Handle(), State.Language, choice);
        break;
    }
    default:
        break;
    }
}

} // namespace

// --- Start and close. ---

TStringList TQuorelMain_Form::CommandLineFiles() const {
    TStringList files;
    for (const std::string& argument : Arguments())
        if (argument != SwitchOpen && argument != SwitchAppend)
            files.Add(argument);
    return files;
}

void TQuorelMain_Form::OpenCommandLineFiles() {
    const TStringList files = CommandLineFiles();
    if (!files.Empty())
        OpenFilesAsPlayList(files);
}

void TQuorelMain_Form::OpenAtFirstActivation() {
    if (!Arguments().empty()) {
        HandleSwitchArguments();
        return;
    }
    LoadStoredLists();
    ReloadLast();
}

void TQuorelMain_Form::HandleSwitchArguments() {
    if (Arguments().size() != 2)
        return;
    const std::string& file = Arguments()[1];
    // "/o F": the show step has opened F as the play list already; opening it a second time would start it
    // over and toggle full screen back off.
    if (Arguments()[0] == SwitchAppend)
        AppendToStoredPlayList(file);
}

void TQuorelMain_Form::SaveLastStateAndLists() {
    SaveLastState();
    SaveStoredLists();
}

void TQuorelMain_Form::SaveLastState() {
    EnsureIniFile();
    WriteIniInteger("PlayControl", "LastPlayType", State.PlayType);
    const std::int64_t position = State.PlayType == PlayTypes::Audio ? AudioPositionSeconds : PositionSeconds;
    WriteIniInteger("PlayControl", "LastPos", static_cast<std::int32_t>(position));
    // A name holding a line break is not stored: the medium that played is then no last medium (the settings
    // would hold it cut, or broken onto two lines).
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        WriteIniString("PlayControl", "LastMediaFile",
                       FitsOnOneLine(State.CurrentMediaFile) ? State.CurrentMediaFile : std::string());
        break;
    case PlayTypes::Dvd: {
        if (!State.DvdPath.empty() && FitsOnOneLine(State.DvdPath))
            WriteIniString("PlayControl", "LastDvd", State.DvdPath);
        WriteIniInteger("PlayControl", "LastDomain", State.DvdDomain);
        // LastPos is a time in a title: the title goes with it, so that a resume goes on in that title.
        int chapter = 0;
        if (State.DvdDomain == DvdDomains::Title)
            GetCurrentTitleChapter(State.LastDvdTitle, chapter);
        WriteIniInteger("PlayControl", "LastDvdTitle", State.LastDvdTitle);
        break;
    }
    case PlayTypes::Pip:
        if (!State.pipMediaFileA.empty() && !State.pipMediaFileB.empty() &&
            FitsOnOneLine(State.pipMediaFileA) && FitsOnOneLine(State.pipMediaFileB)) {
            WriteIniString("Pip", "pipMediaFileA", State.pipMediaFileA);
            WriteIniString("Pip", "pipMediaFileB", State.pipMediaFileB);
        }
        break;
    default:
        break;
    }
}

// --- The play list. ---

void TQuorelMain_Form::SetPlayList(const TStringList& Files) {
    playListOfThisRun_ = true;
    TStringList work;
    work.Assign(Files);
    State.PlayListFiles->Assign(Files);
    State.PlayListPositions->Clear();
    for (int i = 0; i < Files.Count(); ++i)
        State.PlayListPositions->Add("0");
    AddUniqueLines(work, *State.History);
    AddFileNameItems(work, pHistory, this, [this](TObject* Sender) { HistoryItemClick(Sender); });
    SaveHistoryList(*State.History);
    State.CurrentMediaFile = Files.Empty() ? std::string() : Files[0];
    State.PlayListIndex = 0;
}

void TQuorelMain_Form::OpenFilesAsPlayList(const TStringList& Files) {
    State.CurrentMediaFile = Files[0];
    State.PlayRate = 1.0;
    StopByType();
    SetPlayList(Files);
    ShowId3Text(State.CurrentMediaFile);
    OpenCurrentMedia();
    ShowMediaOpened();
    if (!State.IsPlaying) {
        ReportFailedOpen();
        return;
    }
    FullScreenAtOnce();
}

void TQuorelMain_Form::FindCurrentInPlayList(const TStringList& List) {
    State.PlayListIndex = List.IndexOf(State.CurrentMediaFile);
}

namespace {

// The merge of a stored play list into the history, with the whole history for the new items (existing
// captions are skipped, so the result is the same as passing the new files).
void MergeIntoHistory(TQuorelMain_Form& Form) {
    AddUniqueLines(*State.PlayListFiles, *State.History);
    AddFileNameItems(*State.History, Form.pHistory, &Form, [&Form](TObject* Sender) { Form.HistoryItemClick(Sender); });
    SaveHistoryList(*State.History);
}

} // namespace

void TQuorelMain_Form::LoadStoredPlayList() {
    playListOfThisRun_ = true;
    if (!EnsureEmptyFile(StoredListPath("PlayFileList")))
        return;
    State.PlayListPositions->Clear();
    State.PlayListFiles->Clear();
    State.PlayListLines->LoadFromFile(StoredListPath("PlayFileList"));
    AddPlayListLineOf(*State.PlayListLines, State.CurrentMediaFile);
    AddPlayListEntries(*State.PlayListLines, *State.PlayListFiles, *State.PlayListPositions, true);
    MergeIntoHistory(*this);
}

void TQuorelMain_Form::AppendToStoredPlayList(const std::string& FileName) {
    playListOfThisRun_ = true;
    if (!EnsureEmptyFile(StoredListPath("PlayFileList")))
        return;
    State.PlayListPositions->Clear();
    State.PlayListFiles->Clear();
    State.PlayListLines->LoadFromFile(StoredListPath("PlayFileList"));
    AddPlayListLineOf(*State.PlayListLines, State.CurrentMediaFile);
    AddPlayListLineOf(*State.PlayListLines, FileName);
    AddPlayListEntries(*State.PlayListLines, *State.PlayListFiles, *State.PlayListPositions, false);
    MergeIntoHistory(*this);
    // The file the show step opened goes on playing: it stays the current entry, so that the caption, the
    // saved last medium and the steps through the list start from it, not from the list's first entry.
    FindCurrentInPlayList(*State.PlayListFiles);
}

void TQuorelMain_Form::LoadStoredDvdList() {
    dvdListOfThisRun_ = true;
    if (EnsureEmptyFile(StoredListPath("DvdFileList")))
        State.DvdChapterList->LoadFromFile(StoredListPath("DvdFileList"));
}

void TQuorelMain_Form::LoadStoredLists() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        LoadStoredPlayList();
        break;
    case PlayTypes::Dvd:
        LoadStoredDvdList();
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::SaveStoredPlayList() {
    // A run that neither read the stored list nor made one (a command line of a switch alone loads nothing)
    // leaves the stored list as it is, instead of emptying it.
    if (!playListOfThisRun_ && State.PlayListFiles->Empty())
        return;
    PlayListLinesOf(*State.PlayListFiles, *State.PlayListPositions, *State.PlayListLines);
    State.PlayListLines->SaveToFile(StoredListPath("PlayFileList"));
}

void TQuorelMain_Form::SaveStoredDvdList() {
    if (!dvdListOfThisRun_ && State.DvdChapterList->Empty())
        return;
    State.DvdChapterList->SaveToFile(StoredListPath("DvdFileList"));
}

void TQuorelMain_Form::SaveStoredLists() {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        SaveStoredPlayList();
        break;
    case PlayTypes::Dvd:
        SaveStoredDvdList();
        break;
    default:
        break;
    }
}

// --- Reopening the last medium. ---

void TQuorelMain_Form::ReloadLast() {
    if (ReloadLastSetting == 1) {
        switch (State.PlayType) {
        case PlayTypes::MediaFile:
            ReopenMediaFile();
            break;
        case PlayTypes::Pip:
            ReopenPip();
            break;
        case PlayTypes::Dvd:
            ReopenDvd();
            break;
        case PlayTypes::Audio:
            ReopenAudio();
            break;
        default:
            break;
        }
    } else if (ReloadLastSetting == 0 && State.PlayType == PlayTypes::Dvd) {
        State.DvdPath = StoredText("PlayControl", "LastDvd");
    }
}

void TQuorelMain_Form::ResumeReopenedMedium() {
    ShowMediaCaption();
    PauseCommand();
    std::int64_t h = 0, m = 0, s = 0;
    RefTimeToHms(h, m, s, State.MediaDuration);
    ApplyResumeRule(h * 3600 + m * 60 + s, [](win32::DWORD) {});
    PlayCommand();
    ShowMediaOpened();
    FullScreenAtOnce();
}

void TQuorelMain_Form::ReopenMediaFile() {
    if (!win32::FileExists(State.CurrentMediaFile))
        return;
    FindCurrentInPlayList(*State.PlayListFiles);
    State.PlayRate = 1.0;
    if (IsAudioFile(State.CurrentMediaFile)) {
        std::string text;
        GetId3Text(State.CurrentMediaFile, text);
    }
    OpenCurrentMedia();
    if (State.IsPlaying)
        ResumeReopenedMedium();
    else
        ShowMediaOpened(); // the status text says why nothing plays
}

void TQuorelMain_Form::ReopenPip() {
    State.pipMediaFileA = StoredText("Pip", "pipMediaFileA");
    State.pipMediaFileB = StoredText("Pip", "pipMediaFileB");
    if (!win32::FileExists(State.pipMediaFileA) || !win32::FileExists(State.pipMediaFileB))
        return;
    SetPipPlayList();
    State.PlayRate = 1.0;
    OpenPip(State.pipMediaFileA, State.pipMediaFileB);
    if (State.IsPlaying)
        ResumeReopenedMedium();
}

void TQuorelMain_Form::ReopenDvd() {
    State.DvdPath = StoredText("PlayControl", "LastDvd");
    const int domain = ReadIniInteger("PlayControl", "LastDomain");
    // Sessions that stored no title (and hand-edited values) go on in title 1.
    const int title = ReadIniInteger("PlayControl", "LastDvdTitle");
    State.LastDvdTitle = title >= 1 ? title : 1;
    if (State.DvdPath.empty())
        return;
    // A drive is told from a folder by name, not by the length of a drive root.
    const bool ready = IsDvdDrivePath(State.DvdPath) ? IsDvdDriveReady(State.DvdPath)
                                                     : win32::DirectoryExists(State.DvdPath);
    if (!ready) {
        StopByType();
        return;
    }
    if (!OpenDvd(State.DvdPath)) {
        Application().MessageBox("Load Dvd file error!", "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
        return;
    }
    if (domain == DvdDomains::Title) {
        State.DvdDomain = DvdDomains::Title;
        // The title's length is not known before it plays: the seek keeps within it.
        ApplyResumeRule(std::nullopt, [](win32::DWORD Flags) {
            DvdPlayTitle(static_cast<win32::DWORD>(State.LastDvdTitle), Flags);
        });
    }
    ShowDvdOpened();
    FullScreenAtOnce();
}

void TQuorelMain_Form::ReopenAudio() {
    if (!win32::FileExists(State.CurrentMediaFile))
        return;
    FindCurrentInPlayList(*State.PlayListFiles);
    State.PlayRate = 1.0;
    ShowId3Text(State.CurrentMediaFile);
    OpenCurrentMedia();
    if (State.IsPlaying) {
        State.LastPos = ResumeSeconds(State.LastPos, State.AudioSeconds);
        if (MemoryLastPosSetting == 1)
            SeekAudioSeconds(State.LastPos);
    }
    ShowMediaOpened();
}

// --- The display after a picture-in-picture pair was opened. ---

void TQuorelMain_Form::ShowPipOpened() {
    // A pair that did not open is not shown as playing.
    if (!State.IsPlaying) {
        ShowStopped();
        return;
    }
    ShowMediaCaption();
    std::int64_t h = 0, m = 0, s = 0;
    RefTimeToHms(h, m, s, State.MediaDuration);
    MediaSeconds = static_cast<int>(h * 3600 + m * 60 + s);
    State.VideoTimeText = HmsText(h, m, s);
    Time_L->SetCaption(HmsText(0, 0, 0) + " / " + State.VideoTimeText);
    Status_L->SetCaption("播放中");
    Ctrl_T->SetInterval(30);
    Ctrl_T->SetEnabled(true);
    Capture_XI->SetEnabled(true);
    Time_L->SetLeft(Width() - Time_L->Width() - 10);
    Mainlogo_I->Hide();
    EnableMenuItems(FileMenuItems);
    EnableMenuItems(PlayMenuItems);
    EnableMenuItems(PipMenuItems);
    EnableImages(TransportButtons);
    UpdatePrevNextButtons(TransportButtons);
    EnableImages(ProgressBarImages);
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
    RefreshButtonBitmaps();
    ApplyStayOnTopOrder();
}
