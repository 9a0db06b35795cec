// The private window messages the main window takes from the companion windows, the routes that show the
// play-list and capture-list windows, the play-list window's changes to the shared lists, and frame capture.

#include "ui/QuorelMainUnit.h"

#include <algorithm>

#include "core/FrameCapture.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowMessages.h"
#include "platform/win32/Window.h"
#include "ui/CaptureForm.h"
#include "ui/ListForm.h"

using namespace forms;

namespace {

constexpr int PlayListWidth = 200;
constexpr int CaptureListWidth = 170;

void ShowAgainAt(win32::HWND Handle, const win32::RECT& Bounds) {
    win32::ShowWindow(Handle, win32::SW_SHOW);
    win32::SetForegroundWindow(Handle);
    win32::SetWindowPos(Handle, win32::HWND_TOPMOST, Bounds.left, Bounds.top, Bounds.right - Bounds.left,
                        Bounds.bottom - Bounds.top, win32::SWP_NOACTIVATE);
}

// A capture name no file and no thumbnail (shown or on its way) holds.
std::string NextCaptureName(const std::string& Folder) {
    return NewCaptureName(Folder, [](const std::string& Name) {
        return (CaptureListForm != nullptr && CaptureListForm->HoldsCapture(Name)) ||
               CapturedFrames.Any([&](const TCapturedFrame& Frame) { return SameText(Frame.Name, Name); });
    });
}

} // namespace

void TQuorelMain_Form::BindCompanions() {
    SetMessageHandler(WM_PLAYLIST_PLAYDVDCHAPTER, [this](TMessage& M) { WMPlayDvdChapter(M); });
    SetMessageHandler(WM_PLAYLIST_OPENDVDCHAPTER, [this](TMessage& M) { WMOpenDvdChapter(M); });
    SetMessageHandler(WM_PLAYLIST_PLAYITEM, [this](TMessage& M) { WMPlayItem(M); });
    SetMessageHandler(WM_PLAYLIST_PIPITEM, [this](TMessage& M) { WMPipItem(M); });
    SetMessageHandler(WM_CAPTURELIST_CAPTURE, [this](TMessage& M) { WMCaptureRequest(M); });
    SetMessageHandler(WM_PLAYLIST_ITEMDELETED, [this](TMessage& M) { WMItemDeleted(M); });
    SetMessageHandler(WM_PLAYLIST_CLEARED, [this](TMessage& M) { WMListCleared(M); });
    SetMessageHandler(WM_PLAYLIST_FILELOADED, [this](TMessage& M) { WMListFileLoaded(M); });

    PL_L->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        PL_LMouseDown(S, B, Sh, X, Y);
    };
    PL_L->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        PL_LMouseUp(S, B, Sh, X, Y);
    };
    CL_L->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        CL_LMouseDown(S, B, Sh, X, Y);
    };
    CL_L->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        CL_LMouseUp(S, B, Sh, X, Y);
    };
}

// --- Messages of the play-list and capture-list windows. ---

namespace {

// The row text that came with a DVD row's message; the shared variable for a message that carries none.
std::string RowTextOf(const TMessage& Message) {
    std::optional<std::string> text = ListTextParcels.Take(Message.LParam);
    return text ? *text : State.SelectedListText;
}

} // namespace

void TQuorelMain_Form::WMPlayDvdChapter(TMessage& Message) {
    PlayDvdChapterFromList(RowTextOf(Message));
}

void TQuorelMain_Form::WMOpenDvdChapter(TMessage& Message) {
    OpenDvdAndPlayChapter(RowTextOf(Message));
}

void TQuorelMain_Form::WMPlayItem(TMessage& Message) {
    PlayPlayListEntry(static_cast<int>(Message.LParam));
}

void TQuorelMain_Form::WMPipItem(TMessage& Message) {
    SelectPipFromList(static_cast<int>(Message.LParam));
}

void TQuorelMain_Form::WMCaptureRequest(TMessage&) {
    ShowCaptureWindow();
    CaptureByType();
}

void TQuorelMain_Form::WMItemDeleted(TMessage& Message) {
    RemovePlayListEntry(static_cast<int>(Message.LParam));
}

void TQuorelMain_Form::WMListCleared(TMessage&) {
    ClearPlayList();
}

void TQuorelMain_Form::WMListFileLoaded(TMessage&) {
    StopByType();
    State.PlayType = PlayTypes::MediaFile;
    CurMedia_L->SetCaption("");
    // The current file is in the loaded list (the load puts it there): the index names it again.
    State.PlayListIndex =
        State.CurrentMediaFile.empty() ? -1 : State.PlayListFiles->IndexOf(State.CurrentMediaFile);
}

// --- The play-list window. ---

void TQuorelMain_Form::PL_LClick(TObject*) {
    if (PlayListForm != nullptr) {
        ShowAgainAt(State.PlayListWindowHandle, PlayListWindowBounds);
        State.PlayListVisible = true;
        return;
    }
    PlayListForm = new TList_Form(this);
    int left = 10, top = 120, height = 430;
    if (Left() > PlayListWidth && Height() < Screen().Height()) {
        top = Top();
        left = Left() - PlayListWidth;
        height = Height();
    }
    PlayListForm->SetBounds(left, top, PlayListWidth, height);
    PlayListWindowBounds = {left, top, left + PlayListWidth, top + height};
    // Shown as the active window, as a newly shown window is: its first activation builds the rows.
    PlayListForm->BringToFrontAndActivate();
    State.PlayListVisible = true;
    State.PlayListWindowHandle = PlayListForm->Handle();
}

void TQuorelMain_Form::PL_LMouseEnter(TObject*) {
    PL_L->Font().SetColor(cl3DLight);
}

void TQuorelMain_Form::PL_LMouseLeave(TObject*) {
    PL_L->Font().SetColor(static_cast<TColor>(State.LightGreyColor));
}

void TQuorelMain_Form::PL_LMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    PL_L->SetTop(PL_L->Top() + 1);
}

void TQuorelMain_Form::PL_LMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    PL_L->SetTop(PL_L->Top() - 1);
}

void TQuorelMain_Form::pLoadfromfileClick(TObject*) {
    if (PlayListForm != nullptr)
        win32::SendMessage(State.PlayListWindowHandle, WM_PLAYLIST_LOADFILE, 0, 0);
}

void TQuorelMain_Form::pSavetoClick(TObject*) {
    if (PlayListForm != nullptr)
        win32::SendMessage(State.PlayListWindowHandle, WM_PLAYLIST_SAVEFILE, 0, 0);
}

void TQuorelMain_Form::pAddClick(TObject*) {
    if (PlayListForm != nullptr)
        win32::SendMessage(State.PlayListWindowHandle, WM_PLAYLIST_ADDFILES, 0, 0);
}

void TQuorelMain_Form::pClearClick(TObject*) {
    if (PlayListForm != nullptr)
        win32::SendMessage(State.PlayListWindowHandle, WM_PLAYLIST_CLEAR, 0, 0);
}

void TQuorelMain_Form::RemovePlayListEntry(int Index) {
    // The window refuses Delete for a DVD or a pair; an index that names no entry changes nothing.
    if (State.PlayType == PlayTypes::Dvd || State.PlayType == PlayTypes::Pip)
        return;
    if (Index < 0 || Index >= State.PlayListFiles->Count())
        return;
    if ((*State.PlayListFiles)[Index] == State.CurrentMediaFile) {
        StopByType();
        State.CurrentMediaFile.clear();
        CurMedia_L->SetCaption("");
    }
    State.PlayListFiles->Delete(Index);
    if (Index < State.PlayListPositions->Count())
        State.PlayListPositions->Delete(Index);
    // The index keeps naming the current entry: one less when an entry before it went, none when it went.
    if (Index < State.PlayListIndex)
        --State.PlayListIndex;
    else if (Index == State.PlayListIndex)
        State.PlayListIndex = -1;
    UpdatePrevNextButtons(TransportButtons);
    RefreshButtonBitmaps();
}

void TQuorelMain_Form::ClearPlayList() {
    StopByType();
    State.PlayListFiles->Clear();
    State.PlayListPositions->Clear();
    State.CurrentMediaFile.clear();
    CurMedia_L->SetCaption("");
    State.PlayListIndex = -1;
}

// --- The capture-list window and frame capture. ---

void TQuorelMain_Form::ShowCaptureWindow() {
    if (CaptureListForm != nullptr) {
        ShowAgainAt(State.CaptureWindowHandle, CaptureWindowBounds);
        return;
    }
    CaptureListForm = new TCapture_Form(this);
    int left = Screen().Width() - 180, top = 120, height = 430;
    if (Screen().Width() - Left() - Width() > CaptureListWidth && Height() < Screen().Height()) {
        top = Top();
        left = Left() + Width();
        height = Height();
    }
    CaptureListForm->SetBounds(left, top, CaptureListWidth, height);
    CaptureWindowBounds = {left, top, left + CaptureListWidth, top + height};
    State.CaptureWindowHandle = CaptureListForm->Handle();
    CaptureListForm->Show();
}

void TQuorelMain_Form::CL_LClick(TObject*) {
    if (State.PlayType == PlayTypes::Audio)
        return;
    ShowCaptureWindow();
    State.CaptureListVisible = true;
}

void TQuorelMain_Form::CL_LMouseEnter(TObject*) {
    CL_L->Font().SetColor(cl3DLight);
}

void TQuorelMain_Form::CL_LMouseLeave(TObject*) {
    CL_L->Font().SetColor(static_cast<TColor>(State.LightGreyColor));
}

void TQuorelMain_Form::CL_LMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    CL_L->SetTop(CL_L->Top() + 1);
}

void TQuorelMain_Form::CL_LMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    CL_L->SetTop(CL_L->Top() - 1);
}

void TQuorelMain_Form::Capture_XIClick(TObject*) {
    if (State.PlayType == PlayTypes::Dvd || State.PlayType == PlayTypes::Audio)
        return;
    ShowCaptureWindow();
    CaptureByType();
}

void TQuorelMain_Form::pCapturescreenClick(TObject* Sender) {
    // As the capture button: a capture made with no capture-list window would show nowhere, and the next
    // capture would write over it.
    if (State.IsPlaying) {
        Capture_XIClick(Sender);
        return;
    }
    CaptureByType();
}

void TQuorelMain_Form::CaptureByType() {
    if (State.PlayType == PlayTypes::MediaFile)
        CaptureMediaFrame();
    else if (State.PlayType == PlayTypes::Pip)
        CapturePipFrames();
}

namespace {

// Pauses what plays for a capture and afterwards puts it back as it was: a paused medium stays paused, a
// playing one runs on at its rate, with its status text.
class PausedForCapture {
public:
    explicit PausedForCapture(TQuorelMain_Form& Form)
        : form_(Form), wasPaused_(State.IsPaused), rate_(State.PlayRate), status_(Form.Status_L->Caption()) {
        if (!wasPaused_)
            form_.PauseCommand();
    }
    ~PausedForCapture() {
        if (wasPaused_)
            return;
        form_.ResumeCommand();
        if (rate_ != 1.0 && rate_ > 0.0 && State.MediaSeeking) {
            State.MediaSeeking->SetRate(rate_);
            State.PlayRate = rate_;
            form_.Status_L->SetCaption(status_);
        }
    }
    PausedForCapture(const PausedForCapture&) = delete;
    PausedForCapture& operator=(const PausedForCapture&) = delete;

private:
    TQuorelMain_Form& form_;
    bool wasPaused_;
    double rate_;
    std::string status_;
};

double CurrentSeconds() {
    dshow::LONGLONG position = 0;
    State.MediaSeeking->GetCurrentPosition(&position);
    return static_cast<double>(position) / 1e7;
}

void NoScreenshots() {
    Application().MessageBox("No screenshots.", "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

} // namespace

void TQuorelMain_Form::CaptureFrame(std::string& Target, QImage& Picture) {
    Target.clear();
    if (!State.IsPlaying || !State.MediaSeeking || !State.MediaDet) {
        NoScreenshots();
        return;
    }
    bool captured = false;
    std::string name;
    {
        THourGlass busy;
        PausedForCapture paused(*this);
        const std::string folder = CaptureFolder();
        name = NextCaptureName(folder);
        // The video's own size and shape, not the window's (which is at least 550 x 350).
        int width = 0, height = 0;
        captured = VideoStreamSize(State.MediaDet.Get(), width, height) &&
                   CaptureToBitmap(State.MediaDet.Get(), CurrentSeconds(), width, height,
                                   folder + CaptureBitmapName, Picture);
    }
    if (!captured) {
        NoScreenshots();
        return;
    }
    Target = name;
}

void TQuorelMain_Form::CaptureMediaFrame() {
    std::string name;
    QImage picture;
    CaptureFrame(name, picture);
    if (name.empty())
        return;
    State.CaptureFileName = name;
    if (CaptureListForm != nullptr)
        win32::PostMessage(State.CaptureWindowHandle, WM_CAPTURELIST_ADD, 0,
                           CapturedFrames.Put(TCapturedFrame{name, picture}));
}

void TQuorelMain_Form::CapturePipFile(const std::string& FileName, std::string& Target, QImage& Picture) {
    // Nothing plays: nothing to capture, and nothing is started either.
    if (!State.IsPlaying || !State.MediaSeeking || !State.MediaDet)
        return;
    THourGlass busy;
    PausedForCapture paused(*this);
    const std::string folder = CaptureFolder();
    dshow::IMediaDet* det = State.MediaDet.Get();
    int width = 0, height = 0;
    if (com::FAILED(det->put_Filename(com::WideString(FileName).c_str())) ||
        !VideoStreamSize(det, width, height))
        return;
    const std::string name = NextCaptureName(folder);
    QImage picture;
    if (!CaptureToBitmap(det, CurrentSeconds(), width, height, folder + CaptureBitmapName, picture))
        return;
    Target = name;
    Picture = picture;
}

void TQuorelMain_Form::CapturePipFrames() {
    for (const std::string* file : {&State.pipMediaFileA, &State.pipMediaFileB}) {
        std::string name;
        QImage picture;
        CapturePipFile(*file, name, picture);
        if (name.empty())
            continue;
        State.CaptureFileName = name;
        if (CaptureListForm != nullptr)
            win32::SendMessage(State.CaptureWindowHandle, WM_CAPTURELIST_ADD, 0,
                               CapturedFrames.Put(TCapturedFrame{name, picture}));
    }
}

void TQuorelMain_Form::CloseCompanionWindows() {
    if (CaptureListForm != nullptr)
        CaptureListForm->SaveUnsavedCaptures();
    for (TCompanionFrame* window : std::initializer_list<TCompanionFrame*>{PlayListForm, CaptureListForm})
        if (window != nullptr) {
            window->Hide();
            window->Release();
        }
}
