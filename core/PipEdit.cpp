#include "core/PipEdit.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Window.h"

using namespace dshow;
using forms::TShiftState;

namespace {

// Far beyond any screen: what an edge dragged off without bounds may come to, in pixels or percent.
constexpr double Beyond = 1e7;

int Truncated(double Value) {
    return static_cast<int>(std::trunc(std::clamp(Value, -Beyond, Beyond)));
}

// The small picture's rectangle from the VMR-9 mixer when it is set, else from the VMR-7 mixer.
bool ReadSmallRect(int Stream, NORMALIZEDRECT& Rect) {
    const auto stream = static_cast<DWORD>(Stream);
    if (State.Vmr9MixerControl)
        return com::SUCCEEDED(State.Vmr9MixerControl->GetOutputRect(stream, &Rect));
    if (State.Vmr7MixerControl)
        return com::SUCCEEDED(State.Vmr7MixerControl->GetOutputRect(stream, &Rect));
    return false;
}

// Where the video and the small picture lie in the panel, in its client pixels.
struct PipGeometry {
    int W = 0, H = 0, OffX = 0, OffY = 0;
    int PL = 0, PT = 0, PR = 0, PB = 0;
};

// False when the panel or the video's place cannot be read, or the video has no size on the screen (a
// minimized window): an edit then would divide by nothing.
template <class Windowless>
bool ReadGeometry(Windowless& Control, win32::HWND Wnd, const NORMALIZEDRECT& Rect, PipGeometry& G) {
    win32::RECT client, source, destination;
    if (!win32::GetClientRect(Wnd, &client) || com::FAILED(Control.GetVideoPosition(&source, &destination)))
        return false;
    G.W = destination.right - destination.left;
    G.H = destination.bottom - destination.top;
    if (G.W <= 0 || G.H <= 0)
        return false;
    // The video is centred in the panel.
    G.OffX = ((client.right - client.left) - G.W) / 2;
    G.OffY = ((client.bottom - client.top) - G.H) / 2;
    G.PL = Truncated(static_cast<double>(G.W) * Rect.left) + G.OffX;
    G.PT = Truncated(static_cast<double>(G.H) * Rect.top) + G.OffY;
    G.PR = Truncated(static_cast<double>(G.W) * Rect.right) + G.OffX;
    G.PB = Truncated(static_cast<double>(G.H) * Rect.bottom) + G.OffY;
    return true;
}

// Whether the orientation shows the rectangle's right field on the left and its bottom field on top.
std::pair<bool, bool> SeenSwaps(TReverseType Orientation) {
    switch (Orientation) {
    case ReverseTypes::UpsideDown:
        return {false, true};
    case ReverseTypes::Mirrored:
        return {true, false};
    case ReverseTypes::Both:
        return {true, true};
    default:
        return {false, false};
    }
}

forms::TCursor CursorOf(int Region, bool Held) {
    switch (Region) {
    case PipRegions::LeftEdge:
    case PipRegions::RightEdge:
        return forms::crSizeWE;
    case PipRegions::TopLeftCorner:
    case PipRegions::BottomRightCorner:
        return forms::crSizeNWSE;
    case PipRegions::TopRightCorner:
    case PipRegions::BottomLeftCorner:
        return forms::crSizeNESW;
    case PipRegions::TopEdge:
    case PipRegions::BottomEdge:
        return forms::crSizeNS;
    case PipRegions::Inside:
        return Held ? forms::crSizeAll : forms::crHandPoint;
    default:
        return forms::crDefault;
    }
}

// One orientation's hit test and edit: the table is applied to the picture as it is seen, SwapX / SwapY
// telling that its left (top) edge on the screen is the rectangle's right (bottom) field.
void PipMove(bool SwapX, bool SwapY, int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W,
             int H, TShiftState Shift, NORMALIZEDRECT& Rect) {
    if (SwapX)
        std::swap(PL, PR);
    if (SwapY)
        std::swap(PT, PB);
    float& left = SwapX ? Rect.right : Rect.left;
    float& right = SwapX ? Rect.left : Rect.right;
    float& top = SwapY ? Rect.bottom : Rect.top;
    float& bottom = SwapY ? Rect.top : Rect.bottom;
    const bool held = (Shift & forms::ssLeft) != 0;
    // While held, the region of the press: a fast move that leaves an edge's band goes on resizing.
    const int region = held && State.PipDragRegion != PipRegions::None
                           ? State.PipDragRegion
                           : PipHitRegion(X, Y, PL, PT, PR, PB, OffX, OffY, W, H);
    forms::Screen().SetCursor(CursorOf(region, held));
    if (!held || W <= 0 || H <= 0)
        return;
    const auto dX = static_cast<float>(static_cast<double>(X - State.PipDragX) / W);
    const auto dY = static_cast<float>(static_cast<double>(Y - State.PipDragY) / H);
    switch (region) {
    case PipRegions::LeftEdge:
        left += dX;
        break;
    case PipRegions::RightEdge:
        right += dX;
        break;
    case PipRegions::TopLeftCorner:
        left += dX;
        top += dY;
        break;
    case PipRegions::BottomRightCorner:
        right += dX;
        bottom += dY;
        break;
    case PipRegions::TopRightCorner:
        right += dX;
        top += dY;
        break;
    case PipRegions::BottomLeftCorner:
        left += dX;
        bottom += dY;
        break;
    case PipRegions::TopEdge:
        top += dY;
        break;
    case PipRegions::BottomEdge:
        bottom += dY;
        break;
    case PipRegions::Inside:
        // A move keeps the size of the press, flipped or not.
        Rect.left += dX;
        Rect.top += dY;
        Rect.right = Rect.left + State.PipDragWidth;
        Rect.bottom = Rect.top + State.PipDragHeight;
        break;
    default:
        break;
    }
}

void MoveByOrientation(int X, int Y, const PipGeometry& G, TShiftState Shift, NORMALIZEDRECT& Rect) {
    const bool dragging = (Shift & forms::ssLeft) != 0 && State.PipDragRegion != PipRegions::None;
    switch (dragging ? State.PipDragReverseType : State.ReverseType) {
    case ReverseTypes::UpsideDown:
        PipMoveUpsideDown(X, Y, G.PL, G.PT, G.PR, G.PB, G.OffX, G.OffY, G.W, G.H, Shift, Rect);
        break;
    case ReverseTypes::Mirrored:
        PipMoveMirrored(X, Y, G.PL, G.PT, G.PR, G.PB, G.OffX, G.OffY, G.W, G.H, Shift, Rect);
        break;
    case ReverseTypes::Both:
        PipMoveBoth(X, Y, G.PL, G.PT, G.PR, G.PB, G.OffX, G.OffY, G.W, G.H, Shift, Rect);
        break;
    default:
        PipMoveNormal(X, Y, G.PL, G.PT, G.PR, G.PB, G.OffX, G.OffY, G.W, G.H, Shift, Rect);
        break;
    }
}

void StoreRect(const NORMALIZEDRECT& Rect) {
    WritePipPositionType(PipPositionTypes::Free);
    WritePipRect(PipPercent(Rect.left), PipPercent(Rect.top), PipPercent(Rect.right),
                 PipPercent(Rect.bottom));
}

template <class Mixer, class Windowless>
void PipMouseMoveOn(Mixer* M, Windowless* Control, win32::HWND Wnd, int Stream, int X, int Y,
                    TShiftState Shift) {
    if (State.PlayType != PlayTypes::Pip || M == nullptr || Control == nullptr)
        return;
    NORMALIZEDRECT rect;
    PipGeometry g;
    if (com::FAILED(M->GetOutputRect(static_cast<DWORD>(Stream), &rect)) ||
        !ReadGeometry(*Control, Wnd, rect, g))
        return;
    const NORMALIZEDRECT before = rect;
    MoveByOrientation(X, Y, g, Shift, rect);
    State.PipDragging = true;
    if (!(rect == before))
        M->SetOutputRect(static_cast<DWORD>(Stream), &rect);
    // The edges are stored at every move, so that they always tell where the picture is (a standard place
    // stores none); the picture becomes a free one only by a drag.
    if ((Shift & forms::ssLeft) != 0)
        WritePipPositionType(PipPositionTypes::Free);
    WritePipRect(PipPercent(rect.left), PipPercent(rect.top), PipPercent(rect.right),
                 PipPercent(rect.bottom));
    State.PipDragX = X;
    State.PipDragY = Y;
}

// The region of the press, seen as the last move saw the picture; none when the geometry cannot be read.
int RegionOfPress(win32::HWND Wnd, const NORMALIZEDRECT& Rect, int X, int Y) {
    PipGeometry g;
    const bool read = State.Vmr9WindowlessControl   ? ReadGeometry(*State.Vmr9WindowlessControl, Wnd, Rect, g)
                      : State.Vmr7WindowlessControl ? ReadGeometry(*State.Vmr7WindowlessControl, Wnd, Rect, g)
                                                    : false;
    if (!read)
        return PipRegions::None;
    const auto [swapX, swapY] = SeenSwaps(State.ReverseType);
    if (swapX)
        std::swap(g.PL, g.PR);
    if (swapY)
        std::swap(g.PT, g.PB);
    return PipHitRegion(X, Y, g.PL, g.PT, g.PR, g.PB, g.OffX, g.OffY, g.W, g.H);
}

// An edge of Stream moved by the bar's change; stored only when the mixer took it.
void AdjustPipEdge(float NORMALIZEDRECT::*Edge, int Stream, int& LastPosition, int Position) {
    const float delta = static_cast<float>(Position - LastPosition) / 100.0f;
    NORMALIZEDRECT rect;
    bool moved = false;
    WithPipMixer([&](auto& Mixer) {
        if (com::FAILED(Mixer.GetOutputRect(static_cast<DWORD>(Stream), &rect)))
            return;
        rect.*Edge += delta;
        Mixer.SetOutputRect(static_cast<DWORD>(Stream), &rect);
        moved = true;
    });
    LastPosition = Position;
    if (moved)
        StoreRect(rect);
}

// A change of the small picture's orientation; with a mixer it is stored and, unless Silent, Item checked.
template <class Change> void FlipPip(forms::TMenuItem* Item, bool Silent, Change ChangeRect) {
    NORMALIZEDRECT rect;
    bool flipped = false;
    WithPipMixer([&](auto& Mixer) {
        const auto stream = static_cast<DWORD>(State.PipSmallStream);
        if (com::FAILED(Mixer.GetOutputRect(stream, &rect)))
            return;
        ChangeRect(rect);
        Mixer.SetOutputRect(stream, &rect);
        flipped = true;
    });
    if (!flipped)
        return;
    StoreRect(rect);
    if (!Silent && Item != nullptr)
        Item->SetChecked(true);
}

} // namespace

int PipPercent(float Edge) {
    return static_cast<int>(std::lround(std::clamp(static_cast<double>(Edge) * 100.0, -Beyond, Beyond)));
}

void LoadPipAlphaBars(int& PositionA, int& PositionB) {
    WithPipMixer([&](auto& Mixer) {
        float alpha = 0.0f;
        if (com::SUCCEEDED(Mixer.GetAlpha(0, &alpha)))
            PositionA = PipPercent(alpha);
        if (com::SUCCEEDED(Mixer.GetAlpha(1, &alpha)))
            PositionB = PipPercent(alpha);
    });
}

void SetPipAlpha(int Stream, int Position) {
    WithPipMixer([&](auto& Mixer) {
        Mixer.SetAlpha(static_cast<DWORD>(Stream), static_cast<float>(Position) / 100.0f);
    });
}

void AdjustPipLeft(int Stream, int& LastPosition, int Position) {
    AdjustPipEdge(&NORMALIZEDRECT::left, Stream, LastPosition, Position);
}

void AdjustPipTop(int Stream, int& LastPosition, int Position) {
    AdjustPipEdge(&NORMALIZEDRECT::top, Stream, LastPosition, Position);
}

void AdjustPipRight(int Stream, int& LastPosition, int Position) {
    AdjustPipEdge(&NORMALIZEDRECT::right, Stream, LastPosition, Position);
}

void AdjustPipBottom(int Stream, int& LastPosition, int Position) {
    AdjustPipEdge(&NORMALIZEDRECT::bottom, Stream, LastPosition, Position);
}

int PipHitRegion(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H) {
    const bool notLeftBorder = PL > OffX, notRightBorder = PR < OffX + W;
    const bool notTopBorder = PT > OffY, notBottomBorder = PB < OffY + H;
    if (PL - 10 <= X && X <= PL + 10 && PT + 1 <= Y && Y <= PB - 1 && notLeftBorder)
        return PipRegions::LeftEdge;
    if (PR - 10 <= X && X <= PR + 10 && PT + 1 <= Y && Y <= PB - 1 && notRightBorder)
        return PipRegions::RightEdge;
    if (PL - 10 < X && X <= PL && PT - 10 < Y && Y <= PT && notLeftBorder && notTopBorder)
        return PipRegions::TopLeftCorner;
    if (PR - 10 <= X && X < PR + 10 && PB - 10 <= Y && Y < PB + 10 && notRightBorder && notBottomBorder)
        return PipRegions::BottomRightCorner;
    if (PR <= X && X < PR + 10 && PT - 10 <= Y && Y < PT && notTopBorder && notRightBorder)
        return PipRegions::TopRightCorner;
    if (PL - 10 < X && X <= PL && PB <= Y && Y < PB + 10 && notLeftBorder && notBottomBorder)
        return PipRegions::BottomLeftCorner;
    if (PT - 10 <= Y && Y <= PT + 10 && PL + 1 <= X && X <= PR - 1 && notTopBorder)
        return PipRegions::TopEdge;
    if (PB - 10 <= Y && Y <= PB + 10 && PL + 1 <= X && X <= PR - 1 && notBottomBorder)
        return PipRegions::BottomEdge;
    if (PL + 10 < X && X < PR - 10 && PT + 10 < Y && Y < PB - 10)
        return PipRegions::Inside;
    return PipRegions::Elsewhere;
}

void BeginPipDrag(int Stream, int X, int Y, win32::HWND Wnd, forms::TMouseButton Button) {
    if (State.PlayType != PlayTypes::Pip)
        return;
    State.PipDragging = false;
    if (Button != forms::mbLeft)
        return;
    State.PipDragX = X;
    State.PipDragY = Y;
    NORMALIZEDRECT rect{0, 0, 0, 0};
    const bool read = ReadSmallRect(Stream, rect);
    State.PipDragWidth = rect.right - rect.left;
    State.PipDragHeight = rect.bottom - rect.top;
    State.PipDragRegion = read ? RegionOfPress(Wnd, rect, X, Y) : PipRegions::None;
    State.PipDragReverseType = State.ReverseType;
    if (forms::Screen().Cursor() == forms::crHandPoint)
        forms::Screen().SetCursor(forms::crSizeAll);
    // The moves go on arriving outside the panel while the button is held: the toolkit's own grab of the
    // pressed control does what capturing the mouse would, and ends with the release whatever happens.
}

void PipMouseMove(win32::HWND Wnd, int Stream, int X, int Y, TShiftState Shift) {
    if (State.RenderType == RenderTypes::Vmr7)
        PipMouseMoveOn(State.Vmr7MixerControl.Get(), State.Vmr7WindowlessControl.Get(), Wnd, Stream, X, Y,
                       Shift);
    else if (State.RenderType == RenderTypes::Vmr9)
        PipMouseMoveOn(State.Vmr9MixerControl.Get(), State.Vmr9WindowlessControl.Get(), Wnd, Stream, X, Y,
                       Shift);
}

void PipMoveNormal(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                   TShiftState Shift, NORMALIZEDRECT& Rect) {
    PipMove(false, false, X, Y, PL, PT, PR, PB, OffX, OffY, W, H, Shift, Rect);
}

void PipMoveUpsideDown(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                       TShiftState Shift, NORMALIZEDRECT& Rect) {
    PipMove(false, true, X, Y, PL, PT, PR, PB, OffX, OffY, W, H, Shift, Rect);
}

void PipMoveMirrored(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                     TShiftState Shift, NORMALIZEDRECT& Rect) {
    PipMove(true, false, X, Y, PL, PT, PR, PB, OffX, OffY, W, H, Shift, Rect);
}

void PipMoveBoth(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                 TShiftState Shift, NORMALIZEDRECT& Rect) {
    PipMove(true, true, X, Y, PL, PT, PR, PB, OffX, OffY, W, H, Shift, Rect);
}

void RestorePipCursor() {
    forms::Screen().SetCursor(forms::crDefault);
}

void FlipPipVertical(forms::TMenuItem* Item, bool Silent) {
    FlipPip(Item, Silent, [](NORMALIZEDRECT& R) { std::swap(R.top, R.bottom); });
}

void MirrorPip(forms::TMenuItem* Item, bool Silent) {
    FlipPip(Item, Silent, [](NORMALIZEDRECT& R) { std::swap(R.left, R.right); });
}

void FlipPipBoth(forms::TMenuItem* Item, bool Silent) {
    FlipPip(Item, Silent, [](NORMALIZEDRECT& R) {
        std::swap(R.left, R.right);
        std::swap(R.top, R.bottom);
    });
}

void NormalizePip(forms::TMenuItem* Item, bool Silent) {
    FlipPip(Item, Silent, [](NORMALIZEDRECT& R) {
        if (R.left > R.right)
            std::swap(R.left, R.right);
        if (R.top > R.bottom)
            std::swap(R.top, R.bottom);
    });
}

void UpdatePipOrientation() {
    NORMALIZEDRECT r;
    if (!ReadSmallRect(State.PipSmallStream, r))
        return;
    if (r.right > r.left && r.bottom > r.top)
        State.ReverseType = ReverseTypes::Normal;
    else if (r.left > r.right && r.bottom > r.top)
        State.ReverseType = ReverseTypes::Mirrored;
    else if (r.top > r.bottom && r.right > r.left)
        State.ReverseType = ReverseTypes::UpsideDown;
    else if (r.left > r.right && r.top > r.bottom)
        State.ReverseType = ReverseTypes::Both;
}
