// The bitmap and JPEG writers, read back byte by byte (bitmap) and through libjpeg's own decoder (JPEG).

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QImage>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include "platform/image/ImageFiles.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

std::uint32_t Le32(const std::string& Bytes, std::size_t At) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(Bytes[At + static_cast<std::size_t>(i)]);
    return v;
}
std::uint16_t Le16(const std::string& Bytes, std::size_t At) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(Bytes[At]) |
                                      (static_cast<unsigned char>(Bytes[At + 1]) << 8));
}

// A picture whose every pixel tells where it is: red grows to the right, green downwards.
QImage Ramp(int Width, int Height) {
    QImage image(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / std::max(1, Width - 1), y * 255 / std::max(1, Height - 1), 77));
    return image;
}

struct BitmapCase {
    int width;
    int height;
};

class BitmapFile : public ::testing::TestWithParam<BitmapCase> {};

// Widths whose rows need 0, 1, 2 and 3 bytes of padding.
TEST_P(BitmapFile, IsA24BitBottomUpFileWithPaddedRows) {
    const auto [width, height] = GetParam();
    const QImage image = Ramp(width, height);
    const std::string bytes = imagefiles::EncodeBitmap(image);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * static_cast<std::uint32_t>(height));
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 54u) << "the bits follow the two headers";
    EXPECT_EQ(Le32(bytes, 14), 40u);
    EXPECT_EQ(static_cast<int>(Le32(bytes, 18)), width);
    EXPECT_EQ(static_cast<int>(Le32(bytes, 22)), height) << "a positive height: bottom-up";
    EXPECT_EQ(Le16(bytes, 26), 1);
    EXPECT_EQ(Le16(bytes, 28), 24);
    EXPECT_EQ(Le32(bytes, 30), 0u) << "uncompressed";
    // The first row of the file is the bottom row of the picture, blue green red.
    for (int y : {0, height - 1})
        for (int x : {0, width - 1}) {
            const std::size_t at =
                54 + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
            const QRgb want = image.pixel(x, y);
            EXPECT_EQ(static_cast<unsigned char>(bytes[at]), qBlue(want));
            EXPECT_EQ(static_cast<unsigned char>(bytes[at + 1]), qGreen(want));
            EXPECT_EQ(static_cast<unsigned char>(bytes[at + 2]), qRed(want));
        }
    for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad)
        EXPECT_EQ(bytes[54 + pad], '\0');
    // Any reader opens it and sees the same picture.
    QImage read;
    ASSERT_TRUE(read.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                  static_cast<int>(bytes.size()), "BMP"));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image);
}

INSTANTIATE_TEST_SUITE_P(Widths, BitmapFile,
                         ::testing::Values(BitmapCase{4, 3}, BitmapCase{5, 2}, BitmapCase{6, 7},
                                           BitmapCase{7, 1}, BitmapCase{120, 80}));

struct Decoded {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    bool progressive = true;
    std::vector<unsigned char> rgb;
    int quantTopLeft = 0; // the first luminance quantisation value: 3 at quality 90 with the standard table
};

struct DecodeError {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void DecodeErrorExit(j_common_ptr Info) {
    std::longjmp(reinterpret_cast<DecodeError*>(Info->err)->back, 1);
}

bool RunDecoder(const std::string& Bytes, Decoded& Out) {
    jpeg_decompress_struct info{};
    DecodeError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = DecodeErrorExit;
    if (setjmp(error.back) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(Bytes.data()),
                 static_cast<unsigned long>(Bytes.size()));
    jpeg_read_header(&info, TRUE);
    Out.width = static_cast<int>(info.image_width);
    Out.height = static_cast<int>(info.image_height);
    Out.components = info.num_components;
    Out.space = info.jpeg_color_space;
    Out.progressive = info.progressive_mode != 0;
    Out.quantTopLeft = info.quant_tbl_ptrs[0] != nullptr ? info.quant_tbl_ptrs[0]->quantval[0] : 0;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Out.rgb.resize(static_cast<std::size_t>(Out.width) * static_cast<std::size_t>(Out.height) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* row = Out.rgb.data() + static_cast<std::size_t>(info.output_scanline) *
                                                  static_cast<std::size_t>(Out.width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

TEST(JpegFile, DecodesAsBaselineColourAtQualityNinety) {
    const QImage image = Ramp(64, 48);
    TempDir dir;
    std::error_code error;
    ASSERT_TRUE(imagefiles::WriteJpegFile(dir.File("a.jpg"), image, 90, error)) << error.message();
    Decoded d;
    ASSERT_TRUE(RunDecoder(ReadFile(dir.File("a.jpg")), d));
    EXPECT_EQ(d.width, 64);
    EXPECT_EQ(d.height, 48);
    EXPECT_EQ(d.components, 3);
    EXPECT_EQ(d.space, JCS_YCbCr) << "colour, not greyscale";
    EXPECT_FALSE(d.progressive);
    // libjpeg scales its standard luminance table (16 at the top left) by 20% at quality 90: 3.
    EXPECT_EQ(d.quantTopLeft, 3);
    // The picture itself comes back, within the loss of quality 90.
    for (int y : {4, 24, 44})
        for (int x : {4, 32, 60}) {
            const QRgb want = image.pixel(x, y);
            const unsigned char* got =
                d.rgb.data() + (static_cast<std::size_t>(y) * 64 + static_cast<std::size_t>(x)) * 3;
            EXPECT_NEAR(got[0], qRed(want), 12) << x << "," << y;
            EXPECT_NEAR(got[1], qGreen(want), 12) << x << "," << y;
            EXPECT_NEAR(got[2], qBlue(want), 12) << x << "," << y;
        }
}

TEST(ImageFiles, WriteFailuresSayWhyAndLeaveNothing) {
    TempDir dir;
    std::error_code error;
    EXPECT_FALSE(imagefiles::WriteBitmapFile(dir.File("none/a.bmp"), Ramp(4, 4), error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(imagefiles::WriteJpegFile(dir.File("b.jpg"), QImage(), 90, error));
    EXPECT_EQ(error, std::errc::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(dir.File("b.jpg")));
}

} // namespace
