#include "core/FrameCapture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>

#include <QByteArray>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/com/Guids.h"
#include "platform/forms/StringList.h"
#include "platform/image/ImageFiles.h"
#include "platform/win32/Files.h"

namespace {

std::mt19937& Generator() {
    // Seeded once: captures that come within the same clock tick must still get different names.
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

bool SameGuid(const com::GUID& A, const com::GUID& B) {
    return std::memcmp(&A, &B, sizeof A) == 0;
}

// Where the file name's extension begins (its last "."), or npos when the file name has none.
std::string::size_type ExtensionAt(const std::string& FileName) {
    const auto slash = FileName.find_last_of("/\\");
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = FileName.rfind('.');
    return dot == std::string::npos || dot < nameStart ? std::string::npos : dot;
}

} // namespace

std::string RandomDigits12() {
    std::uniform_int_distribution<int> digit(0, 9);
    std::string digits(12, '0');
    for (char& c : digits)
        c = static_cast<char>('0' + digit(Generator()));
    return digits;
}

std::string CaptureFolder() {
    const std::string folder = ReadIniString("File", "CaptureImagePath");
    // A missing key reads as the reader's "Value no find": a folder of that name would be made beside
    // wherever the program was started.
    if (folder.empty() || folder == ValueNoFind)
        return IncludeTrailingSlash(State.TempPath);
    return IncludeTrailingSlash(folder);
}

std::string NewCaptureName(const std::string& Folder, const std::function<bool(const std::string&)>& InUse,
                           const std::function<std::string()>& Draw) {
    std::string name;
    do
        name = Folder + Draw() + ".bmp";
    while (win32::FileExists(name) || (InUse && InUse(name)));
    return name;
}

bool VideoStreamSize(dshow::IMediaDet* Det, int& Width, int& Height) {
    if (Det == nullptr)
        return false;
    win32::LONG streams = 0;
    if (com::FAILED(Det->get_OutputStreams(&streams)))
        return false;
    for (win32::LONG i = 0; i < streams; ++i) {
        com::GUID type;
        if (com::FAILED(Det->put_CurrentStream(i)) || com::FAILED(Det->get_StreamType(&type)))
            return false;
        if (!SameGuid(type, com::MEDIATYPE_Video))
            continue;
        dshow::AM_MEDIA_TYPE media;
        if (com::FAILED(Det->get_StreamMediaType(&media)) ||
            !SameGuid(media.formattype, com::FORMAT_VideoInfo) ||
            media.cbFormat() < sizeof(dshow::VIDEOINFOHEADER))
            return false;
        dshow::VIDEOINFOHEADER header;
        std::memcpy(&header, media.pbFormat(), sizeof header);
        // A top-down bitmap gives its height as a negative number.
        Width = header.bmiHeader.biWidth;
        Height = std::abs(header.bmiHeader.biHeight);
        return Width > 0 && Height > 0;
    }
    return false;
}

bool CaptureToBitmap(dshow::IMediaDet* Det, double Seconds, int Width, int Height, const std::string& Bitmap,
                     QImage& Picture) {
    if (Det == nullptr ||
        com::FAILED(Det->WriteBitmapBits(Seconds, Width, Height, com::WideString(Bitmap).c_str())))
        return false;
    // Read back at once, before any other capture can write the bitmap again; by its bytes, as the capture
    // folder's name need not be UTF-8.
    const std::optional<std::string> bytes = win32::ReadWholeFile(Bitmap);
    Picture = bytes ? QImage::fromData(QByteArray::fromStdString(*bytes), "BMP") : QImage();
    return !Picture.isNull();
}

std::string WithSaveExtension(const std::string& FileName) {
    return ExtensionAt(FileName) == std::string::npos ? FileName + ".bmp" : FileName;
}

std::string ImageFileFor(const std::string& FileName, const std::string& ImageType) {
    const std::string name = WithSaveExtension(FileName);
    return name.substr(0, ExtensionAt(name)) + (forms::SameText(ImageType, ".jpg") ? ".jpg" : ".bmp");
}

std::string SaveCaptureFile(const QImage& Picture, const std::string& FileName,
                            const std::string& ImageType) {
    const std::string written = ImageFileFor(FileName, ImageType);
    std::error_code error;
    const bool ok = forms::SameText(ImageType, ".jpg")
                        ? imagefiles::WriteJpegFile(written, Picture, 90, error)
                        : imagefiles::WriteBitmapFile(written, Picture, error);
    if (!ok)
        throw forms::EClassLibraryError("Cannot create file \"" + written + "\". " + error.message());
    const std::string saved = WithSaveExtension(FileName);
    if (State.SavedCaptureFiles && State.SavedCaptureFiles->IndexOf(saved) < 0)
        State.SavedCaptureFiles->Add(saved);
    return written;
}
