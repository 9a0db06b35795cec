// The one-pass converter of the video output: decoded pictures of each raw layout it reads, at their size,
// shrunk and enlarged, come out as BGRA with their colours, read with the picture's own YUV matrix and
// range. The source pictures are made by GStreamer's own converter from a known RGB picture.

#include "platform/media/FrameConverter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QSize>

#include "tests/support/CaseName.h"

// After the platform types: GLib defines TRUE and FALSE as macros.
#include "platform/gst/Gst.h"

namespace {

using dshow::FrameConverter;

struct Rgb {
    int r, g, b;
};

// A picture whose left half is Left and right half Right, in Format with Colorimetry ("" for the format's
// default), made from BGRx by GStreamer's converter.
GstBuffer* TwoHalves(GstVideoInfo& Info, GstVideoFormat Format, int Width, int Height, Rgb Left, Rgb Right,
                     const char* Colorimetry = "") {
    GstVideoInfo rgb;
    gst_video_info_set_format(&rgb, GST_VIDEO_FORMAT_BGRx, static_cast<guint>(Width),
                              static_cast<guint>(Height));
    gst_video_info_set_format(&Info, Format, static_cast<guint>(Width), static_cast<guint>(Height));
    if (*Colorimetry != '\0')
        gst_video_colorimetry_from_string(&Info.colorimetry, Colorimetry);
    GstBuffer* source = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&rgb), nullptr);
    GstVideoFrame in;
    gst_video_frame_map(&in, &rgb, source, GST_MAP_WRITE);
    for (int y = 0; y < Height; ++y) {
        auto* row = static_cast<std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&in, 0)) +
                    static_cast<std::ptrdiff_t>(y) * GST_VIDEO_FRAME_PLANE_STRIDE(&in, 0);
        for (int x = 0; x < Width; ++x) {
            const Rgb c = x < Width / 2 ? Left : Right;
            row[x * 4 + 0] = static_cast<std::uint8_t>(c.b);
            row[x * 4 + 1] = static_cast<std::uint8_t>(c.g);
            row[x * 4 + 2] = static_cast<std::uint8_t>(c.r);
            row[x * 4 + 3] = 255;
        }
    }
    GstBuffer* target = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&Info), nullptr);
    GstVideoFrame out;
    gst_video_frame_map(&out, &Info, target, GST_MAP_WRITE);
    GstVideoConverter* converter = gst_video_converter_new(&rgb, &Info, nullptr);
    gst_video_converter_frame(converter, &in, &out);
    gst_video_converter_free(converter);
    gst_video_frame_unmap(&out);
    gst_video_frame_unmap(&in);
    gst_buffer_unref(source);
    return target;
}

struct Converted {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels; // BGRA rows of Width * 4 bytes
    Rgb At(int X, int Y) const {
        const auto at =
            (static_cast<std::size_t>(Y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(X)) * 4;
        return {pixels[at + 2], pixels[at + 1], pixels[at]};
    }
    int Alpha(int X, int Y) const {
        return pixels[(static_cast<std::size_t>(Y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(X)) *
                          4 +
                      3];
    }
};

Converted Convert(FrameConverter& Converter, const GstVideoInfo& Info, GstBuffer* Buffer, int Width,
                  int Height) {
    Converted result;
    result.width = Width;
    result.height = Height;
    result.pixels.assign(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 4, 0);
    GstVideoFrame frame;
    gst_video_frame_map(&frame, &Info, Buffer, GST_MAP_READ);
    result.ok = Converter.Convert(frame, result.pixels.data(), Width * 4, Width, Height);
    gst_video_frame_unmap(&frame);
    return result;
}

::testing::AssertionResult Near(Rgb Got, Rgb Want, int Tolerance = 12) {
    if (std::abs(Got.r - Want.r) <= Tolerance && std::abs(Got.g - Want.g) <= Tolerance &&
        std::abs(Got.b - Want.b) <= Tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << Got.r << ", " << Got.g << ", " << Got.b << ") for ("
                                         << Want.r << ", " << Want.g << ", " << Want.b << ")";
}

constexpr Rgb Red{220, 30, 40};
constexpr Rgb Blue{20, 60, 210};

struct LayoutCase {
    const char* name;
    GstVideoFormat format;
    int width, height;     // the decoded picture
    int toWidth, toHeight; // as shown
};

class EveryLayout : public ::testing::TestWithParam<LayoutCase> {
protected:
    void SetUp() override { gst::EnsureInitialised(); }
};

// Each layout a decoder gives, at its own size, shrunk (a little, and to less than half, where area
// averaging takes over) and enlarged: the halves keep their colours, the picture is opaque.
TEST_P(EveryLayout, KeepsTheColoursOfBothHalvesAtAnySize) {
    const LayoutCase& c = GetParam();
    ASSERT_TRUE(FrameConverter::Accepts(c.format));
    GstVideoInfo info;
    GstBuffer* buffer = TwoHalves(info, c.format, c.width, c.height, Red, Blue);
    FrameConverter converter;
    const Converted out = Convert(converter, info, buffer, c.toWidth, c.toHeight);
    gst_buffer_unref(buffer);
    ASSERT_TRUE(out.ok);
    EXPECT_TRUE(Near(out.At(c.toWidth / 4, c.toHeight / 2), Red));
    EXPECT_TRUE(Near(out.At(c.toWidth * 3 / 4, c.toHeight / 2), Blue));
    EXPECT_TRUE(Near(out.At(1, 1), Red)) << "the top left corner";
    EXPECT_TRUE(Near(out.At(c.toWidth - 2, c.toHeight - 2), Blue)) << "the bottom right corner";
    EXPECT_EQ(out.Alpha(c.toWidth / 2, c.toHeight / 2), 255);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EveryLayout,
    ::testing::Values(LayoutCase{"I420", GST_VIDEO_FORMAT_I420, 64, 48, 64, 48},
                      LayoutCase{"I420Shrunk", GST_VIDEO_FORMAT_I420, 96, 72, 64, 48},
                      LayoutCase{"I420ShrunkToAQuarter", GST_VIDEO_FORMAT_I420, 256, 192, 64, 48},
                      LayoutCase{"I420Enlarged", GST_VIDEO_FORMAT_I420, 32, 24, 96, 72},
                      LayoutCase{"I420ToAnOddSize", GST_VIDEO_FORMAT_I420, 64, 48, 47, 35},
                      LayoutCase{"I420ToATinySize", GST_VIDEO_FORMAT_I420, 64, 48, 8, 6},
                      LayoutCase{"NV21OddSource", GST_VIDEO_FORMAT_NV21, 63, 47, 80, 61},
                      LayoutCase{"YV12", GST_VIDEO_FORMAT_YV12, 64, 48, 80, 60},
                      LayoutCase{"NV12", GST_VIDEO_FORMAT_NV12, 64, 48, 48, 36},
                      LayoutCase{"Y42B", GST_VIDEO_FORMAT_Y42B, 64, 48, 64, 48},
                      LayoutCase{"Y444", GST_VIDEO_FORMAT_Y444, 64, 48, 100, 75},
                      LayoutCase{"I420TenBits", GST_VIDEO_FORMAT_I420_10LE, 64, 48, 64, 48},
                      LayoutCase{"YUY2", GST_VIDEO_FORMAT_YUY2, 64, 48, 64, 48},
                      LayoutCase{"BGRx", GST_VIDEO_FORMAT_BGRx, 64, 48, 32, 24},
                      LayoutCase{"RGB", GST_VIDEO_FORMAT_RGB, 64, 48, 64, 48},
                      LayoutCase{"GBRPlanar", GST_VIDEO_FORMAT_GBR, 64, 48, 64, 48}),
    testing_support::CaseName());

struct ColourCase {
    const char* name;
    const char* colorimetry;
};

class PictureColours : public ::testing::TestWithParam<ColourCase> {
protected:
    void SetUp() override { gst::EnsureInitialised(); }
};

// A picture is read with the matrix and range it says it has, at its own size and scaled (where the
// scaling and the colour are two passes): read with another one, a saturated red or a dark grey comes out
// visibly wrong.
TEST_P(PictureColours, AreReadWithThePicturesOwnMatrixAndRange) {
    constexpr Rgb Saturated{250, 10, 10};
    constexpr Rgb DarkGrey{30, 30, 30};
    GstVideoInfo info;
    GstBuffer* buffer =
        TwoHalves(info, GST_VIDEO_FORMAT_I420, 64, 48, Saturated, DarkGrey, GetParam().colorimetry);
    for (const QSize shown : {QSize(64, 48), QSize(96, 72), QSize(40, 30)}) {
        SCOPED_TRACE(std::to_string(shown.width()) + "x" + std::to_string(shown.height()));
        FrameConverter converter;
        const Converted out = Convert(converter, info, buffer, shown.width(), shown.height());
        ASSERT_TRUE(out.ok);
        EXPECT_TRUE(Near(out.At(shown.width() / 4, shown.height() / 2), Saturated, 10));
        EXPECT_TRUE(Near(out.At(shown.width() * 3 / 4, shown.height() / 2), DarkGrey, 6));
    }
    gst_buffer_unref(buffer);
}

INSTANTIATE_TEST_SUITE_P(Colorimetries, PictureColours,
                         ::testing::Values(ColourCase{"Bt601", "bt601"}, ColourCase{"Bt709", "bt709"},
                                           ColourCase{"Bt601FullRange", "1:4:0:0"},
                                           ColourCase{"Bt2020", "bt2020"}),
                         testing_support::CaseName());

TEST(FrameConverterLimits, RefusesLayoutsItDoesNotReadAndEmptySizes) {
    gst::EnsureInitialised();
    EXPECT_FALSE(FrameConverter::Accepts(GST_VIDEO_FORMAT_v210));
    GstCaps* accepted = FrameConverter::AcceptedCaps();
    GstCaps* v210 = gst_caps_from_string("video/x-raw, format=v210, width=64, height=48, framerate=25/1");
    GstCaps* i420 = gst_caps_from_string("video/x-raw, format=I420, width=64, height=48, framerate=25/1");
    EXPECT_FALSE(gst_caps_can_intersect(accepted, v210))
        << "a converter before the renderer turns it into one";
    EXPECT_TRUE(gst_caps_can_intersect(accepted, i420));
    gst_caps_unref(i420);
    gst_caps_unref(v210);
    gst_caps_unref(accepted);

    GstVideoInfo info;
    GstBuffer* v210Picture = TwoHalves(info, GST_VIDEO_FORMAT_v210, 48, 16, Red, Blue);
    FrameConverter converter;
    EXPECT_FALSE(Convert(converter, info, v210Picture, 48, 16).ok);
    gst_buffer_unref(v210Picture);
    GstBuffer* picture = TwoHalves(info, GST_VIDEO_FORMAT_I420, 64, 48, Red, Blue);
    GstVideoFrame frame;
    gst_video_frame_map(&frame, &info, picture, GST_MAP_READ);
    std::vector<std::uint8_t> pixels(64 * 48 * 4);
    EXPECT_FALSE(converter.Convert(frame, pixels.data(), 64 * 4, 0, 48));
    EXPECT_FALSE(converter.Convert(frame, nullptr, 64 * 4, 64, 48));
    EXPECT_TRUE(converter.Convert(frame, pixels.data(), 64 * 4, 64, 48)) << "after a refusal it still works";
    gst_video_frame_unmap(&frame);
    gst_buffer_unref(picture);
}

// One converter shows pictures of changing sizes and layouts (a stream that changes its size, a window
// resized): each comes out right.
TEST(FrameConverterLimits, FollowsAChangeOfPictureAndOfSize) {
    gst::EnsureInitialised();
    FrameConverter converter;
    GstVideoInfo info;
    GstBuffer* first = TwoHalves(info, GST_VIDEO_FORMAT_I420, 64, 48, Red, Blue);
    EXPECT_TRUE(Near(Convert(converter, info, first, 64, 48).At(16, 24), Red));
    const Converted smaller = Convert(converter, info, first, 32, 24);
    EXPECT_TRUE(Near(smaller.At(24, 12), Blue));
    gst_buffer_unref(first);
    GstBuffer* second = TwoHalves(info, GST_VIDEO_FORMAT_NV12, 128, 96, Blue, Red);
    const Converted swapped = Convert(converter, info, second, 32, 24);
    gst_buffer_unref(second);
    EXPECT_TRUE(Near(swapped.At(8, 12), Blue));
    EXPECT_TRUE(Near(swapped.At(24, 12), Red));
}

} // namespace
