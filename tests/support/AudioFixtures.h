#pragma once
// Audio files made at test time: a 440 Hz tone of a known length in each format the player plays as audio.

#include <string>

namespace testing_support {

enum class AudioFormat {
    Mp3,    // MPEG-1 layer III, constant bit rate
    VbrMp3, // layer III at variable bit rate, without a header that gives its length (the length is
            // estimated)
    Mp2,    // layer II
    Mp1,    // layer I (written by the fixture itself: no encoder for it is installed)
    Ogg,    // Vorbis in Ogg
    Wav,    // 16-bit PCM, sample-exact
    Aiff,   // 16-bit PCM, sample-exact
};

// The file extension the player knows the format by (".mp3", ".mp2", ".mp1", ".ogg", ".wav", ".aif").
std::string AudioExtension(AudioFormat Format);

// Writes Seconds of tone (rounded to 10 ms) to Path, stereo at 44.1 kHz (layer I: mono at 48 kHz, rounded to
// whole 8 ms frames). Fails the running test and returns false when the file could not be made.
bool MakeToneFile(const std::string& Path, AudioFormat Format, double Seconds);

// An ID3v1 tag: the 128 bytes of "TAG", title, artist, album, year, comment and genre, each field cut at its
// width (a full field has no zero byte) and padded with zero bytes.
std::string Id3v1Record(const std::string& Title, const std::string& Artist, const std::string& Album = "",
                        const std::string& Year = "", const std::string& Comment = "",
                        unsigned char Genre = 0);
// Appends Id3v1Record(...) to the file at Path.
void AppendId3v1Tag(const std::string& Path, const std::string& Title, const std::string& Artist,
                    const std::string& Album = "", const std::string& Year = "",
                    const std::string& Comment = "");
// WAV files with nothing to play: the header of 16-bit mono PCM at 44.1 kHz, then Rest.
std::string WavHeaderThen(const std::string& Rest);
// What the first 44 bytes of a WAV file written by ffmpeg hold: the header and the start of the chunk after
// the format, cut; no data chunk.
std::string WavHeaderOnly();

} // namespace testing_support
