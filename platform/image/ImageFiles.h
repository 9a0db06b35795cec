#pragma once
// Image files the program writes: the Windows bitmap (24 bits per pixel, rows bottom-up, each padded to four
// bytes, after the 14-byte file header and the 40-byte information header) and JPEG through libjpeg (colour,
// baseline sequential, at the quality asked for). Both are made from an image in memory and written to the
// file atomically, so that a failed write leaves whatever was there before.

#include <string>
#include <system_error>

#include <QImage>

namespace imagefiles {

// The bytes of the bitmap file of Image (any format; alpha is dropped). Empty for a null image.
std::string EncodeBitmap(const QImage& Image);
// The bytes of the JPEG file of Image at Quality (1..100); empty for a null image or when libjpeg fails.
std::string EncodeJpeg(const QImage& Image, int Quality);

// Write Image to Path. False on failure, with the reason in Error (std::errc::invalid_argument for an image
// that cannot be encoded).
bool WriteBitmapFile(const std::string& Path, const QImage& Image, std::error_code& Error);
bool WriteJpegFile(const std::string& Path, const QImage& Image, int Quality, std::error_code& Error);

} // namespace imagefiles
