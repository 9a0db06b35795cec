#include "core/AudioPlayback.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "core/Transport.h"
#include "platform/audio/Bass.h"
#include "platform/forms/StringList.h"

using namespace bass;

namespace {

constexpr const char* AudioExtensions[] = {".mp3", ".mp2", ".mp1", ".ogg", ".wav", ".aif"};

} // namespace

bool IsAudioFile(const std::string& FileName) {
    const std::string ext = ExtractFileExt(FileName);
    return std::any_of(std::begin(AudioExtensions), std::end(AudioExtensions),
                       [&](const char* audio) { return forms::SameText(ext, audio); });
}

bool PlayAudioFile(const std::string& FileName) {
    std::error_code ec;
    if (!std::filesystem::exists(FileName, ec))
        return false;
    BASS_StreamFree(State.BassStream);
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    BASS_SetVolume(State.isSlience ? 0.0F : AudioVolumeForLevel(State.SoundLevel));
    // Flag 1 asks for 8-bit samples: the library plays at full quality whatever the flags, and only counts
    // its byte positions one byte per sample.
    State.BassStream = BASS_StreamCreateFile(FALSE, FileName.c_str(), 0, 0, BASS_SAMPLE_8BITS);
    if (State.BassStream == 0) {
        // Nothing plays now: the stream that played was freed above, and a file that cannot be played is not
        // reported as playing.
        if (State.PlayType == PlayTypes::Audio) {
            State.IsPlaying = false;
            State.IsPaused = false;
        }
        return false;
    }
    BASS_ChannelPlay(State.BassStream, FALSE);
    State.AudioLength =
        BASS_ChannelBytes2Seconds(State.BassStream, BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE));
    // Rounded to the nearest second, ties to the even one (10.5 gives 10, 11.5 gives 12).
    State.AudioSeconds = static_cast<int>(std::nearbyint(State.AudioLength));
    State.VideoWidth = 550;
    State.VideoHeight = 350;
    InitAspectTable();
    State.IsPlaying = true;
    State.PositionReady = true;
    State.IsPaused = false;
    State.PlayType = PlayTypes::Audio;
    return true;
}

void AddEqualizerEffects() {
    for (int i = 0; i < 10; ++i)
        BASS_ChannelSetFX(State.BassStream, BASS_FX_DX8_PARAMEQ, 128);
}

void SeekAudioSeconds(std::int64_t Seconds) {
    if (!State.IsPlaying || !State.PositionReady)
        return;
    Seconds = std::clamp<std::int64_t>(Seconds, 0, std::max(State.AudioSeconds, 0));
    // AudioSeconds may be rounded up past the real end (11.5 s gives 12): the seek stops at the end.
    QWORD target = BASS_ChannelSeconds2Bytes(State.BassStream, static_cast<double>(Seconds));
    const QWORD length = BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE);
    if (length != static_cast<QWORD>(-1))
        target = std::min(target, length);
    BASS_ChannelSetPosition(State.BassStream, target, BASS_POS_BYTE);
}

bool AudioStreamEnded() {
    if (State.BassStream == 0 || BASS_ChannelIsActive(State.BassStream) != BASS_ACTIVE_STOPPED)
        return false;
    const QWORD length = BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE);
    return length != static_cast<QWORD>(-1) &&
           BASS_ChannelGetPosition(State.BassStream, BASS_POS_BYTE) == length;
}
