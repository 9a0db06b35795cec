#include "platform/media/FrameConverter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
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
    FreeContexts();
}

void FrameConverter::FreeContexts() {
    sws_freeContext(context_);
    sws_freeContext(colourContext_);
    sws_freeContext(tailContext_);
    context_ = colourContext_ = tailContext_ = nullptr;
}

// The rows of the colour pass written straight into the picture: all but the last two (three for an odd
// height, so that the first part keeps whole pairs of rows for the halved chroma), or none of a small one.
int FrameConverter::HeadRows(int Height) {
    const int head = Height - 2 - (Height & 1);
    return head > 0 ? head : 0;
}

// A row of the tail's buffer: room for the 16 pixels the colour pass may write past its width.
int FrameConverter::TailStride(int Width) {
    return ((Width + 16) * 4 + 63) & ~63;
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

// 8-bit 4:2:0 pictures that are scaled go through two passes: scaled as YUV into a picture of the shown
// size, then turned into BGRA by the scaler's unscaled converter, which has vector code of its own. That
// costs a fifth to a third less than the one generic pass, whose output stage converts pixel by pixel.
// The colour pass writes up to 15 pixels past a row's end (Convert): a picture narrower than that excess
// keeps the one pass, so that the excess never reaches beyond the next row.
bool FrameConverter::TwoPasses(int SourceFormat, int SourceWidth, int SourceHeight, int Width, int Height) {
    const bool quarterChroma =
        SourceFormat == AV_PIX_FMT_YUV420P || SourceFormat == AV_PIX_FMT_NV12 || SourceFormat == AV_PIX_FMT_NV21;
    return quarterChroma && Width >= 16 && (SourceWidth != Width || SourceHeight != Height);
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
        FreeContexts();
        const bool shrinksMuch = info.width > 2 * Width || info.height > 2 * Height;
        const int filter = shrinksMuch ? SWS_AREA : SWS_FAST_BILINEAR;
        // Pictures are shown with RGB's whole range.
        const int* coefficients = sws_getCoefficients(matrix);
        const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
        if (TwoPasses(entry->av, info.width, info.height, Width, Height)) {
            context_ = sws_getContext(info.width, info.height, entry->av, Width, Height, AV_PIX_FMT_YUV420P,
                                      filter, nullptr, nullptr, nullptr);
            // The colour pass in two pictures: the rows but the last ones, and those (Convert).
            const int head = HeadRows(Height), tail = Height - head;
            const auto colourPass = [&](int Rows) {
                SwsContext* pass = sws_getContext(Width, Rows, AV_PIX_FMT_YUV420P, Width, Rows, AV_PIX_FMT_BGRA,
                                                  SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
                if (pass != nullptr)
                    sws_setColorspaceDetails(pass, coefficients, fullRange ? 1 : 0, rgb, 1, 0, 1 << 16, 1 << 16);
                return pass;
            };
            colourContext_ = head > 0 ? colourPass(head) : nullptr;
            tailContext_ = colourPass(tail);
            if (context_ == nullptr || (head > 0 && colourContext_ == nullptr) || tailContext_ == nullptr) {
                FreeContexts();
                return false;
            }
            // The first pass keeps the values as they are; the second reads them in their own range.
            sws_setColorspaceDetails(context_, coefficients, fullRange ? 1 : 0, coefficients, fullRange ? 1 : 0,
                                     0, 1 << 16, 1 << 16);
            tailRows_.assign(static_cast<std::size_t>(TailStride(Width)) * tail, 0);
            const int chromaWidth = (Width + 1) / 2, chromaHeight = (Height + 1) / 2;
            // Rows of whole 64-byte lines, so that the vector code reads and writes aligned rows.
            scaledStrides_[0] = (Width + 63) & ~63;
            scaledStrides_[1] = scaledStrides_[2] = (chromaWidth + 63) & ~63;
            scaled_.assign(static_cast<std::size_t>(scaledStrides_[0]) * Height +
                               2 * static_cast<std::size_t>(scaledStrides_[1]) * chromaHeight + 64,
                           0);
        } else {
            context_ = sws_getContext(info.width, info.height, entry->av, Width, Height, AV_PIX_FMT_BGRA, filter,
                                      nullptr, nullptr, nullptr);
            if (context_ == nullptr)
                return false;
            sws_setColorspaceDetails(context_, coefficients, fullRange ? 1 : 0, rgb, 1, 0, 1 << 16, 1 << 16);
        }
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
    if (tailContext_ == nullptr)
        return sws_scale(context_, planes, strides, 0, info.height, destination, destinationStrides) == Height;
    // The picture of the shown size, in the buffer kept for it (aligned to 64 bytes within it).
    auto* base = reinterpret_cast<std::uint8_t*>((reinterpret_cast<std::uintptr_t>(scaled_.data()) + 63) &
                                                 ~std::uintptr_t{63});
    std::uint8_t* scaled[4] = {base, base + static_cast<std::size_t>(scaledStrides_[0]) * Height, nullptr,
                               nullptr};
    scaled[2] = scaled[1] + static_cast<std::size_t>(scaledStrides_[1]) * ((Height + 1) / 2);
    if (sws_scale(context_, planes, strides, 0, info.height, scaled, scaledStrides_) != Height)
        return false;
    // The colour pass writes whole groups of 16 pixels: a row's excess (less than a row: TwoPasses) lands on
    // the next row, written after it, but the last rows' would land past the picture. They are made in a
    // buffer of their own and copied.
    const int head = HeadRows(Height), tail = Height - head;
    if (head > 0) {
        const std::uint8_t* headPlanes[4] = {scaled[0], scaled[1], scaled[2], nullptr};
        if (sws_scale(colourContext_, headPlanes, scaledStrides_, 0, head, destination, destinationStrides) != head)
            return false;
    }
    const int tailStride = TailStride(Width);
    const std::uint8_t* tailPlanes[4] = {
        scaled[0] + static_cast<std::size_t>(scaledStrides_[0]) * head,
        scaled[1] + static_cast<std::size_t>(scaledStrides_[1]) * (head / 2),
        scaled[2] + static_cast<std::size_t>(scaledStrides_[2]) * (head / 2), nullptr};
    std::uint8_t* tailDestination[4] = {tailRows_.data(), nullptr, nullptr, nullptr};
    const int tailStrides[4] = {tailStride, 0, 0, 0};
    if (sws_scale(tailContext_, tailPlanes, scaledStrides_, 0, tail, tailDestination, tailStrides) != tail)
        return false;
    for (int row = 0; row < tail; ++row)
        std::memcpy(Destination + static_cast<std::size_t>(Stride) * (head + row),
                    tailRows_.data() + static_cast<std::size_t>(tailStride) * row,
                    static_cast<std::size_t>(Width) * 4);
    return true;
}

} // namespace dshow
