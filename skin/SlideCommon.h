#pragma once
// Types and small helpers that the track bar and its drawing helpers share.

#include "platform/win32/Types.h"

// A rectangle as the drawing helpers take it: right and bottom lie just outside it.
using TRect = win32::RECT;

// Whether (X, Y) lies in Rect (left and top inclusive, right and bottom exclusive).
inline bool PtInRect(const TRect& Rect, int X, int Y) {
    return X >= Rect.left && X < Rect.right && Y >= Rect.top && Y < Rect.bottom;
}

// The sides of a rectangle, as a set.
using TSides = unsigned;
constexpr TSides sdLeft = 1;
constexpr TSides sdTop = 2;
constexpr TSides sdRight = 4;
constexpr TSides sdBottom = 8;
constexpr TSides sdAll = sdLeft | sdTop | sdRight | sdBottom;

// The frame styles; TFrameStyle is the range fsNone .. fsFlatBold of them.
enum TFrameStyleEx {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold,
    fsFlatRounded
};
using TFrameStyle = TFrameStyleEx;

int SmallerOf(int A, int B);
int LargerOf(int A, int B);
