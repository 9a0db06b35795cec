#pragma once
// Turns a decoded picture into 32-bit BGRA (BGRx for the display, Qt's RGB32) at the size it is shown, from
// the decoder's own buffer into the memory the picture is shown from. This is the whole CPU cost of showing
// a frame, so it uses the fastest scaler at hand (libswscale), the cheaper of one pass (scaling and colour
// together) and two (scaling as YUV, then the colour), and a filter that fits the factor: a plain bilinear
// for the usual sizes, area averaging where a picture is shrunk to less than half (which the bilinear
// filter would alias).

#include <cstdint>
#include <vector>

#include <gst/gst.h>
#include <gst/video/video.h>

struct SwsContext;

namespace dshow {

class FrameConverter {
public:
    FrameConverter() = default;
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    // The raw formats read directly (an input takes these, and anything else converted to one of them).
    static GstCaps* AcceptedCaps();
    static bool Accepts(GstVideoFormat Format);

    // Converts Frame into Width x Height BGRA pixels at Destination, Stride bytes per row. False when the
    // frame's format is not one it reads or a size is empty.
    bool Convert(const GstVideoFrame& Frame, std::uint8_t* Destination, int Stride, int Width, int Height);

private:
    static bool TwoPasses(int SourceFormat, int SourceWidth, int SourceHeight, int Width, int Height);
    static int HeadRows(int Height);
    static int TailStride(int Width);
    void FreeContexts();

    SwsContext* context_ = nullptr;
    // The colour pass of two, and the scaled YUV picture between them (TwoPasses).
    SwsContext* colourContext_ = nullptr;
    std::vector<std::uint8_t> scaled_;
    int scaledStrides_[4] = {};
    // The colour pass's last rows, made in a buffer of their own (Convert).
    SwsContext* tailContext_ = nullptr;
    std::vector<std::uint8_t> tailRows_;
    // What context_ was set up for: a new source, size or colour description makes it anew.
    int sourceWidth_ = 0, sourceHeight_ = 0, sourceFormat_ = -1;
    int width_ = 0, height_ = 0;
    int matrix_ = -1;
    bool fullRange_ = false;
};

} // namespace dshow
