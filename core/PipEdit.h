#pragma once
// Picture-in-picture: editing the small picture while a pair plays. The alphas of the two pictures, each edge
// of the small picture moved by a bar of the setup dialog, its place and size dragged with the mouse over the
// video, and its orientation (upside down, mirrored, both, upright again). Every change acts at once on the
// mixer; changes of place, size and orientation are also stored in [Pip] (edges in percent, rounded to the
// nearest), the alphas are not.
//
// Each operation goes to the mixer of the renderer in use (RenderType 1007 or 1009) and does nothing, writing
// nothing, when there is none. BeginPipDrag and UpdatePipOrientation read the VMR-9 mixer when it is set,
// else the VMR-7 mixer.
//
// The setup dialog calls the alpha, edge and flip operations with its bars' positions (0..100): they act on
// the playing pair at once.

#include "platform/forms/Controls.h"
#include "platform/forms/Menus.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Types.h"

// The current alphas of streams 0 and 1 (file A, file B) as positions 0..100 (80 and 60 after an open);
// left as they are when there is no mixer.
void LoadPipAlphaBars(int& PositionA, int& PositionB);
// Stream's alpha := Position / 100.
void SetPipAlpha(int Stream, int Position);
// One edge of Stream's rectangle moved by the bar's change since LastPosition (Position - LastPosition
// hundredths; a bar moved right moves its edge right or down), not clamped: an edge moved past the other one
// flips the picture. LastPosition becomes Position. With a mixer the rectangle is stored with PositionType
// 102.
void AdjustPipLeft(int Stream, int& LastPosition, int Position);
void AdjustPipTop(int Stream, int& LastPosition, int Position);
void AdjustPipRight(int Stream, int& LastPosition, int Position);
void AdjustPipBottom(int Stream, int& LastPosition, int Position);

// The regions of the small picture that the mouse can be over, as seen on the screen (rows of the hit test,
// tested in this order); a press fixes the region for its whole drag.
namespace PipRegions {
inline constexpr int None = 0, LeftEdge = 1, RightEdge = 2, TopLeftCorner = 3, BottomRightCorner = 4,
                     TopRightCorner = 5, BottomLeftCorner = 6, TopEdge = 7, BottomEdge = 8, Inside = 9,
                     Elsewhere = 10;
}

// The region that (X, Y) lies in for the small picture seen at PL, PT, PR, PB (panel pixels, PL < PR and PT <
// PB for a picture seen upright) in a video of W x H at OffX, OffY. Bands reach 10 pixels to each side of an
// edge; an edge on the border of the video is not offered for resizing.
int PipHitRegion(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H);

// A press on the video (PlayType 3 only): with the left button the point, the small picture's size and the
// region under the mouse are kept for the drag, and a hand cursor becomes the four-way one. PipDragging
// false.
void BeginPipDrag(int Stream, int X, int Y, win32::HWND Wnd, forms::TMouseButton Button);
// A move over the video (PlayType 3): the cursor of the region under the mouse and, while the left button is
// held, the edit of the pressed region by the move since the last one. The edges are stored at every move
// (a key only when it changed), PositionType 102 only while the button is held. Nothing without a mixer and
// windowless control, or when the video has no size on the screen.
void PipMouseMove(win32::HWND Wnd, int Stream, int X, int Y, forms::TShiftState Shift);
// The hit test and edit of one orientation of the small picture (ReverseType 0, 1, 2, 3): PL .. PB are the
// rectangle's own edges in pixels, Rect is changed while the left button is held.
void PipMoveNormal(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                   forms::TShiftState Shift, dshow::NORMALIZEDRECT& Rect);
void PipMoveUpsideDown(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                       forms::TShiftState Shift, dshow::NORMALIZEDRECT& Rect);
void PipMoveMirrored(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                     forms::TShiftState Shift, dshow::NORMALIZEDRECT& Rect);
void PipMoveBoth(int X, int Y, int PL, int PT, int PR, int PB, int OffX, int OffY, int W, int H,
                 forms::TShiftState Shift, dshow::NORMALIZEDRECT& Rect);
// The screen cursor back to the default arrow (the drag's or the hover's cursor must not stay over the rest
// of the program once the mouse has left the video, or the capture was lost).
void RestorePipCursor();

// The small picture upside down, mirrored, both, or upright again in the same place; stored with
// PositionType 102. Unless Silent, Item (a menu item) is checked afterwards. A flip applied twice is undone.
void FlipPipVertical(forms::TMenuItem* Item, bool Silent);
void MirrorPip(forms::TMenuItem* Item, bool Silent);
void FlipPipBoth(forms::TMenuItem* Item, bool Silent);
void NormalizePip(forms::TMenuItem* Item, bool Silent);

// ReverseType from the small picture's rectangle: 0 upright, 1 upside down, 2 mirrored, 3 both; unchanged
// when a pair of edges is equal or there is no mixer.
void UpdatePipOrientation();

// An edge in percent as stored: rounded to the nearest (an edge held as a float just below 0.29 is 29).
int PipPercent(float Edge);
