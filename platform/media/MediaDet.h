#pragma once
// The media detector: the streams of a file, read by GStreamer's discoverer, or taken from the graph that
// has just rendered the file (RenderedFiles.h).

#include <string>
#include <vector>

#include "platform/media/Interfaces.h"

namespace dshow {

class MediaDet final : public com::Object<IMediaDet> {
public:
    HRESULT put_Filename(LPCWSTR File) override;
    HRESULT get_OutputStreams(LONG* Count) override;
    HRESULT put_CurrentStream(LONG Stream) override;
    HRESULT get_CurrentStream(LONG* Stream) override;
    HRESULT get_StreamType(GUID* Type) override;
    HRESULT get_StreamMediaType(AM_MEDIA_TYPE* Type) override;
    HRESULT get_FrameRate(double* Rate) override;
    HRESULT get_StreamLength(double* Length) override;
    HRESULT WriteBitmapBits(double StreamTime, LONG Width, LONG Height, LPCWSTR File) override;

    // How many files detectors of the process have had the discoverer read (for tests and benchmarks).
    static int Discoveries();

private:
    struct Stream {
        GUID type;
        int width = 0;
        int height = 0;
        double frameRate = 0.0;
        int channels = 0;
        int sampleRate = 0;
    };
    const Stream* Current() const;

    std::string path_;
    std::vector<Stream> streams_;
    double length_ = 0.0;
    LONG current_ = 0;
    bool open_ = false;
};

} // namespace dshow
