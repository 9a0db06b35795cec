#pragma once
// Drawing and colour helpers of the track bar: colours to and from hue, saturation and luminance on a 0..240
// scale, lighter, darker and opposite-hue colours, and one-pixel sides, bevels and the frame styles. They
// keep no state. Colours may be system colours; they are turned into their RGB values first. clNone draws
// nothing.
//
// Every side is drawn as a one-pixel rectangle, never as a painter's line, so that a side covers exactly
// its first point up to (not including) its last, and the pixels come out the same at any line settings.

#include <QPainter>

#include "platform/forms/Graphics.h"
#include "platform/win32/Types.h"
#include "skin/SlideCommon.h"

// Hue, saturation and luminance of Color, each on the 0..240 scale, taken to the nearest integer (a half to
// the even one).
void ColorToHslScale(forms::TColor Color, win32::BYTE& H, win32::BYTE& S, win32::BYTE& L);
win32::BYTE HueOfColor(forms::TColor Color);
// The colour of H, S and L on the 0..240 scale. The hue is taken over 239, not 240, so that a colour's hue
// comes back slightly turned (pure blue gives RGB (4, 0, 255)); the shades the track bar derives rely on
// exactly these values. A luminance above 240 saturates toward white.
forms::TColor HslScaleToColor(int H, int S, int L);

// Color with its luminance lowered (not below 0) or raised (not above 255, which is past white) by Amount.
forms::TColor DarkenColor(forms::TColor Color, int Amount);
forms::TColor LightenColor(forms::TColor Color, int Amount);
// The colour of the opposite hue at full saturation and the given luminance.
forms::TColor OppositeHueColor(forms::TColor Color, int Luminance);

// One-pixel sides of Rect: left and top in ULColor, right and bottom in LRColor, for the sides in Sides.
// Inner is Rect shrunk by one pixel on each side in Sides, whether or not its colour was drawn.
void PaintSides(QPainter& Canvas, const TRect& Rect, forms::TColor ULColor, TRect& Inner, TSides Sides,
                forms::TColor LRColor);
// PaintSides Count times, each inside the one before.
void PaintBevel(QPainter& Canvas, const TRect& Rect, forms::TColor ULColor, TRect& Inner, TSides Sides,
                int Count, forms::TColor LRColor);
// Two bevels, outer then inner, in the colours of a raised or lowered frame, or of a button up or down.
void PaintDoubleBevel(QPainter& Canvas, const TRect& Rect, bool Lowered, TRect& Inner, TSides Sides);
void PaintButtonBevel(QPainter& Canvas, const TRect& Rect, bool Down, TRect& Inner, TSides Sides);
// The frame of Style on the sides in Sides; PaintFrame draws all four.
void PaintFrameSides(QPainter& Canvas, const TRect& Rect, TFrameStyle Style, TRect& Inner, TSides Sides);
void PaintFrame(QPainter& Canvas, const TRect& Rect, TFrameStyle Style, TRect& Inner);
