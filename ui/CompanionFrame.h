#pragma once
// The frame that the two companion windows share (the play-list window TList_Form and the capture-list window
// TCapture_Form): a borderless, stay-on-top window with a title strip, a close button and tool buttons, side
// and bottom strips that resize it, a black list area whose rows the window places itself, and a scroll bar
// made of skin pictures beside it. Both windows derive from TCompanionFrame and give it their parameters.
//
// The scroll model (TRowScroll) keeps the rows and the bar in agreement: the i-th row of the list has its top
// at T + P * i, every scroll moves all rows together, and the thumb stays inside its track.

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Types.h"
#include "skin/ximage.h"

class QWheelEvent;

// The scroll state of a list of rows of one pitch, with the geometry of the list area and of the track as
// inputs. It moves nothing itself: ScrollContents moves every row by Dy, and the window shows the bar and the
// thumb as the state says.
class TRowScroll {
public:
    struct TParams {
        int M; // top margin: the top of the first row slot
        int P; // row pitch
        int S; // scroll step (a wheel notch, an arrow press)
        // The fit after a change of size shows a hidden thumb (when its computed height exceeds 1).
        bool RefitShowsThumb;
        // The fit decides the bar's visibility also while the list area is not visible.
        bool RefitBarWhileListHidden;
    };

    explicit TRowScroll(TParams Params);
    const TParams& Params() const { return params_; }

    // Inputs, kept up to date by the window before each step.
    int ListHeight = 0;
    bool ListVisible = true;
    int TrackTop = 12;
    int TrackHeight = 0;
    std::function<void(int Dy)> ScrollContents;

    // The state.
    int C = 0;          // content height: P x rows
    int V = 0;          // the bottom of the last whole row slot
    int R = 0;          // how far the rows can scroll: C - (V - M)
    int T = 0;          // the top of the first row
    int B = 0;          // T + C
    int NextRowTop = 0; // the top of the next appended row
    double Fraction = 0.0;
    bool BarVisible = false;
    bool ThumbVisible = false;
    int ThumbTop = 0;
    int ThumbHeight = 0;

    // C, R := 0; T, B, NextRowTop := M; the fraction stays.
    void Reset();
    // After a change of the list area's size or of C.
    void Refit();
    // One more row: C grows by P and the view follows; Create makes the row at the top it is given (always
    // T + P x its index), before the view scrolls to show it when the list overflows.
    void Append(const std::function<void(int Top)>& Create);
    void StepUp();
    void StepDown();
    // The thumb dragged by Dy pixels.
    void DragThumb(int Dy);
    // The row that stood at OldTop was freed and the rows after it moved up by P.
    void RowRemoved(int OldTop);
    // Scrolls so that the row at Top shows whole (play-list window).
    void ScrollIntoView(int Top);
    // A wheel delta as the high word of WM_MOUSEWHEEL's wParam: 120 up one step, 65416 (-120) down one step,
    // anything else nothing.
    void Wheel(unsigned Delta);

    // The height of the list area and of the track that every step needs: one row slot, and a track taller
    // than the smallest thumb.
    int MinimumListHeight() const;

private:
    void UpdateV();
    void Scroll(int Dy);
    int TrackRoom() const { return TrackHeight - ThumbHeight; }
    int ComputedThumbHeight() const;
    void ClampThumb();
    void FractionFromThumb();

    TParams params_;
};

class TCompanionFrame : public forms::TForm {
public:
    struct TFrameParams {
        TRowScroll::TParams Scroll;
        // Width of Topleft_xi, left of Image2.
        int TopLeftWidth;
        int LogoLeft;
        // The list area is right-aligned at this width (0: it fills Father_P).
        int ListWidth;
        // Rows follow the list area's width (width - 16) when the window is resized.
        bool RowsFollowWidth;
        // The shared state this window keeps up to date: its visible flag, its handle and its selection.
        bool* VisibleFlag;
        win32::HWND* WindowHandle;
        int* SelectionIndex;
    };

    TCompanionFrame(QWidget* Owner, const TFrameParams& Params);
    ~TCompanionFrame() override;

    // --- Components. ---
    forms::TPanel* Top_p = nullptr;
    tximage* Topleft_xi = nullptr;
    tximage* Topcenter_xi = nullptr;
    tximage* Topright_xi = nullptr;
    forms::TImage* Image2 = nullptr;
    tximage* Close_xi = nullptr;
    tximage* TopBar_xi = nullptr;
    forms::TPanel* Left_p = nullptr;
    forms::TPanel* Right_p = nullptr;
    tximage* Left_xi = nullptr;
    tximage* Right_xi = nullptr;
    forms::TPanel* Bottom_p = nullptr;
    tximage* Bottomleft_xi = nullptr;
    tximage* Bottomcenter_xi = nullptr;
    tximage* Bottomright_xi = nullptr;
    tximage* BottomBar_xi = nullptr;
    forms::TPanel* Father_P = nullptr;
    forms::TPanel* ListArea = nullptr; // PL_P or Capture_P
    forms::TPanel* Scroll_P = nullptr;
    tximage* ScrollTop_XI = nullptr;
    tximage* ScrollBottom_XI = nullptr;
    tximage* ScrollBG_XI = nullptr;
    tximage* ScrollBar_XI = nullptr;

    // --- The frame's methods. ---
    void LayoutFrameBars();
    void ResizeByBorder(forms::TShiftState Shift, int Mode);
    // One resize step with the cursor at Cursor (screen coordinates).
    void ResizeByBorderTo(forms::TShiftState Shift, int Mode, win32::POINT Cursor);
    void RepaintFrame();
    void EnableDoubleBuffering();
    void ResetScrollState();
    void RefitScroll();
    void ScrollStepUp();
    void ScrollStepDown();
    void ScrollThumbDragged(forms::TShiftState Shift);
    void UpdateScrollBarVisible();
    void WMMouseWheel(forms::TMessage& Message);

    // The rows of the list area in list order, for a window whose every row is a control of its own (the
    // capture list). A window may keep its rows otherwise (the play list shows only those in view) and say
    // so through the four methods below.
    const std::vector<forms::TPanel*>& Rows() const { return rows_; }
    virtual int RowTotal() const { return static_cast<int>(rows_.size()); }
    const TRowScroll& ScrollState() const { return scroll_; }
    // The control that shows the row at Index, or nullptr for an index outside the list (or a row out of
    // view, in a window that shows only the rows in view).
    virtual forms::TPanel* RowAt(int Index) const;
    // The index of the row that Control (a row or a control on it) shows, or -1.
    virtual int IndexOfRow(const QWidget* Control) const;
    // The top of the row at Index in the list area: T + P x Index.
    int RowTop(int Index) const { return scroll_.T + scroll_.Params().P * Index; }

    // The smallest outer size at which every row step works (one row slot, a track taller than the thumb).
    int MinimumHeight() const;
    int MinimumWidth() const;

    win32::POINT DragOrigin{};

protected:
    // Appends one row: Make creates it as a child of the list area at the top it is given.
    void AppendRow(const std::function<forms::TPanel*(int Top)>& Make);
    // Removes the selected row (the selection index): -1 and nothing changed when there is none or it names
    // no row. RowMoved runs for every row after it, with its new index, once it has moved up.
    int RemoveSelectedRow();
    // Frees every row, last first.
    void FreeRows();
    virtual void RowMoved(forms::TPanel* Row, int NewIndex);
    // The scroll model moved every row by Dy.
    virtual void MoveRows(int Dy);
    // The scroll model has its new state: a window that shows only the rows in view shows them now.
    virtual void PlaceRows() {}
    // The window was resized: rows that follow the list's width take Width.
    virtual void FitRowWidths(int Width);
    // A tool button of the title strip with the skin pictures Normal, Hight and Enter.
    tximage* AddToolButton(const char* Name, int Left, const char* Hint, const std::string& Normal,
                           const std::string& Hight, const std::string& Enter);
    // The skin button rule: the Hight picture while the pointer is over it, Enter while pressed, else Normal.
    void BindSkinButton(tximage* Button, const std::string& Normal, const std::string& Hight,
                        const std::string& Enter, const std::function<void()>& OnPress = nullptr);
    void Close_xiClick(forms::TObject* Sender);
    // Measures the list area and the track into the scroll model.
    void MeasureScroll();
    // Shows the bar and the thumb where the scroll model has them.
    void ShowScrollState();

    void wheelEvent(QWheelEvent* Event) override;

    TFrameParams params_;
    TRowScroll scroll_;

private:
    void BuildFrame();
    void BindFrameEvents();
    void FrameResize();
    void CheckSize(int& NewWidth, int& NewHeight, bool& Resize);

    std::vector<forms::TPanel*> rows_;
};

// The thumb-moving step shared by both windows: the thumb follows the cursor's vertical move since
// DragOrigin within its track (a thumb outside the track is not moved), and DragOrigin becomes Cursor.
void DragScrollThumb(win32::POINT& DragOrigin, win32::POINT Cursor, int& ThumbTop, int ThumbHeight,
                     int TrackTop, int TrackHeight);

// The skin file's picture as the default skin draws it (the windows start with these before any file loads).
void ShowDefaultSkinPicture(forms::TImage* Image, const std::string& File);

// The hourglass over every window of the program while a long step runs (a capture, a save), until the
// step ends, also by an error.
class THourGlass {
public:
    THourGlass();
    ~THourGlass();
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};
