#include "ui/CompanionFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

#include "assets/SkinArt.h"
#include "core/PlaybackState.h"
#include "core/WindowUtils.h"
#include "platform/win32/Window.h"

using namespace forms;

namespace {

// Floating-point division, truncated: the thumb's arithmetic.
int Trunc(double Value) {
    return static_cast<int>(std::trunc(Value));
}

constexpr int SmallestThumb = 6;
constexpr int TitleHeight = 46;
constexpr int BottomHeight = 16;
constexpr int SideWidth = 6;
constexpr int ScrollWidth = 12;
constexpr int ArrowHeight = 12;

QImage Filled(int Width, int Height, QRgb Colour, QRgb Edge) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Colour);
    QPainter p(&image);
    p.setPen(QColor::fromRgb(Edge));
    p.drawRect(0, 0, Width - 1, Height - 1);
    return image;
}

} // namespace

void DragScrollThumb(win32::POINT& DragOrigin, win32::POINT Cursor, int& ThumbTop, int ThumbHeight,
                     int TrackTop, int TrackHeight) {
    const int dy = Cursor.y - DragOrigin.y;
    const int lo = TrackTop;
    const int hi = TrackTop + TrackHeight - ThumbHeight;
    if (lo <= ThumbTop && ThumbTop <= hi)
        ThumbTop = std::clamp(ThumbTop + dy, lo, hi);
    DragOrigin = Cursor;
}

void ShowDefaultSkinPicture(TImage* Image, const std::string& File) {
    Image->Picture().Assign(skinart::DrawSkinFile(File));
}

THourGlass::THourGlass() {
    Screen().SetCursor(crHourGlass);
}

THourGlass::~THourGlass() {
    Screen().SetCursor(crDefault);
}

// --- The scroll model. ---

TRowScroll::TRowScroll(TParams Params) : params_(Params) {
    Reset();
}

int TRowScroll::MinimumListHeight() const {
    return std::max(params_.M + params_.P, 2 * ArrowHeight + SmallestThumb + 1);
}

void TRowScroll::UpdateV() {
    const int M = params_.M, P = params_.P;
    // Integer division truncating toward zero; the window's smallest size keeps
    // the list area at least one slot high.
    V = M + P * ((ListHeight - M) / P);
}

void TRowScroll::Scroll(int Dy) {
    if (Dy != 0 && ScrollContents)
        ScrollContents(Dy);
}

int TRowScroll::ComputedThumbHeight() const {
    if (C <= 0)
        return 0;
    return Trunc(static_cast<double>(V - params_.M) / C * TrackHeight);
}

void TRowScroll::ClampThumb() {
    ThumbTop = std::clamp(ThumbTop, TrackTop, TrackTop + std::max(TrackRoom(), 0));
}

void TRowScroll::FractionFromThumb() {
    // A track no taller than the thumb has no room to move in: the fraction stays at the top.
    Fraction = TrackRoom() > 0 ? static_cast<double>(ThumbTop - TrackTop) / TrackRoom() : 0.0;
}

void TRowScroll::Reset() {
    C = 0;
    R = 0;
    T = params_.M;
    B = params_.M;
    NextRowTop = params_.M;
}

void TRowScroll::Refit() {
    const int M = params_.M;
    UpdateV();
    R = C - (V - M);
    const int newBottom = C + M - Trunc(R * Fraction);
    if (!params_.RefitBarWhileListHidden && !ListVisible)
        return;
    BarVisible = C > V - M;
    if (!ListVisible)
        return;
    if (BarVisible) {
        int height = ComputedThumbHeight();
        if (params_.RefitShowsThumb && height > 1)
            ThumbVisible = true;
        ThumbHeight = std::max(height, SmallestThumb);
        ThumbTop = TrackTop + Trunc(TrackRoom() * Fraction);
        ClampThumb();
        Scroll(newBottom - B);
        T = newBottom - C;
        B = newBottom;
    } else {
        Scroll(M - T);
        T = M;
        B = C + M;
    }
}

void TRowScroll::Append(const std::function<void(int Top)>& Create) {
    const int M = params_.M, P = params_.P;
    UpdateV();
    // The new row belongs just below the last one. (Created there in every case, so that C stays P x rows:
    // a row skipped for a bottom above NextRowTop would leave the bounds and the rows apart.)
    const int top = T + C;
    C += P;
    if (B < V) {
        R = C - (V - M);
        BarVisible = R > 0;
        Create(top);
        B = T + C;
        NextRowTop = B;
        return;
    }
    R = C - (V - M);
    BarVisible = true;
    ThumbVisible = true;
    ThumbHeight = std::max(ComputedThumbHeight(), SmallestThumb);
    ThumbTop = TrackTop + TrackHeight - ThumbHeight;
    ClampThumb();
    NextRowTop = V;
    if (V < B) {
        // Scrolled up: back to the end first.
        Scroll(V - B);
        T += V - B;
        B = T + C;
    }
    Create(V);
    Scroll(-P);
    T -= P;
    B = T + C;
    Fraction = R > 0 ? static_cast<double>(std::abs(T - M)) / R : 0.0;
}

void TRowScroll::StepUp() {
    const int M = params_.M, S = params_.S;
    UpdateV();
    R = C - (V - M);
    if (!(T < M) || R <= 0)
        return;
    Scroll(S);
    T += S;
    B = T + C;
    if (T > M) {
        Scroll(M - T);
        T = M;
        B = C + M;
    }
    ThumbTop -= Trunc(static_cast<double>(TrackRoom()) / R * S);
    if (T == M)
        ThumbTop = TrackTop;
    ClampThumb();
    FractionFromThumb();
}

void TRowScroll::StepDown() {
    const int M = params_.M, S = params_.S;
    UpdateV();
    R = C - (V - M);
    if (!(B > V) || R <= 0)
        return;
    Scroll(-S);
    B -= S;
    T = B - C;
    if (B < V) {
        Scroll(V - B);
        B = V;
        T = V - C;
    }
    ThumbTop += Trunc(static_cast<double>(TrackRoom()) / R * S);
    if (B == V)
        ThumbTop = TrackTop + TrackRoom();
    ClampThumb();
    FractionFromThumb();
}

void TRowScroll::DragThumb(int Dy) {
    const int M = params_.M;
    UpdateV();
    R = C - (V - M);
    // With every row in view there is nothing to drag.
    if (R <= 0)
        return;
    win32::POINT origin{0, 0};
    DragScrollThumb(origin, win32::POINT{0, Dy}, ThumbTop, ThumbHeight, TrackTop, TrackHeight);
    FractionFromThumb();
    const int newBottom = C + M - Trunc(R * Fraction);
    Scroll(newBottom - B);
    T = newBottom - C;
    B = newBottom;
}

void TRowScroll::RowRemoved(int OldTop) {
    const int M = params_.M, P = params_.P;
    UpdateV();
    C -= P;
    B = T + C;
    NextRowTop -= P;
    R = C - (V - M);
    BarVisible = R > 0;
    if (BarVisible) {
        ThumbHeight = std::max(ComputedThumbHeight(), SmallestThumb);
        ThumbTop = TrackTop + (C > 0 ? Trunc(static_cast<double>(OldTop - T) / C * TrackRoom()) : 0);
        ClampThumb();
    } else {
        ThumbHeight = 0;
    }
    if (C >= V - M && B <= V) {
        // The last row moves back onto the last slot.
        Scroll(V - B);
        B = V;
        T = V - C;
    } else if (!BarVisible && T != M) {
        // Everything fits again: the first row goes back to the top margin.
        Scroll(M - T);
        T = M;
        B = C + M;
    }
}

void TRowScroll::ScrollIntoView(int Top) {
    const int M = params_.M, P = params_.P;
    UpdateV();
    int delta = 0;
    if (Top >= V || (Top > M && Top > V - P))
        delta = V - P - Top;
    else if (Top <= M)
        delta = M - Top;
    else
        return;
    Scroll(delta);
    if (C != V - M)
        ThumbTop -= Trunc(static_cast<double>(delta) / (C - (V - M)) * TrackRoom());
    ClampThumb();
    T += delta;
    B = T + C;
    FractionFromThumb();
}

void TRowScroll::Wheel(unsigned Delta) {
    if (Delta == 120)
        StepUp();
    else if (Delta == 65416)
        StepDown();
}

// --- The frame. ---

TCompanionFrame::TCompanionFrame(QWidget* Owner, const TFrameParams& Params)
    : TForm(Owner), params_(Params), scroll_(Params.Scroll) {
    BuildFrame();
    BindFrameEvents();
    scroll_.ScrollContents = [this](int Dy) { MoveRows(Dy); };
}

TCompanionFrame::~TCompanionFrame() {
    // Nothing may be sent to a window that is gone, nor a handle of it used again.
    if (params_.WindowHandle != nullptr && *params_.WindowHandle == Handle())
        *params_.WindowHandle = nullptr;
    if (params_.VisibleFlag != nullptr)
        *params_.VisibleFlag = false;
    if (params_.SelectionIndex != nullptr)
        *params_.SelectionIndex = -1;
}

void TCompanionFrame::BuildFrame() {
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetColor(clBlack);
    DisableAlign();
    auto panel = [](QWidget* Parent, const char* Name, TAlign Align, QRect Bounds, TColor Colour = clBlack) {
        auto* p = new TPanel(Parent);
        p->SetName(Name);
        p->SetBevelOuter(bvNone);
        p->SetColor(Colour);
        p->SetBounds(Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
        p->SetAlign(Align);
        return p;
    };
    auto picture = [](QWidget* Parent, const char* Name, QRect Bounds, TAlign Align, const QImage& Image) {
        auto* image = new tximage(Parent);
        image->SetName(Name);
        image->SetBounds(Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
        image->SetAlign(Align);
        image->SetStretch(true);
        image->Picture().Assign(Image);
        return image;
    };
    const int width = 200, height = 430;
    Top_p = panel(this, "Top_p", alTop, {0, 0, width, TitleHeight});
    Bottom_p = panel(this, "Bottom_p", alBottom, {0, height - BottomHeight, width, BottomHeight});
    Left_p = panel(this, "Left_p", alLeft, {0, TitleHeight, SideWidth, 100});
    Right_p = panel(this, "Right_p", alRight, {width - SideWidth, TitleHeight, SideWidth, 100});
    Father_P = panel(this, "Father_P", alClient, {SideWidth, TitleHeight, width - 2 * SideWidth, 100});

    Top_p->DisableAlign();
    Topleft_xi = picture(Top_p, "Topleft_xi", {0, 0, params_.TopLeftWidth, TitleHeight}, alLeft,
                         skinart::DrawFramePicture("Topleft_I", params_.TopLeftWidth, TitleHeight));
    Topright_xi = picture(Top_p, "Topright_xi", {width - 64, 0, 64, TitleHeight}, alRight,
                          skinart::DrawFramePicture("Topright_I", 64, TitleHeight));
    Topcenter_xi = picture(Top_p, "Topcenter_xi", {params_.TopLeftWidth, 0, 60, TitleHeight}, alClient,
                           skinart::DrawFramePicture("Topcenter_I", 60, TitleHeight));
    Top_p->EnableAlign();
    Image2 = new TImage(Top_p);
    Image2->SetName("Image2");
    Image2->SetBounds(params_.LogoLeft, 4, 60, 17);
    Image2->SetStretch(true);
    Image2->Picture().Assign(skinart::DrawFramePicture("SmallLogo_I", 60, 17));
    TopBar_xi = picture(Top_p, "TopBar_xi", {2, 1, width - 26, 2}, alNone,
                        skinart::DrawFramePicture("TopBar_xi", 8, 2));
    TopBar_xi->SetCursor(crSizeNS);
    Close_xi = new tximage(Top_p);
    Close_xi->SetName("Close_xi");
    Close_xi->SetBounds(width - 24, 0, 24, 20);
    Close_xi->SetHint("close");
    ShowDefaultSkinPicture(Close_xi, "Close_Normal_Btn.bmp");

    Left_xi = picture(Left_p, "Left_xi", {0, 0, SideWidth, 100}, alClient,
                      skinart::DrawFramePicture("Left_I", SideWidth, 100));
    Right_xi = picture(Right_p, "Right_xi", {0, 0, SideWidth, 100}, alClient,
                       skinart::DrawFramePicture("Right_I", SideWidth, 100));
    Left_xi->SetCursor(crSizeWE);
    Right_xi->SetCursor(crSizeWE);

    Bottom_p->DisableAlign();
    Bottomleft_xi = picture(Bottom_p, "Bottomleft_xi", {0, 0, 60, BottomHeight}, alLeft,
                            skinart::DrawFramePicture("Bottom_I", 60, BottomHeight));
    Bottomright_xi = picture(Bottom_p, "Bottomright_xi", {width - 60, 0, 60, BottomHeight}, alRight,
                             skinart::DrawFramePicture("Bottomright_I", 60, BottomHeight));
    Bottomcenter_xi = picture(Bottom_p, "Bottomcenter_xi", {60, 0, 80, BottomHeight}, alClient,
                              skinart::DrawFramePicture("Bottomcenter_I", 80, BottomHeight));
    Bottom_p->EnableAlign();
    BottomBar_xi = picture(Bottom_p, "BottomBar_xi", {2, BottomHeight - 3, width - 4, 2}, alNone,
                           skinart::DrawFramePicture("Bottomcenter_I", 8, 2));
    BottomBar_xi->SetCursor(crSizeNS);

    // Inside Father_P: the scroll bar at the right edge, the list area left of it (or filling the rest).
    Father_P->DisableAlign();
    const int fatherWidth = width - 2 * SideWidth;
    Scroll_P = panel(Father_P, "Scroll_P", alRight, {fatherWidth - ScrollWidth, 0, ScrollWidth, 100});
    if (params_.ListWidth > 0)
        ListArea = panel(Father_P, "ListArea", alRight,
                         {fatherWidth - ScrollWidth - params_.ListWidth, 0, params_.ListWidth, 100});
    else
        ListArea = panel(Father_P, "ListArea", alClient, {0, 0, fatherWidth - ScrollWidth, 100});
    Father_P->EnableAlign();
    Scroll_P->DisableAlign();
    ScrollTop_XI = picture(Scroll_P, "ScrollTop_XI", {0, 0, ScrollWidth, ArrowHeight}, alTop, {});
    ScrollBottom_XI = picture(Scroll_P, "ScrollBottom_XI", {0, 88, ScrollWidth, ArrowHeight}, alBottom, {});
    ScrollBG_XI = picture(Scroll_P, "ScrollBG_XI", {0, ArrowHeight, ScrollWidth, 76}, alClient,
                          Filled(ScrollWidth, 16, 0xFF1C1C1C, 0xFF303030));
    Scroll_P->EnableAlign();
    ShowDefaultSkinPicture(ScrollTop_XI, "Scrolltop_Normal_btn.bmp");
    ShowDefaultSkinPicture(ScrollBottom_XI, "Scrollbottom_Normal_btn.bmp");
    ScrollBar_XI = picture(Scroll_P, "ScrollBar_XI", {1, ArrowHeight, 16, SmallestThumb}, alNone,
                           Filled(10, 16, 0xFF8A8A8A, 0xFF5A5A5A));
    ScrollBar_XI->BringToFront();
    ScrollBar_XI->Hide();
    Scroll_P->Hide();
    SetBounds(Left(), Top(), width, height);
    EnableAlign();
}

void TCompanionFrame::BindFrameEvents() {
    auto drag = [this](TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); };
    for (TControl* c : std::initializer_list<TControl*>{Topleft_xi, Topcenter_xi, Topright_xi, Image2})
        c->OnMouseDown = drag;
    const std::pair<TControl*, int> bars[] = {{TopBar_xi, 1}, {BottomBar_xi, 2}, {Left_xi, 3}, {Right_xi, 4}};
    for (const auto& [bar, mode] : bars) {
        // The press captures the mouse for the bar (the class library's rule), so the moves keep coming
        // to it while the button is held.
        bar->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            win32::GetCursorPos(&DragOrigin);
        };
        bar->OnMouseMove = [this, mode = mode](TObject*, TShiftState Shift, int, int) {
            ResizeByBorder(Shift, mode);
        };
    }
    BindSkinButton(Close_xi, "Close_Normal_Btn.bmp", "Close_Hight_Btn.bmp", "Close_Enter_Btn.bmp");
    Close_xi->OnClick = [this](TObject* Sender) { Close_xiClick(Sender); };
    BindSkinButton(ScrollTop_XI, "Scrolltop_Normal_btn.bmp", "Scrolltop_Hight_btn.bmp",
                   "Scrolltop_Enter_btn.bmp", [this] { ScrollStepUp(); });
    BindSkinButton(ScrollBottom_XI, "Scrollbottom_Normal_btn.bmp", "Scrollbottom_Hight_btn.bmp",
                   "Scrollbottom_Enter_btn.bmp", [this] { ScrollStepDown(); });
    ScrollBar_XI->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        win32::GetCursorPos(&DragOrigin);
    };
    ScrollBar_XI->OnMouseMove = [this](TObject*, TShiftState Shift, int, int) { ScrollThumbDragged(Shift); };
    OnResize = [this](TObject*) { FrameResize(); };
    OnCanResize = [this](TObject*, int& W, int& H, bool& Resize) { CheckSize(W, H, Resize); };
    SetMessageHandler(win32::WM_MOUSEWHEEL, [this](TMessage& Message) { WMMouseWheel(Message); });
}

void TCompanionFrame::BindSkinButton(tximage* Button, const std::string& Normal, const std::string& Hight,
                                     const std::string& Enter, const std::function<void()>& OnPress) {
    auto load = [Button](const std::string& File) { Button->Picture().LoadFromFile(State.SkinPath + File); };
    Button->OnMouseEnter = [=](TObject*) { load(Hight); };
    Button->OnMouseLeave = [=](TObject*) { load(Normal); };
    Button->OnMouseDown = [=](TObject*, TMouseButton, TShiftState, int, int) {
        if (OnPress)
            OnPress();
        load(Enter);
    };
    Button->OnMouseUp = [=](TObject*, TMouseButton, TShiftState, int, int) { load(Normal); };
}

tximage* TCompanionFrame::AddToolButton(const char* Name, int Left, const char* Hint,
                                        const std::string& Normal, const std::string& Hight,
                                        const std::string& Enter) {
    auto* button = new tximage(Top_p);
    button->SetName(Name);
    button->SetBounds(Left, 27, 24, 16);
    button->SetCursor(crHandPoint);
    button->SetHint(Hint);
    button->SetShowHint(true);
    ShowDefaultSkinPicture(button, Normal);
    BindSkinButton(button, Normal, Hight, Enter);
    return button;
}

int TCompanionFrame::MinimumHeight() const {
    return TitleHeight + BottomHeight + scroll_.MinimumListHeight();
}

int TCompanionFrame::MinimumWidth() const {
    // The close button beside the widest tool button row, and the frame's edges.
    return 2 * SideWidth + ScrollWidth + 130;
}

void TCompanionFrame::CheckSize(int& NewWidth, int& NewHeight, bool&) {
    // No smaller than one row slot and a track taller than the thumb: every step of the scroll model then has
    // something to divide by.
    NewWidth = std::max(NewWidth, MinimumWidth());
    NewHeight = std::max(NewHeight, MinimumHeight());
}

void TCompanionFrame::LayoutFrameBars() {
    const int w = Width();
    TopBar_xi->SetBounds(2, 1, std::max(0, w - Close_xi->Width() - 2), TopBar_xi->Height());
    BottomBar_xi->SetBounds(2, Bottom_p->Height() - BottomBar_xi->Height() - 1, std::max(0, w - 4),
                            BottomBar_xi->Height());
    Close_xi->SetLeft(w - Close_xi->Width());
    RefitScroll();
}

void TCompanionFrame::FrameResize() {
    AlignControls();
    LayoutFrameBars();
    if (params_.RowsFollowWidth) {
        FitRowWidths(ListArea->Width() - 16);
    } else {
        RefitScroll();
    }
}

void TCompanionFrame::ResizeByBorder(TShiftState Shift, int Mode) {
    win32::POINT p;
    win32::GetCursorPos(&p);
    ResizeByBorderTo(Shift, Mode, p);
}

void TCompanionFrame::ResizeByBorderTo(TShiftState Shift, int Mode, win32::POINT Cursor) {
    if ((Shift & ssLeft) == 0)
        return;
    const int dy = Cursor.y - DragOrigin.y;
    const int dx = Cursor.x - DragOrigin.x;
    int left = Left(), top = Top(), width = Width(), height = Height();
    switch (Mode) {
    case 1: {
        // The bottom edge stays where it is, also when the height stops at the smallest.
        const int bottom = top + height;
        height = std::max(height - dy, MinimumHeight());
        top = bottom - height;
        break;
    }
    case 2:
        height = std::max(height + dy, MinimumHeight());
        break;
    case 3: {
        const int right = left + width;
        width = std::max(width - dx, MinimumWidth());
        left = right - width;
        break;
    }
    case 4:
        width = std::max(width + dx, MinimumWidth());
        break;
    default:
        return;
    }
    win32::MoveWindow(Handle(), left, top, width, height, win32::TRUE);
    RepaintFrame();
    DragOrigin = Cursor;
}

void TCompanionFrame::RepaintFrame() {
    for (TControl* c : std::initializer_list<TControl*>{this, ListArea, Top_p, Left_p, Right_p, Bottom_p,
                                                        Father_P, Scroll_P})
        c->Repaint();
}

void TCompanionFrame::EnableDoubleBuffering() {
    SetDoubleBuffered(true);
    for (TPanel* p : {ListArea, Top_p, Left_p, Right_p, Bottom_p, Father_P, Scroll_P})
        p->SetDoubleBuffered(true);
}

void TCompanionFrame::MeasureScroll() {
    // The bar fills Father_P's height whether it shows or not; the track lies between the two arrows.
    scroll_.ListHeight = ListArea->Height();
    scroll_.ListVisible = ListArea->Visible();
    scroll_.TrackTop = ArrowHeight;
    scroll_.TrackHeight = std::max(0, Father_P->Height() - 2 * ArrowHeight);
}

void TCompanionFrame::ShowScrollState() {
    Scroll_P->SetVisible(scroll_.BarVisible);
    ScrollBar_XI->SetVisible(scroll_.ThumbVisible && scroll_.BarVisible);
    ScrollBar_XI->SetBounds(ScrollBar_XI->Left(), scroll_.ThumbTop, ScrollBar_XI->Width(),
                            std::max(scroll_.ThumbHeight, 0));
    PlaceRows();
}

void TCompanionFrame::ResetScrollState() {
    scroll_.Reset();
}

void TCompanionFrame::RefitScroll() {
    MeasureScroll();
    scroll_.Refit();
    ShowScrollState();
}

void TCompanionFrame::ScrollStepUp() {
    MeasureScroll();
    scroll_.StepUp();
    ShowScrollState();
}

void TCompanionFrame::ScrollStepDown() {
    MeasureScroll();
    scroll_.StepDown();
    ShowScrollState();
}

void TCompanionFrame::ScrollThumbDragged(TShiftState Shift) {
    if ((Shift & ssLeft) == 0)
        return;
    win32::POINT cursor;
    win32::GetCursorPos(&cursor);
    MeasureScroll();
    scroll_.DragThumb(cursor.y - DragOrigin.y);
    DragOrigin = cursor;
    ShowScrollState();
}

void TCompanionFrame::UpdateScrollBarVisible() {
    Scroll_P->SetVisible(scroll_.R > 0);
}

void TCompanionFrame::WMMouseWheel(TMessage& Message) {
    MeasureScroll();
    scroll_.Wheel(win32::HIWORD(static_cast<win32::DWORD>(Message.WParam)));
    ShowScrollState();
}

void TCompanionFrame::wheelEvent(QWheelEvent* Event) {
    // The wheel scrolls the window that has the input focus.
    if (!isActiveWindow()) {
        Event->ignore();
        return;
    }
    Event->accept();
    const auto delta = static_cast<std::uint16_t>(static_cast<std::int16_t>(Event->angleDelta().y()));
    win32::SendMessage(Handle(), win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(delta) << 16, 0);
}

TPanel* TCompanionFrame::RowAt(int Index) const {
    return Index >= 0 && Index < RowTotal() ? rows_[static_cast<std::size_t>(Index)] : nullptr;
}

int TCompanionFrame::IndexOfRow(const QWidget* Control) const {
    for (const QWidget* w = Control; w != nullptr; w = w->parentWidget())
        for (int i = 0; i < RowTotal(); ++i)
            if (rows_[static_cast<std::size_t>(i)] == w)
                return i;
    return -1;
}

void TCompanionFrame::AppendRow(const std::function<TPanel*(int Top)>& Make) {
    MeasureScroll();
    scroll_.Append([&](int Top) {
        TPanel* row = Make(Top);
        row->SetTop(Top);
        rows_.push_back(row);
    });
    ShowScrollState();
}

int TCompanionFrame::RemoveSelectedRow() {
    const int index = params_.SelectionIndex != nullptr ? *params_.SelectionIndex : -1;
    // An index that names no row (a stale selection) removes nothing.
    TPanel* row = RowAt(index);
    if (row == nullptr)
        return -1;
    const int oldTop = row->Top();
    rows_.erase(rows_.begin() + index);
    delete row;
    *params_.SelectionIndex = -1;
    for (int i = index; i < RowTotal(); ++i) {
        TPanel* after = rows_[static_cast<std::size_t>(i)];
        after->SetTop(after->Top() - scroll_.Params().P);
        RowMoved(after, i);
    }
    MeasureScroll();
    scroll_.RowRemoved(oldTop);
    ShowScrollState();
    return index;
}

void TCompanionFrame::FreeRows() {
    while (!rows_.empty()) {
        delete rows_.back();
        rows_.pop_back();
    }
    if (params_.SelectionIndex != nullptr)
        *params_.SelectionIndex = -1;
}

void TCompanionFrame::RowMoved(TPanel*, int) {}

void TCompanionFrame::MoveRows(int Dy) {
    for (TPanel* row : rows_)
        row->SetTop(row->Top() + Dy);
}

void TCompanionFrame::FitRowWidths(int Width) {
    for (TPanel* row : rows_)
        row->SetWidth(Width);
}

void TCompanionFrame::Close_xiClick(TObject*) {
    win32::ShowWindow(Handle(), win32::SW_HIDE);
    if (params_.VisibleFlag != nullptr)
        *params_.VisibleFlag = false;
}
