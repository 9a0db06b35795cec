#include "tests/support/AudioFixtures.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"

namespace testing_support {

namespace {

constexpr int ToneRate = 44100;

// Writes bits most significant first.
class BitWriter {
public:
    void Put(std::uint32_t Value, int Bits) {
        for (int i = Bits - 1; i >= 0; --i) {
            if (used_ % 8 == 0)
                bytes_.push_back(0);
            if (((Value >> i) & 1U) != 0)
                bytes_.back() |= static_cast<std::uint8_t>(0x80U >> (used_ % 8));
            ++used_;
        }
    }
    void PadTo(std::size_t Bytes) {
        bytes_.resize(Bytes, 0);
        used_ = Bytes * 8;
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t used_ = 0;
};

// MPEG-1 layer I, mono, 48 kHz, 128 kbit/s: 128-byte frames of 384 samples (8 ms) without padding or CRC.
// Only the lowest subband carries sound: a 250 Hz sine in its 12 samples per frame, 8 bits each.
bool WriteLayerOneFile(const std::string& Path, double Seconds) {
    constexpr int FrameBytes = 128;
    constexpr int SubbandRate = 48000 / 32;
    const int frames = static_cast<int>(std::lround(Seconds * 125));
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    if (!out) {
        ADD_FAILURE() << "cannot write " << Path;
        return false;
    }
    long sample = 0;
    for (int f = 0; f < frames; ++f) {
        BitWriter frame;
        frame.Put(0xFFF, 12); // sync
        frame.Put(1, 1);      // MPEG-1
        frame.Put(3, 2);      // layer I
        frame.Put(1, 1);      // no CRC
        frame.Put(4, 4);      // 128 kbit/s
        frame.Put(1, 2);      // 48 kHz
        frame.Put(0, 2);      // no padding, private bit
        frame.Put(3, 2);      // mono
        frame.Put(0, 6);      // mode extension, copyright, original, emphasis
        for (int subband = 0; subband < 32; ++subband)
            frame.Put(subband == 0 ? 7 : 0, 4); // allocation: 8 bits per sample in subband 0 only
        frame.Put(6, 6);                        // scale factor 0.5
        for (int s = 0; s < 12; ++s, ++sample) {
            double value = std::sin(2 * std::numbers::pi * 250 * static_cast<double>(sample) / SubbandRate);
            frame.Put(static_cast<std::uint32_t>(std::lround(127.5 + 120 * value)), 8);
        }
        frame.PadTo(FrameBytes);
        out.write(reinterpret_cast<const char*>(frame.Bytes().data()), FrameBytes);
    }
    return static_cast<bool>(out);
}

} // namespace

std::string AudioExtension(AudioFormat Format) {
    switch (Format) {
    case AudioFormat::Mp3:
    case AudioFormat::VbrMp3:
        return ".mp3";
    case AudioFormat::Mp2:
        return ".mp2";
    case AudioFormat::Mp1:
        return ".mp1";
    case AudioFormat::Ogg:
        return ".ogg";
    case AudioFormat::Wav:
        return ".wav";
    case AudioFormat::Aiff:
        return ".aif";
    }
    return "";
}

bool MakeToneFile(const std::string& Path, AudioFormat Format, double Seconds) {
    if (Format == AudioFormat::Mp1)
        return WriteLayerOneFile(Path, Seconds);
    const int buffers = static_cast<int>(std::lround(Seconds * 100));
    const std::string source = "audiotestsrc num-buffers=" + std::to_string(buffers) +
                               " samplesperbuffer=" + std::to_string(ToneRate / 100) +
                               " ! audio/x-raw,rate=" + std::to_string(ToneRate) + ",channels=2";
    std::string encoder;
    switch (Format) {
    case AudioFormat::Mp3:
        encoder = ",format=S16LE ! lamemp3enc target=bitrate bitrate=128 cbr=true";
        break;
    case AudioFormat::VbrMp3:
        encoder = ",format=S16LE ! lamemp3enc target=quality quality=2";
        break;
    case AudioFormat::Mp2:
        encoder = ",format=S16LE ! twolamemp2enc";
        break;
    case AudioFormat::Ogg:
        encoder = ",format=F32LE ! vorbisenc ! oggmux";
        break;
    case AudioFormat::Wav:
        encoder = ",format=S16LE ! wavenc";
        break;
    case AudioFormat::Aiff:
        encoder = ",format=S16BE ! aiffmux";
        break;
    case AudioFormat::Mp1:
        break;
    }
    return MakeMediaFile(source + encoder + " ! filesink location={out}", Path);
}

std::string WavHeaderThen(const std::string& Rest) {
    const std::string format("fmt \x10\0\0\0\1\0\1\0\x44\xac\0\0\x88\x58\x01\0\2\0\x10\0", 24);
    const std::string body = "WAVE" + format + Rest;
    std::string size(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        size[i] = static_cast<char>((body.size() >> (8 * i)) & 0xffU);
    return "RIFF" + size + body;
}

std::string WavHeaderOnly() {
    return WavHeaderThen(std::string("LIST\x1a\0\0\0", 8));
}

} // namespace testing_support

namespace testing_support {

std::string Id3v1Record(const std::string& Title, const std::string& Artist, const std::string& Album,
                        const std::string& Year, const std::string& Comment, unsigned char Genre) {
    std::string record(128, '\0');
    record.replace(0, 3, "TAG");
    auto put = [&](std::size_t At, std::size_t Width, const std::string& Text) {
        record.replace(At, std::min(Width, Text.size()), Text.substr(0, Width));
    };
    put(3, 30, Title);
    put(33, 30, Artist);
    put(63, 30, Album);
    put(93, 4, Year);
    put(97, 30, Comment);
    record[127] = static_cast<char>(Genre);
    return record;
}

void AppendId3v1Tag(const std::string& Path, const std::string& Title, const std::string& Artist,
                    const std::string& Album, const std::string& Year, const std::string& Comment) {
    std::ofstream(Path, std::ios::binary | std::ios::app) << Id3v1Record(Title, Artist, Album, Year, Comment);
}

} // namespace testing_support
