#include "platform/media/FrameConverter.h"

#include <algorithm>
#include <array>
#include <string>

extern "C" {
#include <libavutil/log.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace dshow {

namespace {

struct FormatEntry {
    GstVideoFormat gst;
    AVPixelFormat av;
    // Planar YUV: the planes are taken by component (Y, U, V), whatever order the format keeps them in.
    bool byComponent;
};

constexpr std::array Formats{
    FormatEntry{GST_VIDEO_FORMAT_I420, AV_PIX_FMT_YUV420P, true},
    FormatEntry{GST_VIDEO_FORMAT_YV12, AV_PIX_FMT_YUV420P, true},
    FormatEntry{GST_VIDEO_FORMAT_NV12, AV_PIX_FMT_NV12, false},
    FormatEntry{GST_VIDEO_FORMAT_NV21, AV_PIX_FMT_NV21, false},
    FormatEntry{GST_VIDEO_FORMAT_Y42B, AV_PIX_FMT_YUV422P, true},
    FormatEntry{GST_VIDEO_FORMAT_Y444, AV_PIX_FMT_YUV444P, true},
    FormatEntry{GST_VIDEO_FORMAT_Y41B, AV_PIX_FMT_YUV411P, true},
    FormatEntry{GST_VIDEO_FORMAT_I420_10LE, AV_PIX_FMT_YUV420P10LE, true},
    FormatEntry{GST_VIDEO_FORMAT_I422_10LE, AV_PIX_FMT_YUV422P10LE, true},
    FormatEntry{GST_VIDEO_FORMAT_Y444_10LE, AV_PIX_FMT_YUV444P10LE, true},
    FormatEntry{GST_VIDEO_FORMAT_P010_10LE, AV_PIX_FMT_P010LE, false},
    FormatEntry{GST_VIDEO_FORMAT_GRAY8, AV_PIX_FMT_GRAY8, false},
    FormatEntry{GST_VIDEO_FORMAT_YUY2, AV_PIX_FMT_YUYV422, false},
    FormatEntry{GST_VIDEO_FORMAT_UYVY, AV_PIX_FMT_UYVY422, false},
    FormatEntry{GST_VIDEO_FORMAT_YVYU, AV_PIX_FMT_YVYU422, false},
    FormatEntry{GST_VIDEO_FORMAT_GBR, AV_PIX_FMT_GBRP, false},
    FormatEntry{GST_VIDEO_FORMAT_BGRx, AV_PIX_FMT_BGR0, false},
    FormatEntry{GST_VIDEO_FORMAT_BGRA, AV_PIX_FMT_BGRA, false},
    FormatEntry{GST_VIDEO_FORMAT_RGBx, AV_PIX_FMT_RGB0, false},
    FormatEntry{GST_VIDEO_FORMAT_RGBA, AV_PIX_FMT_RGBA, false},
    FormatEntry{GST_VIDEO_FORMAT_xRGB, AV_PIX_FMT_0RGB, false},
    FormatEntry{GST_VIDEO_FORMAT_ARGB, AV_PIX_FMT_ARGB, false},
    FormatEntry{GST_VIDEO_FORMAT_xBGR, AV_PIX_FMT_0BGR, false},
    FormatEntry{GST_VIDEO_FORMAT_ABGR, AV_PIX_FMT_ABGR, false},
    FormatEntry{GST_VIDEO_FORMAT_RGB, AV_PIX_FMT_RGB24, false},
    FormatEntry{GST_VIDEO_FORMAT_BGR, AV_PIX_FMT_BGR24, false},
};

const FormatEntry* EntryOf(GstVideoFormat Format) {
    const auto* it = std::find_if(Formats.begin(), Formats.end(),
                                  [Format](const FormatEntry& e) { return e.gst == Format; });
    return it != Formats.end() ? it : nullptr;
}

// The YUV matrix of a picture as the scaler names it; pictures that do not say are taken as the sizes
// suggest (HD pictures are BT.709, smaller ones BT.601), as GStreamer's own converter takes them.
int MatrixOf(const GstVideoInfo& Info) {
    switch (Info.colorimetry.matrix) {
    case GST_VIDEO_COLOR_MATRIX_BT709:
        return SWS_CS_ITU709;
    case GST_VIDEO_COLOR_MATRIX_BT601:
        return SWS_CS_ITU601;
    case GST_VIDEO_COLOR_MATRIX_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case GST_VIDEO_COLOR_MATRIX_BT2020:
        return SWS_CS_BT2020;
    case GST_VIDEO_COLOR_MATRIX_FCC:
        return SWS_CS_FCC;
    default:
        return Info.height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

} // namespace

FrameConverter::~FrameConverter() {
    sws_freeContext(context_);
}

GstCaps* FrameConverter::AcceptedCaps() {
    std::string formats;
    for (const FormatEntry& entry : Formats)
        formats += std::string(formats.empty() ? "" : ", ") + gst_video_format_to_string(entry.gst);
    return gst_caps_from_string(("video/x-raw, format=(string){ " + formats + " }").c_str());
}

bool FrameConverter::Accepts(GstVideoFormat Format) {
    return EntryOf(Format) != nullptr;
}

bool FrameConverter::Convert(const GstVideoFrame& Frame, std::uint8_t* Destination, int Stride, int Width,
                             int Height) {
    const GstVideoInfo& info = Frame.info;
    const FormatEntry* entry = EntryOf(GST_VIDEO_INFO_FORMAT(&info));
    if (entry == nullptr || Destination == nullptr || Width <= 0 || Height <= 0 || info.width <= 0 ||
        info.height <= 0)
        return false;
    const int matrix = MatrixOf(info);
    const bool fullRange = info.colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
    if (context_ == nullptr || sourceWidth_ != info.width || sourceHeight_ != info.height ||
        sourceFormat_ != entry->av || width_ != Width || height_ != Height || matrix_ != matrix ||
        fullRange_ != fullRange) {
        static const bool quiet = [] {
            av_log_set_level(AV_LOG_ERROR); // the scaler's notes on alignment and the like are no errors
            return true;
        }();
        (void)quiet;
        sws_freeContext(context_);
        const bool shrinksMuch = info.width > 2 * Width || info.height > 2 * Height;
        context_ = sws_getContext(info.width, info.height, entry->av, Width, Height, AV_PIX_FMT_BGRA,
                                  shrinksMuch ? SWS_AREA : SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
        if (context_ == nullptr)
            return false;
        // Pictures are shown with RGB's whole range.
        sws_setColorspaceDetails(context_, sws_getCoefficients(matrix), fullRange ? 1 : 0,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
        sourceWidth_ = info.width;
        sourceHeight_ = info.height;
        sourceFormat_ = entry->av;
        width_ = Width;
        height_ = Height;
        matrix_ = matrix;
        fullRange_ = fullRange;
    }
    const std::uint8_t* planes[4] = {};
    int strides[4] = {};
    if (entry->byComponent) {
        for (int c = 0; c < 3; ++c) {
            planes[c] = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(&Frame, c));
            strides[c] = GST_VIDEO_FRAME_COMP_STRIDE(&Frame, c);
        }
    } else {
        for (guint p = 0; p < GST_VIDEO_FRAME_N_PLANES(&Frame) && p < 4; ++p) {
            planes[p] = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&Frame, p));
            strides[p] = GST_VIDEO_FRAME_PLANE_STRIDE(&Frame, p);
        }
    }
    std::uint8_t* destination[4] = {Destination, nullptr, nullptr, nullptr};
    const int destinationStrides[4] = {Stride, 0, 0, 0};
    return sws_scale(context_, planes, strides, 0, info.height, destination, destinationStrides) == Height;
}

} // namespace dshow
