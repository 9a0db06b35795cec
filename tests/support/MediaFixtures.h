#pragma once
// Media files made at test time by GStreamer pipelines: a few seconds of test pattern and tone in the
// containers and codecs a user meets, plus files that must fail. Each is made once per test program, on
// first use, in a folder removed when the program ends.

#include <string>

namespace testing_support {

enum class MediaFixture {
    Mp4H264Aac,   // 320 x 240, 25 fps, 2 s, a solid FixtureColour picture and a tone
    Mp4H264AacLong, // likewise, 10 s: long enough to resume in its middle
    MkvVp8Vorbis, // likewise
    AviMpeg4Mp3,  // likewise
    MpegPsMpeg2,  // MPEG-2 program stream, MPEG-2 video and MPEG audio layer 2, likewise (ffmpeg)
    RealMedia,    // .rm: RealVideo 1 and AC3 audio, likewise (made by ffmpeg)
    Mp4VideoOnly, // 640 x 360, 30 fps, 2 s, no audio
    H264Elementary, // like Mp4H264Aac's picture as a bare H.264 stream (.h264): no container, no length given
    Corrupt,      // the start of an MP4 file, cut before its index
    NotMedia,     // a text file named like a video
};

struct FixtureFacts {
    int width;
    int height;
    double frameRate;
    double seconds;
};

FixtureFacts FactsOf(MediaFixture Fixture);
const char* NameOf(MediaFixture Fixture);

// The fixture's path (made on first use; the test fails when it cannot be made).
const std::string& MediaFile(MediaFixture Fixture);

// The picture's colour in the fixtures with a solid picture (red, green, blue).
struct Rgb {
    int r, g, b;
};
inline constexpr Rgb FixtureColour{40, 200, 80};

// A RealMedia file with an absurd header (its packets average 0 bytes; its rates, largest packet and length
// are 0xFFFFFFFF), made from the RealMedia fixture: the demuxer never gives a stream, so a render waits its
// whole time for a first stream in vain.
const std::string& StallingRealMediaFile();

// Runs a gst-launch style description to its end; "{out}" in it stands for Path. The file appears at Path
// only when the pipeline ran through (written under a temporary name first). False on failure.
bool MakeMediaFile(const std::string& Description, const std::string& Path);

// The folder the fixtures are made in (for tests that make files of their own).
const std::string& FixtureFolder();

} // namespace testing_support
