#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QImage>

#include "platform/com/Guids.h"
#include "platform/media/Interfaces.h"
#include "platform/media/MediaDet.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaptureFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

namespace {

using namespace dshow;
using testing_support::MediaFixture;

com::ComPtr<IMediaDet> NewDetector() {
    void* raw = nullptr;
    EXPECT_EQ(
        com::CoCreateInstance(com::CLSID_MediaDet, nullptr, com::CLSCTX_INPROC_SERVER, IMediaDet::Iid, &raw),
        com::S_OK);
    return com::ComPtr<IMediaDet>::Adopt(static_cast<IMediaDet*>(raw));
}

struct DetectCase {
    const char* name;
    MediaFixture fixture;
    LONG streams;
};

class Detector : public ::testing::TestWithParam<DetectCase> {};

// The detector finds the video stream and reads its size the way the player does: from the bitmap header
// at bytes 52 and 56 of a VIDEOINFOHEADER format block.
TEST_P(Detector, ReadsStreamsFrameRateAndVideoSize) {
    auto det = NewDetector();
    const auto facts = testing_support::FactsOf(GetParam().fixture);
    ASSERT_EQ(det->put_Filename(com::WideString(testing_support::MediaFile(GetParam().fixture)).c_str()),
              com::S_OK);
    LONG count = 0;
    ASSERT_EQ(det->get_OutputStreams(&count), com::S_OK);
    // The program-stream demuxer may announce the video stream twice; the first video stream is what counts.
    EXPECT_GE(count, GetParam().streams);
    ASSERT_EQ(det->put_CurrentStream(0), com::S_OK);
    GUID type;
    det->get_StreamType(&type);
    EXPECT_EQ(type, com::MEDIATYPE_Video);
    double rate = 0;
    ASSERT_EQ(det->get_FrameRate(&rate), com::S_OK);
    EXPECT_NEAR(rate, facts.frameRate, 0.01);
    double length = 0;
    det->get_StreamLength(&length);
    EXPECT_NEAR(length, facts.seconds, 0.15);
    AM_MEDIA_TYPE media;
    ASSERT_EQ(det->get_StreamMediaType(&media), com::S_OK);
    EXPECT_EQ(media.formattype, com::FORMAT_VideoInfo);
    ASSERT_GE(media.cbFormat(), 88u);
    std::int32_t width = 0, height = 0;
    std::memcpy(&width, media.pbFormat() + 52, 4);
    std::memcpy(&height, media.pbFormat() + 56, 4);
    EXPECT_EQ(width, facts.width);
    EXPECT_EQ(height, facts.height);
    if (GetParam().streams > 1) {
        det->put_CurrentStream(count - 1);
        det->get_StreamType(&type);
        EXPECT_EQ(type, com::MEDIATYPE_Audio);
        EXPECT_TRUE(com::FAILED(det->get_FrameRate(&rate)));
    }
    EXPECT_EQ(det->put_CurrentStream(count), com::E_INVALIDARG);
}

INSTANTIATE_TEST_SUITE_P(Files, Detector,
                         ::testing::Values(DetectCase{"Mp4H264Aac", MediaFixture::Mp4H264Aac, 2},
                                           DetectCase{"MpegPsMpeg2", MediaFixture::MpegPsMpeg2, 2},
                                           DetectCase{"RealMedia", MediaFixture::RealMedia, 2},
                                           DetectCase{"Mp4VideoOnly", MediaFixture::Mp4VideoOnly, 1}),
                         testing_support::CaseName());

// What a detector says of a file, as the player reads it.
struct Detected {
    std::vector<GUID> types;
    double frameRate = -1, length = -1;
    std::int32_t width = -1, height = -1;
};

Detected Detect(IMediaDet* Det, const std::string& File) {
    Detected d;
    LONG count = 0;
    if (Det->put_Filename(com::WideString(File).c_str()) != com::S_OK ||
        Det->get_OutputStreams(&count) != com::S_OK)
        return d;
    for (LONG i = 0; i < count; ++i) {
        GUID type;
        Det->put_CurrentStream(i);
        Det->get_StreamType(&type);
        d.types.push_back(type);
        if (type != com::MEDIATYPE_Video || d.width >= 0)
            continue;
        Det->get_FrameRate(&d.frameRate);
        Det->get_StreamLength(&d.length);
        AM_MEDIA_TYPE media;
        if (Det->get_StreamMediaType(&media) == com::S_OK && media.cbFormat() >= 88u) {
            std::memcpy(&d.width, media.pbFormat() + 52, 4);
            std::memcpy(&d.height, media.pbFormat() + 56, 4);
        }
    }
    return d;
}

// A file that a graph has just rendered is described from what the graph decoded, without decoding it again,
// and the player reads the same description either way. A file changed since is read afresh.
TEST_P(Detector, ReadsAFileTheGraphRenderedWithoutDecodingItAgain) {
    testing_support::EnsureQApplication();
    testing_support::TempDir dir;
    const std::string file =
        dir.File(std::string("clip") +
                 std::filesystem::path(testing_support::MediaFile(GetParam().fixture)).extension().string());
    std::filesystem::copy_file(testing_support::MediaFile(GetParam().fixture), file);
    const Detected discovered = Detect(NewDetector().Get(), file);
    ASSERT_FALSE(discovered.types.empty());

    void* raw = nullptr;
    ASSERT_EQ(com::CoCreateInstance(com::CLSID_FilterGraph, nullptr, com::CLSCTX_INPROC_SERVER,
                                    IGraphBuilder::Iid, &raw),
              com::S_OK);
    auto graph = com::ComPtr<IGraphBuilder>::Adopt(static_cast<IGraphBuilder*>(raw));
    ASSERT_EQ(graph->RenderFile(com::WideString(file).c_str(), nullptr), com::S_OK);
    const int before = MediaDet::Discoveries();
    const Detected rendered = Detect(NewDetector().Get(), file);
    EXPECT_EQ(MediaDet::Discoveries(), before) << "decoded a second time";
    // The program-stream demuxer may announce a stream more than once to the discoverer.
    ASSERT_FALSE(rendered.types.empty());
    EXPECT_LE(rendered.types.size(), discovered.types.size());
    EXPECT_EQ(rendered.types.front(), com::MEDIATYPE_Video);
    EXPECT_EQ(rendered.types.back(), discovered.types.back());
    EXPECT_NEAR(rendered.frameRate, discovered.frameRate, 0.01);
    EXPECT_NEAR(rendered.length, discovered.length, 0.15);
    EXPECT_EQ(rendered.width, discovered.width);
    EXPECT_EQ(rendered.height, discovered.height);

    // Same size, a new file in its place.
    std::filesystem::remove(file);
    std::filesystem::copy_file(testing_support::MediaFile(MediaFixture::Mp4VideoOnly), file);
    const Detected changed = Detect(NewDetector().Get(), file);
    EXPECT_EQ(MediaDet::Discoveries(), before + 1);
    EXPECT_EQ(changed.width, testing_support::FactsOf(MediaFixture::Mp4VideoOnly).width);
}

TEST(Detector, FilesThatAreNotMediaFail) {
    auto det = NewDetector();
    EXPECT_EQ(det->put_Filename(u"/nonexistent/file.avi"), VFW_E_NOT_FOUND);
    EXPECT_TRUE(com::FAILED(
        det->put_Filename(com::WideString(testing_support::MediaFile(MediaFixture::NotMedia)).c_str())));
    LONG count = 0;
    EXPECT_TRUE(com::FAILED(det->get_OutputStreams(&count)));
}

struct GrabCase {
    const char* name;
    double seconds;
    LONG width, height;
    QRgb colour; // of the whole picture
};

class FrameGrab : public ::testing::TestWithParam<GrabCase> {};

// The frame of the time asked for, at the size asked for, as a bitmap file any reader opens; at or past the
// end the last frame.
TEST_P(FrameGrab, WritesTheFrameAtTheTimeAtTheSizeAsked) {
    auto det = NewDetector();
    ASSERT_EQ(det->put_Filename(com::WideString(testing_support::RedThenBlueClip()).c_str()), com::S_OK);
    testing_support::TempDir dir;
    const std::string file = dir.File("grab.bmp");
    ASSERT_EQ(det->WriteBitmapBits(GetParam().seconds, GetParam().width, GetParam().height,
                                   com::WideString(file).c_str()),
              com::S_OK);
    const QImage image(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), GetParam().width);
    EXPECT_EQ(image.height(), GetParam().height);
    for (QPoint p : {QPoint(2, 2), QPoint(image.width() / 2, image.height() / 2),
                     QPoint(image.width() - 3, image.height() - 3)}) {
        const QRgb got = image.pixel(p);
        EXPECT_NEAR(qRed(got), qRed(GetParam().colour), 40) << p.x() << "," << p.y();
        EXPECT_NEAR(qGreen(got), qGreen(GetParam().colour), 40) << p.x() << "," << p.y();
        EXPECT_NEAR(qBlue(got), qBlue(GetParam().colour), 40) << p.x() << "," << p.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Times, FrameGrab,
                         ::testing::Values(GrabCase{"FirstSecondNative", 0.4, 176, 144, qRgb(255, 0, 0)},
                                           GrabCase{"SecondSecondNative", 1.5, 176, 144, qRgb(0, 0, 255)},
                                           GrabCase{"Scaled", 0.2, 88, 50, qRgb(255, 0, 0)},
                                           GrabCase{"PastTheEnd", 9.0, 176, 144, qRgb(0, 0, 255)}),
                         testing_support::CaseName());

TEST(FrameGrab, RefusesWhatHasNoPictureAndBadArguments) {
    testing_support::TempDir dir;
    const std::u16string file = com::WideString(dir.File("grab.bmp"));
    auto det = NewDetector();
    EXPECT_EQ(det->WriteBitmapBits(0.0, 16, 16, file.c_str()), com::E_UNEXPECTED) << "no file yet";
    const std::string tone = dir.File("tone.wav");
    ASSERT_TRUE(testing_support::MakeToneFile(tone, testing_support::AudioFormat::Wav, 1.0));
    ASSERT_EQ(det->put_Filename(com::WideString(tone).c_str()), com::S_OK);
    EXPECT_EQ(det->WriteBitmapBits(0.0, 16, 16, file.c_str()), VFW_E_UNSUPPORTED_STREAM);
    ASSERT_EQ(det->put_Filename(com::WideString(testing_support::RedThenBlueClip()).c_str()), com::S_OK);
    EXPECT_EQ(det->WriteBitmapBits(0.0, 0, 16, file.c_str()), com::E_INVALIDARG);
    EXPECT_EQ(det->WriteBitmapBits(-1.0, 16, 16, file.c_str()), com::E_INVALIDARG);
    EXPECT_EQ(det->WriteBitmapBits(0.0, 16, 16, nullptr), com::E_POINTER);
    EXPECT_TRUE(
        com::FAILED(det->WriteBitmapBits(0.0, 16, 16, com::WideString(dir.File("none/grab.bmp")).c_str())));
    EXPECT_FALSE(std::filesystem::exists(dir.File("grab.bmp")));
}

} // namespace
