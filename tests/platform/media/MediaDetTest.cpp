#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/Guids.h"
#include "platform/media/Interfaces.h"
#include "tests/support/CaseName.h"
#include "tests/support/MediaFixtures.h"

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

TEST(Detector, FilesThatAreNotMediaFail) {
    auto det = NewDetector();
    EXPECT_EQ(det->put_Filename(u"/nonexistent/file.avi"), VFW_E_NOT_FOUND);
    EXPECT_TRUE(com::FAILED(
        det->put_Filename(com::WideString(testing_support::MediaFile(MediaFixture::NotMedia)).c_str())));
    LONG count = 0;
    EXPECT_TRUE(com::FAILED(det->get_OutputStreams(&count)));
}

} // namespace
