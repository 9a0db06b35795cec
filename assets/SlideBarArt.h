#pragma once
// The artwork the track bar carries in the program: the thumb pictures of every thumb style and orientation
// (normal, hot, disabled and mask), its two cursors, and the three-frame thumb strip of the
// picture-in-picture setup dialog's bars. Drawn by code, so that the pictures are our own.
//
// The 16-colour thumbs use the standard 16-colour palette, and their colours have roles: the track bar
// recolours silver, grey, olive, yellow, green, blue, navy, aqua, red, maroon, fuchsia, teal, purple and
// lime into the colours of the desktop and of its highlight and hot-track colours; black and white stay.
// The mask is black where the thumb shows and white where the background shows; the pictures are black
// outside the thumb.

#include <string>

#include <QImage>
#include <QPoint>

namespace skinart {

// The picture of one of the track bar's thumb resources ("SLIDEBAR_H_BOX", "SLIDEBAR_V_PTR_HOT",
// "SLIDEBAR_WIN95_MASK", ...): a 16-colour indexed image, or for the two XP styles a true-colour image with a
// one-bit mask. A null image for an unknown name.
QImage DrawSlideBarBitmap(const std::string& Name);

// The cursor over the thumb of a horizontal ("SLIDEBAR_H_CURSOR") or vertical ("SLIDEBAR_V_CURSOR") bar, with
// its hot spot; a null image for an unknown name.
QImage DrawSlideBarCursor(const std::string& Name, QPoint& HotSpot);

// The 60 x 20 8-bit strip of three 20 x 20 frames (normal, mask, disabled) of the setup dialog's bars.
QImage DrawPipSetupThumbStrip();

} // namespace skinart
