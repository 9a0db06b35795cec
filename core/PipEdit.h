#pragma once
// Picture-in-picture: editing the small picture with the mouse (moving and resizing it on the video) and its
// orientation. Not built yet: nothing is edited, and no press captures the mouse.

#include "platform/forms/Controls.h"
#include "platform/win32/Types.h"

// The press on the video: for picture-in-picture and the left button, remembers the point and the small
// picture's size and captures the mouse for Wnd.
void BeginPipDrag(int Stream, int X, int Y, win32::HWND Wnd, forms::TMouseButton Button);
// Every mouse move over the video while picture-in-picture plays: the hover cursor, moving and resizing.
void PipMouseMove(win32::HWND Wnd, int Stream, int X, int Y, forms::TShiftState Shift);
// ReverseType from the small picture's rectangle as the mixer has it.
void UpdatePipOrientation();
// The small picture upright, upside down or mirrored; unless Silent, Item (a menu item) is checked after.
void NormalizePip(forms::TObject* Item, bool Silent);
void FlipPipVertical(forms::TObject* Item, bool Silent);
void MirrorPip(forms::TObject* Item, bool Silent);
