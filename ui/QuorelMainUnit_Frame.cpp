// The main window's frame: layout after every size change, the smallest size, moving by the title strip,
// resizing by the edge strips, maximizing by a double click, full screen, the top-most rule and the repaint
// timer.

#include "ui/QuorelMainUnit.h"

#include <algorithm>
#include <cstdlib>

#include <QFontMetrics>

#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/win32/Window.h"

using namespace forms;

namespace {

// The smallest size the window takes.
constexpr int kMinimumWidth = 550;
constexpr int kMinimumHeight = 350;

// The knob helpers of the transport work on plain geometry.
struct Geometry {
    int Left;
    int Width;
};

void PlaceKnob(int Value, TControl* Track, TControl* Thumb, TControl* Fill) {
    const Geometry track{Track->Left(), Track->Width()};
    Geometry thumb{Thumb->Left(), Thumb->Width()};
    Geometry fill{Fill->Left(), Fill->Width()};
    SetSliderThumb(Value, 0, 100, track, thumb, fill);
    Thumb->SetLeft(thumb.Left);
    Fill->SetWidth(fill.Width);
}

} // namespace

void TQuorelMain_Form::BindFrame() {
    OnResize = [this](TObject* Sender) { FormResize(Sender); };
    OnCanResize = [this](TObject* Sender, int& W, int& H, bool& Resize) { FormCanResize(Sender, W, H, Resize); };
    auto titleDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        Topcenter_IMouseDown(S, B, Sh, X, Y);
    };
    auto titleDouble = [this](TObject* S) { Topcenter_IDblClick(S); };
    auto titleMove = [this](TObject* S, TShiftState Sh, int X, int Y) { Topcenter_IMouseMove(S, Sh, X, Y); };
    auto titleUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        Topcenter_IMouseUp(S, B, Sh, X, Y);
    };
    for (TControl* c :
         std::initializer_list<TControl*>{Topleft_I, Topright_I, SmallLogo_I, Topcenter_I, CurMedia_L}) {
        c->OnMouseDown = titleDown;
        c->OnMouseMove = titleMove;
        c->OnMouseUp = titleUp;
    }
    for (TControl* c : std::initializer_list<TControl*>{Topleft_I, Topright_I, Topcenter_I, CurMedia_L})
        c->OnDblClick = titleDouble;
    const std::pair<TControl*, int> strips[] = {{TopBar_xi, 1}, {BottomBar_xi, 2}, {Left_I, 3}, {Right_I, 4}};
    for (const auto& [strip, mode] : strips) {
        strip->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
            TopBar_xiMouseDown(S, B, Sh, X, Y);
        };
        strip->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
            TopBar_xiMouseUp(S, B, Sh, X, Y);
        };
        strip->OnMouseMove = [this, mode = mode](TObject*, TShiftState Shift, int, int) {
            ResizeByBorder(Shift, mode);
        };
    }
    Video_P->OnResize = [this](TObject* Sender) { Video_PResize(Sender); };
    OnKeyDown = [this](TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
        FormKeyDown(Sender, Key, Shift);
    };
    RePaint_T->SetOnTimer([this](TObject* Sender) { RePaint_TTimer(Sender); });
}

void TQuorelMain_Form::EnableDoubleBuffering() {
    SetDoubleBuffered(true);
    for (TPanel* panel : {Left_P, Right_P, Bottom_P, Top_P, Video_P, Ctrl_P, Lrc_p})
        panel->SetDoubleBuffered(true);
}

void TQuorelMain_Form::LayoutLyricsPanel() {
    Lrc_p->SetBounds(0, Lrc_p->Top(), Video_P->Width(), Video_P->Height() - 140);
    Lrc_p->SetTop((Video_P->Height() - Lrc_p->Height()) / 2);
    Lrc_L->SetTop(Lrc_p->Height() / 2 + 20);
    Lrc_L->SetLeft((Video_P->Width() - Lrc_L->Width()) / 2);
    LightLrc_L->SetLeft((Video_P->Width() - LightLrc_L->Width()) / 2);
    PlaceLyricsAtPosition();
}

namespace {

// The title buttons from the right, each overlapping its right neighbour by one pixel.
void LayoutTitleButtons(int W, std::initializer_list<TControl*> FromRight) {
    const TControl* neighbour = nullptr;
    for (TControl* button : FromRight) {
        button->SetLeft(neighbour == nullptr ? W - button->Width() : neighbour->Left() - button->Width() + 1);
        neighbour = button;
    }
}

} // namespace

// The layout after every size change. The first layout at start-up (Initial) is the same list but for the
// differences the comments name.
void TQuorelMain_Form::LayoutSteps(bool Initial) {
    const int W = Width();
    // 1.-5.
    LayoutTitleButtons(W, {Close_xi, Max_xi, Min_xi, Ontop_xi, Menu_xi});
    if (!Initial)
        CurMedia_L->SetWidth(Topcenter_I->Width());
    // As high as its font's lines are, so that descenders and underscores show.
    CurMedia_L->SetHeight(QFontMetrics(CurMedia_L->Font().ToQFont()).height());
    PL_L->SetLeft(W - 130);
    CL_L->SetLeft(W - 70);
    Forward_XI->SetLeft(W - Forward_XI->Width() - 14);
    Time_L->SetLeft(W - Time_L->Width() - 10);
    LayoutLyricsPanel();
    // 6.-7. At start the position fill is empty and the knob at the strip's start.
    VideoPro_XI->SetLeft(40);
    VideoPro_XI->SetWidth(W - 84);
    VideoGo_XI->SetLeft(VideoPro_XI->Left());
    if (Initial) {
        VideoGo_XI->SetWidth(0);
        VideoBar_XI->SetLeft(VideoPro_XI->Left() - 2);
    } else {
        VideoGo_XI->SetWidth(VideoBar_XI->Left() - VideoPro_XI->Left());
        if (State.IsPaused)
            UpdatePositionKnob();
    }
    // 8.-10.
    PlaceKnob(State.SoundLevel, SoundPro_XI, SoundBar_XI, SoundGo_XI);
    SoundGo_XI->SetBounds(SoundPro_XI->Left(), SoundPro_XI->Top(), SoundBar_XI->Left() - SoundPro_XI->Left(),
                          SoundGo_XI->Height());
    Option_XI->SetLeft(W - 38);
    maxmin_xi->SetLeft(W - 66);
    Capture_XI->SetLeft(W - 94);
    Opendvd_xi->SetLeft(W - 123);
    Open_xi->SetLeft(W - 152);
    FFTBox->SetLeft(Video_P->Width() - FFTBox->Width() - 10);
    FFTBox->SetTop(Video_P->Height() - FFTBox->Height() - 4);
    if (Initial) {
        mp3Info_L->Font().Assign(*State.UiFont);
        mp3Info_L->Font().SetColor(cl3DLight);
        LayoutLyricsPanel();
        Lrc_p->SetColor(clBlack);
        Lrc_L->Font().Assign(*State.UiFont);
        Lrc_L->Font().SetColor(static_cast<TColor>(State.DarkGreyColor));
        LightLrc_L->Font().Assign(*State.UiFont);
        LightLrc_L->Font().SetColor(static_cast<TColor>(State.LightGreyColor));
    }
    // 11.-12. The resize strips.
    TopBar_xi->SetBounds(2, 1, Menu_xi->Left() - 3, TopBar_xi->Height());
    BottomBar_xi->SetBounds(2, Ctrl_P->Height() - BottomBar_xi->Height() - 1, Ctrl_P->Width() - 4,
                            BottomBar_xi->Height());
}

void TQuorelMain_Form::LayoutControls() { LayoutSteps(false); }

void TQuorelMain_Form::InitialLayout() { LayoutSteps(true); }

void TQuorelMain_Form::RepaintFrame() {
    for (TControl* c : std::initializer_list<TControl*>{Top_P, Bottom_P, Ctrl_P, FFTBox, Left_P, Right_P})
        c->Repaint();
}

void TQuorelMain_Form::FormResize(TObject*) {
    LayoutControls();
    ShowNormalPicture(Max_xi);
    RepaintVideo(State.VideoPanelHandle);
    ApplyStayOnTopOrder();
}

void TQuorelMain_Form::ApplyStayOnTopOrder() {
    // The close stops what plays: the window that goes keeps its order.
    if (ClosingDown)
        return;
    State.StayOnTop = ReadIniInteger("Play", "StayOnTop");
    // "On top while playing" is on top only while something plays.
    const bool playingOnTop = State.StayOnTop == StayOnTops::WhilePlaying && State.IsPlaying;
    if (Width() == Screen().Width() && Height() == Screen().Height())
        win32::SetWindowPos(Handle(), win32::HWND_NOTOPMOST, Left(), Top(), Width(), Height(),
                            win32::SWP_NOACTIVATE);
    else if (State.StayOnTop == StayOnTops::Always || playingOnTop)
        win32::SetWindowPos(Handle(), win32::HWND_TOPMOST, Left(), Top(), Width(), Height(), win32::SWP_NOACTIVATE);
    else if (State.StayOnTop == StayOnTops::WhilePlaying)
        win32::SetWindowPos(Handle(), win32::HWND_NOTOPMOST, Left(), Top(), Width(), Height(),
                            win32::SWP_NOACTIVATE);
}

void TQuorelMain_Form::FormCanResize(TObject*, int& NewWidth, int& NewHeight, bool& Resize) {
    if (NewWidth < kMinimumWidth || NewHeight < kMinimumHeight)
        Resize = false;
}

void TQuorelMain_Form::Topcenter_IMouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y) {
    // A maximized window stays where it is. The move waits for the pointer to move: handed to the window
    // system at once, the press would never make a double click.
    titleDragPending_ = GetShowCmd(Handle()) != win32::SW_SHOWMAXIMIZED && (Shift & ssDouble) == 0;
    titleDragFrom_ = win32::POINT{X, Y};
}

void TQuorelMain_Form::Topcenter_IMouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (!titleDragPending_ || (Shift & ssLeft) == 0)
        return;
    // In the pressed control's own pixels: the window has not moved yet.
    constexpr int kDragDistance = 4;
    if (std::abs(X - titleDragFrom_.x) < kDragDistance && std::abs(Y - titleDragFrom_.y) < kDragDistance)
        return;
    titleDragPending_ = false;
    DragWindow(Handle());
}

void TQuorelMain_Form::Topcenter_IMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    titleDragPending_ = false;
}

void TQuorelMain_Form::Topcenter_IDblClick(TObject*) { ToggleMaximize(State.MainWindowHandle); }

void TQuorelMain_Form::TopBar_xiMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    // The strip itself keeps the mouse until the release, which then reaches it (and its release handler):
    // a capture for the panel it lies on would take that release away from it.
    if (auto* strip = dynamic_cast<TControl*>(Sender))
        win32::SetCapture(strip->Handle());
    win32::GetCursorPos(&DragOrigin);
}

void TQuorelMain_Form::TopBar_xiMouseUp(TObject*, TMouseButton, TShiftState, int, int) { win32::ReleaseCapture(); }

void TQuorelMain_Form::ResizeByBorder(TShiftState Shift, int Mode) {
    if ((Shift & ssLeft) == 0)
        return;
    win32::POINT p;
    win32::GetCursorPos(&p);
    const int dy = p.y - DragOrigin.y;
    const int dx = p.x - DragOrigin.x;
    int left = Left();
    int top = Top();
    int width = Width();
    int height = Height();
    switch (Mode) {
    case 1:
        top += dy;
        height -= dy;
        break;
    case 2:
        height += dy;
        break;
    case 3:
        left += dx;
        width -= dx;
        break;
    case 4:
        width += dx;
        break;
    default:
        return;
    }
    // The size stops at the smallest one the window takes; a top or left edge dragged on moves the window.
    width = std::max(width, kMinimumWidth);
    height = std::max(height, kMinimumHeight);
    win32::MoveWindow(Handle(), left, top, width, height, win32::TRUE);
    RepaintFrame();
    DragOrigin = p;
}

void TQuorelMain_Form::Video_PResize(TObject*) {
    LayoutLyricsPanel();
    if (State.IsPlaying)
        PlaceVideoInWindow();
}

void TQuorelMain_Form::RePaint_TTimer(TObject*) { RepaintVideo(State.VideoPanelHandle); }

void TQuorelMain_Form::ShowFrameAgain() {
    for (TPanel* panel : {Top_P, Left_P, Right_P})
        panel->Show();
    ShowBottomStrips();
    for (TMenuItem* item : {pPlaylistView, pCapturelistview, pPlaylist})
        item->SetVisible(true);
}

void TQuorelMain_Form::ShowBottomStrips() {
    // Bottom_P directly above Ctrl_P. The strips are stacked by where they stand, and a hidden one keeps the
    // place it had when it was hidden, perhaps in a window of another size: each is put at the inner edge of
    // those shown before it shows.
    Ctrl_P->SetTop(ClientHeight());
    Ctrl_P->Show();
    Bottom_P->SetTop(Ctrl_P->Top() - Bottom_P->Height());
    Bottom_P->Show();
}

void TQuorelMain_Form::ToggleFullScreen() {
    if (!IsFullScreen) {
        WasMaximized = GetShowCmd(Handle()) == win32::SW_SHOWMAXIMIZED ? 1 : 0;
        FullScreenFrom = {Left(), Top(), Left() + Width(), Top() + Height()};
        for (TPanel* panel : {Top_P, Bottom_P, Left_P, Right_P, Ctrl_P})
            panel->Hide();
        for (TMenuItem* item : {pPlaylistView, pCapturelistview, pPlaylist})
            item->SetVisible(false);
        // The whole screen, from a normal and from a maximized window alike: a maximized window gets only the
        // desktop's work area.
        win32::ShowWindowFullScreen(State.MainWindowHandle);
        if (State.IsPaused)
            UpdatePositionKnob();
        IsFullScreen = true;
    } else {
        LeaveFullScreen();
        if (State.IsPaused)
            UpdatePositionKnob();
    }
}

void TQuorelMain_Form::LeaveFullScreen() {
    ShowFrameAgain();
    win32::ShowWindow(State.MainWindowHandle,
                      WasMaximized == 1 ? win32::SW_SHOWMAXIMIZED : win32::SW_SHOWNORMAL);
    // The size and place the window had, also when something moved it while it covered the screen.
    const win32::RECT& from = FullScreenFrom;
    if (WasMaximized != 1 && from.right > from.left &&
        (Left() != from.left || Top() != from.top || Width() != from.right - from.left ||
         Height() != from.bottom - from.top))
        SetBounds(from.left, from.top, from.right - from.left, from.bottom - from.top);
    IsFullScreen = false;
    LayoutControls();
    // Left after the medium ended: the full-screen button is the stopped state's again.
    if (!State.IsPlaying) {
        maxmin_xi->SetEnabled(false);
        RefreshButtonBitmaps();
    }
}

void TQuorelMain_Form::FormKeyDown(TObject*, std::uint16_t& Key, TShiftState) {
    // Escape leaves full screen, as it does on every desktop; it never enters it.
    if (Key == win32::VK_ESCAPE && IsFullScreen) {
        FullScreenCommand();
        Key = 0;
    }
}

void TQuorelMain_Form::FullScreenAtOnce() {
    // Only into full screen: a medium opened while in full screen (the next entry of a list) stays there.
    if (!IsFullScreen && ReadIniInteger("PlayControl", "FullScreenAtonce") == 1)
        FullScreenCommand();
}

void TQuorelMain_Form::LeaveFullScreenForAudio() {
    // The way out of full screen first, back to the window's own state; a window that was maximized stays so.
    // The size grows from the rectangle the window had before full screen.
    LeaveFullScreen();
    if (WasMaximized == 1)
        return;
    const win32::RECT normal = FullScreenFrom;
    const int screenWidth = Screen().Width();
    const int screenHeight = Screen().Height();
    const int height = std::min(normal.bottom - normal.top + 127, screenHeight);
    const int width = std::min(normal.right - normal.left + 197, screenWidth);
    win32::MoveWindow(Handle(), (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, win32::TRUE);
}
