#include "platform/media/MediaDet.h"

#include <cstring>
#include <filesystem>

#include <gst/pbutils/pbutils.h>

#include "platform/gst/Gst.h"

namespace dshow {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::S_OK;

namespace {
// A file the discoverer cannot read within this time is taken as unreadable.
constexpr GstClockTime DiscoverTimeLimit = 10 * GST_SECOND;
} // namespace

HRESULT MediaDet::put_Filename(LPCWSTR File) {
    streams_.clear();
    length_ = 0.0;
    current_ = 0;
    open_ = false;
    if (File == nullptr)
        return E_POINTER;
    const std::string path = com::NarrowString(File);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return VFW_E_NOT_FOUND;

    gst::EnsureInitialised();
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
            result = open_ ? S_OK : VFW_E_UNKNOWN_FILE_TYPE;
        }
        g_object_unref(info); // gst_discoverer_info_unref is a casting macro
    }
    g_object_unref(discoverer);
    return result;
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

} // namespace dshow
