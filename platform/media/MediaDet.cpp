#include "platform/media/MediaDet.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <optional>

#include <QImage>

#include <gst/app/gstappsink.h>
#include <gst/pbutils/pbutils.h>
#include <gst/video/video.h>

#include "platform/gst/Gst.h"
#include "platform/image/ImageFiles.h"
#include "platform/media/RenderedFiles.h"

namespace dshow {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::S_OK;

namespace {
std::atomic<int> discoveries = 0;

// A file the discoverer cannot read within this time is taken as unreadable.
constexpr GstClockTime DiscoverTimeLimit = 10 * GST_SECOND;
// Each step of a frame grab (preroll, seek, the frame itself) must finish within this time.
constexpr GstClockTime GrabStepTimeLimit = 10 * GST_SECOND;

// Waits until the pipeline has finished its state change; false on failure, an error or the time limit.
bool SettleState(GstElement* Pipeline) {
    GstState state = GST_STATE_VOID_PENDING;
    return gst_element_get_state(Pipeline, &state, nullptr, GrabStepTimeLimit) == GST_STATE_CHANGE_SUCCESS;
}

// The frame of Uri's first video stream at Nanoseconds, scaled to Width x Height with square pixels, or a
// null image. A one-shot pipeline of its own: the graph that plays the file goes on untouched.
QImage GrabFrame(const std::string& Uri, gint64 Nanoseconds, int Width, int Height) {
    gst::GstRef<GstElement> pipeline(gst_element_factory_make("playbin", nullptr));
    if (!pipeline)
        return {};
    gst_object_ref_sink(pipeline.Get());
    gst::LimitVideoDecoderThreads(GST_BIN(pipeline.Get()));
    GError* error = nullptr;
    GstElement* sinkBin =
        gst_parse_bin_from_description("videoconvert ! videoscale add-borders=false ! capsfilter name=size ! "
                                       "appsink name=frame sync=false max-buffers=1",
                                       TRUE, &error);
    if (sinkBin == nullptr) {
        g_clear_error(&error);
        return {};
    }
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width", G_TYPE_INT,
                                        Width, "height", G_TYPE_INT, Height, "pixel-aspect-ratio",
                                        GST_TYPE_FRACTION, 1, 1, nullptr);
    GstElement* size = gst_bin_get_by_name(GST_BIN(sinkBin), "size");
    g_object_set(size, "caps", caps, nullptr);
    gst_object_unref(size);
    gst_caps_unref(caps);
    gst::GstRef<GstElement> sink(gst_bin_get_by_name(GST_BIN(sinkBin), "frame"));
    // Only the picture (no audio is decoded), converted and scaled by the bin above alone: a scaler of the
    // player's own would keep the aspect with black borders.
    constexpr guint PlayVideoOnly = 0x1 | 0x40;
    g_object_set(pipeline.Get(), "uri", Uri.c_str(), "flags", PlayVideoOnly, "video-sink", sinkBin, nullptr);

    QImage image;
    if (gst_element_set_state(pipeline.Get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
        SettleState(pipeline.Get()) &&
        gst_element_seek_simple(pipeline.Get(), GST_FORMAT_TIME,
                                static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                Nanoseconds) &&
        SettleState(pipeline.Get())) {
        GstSample* sample = gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.Get()), GrabStepTimeLimit);
        if (sample != nullptr) {
            GstVideoInfo info;
            GstVideoFrame frame;
            if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
                gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) {
                image = QImage(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                               GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                               GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_BGR888)
                            .copy();
                gst_video_frame_unmap(&frame);
            }
            gst_sample_unref(sample);
        }
    }
    // Its bus goes with it: nothing is left to drain.
    gst_element_set_state(pipeline.Get(), GST_STATE_NULL);
    return image;
}
} // namespace

HRESULT MediaDet::put_Filename(LPCWSTR File) {
    streams_.clear();
    path_.clear();
    length_ = 0.0;
    current_ = 0;
    open_ = false;
    if (File == nullptr)
        return E_POINTER;
    const std::string path = com::NarrowString(File);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return VFW_E_NOT_FOUND;

    // A file a graph has just rendered is known already: no second decoding.
    if (const std::optional<RenderedFile> rendered = RenderedFileFacts(path)) {
        for (const RenderedStream& r : rendered->streams) {
            Stream s;
            s.type = r.video ? com::MEDIATYPE_Video : com::MEDIATYPE_Audio;
            s.width = r.width;
            s.height = r.height;
            s.frameRate = r.frameRate;
            s.channels = r.channels;
            s.sampleRate = r.sampleRate;
            streams_.push_back(s);
        }
        length_ = rendered->length;
        open_ = true;
        path_ = path;
        return S_OK;
    }

    gst::EnsureInitialised();
    ++discoveries;
    GError* error = nullptr;
    GstDiscoverer* discoverer = gst_discoverer_new(DiscoverTimeLimit, &error);
    if (discoverer == nullptr) {
        g_clear_error(&error);
        return com::E_FAIL;
    }
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    GstDiscovererInfo* info = uri ? gst_discoverer_discover_uri(discoverer, uri, &error) : nullptr;
    g_free(uri);
    g_clear_error(&error);
    HRESULT result = VFW_E_UNKNOWN_FILE_TYPE;
    if (info != nullptr) {
        const GstDiscovererResult outcome = gst_discoverer_info_get_result(info);
        // Missing decoders still leave the streams described; the detector reads only their description.
        if (outcome == GST_DISCOVERER_OK || outcome == GST_DISCOVERER_MISSING_PLUGINS) {
            length_ = static_cast<double>(gst_discoverer_info_get_duration(info)) / GST_SECOND;
            // Video streams first: the player takes the first video stream it finds.
            GList* videos = gst_discoverer_info_get_video_streams(info);
            for (GList* item = videos; item != nullptr; item = item->next) {
                auto* video = static_cast<GstDiscovererVideoInfo*>(item->data);
                Stream s;
                s.type = com::MEDIATYPE_Video;
                s.width = static_cast<int>(gst_discoverer_video_info_get_width(video));
                s.height = static_cast<int>(gst_discoverer_video_info_get_height(video));
                const guint denominator = gst_discoverer_video_info_get_framerate_denom(video);
                if (denominator != 0)
                    s.frameRate =
                        static_cast<double>(gst_discoverer_video_info_get_framerate_num(video)) / denominator;
                streams_.push_back(s);
            }
            gst_discoverer_stream_info_list_free(videos);
            GList* audios = gst_discoverer_info_get_audio_streams(info);
            for (GList* item = audios; item != nullptr; item = item->next) {
                auto* audio = static_cast<GstDiscovererAudioInfo*>(item->data);
                Stream s;
                s.type = com::MEDIATYPE_Audio;
                s.channels = static_cast<int>(gst_discoverer_audio_info_get_channels(audio));
                s.sampleRate = static_cast<int>(gst_discoverer_audio_info_get_sample_rate(audio));
                streams_.push_back(s);
            }
            gst_discoverer_stream_info_list_free(audios);
            open_ = !streams_.empty();
            if (open_)
                path_ = path;
            result = open_ ? S_OK : VFW_E_UNKNOWN_FILE_TYPE;
        }
        g_object_unref(info); // gst_discoverer_info_unref is a casting macro
    }
    g_object_unref(discoverer);
    return result;
}

int MediaDet::Discoveries() {
    return discoveries.load();
}

HRESULT MediaDet::get_OutputStreams(LONG* Count) {
    if (Count == nullptr)
        return E_POINTER;
    if (!open_)
        return com::E_UNEXPECTED;
    *Count = static_cast<LONG>(streams_.size());
    return S_OK;
}

HRESULT MediaDet::put_CurrentStream(LONG Stream) {
    if (!open_)
        return com::E_UNEXPECTED;
    if (Stream < 0 || Stream >= static_cast<LONG>(streams_.size()))
        return E_INVALIDARG;
    current_ = Stream;
    return S_OK;
}

HRESULT MediaDet::get_CurrentStream(LONG* Stream) {
    if (Stream == nullptr)
        return E_POINTER;
    *Stream = current_;
    return S_OK;
}

const MediaDet::Stream* MediaDet::Current() const {
    if (!open_ || current_ < 0 || current_ >= static_cast<LONG>(streams_.size()))
        return nullptr;
    return &streams_[static_cast<std::size_t>(current_)];
}

HRESULT MediaDet::get_StreamType(GUID* Type) {
    if (Type == nullptr)
        return E_POINTER;
    const Stream* s = Current();
    if (s == nullptr)
        return com::E_UNEXPECTED;
    *Type = s->type;
    return S_OK;
}

HRESULT MediaDet::get_StreamMediaType(AM_MEDIA_TYPE* Type) {
    if (Type == nullptr)
        return E_POINTER;
    const Stream* s = Current();
    if (s == nullptr)
        return com::E_UNEXPECTED;
    *Type = AM_MEDIA_TYPE{};
    Type->majortype = s->type;
    if (s->type == com::MEDIATYPE_Video) {
        VIDEOINFOHEADER header;
        header.rcSource = RECT{0, 0, s->width, s->height};
        header.rcTarget = header.rcSource;
        if (s->frameRate > 0)
            header.AvgTimePerFrame = static_cast<REFERENCE_TIME>(10000000.0 / s->frameRate);
        header.bmiHeader.biWidth = s->width;
        header.bmiHeader.biHeight = s->height;
        header.bmiHeader.biBitCount = 32;
        Type->formattype = com::FORMAT_VideoInfo;
        Type->Format.resize(sizeof header);
        std::memcpy(Type->Format.data(), &header, sizeof header);
    } else {
        // WAVEFORMATEX: format tag, channels, samples per second, ... (18 bytes).
        std::uint8_t wave[18] = {};
        const std::uint16_t tag = 1, channels = static_cast<std::uint16_t>(s->channels);
        const auto rate = static_cast<std::uint32_t>(s->sampleRate);
        std::memcpy(wave, &tag, 2);
        std::memcpy(wave + 2, &channels, 2);
        std::memcpy(wave + 4, &rate, 4);
        Type->formattype = com::FORMAT_WaveFormatEx;
        Type->Format.assign(wave, wave + sizeof wave);
    }
    return S_OK;
}

HRESULT MediaDet::get_FrameRate(double* Rate) {
    if (Rate == nullptr)
        return E_POINTER;
    const Stream* s = Current();
    if (s == nullptr)
        return com::E_UNEXPECTED;
    if (s->type != com::MEDIATYPE_Video)
        return VFW_E_UNSUPPORTED_STREAM;
    *Rate = s->frameRate;
    return S_OK;
}

HRESULT MediaDet::get_StreamLength(double* Length) {
    if (Length == nullptr)
        return E_POINTER;
    if (Current() == nullptr)
        return com::E_UNEXPECTED;
    *Length = length_;
    return S_OK;
}

HRESULT MediaDet::WriteBitmapBits(double StreamTime, LONG Width, LONG Height, LPCWSTR File) {
    if (File == nullptr)
        return E_POINTER;
    if (!open_)
        return com::E_UNEXPECTED;
    if (Width <= 0 || Height <= 0 || !(StreamTime >= 0.0))
        return E_INVALIDARG;
    bool hasVideo = false;
    double frameRate = 0.0;
    for (const Stream& s : streams_)
        if (s.type == com::MEDIATYPE_Video) {
            hasVideo = true;
            frameRate = s.frameRate;
            break;
        }
    if (!hasVideo)
        return VFW_E_UNSUPPORTED_STREAM;
    // At or past the end the last frame is what shows: the grab takes the time of the last frame.
    double seconds = StreamTime;
    if (length_ > 0.0 && seconds >= length_)
        seconds = std::max(0.0, length_ - (frameRate > 0.0 ? 1.0 / frameRate : 0.04));
    gchar* uri = gst_filename_to_uri(path_.c_str(), nullptr);
    if (uri == nullptr)
        return com::E_FAIL;
    const std::string uriText = uri;
    g_free(uri);
    const QImage image = GrabFrame(uriText, static_cast<gint64>(seconds * GST_SECOND), Width, Height);
    if (image.isNull())
        return com::E_FAIL;
    std::error_code error;
    if (!imagefiles::WriteBitmapFile(com::NarrowString(File), image, error))
        return com::E_FAIL;
    return S_OK;
}

} // namespace dshow
