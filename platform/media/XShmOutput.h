#pragma once
// Pictures put straight into a native X window through the X server's shared-memory extension (MIT-SHM):
// each frame is converted into memory that the server reads itself, so nothing copies it again on this side
// (no toolkit window buffer, no painting on the GUI thread), and the thread that converts it puts it.
//
// Offered when the program runs on an X display that has the extension for this process (a local server)
// and shows 24-bit TrueColor windows at 32 bits a pixel, the layout the converter writes. The display's
// connection is the toolkit's own: its requests are ordered with the toolkit's (a window moved, then a
// picture put into it), and xcb lets any thread send on it.

#include <cstdint>
#include <mutex>

#include <QSize>

#include <gst/video/video.h>

#include "platform/media/FrameConverter.h"

namespace dshow {

class XShmImage {
public:
    // Whether pictures can be put this way on the program's display. The environment variable
    // QUOREL_VIDEO_OUTPUT=qt turns it off (pictures are then painted through the toolkit, as on a display
    // without the extension).
    static bool Available();
    // Whether Window is a window of a depth the pictures can be put into.
    static bool Suits(unsigned long Window);
    // Takes the names a top-level window bears (its title and class, which the toolkit gives every window it
    // makes) off Window, a child window: tools that look for the program's windows by name then find its
    // top-level windows only, as before the picture had a window of its own.
    static void Unname(unsigned long Window);

    XShmImage() = default;
    ~XShmImage();
    XShmImage(const XShmImage&) = delete;
    XShmImage& operator=(const XShmImage&) = delete;

    // Converts Frame to Size in the shared memory and puts it at the top left of Window. Returns once the
    // server has read it: the memory is then free for the next frame and keeps this one for a repaint.
    bool Put(const GstVideoFrame& Frame, unsigned long Window, QSize Size);
    // Puts the picture of the last Put again, when it has Size.
    bool PutAgain(unsigned long Window, QSize Size);

private:
    bool Reserve(std::size_t Bytes);
    bool Send(unsigned long Window);
    void Release();

    std::mutex mutex_;
    FrameConverter converter_;
    std::uint32_t segment_ = 0; // the server's name for the memory, 0 for none
    std::uint8_t* memory_ = nullptr;
    std::size_t capacity_ = 0;
    QSize size_;
    int stride_ = 0;
    bool filled_ = false;
};

} // namespace dshow
