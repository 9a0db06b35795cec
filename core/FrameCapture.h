#pragma once
// Frame capture: the capture folder and names, grabbing the frame that a media file shows at a position,
// and writing a capture out as a bitmap or a JPEG file.
//
// Each capture keeps its own picture from the moment it was grabbed: the fixed capture bitmap in the capture
// folder is written and read back at once, and the picture travels with the message that adds its
// thumbnail (CapturedFrames), so that no later capture can take its place. A JPEG is encoded from the picture
// in memory; only the extension of the name changes.

#include <functional>
#include <string>

#include <QImage>

#include "core/WindowMessages.h"
#include "platform/media/Interfaces.h"

// The fixed capture bitmap in the capture folder, written by every capture.
inline constexpr const char* CaptureBitmapName = "QuorelCatch.bmp";

// A captured frame on its way to the capture-list window: the name it is to be saved under and its picture.
struct TCapturedFrame {
    std::string Name;
    QImage Picture;
};
inline TMessageParcels<TCapturedFrame> CapturedFrames;

// Twelve decimal digits, each drawn uniformly from one generator that is seeded once for the process.
std::string RandomDigits12();

// IncludeTrailingSlash([File] CaptureImagePath); the Temp folder when the key is missing or empty.
std::string CaptureFolder();

// Folder + twelve digits + ".bmp", drawn again while a file of that name exists or InUse says it is taken
// (by a thumbnail). Draw stands for RandomDigits12 (tests script it).
std::string NewCaptureName(const std::string& Folder, const std::function<bool(const std::string&)>& InUse,
                           const std::function<std::string()>& Draw = RandomDigits12);

// The native size of the first video stream of the detector's file (the bitmap header of its format, height
// as a positive number); false when there is no video stream or no size.
bool VideoStreamSize(dshow::IMediaDet* Det, int& Width, int& Height);

// Writes the frame of the detector's file at Seconds, at Width x Height, to Bitmap and reads it back into
// Picture; false when the detector failed or the bitmap cannot be read.
bool CaptureToBitmap(dshow::IMediaDet* Det, double Seconds, int Width, int Height, const std::string& Bitmap,
                     QImage& Picture);

// The name a capture saved as FileName is stored under by type: FileName with ".bmp" when it has no
// extension; then the extension becomes ".jpg" for the type ".jpg" (any case) and ".bmp" for any other type,
// so that the file's content always matches its name. Only the file name's own extension changes, never a
// folder's.
std::string WithSaveExtension(const std::string& FileName);
std::string ImageFileFor(const std::string& FileName, const std::string& ImageType);

// Writes Picture as ImageFileFor(FileName, ImageType) (JPEG at quality 90 for ".jpg"), adds
// WithSaveExtension(FileName) to SavedCaptureFiles when absent, and returns the name written. A failed write
// raises the class library's file error naming the file and the reason; nothing is added then.
std::string SaveCaptureFile(const QImage& Picture, const std::string& FileName, const std::string& ImageType);
