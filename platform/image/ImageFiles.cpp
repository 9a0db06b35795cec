#include "platform/image/ImageFiles.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/win32/Files.h"

namespace imagefiles {

namespace {

void PutLe16(std::string& Out, std::uint16_t Value) {
    Out.push_back(static_cast<char>(Value & 0xFF));
    Out.push_back(static_cast<char>(Value >> 8));
}

void PutLe32(std::string& Out, std::uint32_t Value) {
    for (int shift = 0; shift < 32; shift += 8)
        Out.push_back(static_cast<char>((Value >> shift) & 0xFF));
}

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to the encoder.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void JpegErrorExit(j_common_ptr Info) {
    std::longjmp(reinterpret_cast<JpegError*>(Info->err)->back, 1);
}

void JpegSilent(j_common_ptr, int) {}

// Runs the encoder; kept apart from the C++ objects of the caller, which a longjmp must not skip.
bool RunJpegEncoder(const QImage& Rgb, int Quality, unsigned char** Buffer, unsigned long* Size) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.emit_message = JpegSilent;
    if (setjmp(error.back) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, Buffer, Size);
    info.image_width = static_cast<JDIMENSION>(Rgb.width());
    info.image_height = static_cast<JDIMENSION>(Rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, Quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes the row as writable, though it only reads it.
        JSAMPROW row = const_cast<JSAMPROW>(Rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool WriteBytes(const std::string& Path, const std::string& Bytes, std::error_code& Error) {
    if (Bytes.empty()) {
        Error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    return win32::WriteFileAtomically(Path, Bytes, Error);
}

} // namespace

std::string EncodeBitmap(const QImage& Image) {
    if (Image.isNull())
        return {};
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    const auto width = static_cast<std::uint32_t>(rgb.width());
    const auto height = static_cast<std::uint32_t>(rgb.height());
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t bitsSize = stride * height;
    constexpr std::uint32_t headers = 14 + 40;
    std::string out;
    out.reserve(headers + bitsSize);
    // BITMAPFILEHEADER.
    out += "BM";
    PutLe32(out, headers + bitsSize);
    PutLe32(out, 0);
    PutLe32(out, headers);
    // BITMAPINFOHEADER: positive height, so the rows run from the bottom up.
    PutLe32(out, 40);
    PutLe32(out, width);
    PutLe32(out, height);
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0); // BI_RGB
    PutLe32(out, bitsSize);
    PutLe32(out, 2835); // 72 dots per inch
    PutLe32(out, 2835);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        const uchar* line = rgb.constScanLine(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(line[x * 3 + 2]));
            out.push_back(static_cast<char>(line[x * 3 + 1]));
            out.push_back(static_cast<char>(line[x * 3]));
        }
        out.resize(rowStart + stride, '\0');
    }
    return out;
}

std::string EncodeJpeg(const QImage& Image, int Quality) {
    if (Image.isNull())
        return {};
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = RunJpegEncoder(rgb, Quality, &buffer, &size);
    std::string out;
    if (ok && buffer != nullptr)
        out.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

bool WriteBitmapFile(const std::string& Path, const QImage& Image, std::error_code& Error) {
    return WriteBytes(Path, EncodeBitmap(Image), Error);
}

bool WriteJpegFile(const std::string& Path, const QImage& Image, int Quality, std::error_code& Error) {
    return WriteBytes(Path, EncodeJpeg(Image, Quality), Error);
}

} // namespace imagefiles
