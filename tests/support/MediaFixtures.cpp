#include "tests/support/MediaFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "platform/gst/Gst.h"
#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

// 320 x 240 at 25 fps: 25 frames a second; the tone in buffers of 0.1 s.
std::string PictureOf(int Seconds) {
    return "videotestsrc num-buffers=" + std::to_string(25 * Seconds) +
           " pattern=solid-color foreground-color=0xFF28C850 ! "
           "video/x-raw,format=I420,width=320,height=240,framerate=25/1 ! ";
}
std::string ToneOf(int Seconds) {
    return "audiotestsrc num-buffers=" + std::to_string(10 * Seconds) +
           " samplesperbuffer=4410 volume=0.3 ! audio/x-raw,rate=44100,channels=2 ! ";
}

const std::string Picture = PictureOf(2);
const std::string Tone = ToneOf(2);

// GStreamer's RealMedia muxer cannot write RealVideo here, and its program-stream muxer writes clock
// references that make the duration come out short: those fixtures come from ffmpeg.
bool MakeWithFfmpeg(const std::string& Codecs, const std::string& Path) {
    const std::string partial = Path + ".part";
    const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i color=c=0x28C850:s=320x240:r=25:d=2 "
                                "-f lavfi -i sine=frequency=440:duration=2:sample_rate=44100 " +
                                Codecs + " -ac 2 '" + partial + "'";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "ffmpeg could not make " << Path;
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(partial, Path, ec);
    return !ec;
}

std::string Description(MediaFixture Fixture) {
    switch (Fixture) {
    case MediaFixture::Mp4H264Aac:
        return Picture + "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux name=mux ! "
                         "filesink location={out} " +
               Tone + "voaacenc ! aacparse ! mux.";
    case MediaFixture::Mp4H264AacLong:
        return PictureOf(10) + "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux name=mux ! "
                               "filesink location={out} " +
               ToneOf(10) + "voaacenc ! aacparse ! mux.";
    case MediaFixture::MkvVp8Vorbis:
        return Picture + "vp8enc deadline=1 keyframe-max-dist=25 ! matroskamux name=mux ! filesink location={out} " +
               Tone + "audioconvert ! vorbisenc ! mux.";
    case MediaFixture::AviMpeg4Mp3:
        return Picture + "avenc_mpeg4 gop-size=25 ! avimux name=mux ! filesink location={out} " + Tone +
               "lamemp3enc ! mpegaudioparse ! mux.";
    case MediaFixture::H264Elementary:
        return Picture + "x264enc speed-preset=ultrafast key-int-max=25 ! video/x-h264,stream-format=byte-stream ! "
                         "filesink location={out}";
    case MediaFixture::Mp4VideoOnly:
        return "videotestsrc num-buffers=60 ! video/x-raw,width=640,height=360,framerate=30/1 ! "
               "x264enc speed-preset=ultrafast key-int-max=30 ! h264parse ! mp4mux ! filesink location={out}";
    default:
        return {};
    }
}

const char* Extension(MediaFixture Fixture) {
    switch (Fixture) {
    case MediaFixture::Mp4H264Aac:
    case MediaFixture::Mp4H264AacLong:
    case MediaFixture::Mp4VideoOnly:
    case MediaFixture::Corrupt:
        return ".mp4";
    case MediaFixture::MkvVp8Vorbis:
        return ".mkv";
    case MediaFixture::AviMpeg4Mp3:
    case MediaFixture::NotMedia:
        return ".avi";
    case MediaFixture::MpegPsMpeg2:
        return ".mpg";
    case MediaFixture::RealMedia:
        return ".rm";
    case MediaFixture::H264Elementary:
        return ".h264";
    }
    return "";
}

} // namespace

const char* NameOf(MediaFixture Fixture) {
    switch (Fixture) {
    case MediaFixture::Mp4H264Aac:
        return "Mp4H264Aac";
    case MediaFixture::Mp4H264AacLong:
        return "Mp4H264AacLong";
    case MediaFixture::MkvVp8Vorbis:
        return "MkvVp8Vorbis";
    case MediaFixture::AviMpeg4Mp3:
        return "AviMpeg4Mp3";
    case MediaFixture::MpegPsMpeg2:
        return "MpegPsMpeg2";
    case MediaFixture::RealMedia:
        return "RealMedia";
    case MediaFixture::Mp4VideoOnly:
        return "Mp4VideoOnly";
    case MediaFixture::Corrupt:
        return "Corrupt";
    case MediaFixture::NotMedia:
        return "NotMedia";
    case MediaFixture::H264Elementary:
        return "H264Elementary";
    }
    return "";
}

FixtureFacts FactsOf(MediaFixture Fixture) {
    if (Fixture == MediaFixture::Mp4VideoOnly)
        return {640, 360, 30.0, 2.0};
    if (Fixture == MediaFixture::Mp4H264AacLong)
        return {320, 240, 25.0, 10.0};
    return {320, 240, 25.0, 2.0};
}

const std::string& FixtureFolder() {
    static const TempDir folder;
    return folder.Path();
}

bool MakeMediaFile(const std::string& Description, const std::string& Path) {
    gst::EnsureInitialised();
    const std::string partial = Path + ".part";
    std::string text = Description;
    for (std::size_t at; (at = text.find("{out}")) != std::string::npos;)
        text.replace(at, 5, "\"" + partial + "\"");
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(text.c_str(), &error);
    if (error != nullptr) {
        ADD_FAILURE() << "cannot build " << text << ": " << error->message;
        g_clear_error(&error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(bus, 120 * GST_SECOND,
                                                  static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = done != nullptr && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
    if (done != nullptr && !ok) {
        GError* failure = nullptr;
        gst_message_parse_error(done, &failure, nullptr);
        ADD_FAILURE() << "making " << Path << " failed: " << (failure ? failure->message : "?");
        g_clear_error(&failure);
    }
    if (done)
        gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    std::error_code ec;
    if (ok)
        std::filesystem::rename(partial, Path, ec);
    else
        std::filesystem::remove(partial, ec);
    return ok && !ec;
}

const std::string& MediaFile(MediaFixture Fixture) {
    static std::map<MediaFixture, std::string> made;
    auto found = made.find(Fixture);
    if (found != made.end())
        return found->second;
    const std::string path = FixtureFolder() + "/" + NameOf(Fixture) + Extension(Fixture);
    if (Fixture == MediaFixture::NotMedia) {
        WriteFile(path, "These are notes, not a video.\n");
    } else if (Fixture == MediaFixture::Corrupt) {
        const std::string whole = ReadFile(MediaFile(MediaFixture::Mp4H264Aac));
        WriteFile(path, whole.substr(0, std::min<std::size_t>(whole.size() / 3, 4096)));
    } else if (Fixture == MediaFixture::RealMedia) {
        EXPECT_TRUE(MakeWithFfmpeg("-c:v rv10 -g 25 -c:a ac3 -f rm", path));
    } else if (Fixture == MediaFixture::MpegPsMpeg2) {
        EXPECT_TRUE(MakeWithFfmpeg("-c:v mpeg2video -g 12 -c:a mp2 -f mpeg", path));
    } else {
        EXPECT_TRUE(MakeMediaFile(Description(Fixture), path)) << NameOf(Fixture);
    }
    return made.emplace(Fixture, path).first->second;
}

const std::string& StallingRealMediaFile() {
    static const std::string path = [] {
        std::string bytes = ReadFile(MediaFile(MediaFixture::RealMedia));
        const std::size_t properties = bytes.find("PROP");
        EXPECT_NE(properties, std::string::npos);
        const auto put = [&](std::size_t At, std::uint32_t Value) {
            for (int i = 0; i < 4; ++i)
                bytes.at(properties + At + i) = static_cast<char>(Value >> (24 - 8 * i));
        };
        // From the chunk's start: the largest and average bit rate, the largest and average packet, ...,
        // the length.
        put(10, 0xFFFFFFFF);
        put(14, 0xFFFFFFFF);
        put(18, 0xFFFFFFFF);
        put(22, 0);
        put(30, 0xFFFFFFFF);
        const std::string stalling = FixtureFolder() + "/Stalling.rm";
        WriteFile(stalling, bytes);
        return stalling;
    }();
    return path;
}

} // namespace testing_support
